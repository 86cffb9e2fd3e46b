// Decoding tileset images and finding tiles in them.
#include "tools/maptool/TiledTilesetPictures.h"

#include <algorithm>
#include <iterator>

#include "screen/ImageRows.h"
#include "screen/PixelBuffer.h"
#include "screen/PixelConversion.h"
#include "tools/maptool/MapInput.h"
#include "tools/maptool/TiledPixels.h"

namespace maptool {

bool DecodeArgb(std::span<const std::uint8_t> bytes, const std::string& trans,
                std::int64_t& pixelBudget, ArgbPicture& picture, std::string& problem) {
    std::uint32_t key = 0;
    const bool keyed = !trans.empty();
    if (keyed && !ParseTiledColor(trans, key)) {
        problem = "die Transparenzfarbe \"" + trans + "\" ist keine Farbe";
        return false;
    }
    key |= 0xFF000000u;
    screen::ImageRows rows;
    if (!screen::ReadImageRows(bytes, 32, rows)) {
        problem = "ist kein PNG- oder BMP-Bild, das der Editor lesen kann: " +
                  ImageProblemText(screen::ReadImageHeader(bytes), rows.problem);
        return false;
    }
    const std::int64_t count = std::int64_t{rows.width} * rows.height;
    if (count > pixelBudget) {
        problem = "die Bilder der Kachelsätze haben zusammen mehr Pixel, als maptool liest";
        return false;
    }
    pixelBudget -= count;
    picture.width = rows.width;
    picture.height = rows.height;
    picture.pixels.assign(static_cast<std::size_t>(count), 0);
    // Only the image decoders (PNG) give an alpha channel; BMP images are opaque.
    const bool alpha = rows.decoded != nullptr && rows.depth == 32;
    std::vector<std::uint32_t> line(static_cast<std::size_t>(rows.width));
    for (std::int32_t i = 0; i < rows.height; ++i) {
        const std::uint8_t* source = rows.rows + static_cast<std::size_t>(i) * rows.rowLength;
        const std::int32_t y = rows.bottomUp ? rows.height - 1 - i : i;
        std::uint32_t* out = picture.pixels.data() + static_cast<std::size_t>(y) * rows.width;
        if (alpha) {
            for (std::int32_t x = 0; x < rows.width; ++x) {
                const std::uint8_t* p = source + 4 * x;
                out[x] = std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 |
                         std::uint32_t{p[1]} << 8 | p[0];
            }
        } else {
            screen::ConvertRow(source, rows.depth, rows.width,
                               reinterpret_cast<std::uint8_t*>(line.data()), 32,
                               screen::kFormat32Bgr);
            for (std::int32_t x = 0; x < rows.width; ++x) out[x] = 0xFF000000u | line[x];
        }
        for (std::int32_t x = 0; x < rows.width; ++x) {
            out[x] = keyed && out[x] == key ? 0 : Premultiplied(out[x]);
        }
    }
    return true;
}

TileFinder::TileFinder(const TiledMap& map, const std::vector<TilesetPictures>& pictures)
    : map_(map), pictures_(pictures), tiles_(pictures.size()) {
    for (std::size_t i = 0; i < map.tilesets.size(); ++i) {
        firstIds_.emplace_back(map.tilesets[i].firstGid, static_cast<std::int32_t>(i));
    }
    // Of tilesets with the same first id, the first in the file counts.
    std::stable_sort(firstIds_.begin(), firstIds_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        for (std::size_t t = 0; t < pictures[i].tiles.size(); ++t) {
            tiles_[i].emplace(pictures[i].tiles[t].first, t);
        }
    }
}

std::int32_t TileFinder::TilesetOf(std::uint32_t gid) const {
    auto after = std::upper_bound(firstIds_.begin(), firstIds_.end(), gid,
                                  [](std::uint32_t id, const auto& e) { return id < e.first; });
    if (after == firstIds_.begin()) return -1;
    const std::uint32_t first = std::prev(after)->first;
    return std::lower_bound(firstIds_.begin(), after, first,
                            [](const auto& e, std::uint32_t id) { return e.first < id; })
        ->second;
}

TileLookup TileFinder::Find(std::uint32_t gid, TilePlace& place) const {
    const TiledMap& map = map_;
    const std::int32_t index = TilesetOf(gid);
    if (index < 0) return TileLookup::NoTileset;
    const TiledTileset& tileset = map.tilesets[static_cast<std::size_t>(index)];
    const TilesetPictures& loaded = pictures_[static_cast<std::size_t>(index)];
    const std::uint32_t id = gid - tileset.firstGid;
    if (!tileset.tileImages.empty() || tileset.image.empty()) {
        const auto& byId = tiles_[static_cast<std::size_t>(index)];
        const auto found = byId.find(id);
        if (found == byId.end()) return TileLookup::NoTile;
        const ArgbPicture& picture = loaded.tiles[found->second].second;
        place = {&picture, 0, 0, picture.width, picture.height, tileset.offsetX, tileset.offsetY};
        return TileLookup::Found;
    }
    if (tileset.tileWidth < 1 || tileset.tileHeight < 1) return TileLookup::NoTile;
    // As Tiled cuts an image: as many tiles as fit between the margins, apart by the spacing.
    const ArgbPicture& image = loaded.image;
    const std::int64_t stepX = std::int64_t{tileset.tileWidth} + tileset.spacing;
    const std::int64_t stepY = std::int64_t{tileset.tileHeight} + tileset.spacing;
    const std::int64_t columns =
        stepX > 0 ? (std::int64_t{image.width} - tileset.margin + tileset.spacing) / stepX : 0;
    const std::int64_t rows =
        stepY > 0 ? (std::int64_t{image.height} - tileset.margin + tileset.spacing) / stepY : 0;
    if (columns < 1 || rows < 1 || id >= columns * rows) return TileLookup::NoTile;
    const std::int64_t x = tileset.margin + (id % columns) * stepX;
    const std::int64_t y = tileset.margin + (id / columns) * stepY;
    if (x < 0 || y < 0 || x + tileset.tileWidth > image.width ||
        y + tileset.tileHeight > image.height) {
        return TileLookup::NoTile;
    }
    place = {&image,           static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
             tileset.tileWidth, tileset.tileHeight,           tileset.offsetX,
             tileset.offsetY};
    return TileLookup::Found;
}

}  // namespace maptool
