// A MAP file and its tile set as the tool reads them: the document through the editor's own
// MAP reader (into the program-wide document), with what the reader found about the file's
// size, and the tile set: its header only for the commands that need no more than its size,
// or decoded as the editor's sprite loader decodes it.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "editor/MapFile.h"
#include "runtime/File.h"
#include "screen/ImageHeader.h"
#include "screen/PixelBuffer.h"

namespace maptool {

// Unreadable: the file is there but cannot be opened (a folder, a FIFO, no permission).
enum class TileSetState { Missing, Unreadable, TooLarge, Undecodable, Loaded };

// How much of the tile set a command reads.
enum class TileSetRead { Header, Pixels };

struct MapInput {
    std::string file;         // as given, for messages
    std::string runtimePath;  // of the MAP file
    editor::MapFileRead read;
    std::string tileSetFile;  // as it would be given: the MAP path with ".PNG"
    std::string tileSetRuntimePath;
    TileSetState tileSetState = TileSetState::Missing;
    runtime::FileError tileSetError = runtime::FileError::None;  // why it is Unreadable
    screen::ImageHeader tileSetHeader;                           // kind and size as stored
    screen::ImageProblem tileSetProblem = screen::ImageProblem::None;  // why Undecodable
    std::int32_t tileSetWidth = 0;  // when Loaded
    std::int32_t tileSetHeight = 0;
    screen::PixelBuffer tileSet;  // display pixels, B, G, R, 0; read for TileSetRead::Pixels
};

// Tile sets larger than this are not read.
inline constexpr std::int64_t kTileSetFileLimit = 256ll << 20;

// Checks the path (a MAP file, ".MAP" in any case, representable as a runtime path). False,
// with a usage message for `command`, when it is not.
bool MapArgumentValid(std::string_view command, std::string_view file);

// Reads the MAP file into editor::Document, and as much of the tile set as `tileSet` says.
// False, with a message saying why, when the MAP file cannot be opened.
bool ReadMapInput(std::string_view file, TileSetRead tileSet, MapInput& input);

// Why an image cannot be read, in German, from its header and the reader's answer.
std::string ImageProblemText(const screen::ImageHeader& header, screen::ImageProblem problem);

// Tiles the tile set holds side by side: its width in whole fields (at least 1 pixel wide, as
// the editor corrects them). 0 without a tile set.
std::int64_t TileCount(const MapInput& input);

// How often each tile index is used by the fields inside the map's bounds (and the arrays).
struct TileUse {
    std::map<std::int32_t, std::int64_t> counts;
    std::int64_t fields = 0;
};
TileUse CountTiles();

// The indices of `use` inside (or outside) 0..tileCount - 1 as "3 ×12, 7 ×1", and how many
// fields show them.
struct TileList {
    std::string text;
    std::int64_t fields = 0;
};
TileList ListTiles(const TileUse& use, std::int64_t tileCount, bool inside);

// The first field (column-major, as stored) whose tile lies outside 0..tileCount - 1, or
// (-1, -1) when there is none.
struct FieldPosition {
    std::int32_t x = -1;
    std::int32_t y = -1;
};
FieldPosition FirstFieldOutside(std::int64_t tileCount);

// The map's name as UTF-8.
std::string MapNameUtf8();

}  // namespace maptool
