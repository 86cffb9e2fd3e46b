// A map in Tiled's terms, as far as a MAP file can travel through Tiled: the map's size and
// tile size, its properties, its tilesets, the first tile layer's cells and the objects of the
// object layer "Spieler". The TMX (XML) and TMJ (JSON) readers fill it, the writers write it;
// converting it to and from the map document is a step of its own (TiledConvert.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/maptool/TiledLimits.h"

namespace maptool {

// Names the maps of this system use in Tiled.
inline constexpr char kFieldLayerName[] = "Felder";
inline constexpr char kPlayerLayerName[] = "Spieler";

// Bits of a cell's global tile id that flip or rotate its tile.
inline constexpr std::uint32_t kTiledFlipBits = 0xF0000000u;

// Cells a tile layer may have: the fields a MAP file can hold.
inline constexpr std::int64_t kTiledMaxCells = 1000 * 1000;

// Group layers nested deeper than this are refused (the readers search them recursively).
inline constexpr int kTiledMaxGroupDepth = 64;

// A custom property; the value as text (an int in decimal, a bool as "true" or "false").
struct TiledProperty {
    std::string name;
    std::string type = "string";
    std::string value;
    bool operator==(const TiledProperty&) const = default;
};

struct TiledTileset {
    std::uint32_t firstGid = 0;
    std::string source;  // an external tileset file, as written; "" when embedded
    std::string name;
    std::int32_t tileWidth = 0;
    std::int32_t tileHeight = 0;
    std::int32_t tileCount = -1;  // -1: not given
    std::int32_t columns = -1;
    std::int32_t margin = 0;
    std::int32_t spacing = 0;
    std::string image;  // as written; relative to the file that holds the tileset
    std::int32_t imageWidth = -1;
    std::int32_t imageHeight = -1;
    bool operator==(const TiledTileset&) const = default;
};

struct TiledObject {
    std::int32_t id = 0;
    std::string name;
    double x = 0;
    double y = 0;
    bool point = false;  // otherwise a rectangle, ellipse, polygon, text or tile
    std::vector<TiledProperty> properties;
    bool operator==(const TiledObject&) const = default;
};

struct TiledMap {
    std::string orientation = "orthogonal";
    bool infinite = false;
    std::int32_t width = 0;  // in tiles
    std::int32_t height = 0;
    std::int32_t tileWidth = 0;
    std::int32_t tileHeight = 0;
    std::vector<TiledProperty> properties;
    std::vector<TiledTileset> tilesets;

    // The first tile layer (searched depth-first through group layers).
    bool hasTileLayer = false;
    std::string tileLayerName;
    std::int32_t layerWidth = 0;
    std::int32_t layerHeight = 0;
    std::vector<std::uint32_t> cells;  // global tile ids, row by row

    // The first object layer named "Spieler".
    bool hasPlayerLayer = false;
    std::vector<TiledObject> players;

    // Names of the layers the readers passed over (further tile layers, other object layers,
    // image layers); the writers do not write them.
    std::vector<std::string> ignoredLayers;

    // Everything but the passed-over layers.
    bool SameContent(const TiledMap& other) const;
};

// The property of that name, if any.
const TiledProperty* FindProperty(const std::vector<TiledProperty>& properties,
                                  std::string_view name);

}  // namespace maptool
