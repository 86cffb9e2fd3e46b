// Comparing and searching Tiled maps.
#include "tools/maptool/TiledMap.h"

namespace maptool {
namespace {

// A tileset as the writers write it: without a colour key, tile images or counts.
TiledTileset Written(TiledTileset t) {
    t.trans.clear();
    t.offsetX = t.offsetY = 0;
    t.tileImages.clear();
    t.propertyCount = t.tilePropertyCount = t.animationCount = 0;
    return t;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool TiledMap::SameContent(const TiledMap& o) const {
    if (tilesets.size() != o.tilesets.size()) return false;
    for (std::size_t i = 0; i < tilesets.size(); ++i) {
        if (Written(tilesets[i]) != Written(o.tilesets[i])) return false;
    }
    return orientation == o.orientation && infinite == o.infinite && width == o.width &&
           height == o.height && tileWidth == o.tileWidth && tileHeight == o.tileHeight &&
           properties == o.properties && hasTileLayer == o.hasTileLayer &&
           tileLayerName == o.tileLayerName && layerWidth == o.layerWidth &&
           layerHeight == o.layerHeight && cells == o.cells && hasPlayerLayer == o.hasPlayerLayer &&
           players == o.players;
}

const TiledProperty* FindProperty(const std::vector<TiledProperty>& properties,
                                  std::string_view name) {
    for (const TiledProperty& property : properties) {
        if (property.name == name) return &property;
    }
    return nullptr;
}

bool ShownInTiled(const TiledMap& map, const TiledLayer& layer) {
    for (const TiledLayer* l = &layer; l != nullptr;
         l = l->parent >= 0 ? &map.layers[static_cast<std::size_t>(l->parent)] : nullptr) {
        if (!l->visible) return false;
    }
    return true;
}

void TakeFirstTileLayer(TiledMap& map) {
    for (const TiledLayer& layer : map.layers) {
        if (layer.kind != TiledLayerKind::Tile) continue;
        map.hasTileLayer = true;
        map.tileLayerName = layer.name;
        map.layerWidth = layer.width;
        map.layerHeight = layer.height;
        map.cells = layer.cells;
        return;
    }
}

bool ParseTiledColor(std::string_view text, std::uint32_t& argb) {
    if (!text.empty() && text.front() == '#') text.remove_prefix(1);
    if (text.size() != 6 && text.size() != 8) return false;
    std::uint32_t value = 0;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0) return false;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    argb = text.size() == 6 ? 0xFF000000u | value : value;
    return true;
}

}  // namespace maptool
