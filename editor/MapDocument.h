// The map being edited: header values, player start records and the grid of tile indices.
//
// There is exactly one document, program-wide (`Document`); the editor's procedures read and
// write it directly. Its ranges are enforced once per pass of the main loop, not here.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Array.h"

namespace editor {

// Direction value that stands for "random" ("Zufall").
inline constexpr std::int32_t RandomDirection = 360;

// Highest index of the arrays: players 0..1000 (entry 0 unused), fields 0..999 each way.
inline constexpr std::int32_t kPlayersUpperBound = 1000;
inline constexpr std::int32_t kFieldsSize = 1000;

struct PlayerStart {
    std::int32_t X;  // start position in map pixels
    std::int32_t Y;
    std::int32_t Direction;  // degrees, 0 = right, 90 = down; RandomDirection = random
};

// Where the tile set's pixels come from: the bytes of its image file, or without them a black
// picture of BlackWidth x BlackHeight pixels (no tile set at all when that is 0 x 0). Equal
// sources share the same bytes.
struct TileSetSource {
    std::shared_ptr<const std::vector<std::uint8_t>> Image;
    std::int32_t BlackWidth = 0;
    std::int32_t BlackHeight = 0;
    bool operator==(const TileSetSource&) const = default;
};

struct MapDocument {
    std::string FileName;  // base name of the MAP file and its tile set in "Karten\"
    std::string MapName;   // descriptive name (CP1252)
    std::int32_t PlayerCount = 0;
    std::int32_t SlotCount = 0;
    std::int32_t BallCount = 0;
    std::int32_t FieldWidth = 0;
    std::int32_t FieldHeight = 0;
    std::int32_t LastFieldX = 0;  // columns 0..LastFieldX
    std::int32_t LastFieldY = 0;  // rows 0..LastFieldY
    std::int32_t TileSetWidth = 0;
    TileSetSource TileSet;  // what sprite 0 was made from
    runtime::Array<PlayerStart> Players;
    runtime::Array2D<std::int32_t> Fields;  // (x, y), x-major
};

extern MapDocument Document;

// Re-dimensions Players (0..1000) and Fields (1000 x 1000); both come back all zero. Only
// what was written since the last re-dimensioning is cleared, so this is cheap after a small
// map. Every write to Fields must go through its element access (`Fields(x, y) = v`); a
// caller that copies a run through an element's address reports it (MarkRunUsed).
//
// A reader that writes every field of columns 0..fillColumns-1, rows 0..fillRows-1 right
// away passes that box: those fields are left for it instead of being cleared first.
void ResizeDocumentArrays(std::int32_t fillColumns = 0, std::int32_t fillRows = 0);

// Turns the document into the default new map: "NONAME", "Neue Karte", one player, 8 slots,
// 4 balls, 6 x 6 fields of 64 x 64 pixels, all zero. TileSetWidth is left as it is.
void ResetDocument();

// The part of the map's grid that lies inside the Fields array: columns 0 .. columns - 1 and
// rows 0 .. rows - 1, each 0 when its bound is negative. Every loop over the map's fields takes
// its ends from here.
struct FieldExtent {
    std::int32_t columns;
    std::int32_t rows;
};
FieldExtent FieldsInArray(const MapDocument& document);

// a / b rounded towards minus infinity (b > 0).
inline std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// True when (x, y) lies inside the Fields array (not necessarily inside the map's bounds).
inline bool FieldInArray(std::int64_t x, std::int64_t y) {
    return x >= 0 && y >= 0 && x < kFieldsSize && y < kFieldsSize;
}

}  // namespace editor
