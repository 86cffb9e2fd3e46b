// The tile set: sprite 0 made from the document's TileSetSource, read from image files, written
// beside a map, and chosen by the user with "Kachelsatz laden...".
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/MapDocument.h"

namespace editor {

struct TileSetState {
    // The tile set as of the last Neu, Öffnen or save: what the map's PNG holds, as far as the
    // editor knows. A save writes the PNG only for a tile set that differs from it.
    TileSetSource Saved;
    // Counts the replacements of sprite 0, so that what is derived from its pixels knows when
    // to derive it again.
    std::uint32_t Version = 0;
    // The image file the tile set follows on disk ("" none), the bytes last taken from it (the
    // tile set follows the file only while it shows them), the file's watch, and when the
    // runtime's clock says to read it again (-1: no change waits).
    std::string File;
    std::shared_ptr<const std::vector<std::uint8_t>> FileImage;
    std::int32_t Watch = 0;
    std::int64_t ReloadAt = -1;
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

// The tile set shown came from the image file at `path` ("": from none) and follows it from
// now on: when the file changes on disk it is read again (ReloadTileSetFile).
void FollowTileSetFile(std::string_view path);

// The pass's step for the followed file: a change notification arms a read a short while later
// (a writer's pieces settle first), and a read that is due happens.
void KeepTileSetFile(std::int32_t event, std::int64_t now);

// Milliseconds until the armed read is due (0: now), -1 when none is armed.
std::int64_t TileSetReloadWaitMs(std::int64_t now);

// Reads the followed file again and shows it when it is a new picture: the view, the palette,
// the overview and the brush's range follow. The map's fields stay (tile numbers are columns of
// the image) and the history is not touched. A file that cannot be read or decoded now leaves
// the tile set as it is and says so in the status bar. Nothing happens while the tile set
// shown is not the file's (a tile set loaded or undone since).
void ReloadTileSetFile();

// Back to the state before start-up, for a fresh run in the same process.
void ResetTileSetState();

}  // namespace editor
