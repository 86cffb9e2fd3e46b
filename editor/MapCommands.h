// The file commands of the "Datei" menu: new map, open, save, save as.
#pragma once

#include <string_view>

namespace editor {

// The default new map with one black tile as its tile set; view and track bars reset; an empty
// history.
void NewMap();

// Reads the MAP file named by FileName and its PNG tile set beside it; an empty history.
void LoadMap();
// The same with the document read from another file in MAP layout (a recovery copy); the tile
// set is still the PNG of FileName.
void LoadMapFrom(std::string_view path);

// Writes the MAP file of the current document under its FileName, and the tile set's PNG
// beside it when the tile set was changed since. Says in the status bar whether it worked.
// Returns true when the map was saved.
bool SaveMap();

// "Speichern unter...": asks for a name and saves the map as "Karten\<name>.MAP", its tile set
// travelling with it as "Karten\<name>.PNG".
void SaveAsCommand();

// Asks about unsaved changes, then for a map file, and loads the map of that base name from
// "Karten".
void OpenMapCommand();

}  // namespace editor
