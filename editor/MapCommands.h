// The file commands of the "Datei" menu: new map, open, save.
#pragma once

namespace editor {

// The default new map with one black tile as its tile set; view and track bars reset.
void NewMap();

// Reads the MAP file named by FileName and its PNG tile set beside it.
void LoadMap();

// Writes the MAP file of the current document under its FileName.
void SaveMap();

// Asks for a map file and loads the map of that base name from "Karten".
void OpenMapCommand();

}  // namespace editor
