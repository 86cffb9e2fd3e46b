// What an import says of what it leaves out, and of why it refuses a map.
#include "tools/maptool/ImportReasons.h"

#include <algorithm>

#include "tools/maptool/TiledFlatten.h"

namespace maptool {
namespace {

// Places named for each reason.
constexpr std::size_t kPlacesShown = 3;

// A count of things, with the first few names.
struct Counted {
    std::int64_t count = 0;
    std::vector<std::string> names;  // the first few distinct ones
    bool more = false;                // whether there are more names than those
    void Add(const std::string& name, std::int64_t n = 1) {
        count += n;
        const std::string quoted = "\"" + name + "\"";
        if (n == 0 || std::find(names.begin(), names.end(), quoted) != names.end()) return;
        if (names.size() < kPlacesShown) {
            names.push_back(quoted);
        } else {
            more = true;
        }
    }
    std::string Said(const char* one, const char* many, bool named) const {
        std::string text = std::to_string(count) + " " + (count == 1 ? one : many);
        for (std::size_t i = 0; named && i < names.size(); ++i) {
            text += (i == 0 ? " (" : ", ") + names[i];
        }
        if (named && !names.empty()) text += more ? ", …)" : ")";
        return text;
    }
};

}  // namespace

std::string NotCarried(const TiledMap& map) {
    Counted objectLayers, imageLayers, hidden, layerProperties, tilesetProperties,
        tileProperties, animations;
    bool players = false, zMask = false;
    for (const TiledLayer& layer : map.layers) {
        layerProperties.Add(layer.name, layer.propertyCount);
        switch (layer.kind) {
            case TiledLayerKind::Object:
                if (!players && layer.name == kPlayerLayerName) {
                    players = true;
                } else {
                    objectLayers.Add(layer.name);
                }
                break;
            case TiledLayerKind::Image:
                imageLayers.Add(layer.name);
                break;
            case TiledLayerKind::Tile:
                // The layer of Z-masks is taken, shown or not.
                if (!zMask && IsZMaskLayerName(layer.name)) {
                    zMask = true;
                } else if (!ShownInTiled(map, layer)) {
                    hidden.Add(layer.name);
                }
                break;
            case TiledLayerKind::Group:
                break;
        }
    }
    for (const TiledTileset& tileset : map.tilesets) {
        tilesetProperties.Add(tileset.name, tileset.propertyCount);
        tileProperties.Add(tileset.name, tileset.tilePropertyCount);
        animations.Add(tileset.name, tileset.animationCount);
    }
    std::vector<std::string> parts;
    const auto add = [&parts](const Counted& c, const char* one, const char* many, bool named) {
        if (c.count > 0) parts.push_back(c.Said(one, many, named));
    };
    add(objectLayers, "Objektebene", "Objektebenen", true);
    add(imageLayers, "Bildebene", "Bildebenen", true);
    add(hidden, "verborgene Kachelebene", "verborgene Kachelebenen", true);
    add(layerProperties, "Eigenschaft von Ebenen", "Eigenschaften von Ebenen", false);
    add(tilesetProperties, "Eigenschaft von Kachelsätzen", "Eigenschaften von Kachelsätzen", false);
    add(tileProperties, "Eigenschaft von Kacheln", "Eigenschaften von Kacheln", false);
    add(animations, "Animation", "Animationen", false);
    if (parts.empty()) return "";
    std::string line = "nicht übernommen: ";
    for (std::size_t i = 0; i < parts.size(); ++i) line += (i > 0 ? ", " : "") + parts[i];
    return line;
}

void ImportReasons::Add(const std::string& one, const std::string& many,
                        const std::string& place, std::int64_t count) {
    Reason* reason = nullptr;
    for (Reason& r : reasons_) {
        if (r.one == one) reason = &r;
    }
    if (reason == nullptr) {
        reasons_.push_back({one, many, 0, {}});
        reason = &reasons_.back();
    }
    reason->count += count;
    if (!place.empty() && reason->places.size() < kPlacesShown) reason->places.push_back(place);
}

void ImportReasons::AddField(const std::string& one, const std::string& many, std::int64_t x,
                             std::int64_t y) {
    Add(one, many, "(" + std::to_string(x) + ", " + std::to_string(y) + ")");
}

std::vector<std::string> ImportReasons::Lines() const {
    std::vector<std::string> lines;
    for (const Reason& r : reasons_) {
        if (r.many.empty()) {
            lines.push_back(r.one);
            continue;
        }
        std::string line = std::to_string(r.count) + " " + (r.count == 1 ? r.one : r.many);
        for (std::size_t i = 0; i < r.places.size(); ++i) {
            line += i > 0 ? ", " : r.count == 1 ? ", bei " : ", zuerst ";
            line += r.places[i];
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace maptool
