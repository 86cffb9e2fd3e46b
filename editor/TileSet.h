// The tile set: sprite 0 made from the document's TileSetSource, read from image files, written
// beside a map, and chosen by the user with "Kachelsatz laden...".
#pragma once

#include <cstdint>
#include <string_view>

#include "editor/MapDocument.h"

namespace editor {

struct TileSetState {
    // The tile set as of the last Neu, Öffnen or save: what the map's PNG holds, as far as the
    // editor knows. A save writes the PNG only for a tile set that differs from it.
    TileSetSource Saved;
    // Counts the replacements of sprite 0, so that what is derived from its pixels knows when
    // to derive it again.
    std::uint32_t Version = 0;
};

extern TileSetState TileSets;

// Makes sprite 0 from Document.TileSet (bytes decoded, a black picture, or none) with its
// whole width as the clip. TileSetWidth is the caller's.
void ShowTileSet();

// The new map's tile set: one black tile of FieldWidth x 2 * FieldHeight; TileSetWidth follows.
void MakeBlackTileSet();

// Reads the image file as the tile set and shows it; TileSetWidth follows. As with SpriteLoad,
// a file that cannot be opened leaves the tile set as it was, and one that cannot be decoded
// leaves none. Returns 1 when the file could be opened.
int LoadTileSetFile(std::string_view path);

// Whether a save must write the tile set's image beside the map: for a new name whenever the
// tile set has one (it travels with the map); otherwise only when it was changed since.
bool TileSetNeedsWriting(bool newName);

// Writes the tile set's image bytes, unchanged, to the file (safely, as the MAP file is).
// Returns 1 on success.
int WriteTileSetImage(std::string_view path);

// "Kachelsatz laden...": asks for an image file and makes it the tile set, as one undoable
// change. A file that is not a loadable image changes nothing and says so in the status bar.
void LoadTileSetCommand();

// Back to the state before start-up, for a fresh run in the same process.
void ResetTileSetState();

}  // namespace editor
