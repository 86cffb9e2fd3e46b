// The pictures of a Tiled map's tilesets as the import draws from them: each image decoded by
// the editor's own decoders into premultiplied ARGB, a tileset's colour key made transparent,
// and the tile of a global id found in its tileset (an image cut into tiles by columns,
// margin and spacing, or a tile with an image of its own).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/maptool/TiledMap.h"

namespace maptool {

// A picture of premultiplied 0xAARRGGBB pixels, row by row.
struct ArgbPicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(std::int32_t x, std::int32_t y) const {
        return pixels[static_cast<std::size_t>(y) * width + x];
    }
};

// Decodes a PNG or BMP image; pixels of the colour key (`trans` as the tileset writes it, or
// "") become transparent. False, with the reason (German), when the image cannot be read or
// more than `pixelBudget` pixels would be needed (the budget shrinks by what is used).
bool DecodeArgb(std::span<const std::uint8_t> bytes, const std::string& trans,
                std::int64_t& pixelBudget, ArgbPicture& picture, std::string& problem);

// The decoded images of one tileset: its image, or the images of its single tiles.
struct TilesetPictures {
    bool loaded = false;  // tilesets the map does not use are not decoded
    ArgbPicture image;
    std::vector<std::pair<std::uint32_t, ArgbPicture>> tiles;  // by local id, in file order
};

// Where a tile's picture lies: its top-left in `picture` and its size, and the tileset's offset
// of where it is drawn.
struct TilePlace {
    const ArgbPicture* picture = nullptr;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t offsetX = 0;
    std::int32_t offsetY = 0;
};

enum class TileLookup {
    Found,
    NoTileset,  // the id lies before every tileset's first id
    NoTile,     // its tileset has no such tile
};

// Finds the tiles of global ids (without their flip bits) in the map's tilesets; `pictures` goes
// with map.tilesets, and both must outlive the finder. Each id is found in logarithmic time
// whatever the number of tilesets and tiles.
class TileFinder {
public:
    TileFinder(const TiledMap& map, const std::vector<TilesetPictures>& pictures);

    // The index of the tileset the id belongs to (the one with the largest first id not above
    // it), or -1.
    std::int32_t TilesetOf(std::uint32_t gid) const;

    TileLookup Find(std::uint32_t gid, TilePlace& place) const;

private:
    const TiledMap& map_;
    const std::vector<TilesetPictures>& pictures_;
    std::vector<std::pair<std::uint32_t, std::int32_t>> firstIds_;  // sorted: first id, tileset
    std::vector<std::unordered_map<std::uint32_t, std::size_t>> tiles_;  // local id: picture
};

}  // namespace maptool
