// Fuzz target: arbitrary bytes as a Tiled map (TMX when they start with '<', TMJ otherwise),
// imported whole into memory: every tileset draws from one small fixed picture (PNG-encoded and
// decoded again with the tileset's colour key; tiles with images of their own get pictures of
// sizes from 1 x 1 to 9 x 7, smaller or larger than a field), the visible layers are flattened
// with their opacity, tint, offsets and flips, and the result is converted into a map document. A refusal must name its reasons; an
// import must give a tile set of two rows holding exactly the tiles the fields use.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "editor/MapDocument.h"
#include "screen/ImageDecoder.h"
#include "screen/PngDecoder.h"
#include "tools/maptool/TiledConvert.h"
#include "tools/maptool/TiledFiles.h"
#include "tools/maptool/TiledFlatten.h"
#include "tools/maptool/TmjFormat.h"
#include "tools/maptool/TmxFormat.h"

namespace {

// A 1024 x 128 picture of varied colours as PNG (64 x 8 tiles of the samples' 16 pixels); a tile of the map's size where that is small.
const std::vector<std::uint8_t>& FixedPng() {
    static const std::vector<std::uint8_t> png = [] {
        screen::ImageDecoderInit();
        screen::DecoderPngRegister();
        std::vector<std::uint32_t> pixels;
        for (std::uint32_t i = 0; i < 1024 * 128; ++i) pixels.push_back((i * 2654435761u) >> 8);
        std::vector<std::uint8_t> bytes;
        FUZZ_CHECK(maptool::EncodePng(1024, 128, pixels, bytes));
        return bytes;
    }();
    return png;
}

maptool::ArgbPicture TilePicture(std::uint32_t id) {
    maptool::ArgbPicture picture;
    const auto width = static_cast<std::int32_t>(1 + id % 9);
    const auto height = static_cast<std::int32_t>(1 + id / 9 % 7);
    picture.width = width;
    picture.height = height;
    for (std::int32_t i = 0; i < width * height; ++i) {
        // Premultiplied: colours never above their alpha.
        const std::uint32_t a = static_cast<std::uint32_t>(i * 37) & 0xFF;
        picture.pixels.push_back(a << 24 | (a / 2) << 16 | (a / 3) << 8 | (a / 5));
    }
    return picture;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    maptool::TiledMap map;
    std::string error;
    const bool xml = size > 0 && data[0] == '<';
    if (!(xml ? maptool::ReadTmx(bytes, map, error) : maptool::ReadTmj(bytes, map, error))) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    std::vector<maptool::TilesetPictures> pictures(map.tilesets.size());
    std::int64_t budget = 1 << 20;
    for (std::size_t i = 0; i < map.tilesets.size(); ++i) {
        maptool::TilesetPictures& p = pictures[i];
        p.loaded = true;
        std::string problem;
        if (!maptool::DecodeArgb(FixedPng(), map.tilesets[i].trans, budget, p.image, problem)) {
            // Only a colour key that is no colour stops the fixed picture.
            FUZZ_CHECK(problem.find("Transparenzfarbe") != std::string::npos);
            return 0;
        }
        for (const auto& tile : map.tilesets[i].tileImages) {
            p.tiles.emplace_back(tile.id, TilePicture(tile.id));
        }
    }
    maptool::FlatMap flat;
    maptool::ImportReasons reasons;
    if (!maptool::FlattenTiledMap(map, pictures, flat, reasons)) {
        FUZZ_CHECK(!reasons.Empty() && !reasons.Lines().empty());
        return 0;
    }
    FUZZ_CHECK(flat.width >= 1 && flat.width <= 1000 && flat.height >= 1 && flat.height <= 1000);
    FUZZ_CHECK(flat.fields.size() == static_cast<std::size_t>(flat.width) * flat.height);
    FUZZ_CHECK(flat.tileCount >= 1 &&
               flat.tileCount <= maptool::MostTiles(map.tileWidth, map.tileHeight));
    FUZZ_CHECK(flat.tileSetWidth == flat.tileCount * map.tileWidth &&
               flat.tileSetHeight == 2 * map.tileHeight);
    FUZZ_CHECK(flat.tileSet.size() ==
               static_cast<std::size_t>(flat.tileSetWidth) * flat.tileSetHeight);
    // Tiles are numbered in the order the fields first show them.
    std::int32_t next = 0;
    for (const std::int32_t field : flat.fields) {
        FUZZ_CHECK(field >= 0 && field <= next && field < flat.tileCount);
        if (field == next) ++next;
    }
    FUZZ_CHECK(next == flat.tileCount);
    maptool::Notes notes;
    if (!maptool::FlatToDocument(map, flat, error, notes)) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    FUZZ_CHECK(editor::Document.LastFieldX == flat.width - 1 &&
               editor::Document.LastFieldY == flat.height - 1);
    return 0;
}
