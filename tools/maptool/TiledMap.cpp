// Comparing and searching Tiled maps.
#include "tools/maptool/TiledMap.h"

namespace maptool {

bool TiledMap::SameContent(const TiledMap& o) const {
    return orientation == o.orientation && infinite == o.infinite && width == o.width &&
           height == o.height && tileWidth == o.tileWidth && tileHeight == o.tileHeight &&
           properties == o.properties && tilesets == o.tilesets && hasTileLayer == o.hasTileLayer &&
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

}  // namespace maptool
