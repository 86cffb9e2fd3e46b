// A Tiled map drawn into a map of this system: the visible tile layers (also inside visible
// groups, whose opacity and tint pass on to what they hold) are drawn bottom to top, with
// their opacity, tint and the flips of each cell, over the map's background colour (or the
// view's grey), and every distinct stack of cells becomes one tile of a new tile set, in the
// order in which the fields first show it, row by row. A field's stack holds, per layer, every
// cell whose tile reaches into the field (tiles larger than a field, turned, or moved by their
// tileset's offset reach into their neighbours). Row 1 of the tile set holds each tile's
// Z-mask, drawn the same way from the tile layer "Z-Maske" (any case) over black, or black.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/maptool/ImportReasons.h"
#include "tools/maptool/TiledMap.h"
#include "tools/maptool/TiledTilesetPictures.h"

namespace maptool {

// The name of the tile layer that holds the Z-masks (compared in any case).
inline constexpr char kZMaskLayerName[] = "Z-Maske";

bool IsZMaskLayerName(std::string_view name);

// What an empty field shows where a map has no background colour: the view's grey.
inline constexpr std::uint32_t kEmptyFieldGrey = 0xFF646464u;

struct FlatMap {
    std::int32_t width = 0;  // in fields
    std::int32_t height = 0;
    std::int32_t originX = 0;  // the field of Tiled's map that becomes field (0, 0)
    std::int32_t originY = 0;
    std::vector<std::int32_t> fields;  // tile numbers, row by row
    std::int32_t tileCount = 0;
    std::int32_t tileSetWidth = 0;  // tileCount tiles wide, two tiles high
    std::int32_t tileSetHeight = 0;
    std::vector<std::uint32_t> tileSet;  // 0x00RRGGBB, row by row
    std::string zMaskLayer;              // the name of the layer the Z-masks came from, or ""
};

// The most tiles a new tile set of tiles of that size may hold: as wide and as many pixels as
// the editor reads.
std::int64_t MostTiles(std::int32_t tileWidth, std::int32_t tileHeight);

// Draws the map. False, with every reason in `reasons`, when it cannot be drawn.
bool FlattenTiledMap(const TiledMap& map, const std::vector<TilesetPictures>& pictures,
                     FlatMap& flat, ImportReasons& reasons);

}  // namespace maptool
