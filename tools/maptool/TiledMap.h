// A map in Tiled's terms: the map's size and tile size, its properties, its tilesets, its
// layers (tile layers with their cells, groups, object and image layers with what they look
// like), and the objects of the object layer "Spieler". The TMX (XML) and TMJ (JSON) readers
// fill all of it; the writers write what a MAP file carries (the tile set, the first tile
// layer, the players); converting to and from the map document is a step of its own
// (TiledConvert.h, and TiledFlatten.h for maps drawn from several tilesets and layers).
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

// Cells of all tile layers together (every layer may be as large as a map).
inline constexpr std::int64_t kTiledMaxTotalCells = 16 * kTiledMaxCells;

// The bits of a global tile id: flipped horizontally, vertically, along the diagonal (the
// tile is turned about its top-left to bottom-right diagonal before the other two flips),
// and turned by 120 degrees (hexagonal maps only).
inline constexpr std::uint32_t kFlipHorizontal = 0x80000000u;
inline constexpr std::uint32_t kFlipVertical = 0x40000000u;
inline constexpr std::uint32_t kFlipDiagonal = 0x20000000u;
inline constexpr std::uint32_t kRotateHexagonal = 0x10000000u;

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
    std::int32_t offsetX = 0;  // the tileset's tile offset: where its tiles are drawn, in pixels
    std::int32_t offsetY = 0;
    std::string trans;  // the colour shown transparent, "RRGGBB" as written (maybe with "#"); ""
    // Tiles with an image of their own (a tileset made of single images), by local id.
    struct TileImage {
        std::uint32_t id = 0;
        std::string image;
        bool operator==(const TileImage&) const = default;
    };
    std::vector<TileImage> tileImages;
    // What the import cannot carry, counted: the tileset's own properties, the tiles' ones,
    // and the tiles that are animated.
    std::int64_t propertyCount = 0;
    std::int64_t tilePropertyCount = 0;
    std::int64_t animationCount = 0;
    bool operator==(const TiledTileset&) const = default;
};

enum class TiledLayerKind { Tile, Object, Image, Group };

// A layer of any kind, as a node of the layer tree: the layers of a map are listed in the
// order of the file (bottom to top), each group before the layers it holds.
struct TiledLayer {
    TiledLayerKind kind = TiledLayerKind::Tile;
    std::string name;
    std::int32_t parent = -1;  // the index of the group that holds it, or -1
    bool visible = true;
    double opacity = 1;
    std::string tint;  // "#AARRGGBB" or "#RRGGBB" as written; "" for none
    double offsetX = 0;  // pixels
    double offsetY = 0;
    double parallaxX = 1;
    double parallaxY = 1;
    std::int64_t propertyCount = 0;
    std::int64_t objectCount = 0;  // object layers
    // Tile layers: the cells of the rectangle x, y, width, height in fields. A finite map's
    // layers start at (0, 0); an infinite map's hold the rectangle around their chunks.
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> cells;  // global tile ids, row by row
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
    std::string backgroundColor;  // "#AARRGGBB" or "#RRGGBB" as written; "" for none
    std::vector<TiledProperty> properties;
    std::vector<TiledTileset> tilesets;

    // Every layer (filled by the readers; the writers write the fields below).
    std::vector<TiledLayer> layers;

    // The first tile layer (searched depth-first through group layers).
    bool hasTileLayer = false;
    std::string tileLayerName;
    std::int32_t layerWidth = 0;
    std::int32_t layerHeight = 0;
    std::vector<std::uint32_t> cells;  // global tile ids, row by row

    // The first object layer named "Spieler".
    bool hasPlayerLayer = false;
    std::vector<TiledObject> players;

    // What the writers write (everything but the layer tree and what only the import uses).
    bool SameContent(const TiledMap& other) const;
};

// The property of that name, if any.
const TiledProperty* FindProperty(const std::vector<TiledProperty>& properties,
                                  std::string_view name);

// Whether Tiled shows the layer: it and every group that holds it are visible.
bool ShownInTiled(const TiledMap& map, const TiledLayer& layer);

// Fills the first-tile-layer fields of the map from its layer tree: what the readers do last.
void TakeFirstTileLayer(TiledMap& map);

// Reads a colour as Tiled writes it ("#RRGGBB" or "#AARRGGBB", the "#" optional) into
// 0xAARRGGBB. False for anything else.
bool ParseTiledColor(std::string_view text, std::uint32_t& argb);

}  // namespace maptool
