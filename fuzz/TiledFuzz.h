// What the TMX and TMJ fuzz targets check of a map a reader accepted: its cells are as many
// as its layer has; written again in either format (where that format can carry its texts)
// and read back it is the same map; and converting it to a map document either refuses or
// gives a document with the map's sizes, whose fields are the cells' tiles. No reader keeps more
// layers, objects, tilesets or properties than its limits allow.
#pragma once

#include <string>

#include "FuzzCheck.h"
#include "editor/MapDocument.h"
#include "tools/maptool/TiledConvert.h"
#include "tools/maptool/TmjFormat.h"
#include "tools/maptool/TmxFormat.h"

namespace tiled_fuzz {

inline std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

inline void CheckAccepted(const maptool::TiledMap& map) {
    using editor::Document;
    // Nothing is kept beyond the readers' limits (an input of 64 KB can hold 20000 layers).
    FUZZ_CHECK(static_cast<std::int64_t>(map.layers.size()) <= maptool::kTiledMaxLayers);
    std::int64_t cells = 0;
    for (const maptool::TiledLayer& layer : map.layers) {
        FUZZ_CHECK(layer.cells.size() == static_cast<std::size_t>(layer.width) * layer.height);
        FUZZ_CHECK(layer.width <= 1000 && layer.height <= 1000);
        cells += static_cast<std::int64_t>(layer.cells.size());
    }
    FUZZ_CHECK(cells <= maptool::kTiledMaxTotalCells);
    FUZZ_CHECK(static_cast<std::int64_t>(map.players.size()) <= maptool::kTiledMaxObjects);
    FUZZ_CHECK(static_cast<std::int64_t>(map.tilesets.size()) <= maptool::kTiledMaxTilesets);
    FUZZ_CHECK(static_cast<std::int64_t>(map.properties.size()) <= maptool::kTiledMaxProperties);
    for (const maptool::TiledObject& object : map.players) {
        FUZZ_CHECK(static_cast<std::int64_t>(object.properties.size()) <=
                   maptool::kTiledMaxProperties);
    }
    if (map.hasTileLayer) {
        FUZZ_CHECK(map.cells.size() == static_cast<std::size_t>(map.layerWidth) * map.layerHeight);
        FUZZ_CHECK(map.cells.size() <= static_cast<std::size_t>(maptool::kTiledMaxCells));
    }
    std::string text, error;
    maptool::TiledMap again;
    // The writers write finite maps only (as the export makes them).
    if (map.infinite) return;
    if (maptool::WriteTmx(map, text, error)) {
        FUZZ_CHECK(maptool::ReadTmx(Bytes(text), again, error));
        FUZZ_CHECK(again.SameContent(map));
    }
    text = maptool::WriteTmj(map);
    FUZZ_CHECK(maptool::ReadTmj(Bytes(text), again, error));
    FUZZ_CHECK(again.SameContent(map));

    // The image is as wide as the tileset says, when it says.
    const maptool::TiledTileset* tileset = maptool::OnlyTileset(map, error);
    const std::int32_t imageWidth =
        tileset != nullptr && tileset->imageWidth > 0 ? tileset->imageWidth : 64;
    maptool::Notes notes;
    if (!maptool::TiledToDocument(map, imageWidth, error, notes)) {
        FUZZ_CHECK(!error.empty());
        return;
    }
    FUZZ_CHECK(Document.LastFieldX == map.width - 1 && Document.LastFieldY == map.height - 1);
    FUZZ_CHECK(Document.FieldWidth == map.tileWidth && Document.FieldHeight == map.tileHeight);
    FUZZ_CHECK(Document.PlayerCount <= editor::kPlayersUpperBound);
    for (std::int32_t y = 0; y < map.height; ++y) {
        for (std::int32_t x = 0; x < map.width; ++x) {
            const std::uint32_t cell = map.cells[static_cast<std::size_t>(y) * map.width + x];
            FUZZ_CHECK(static_cast<std::uint32_t>(Document.Fields(x, y)) + tileset->firstGid ==
                       cell);
            FUZZ_CHECK(Document.Fields(x, y) >= 0 &&
                       Document.Fields(x, y) < imageWidth / map.tileWidth);
        }
    }
}

using MapReader = bool (*)(std::span<const std::uint8_t>, maptool::TiledMap&, std::string&);
using TilesetReader = bool (*)(std::span<const std::uint8_t>, maptool::TiledTileset&, std::string&);

// The bytes as a map and as a tileset: a refusal must name its reason.
inline void Run(std::span<const std::uint8_t> bytes, MapReader readMap, TilesetReader readTileset) {
    maptool::TiledMap map;
    std::string error;
    if (readMap(bytes, map, error)) {
        FUZZ_CHECK(error.empty());
        CheckAccepted(map);
    } else {
        FUZZ_CHECK(!error.empty());
    }
    maptool::TiledTileset tileset;
    if (!readTileset(bytes, tileset, error)) FUZZ_CHECK(!error.empty());
}

}  // namespace tiled_fuzz
