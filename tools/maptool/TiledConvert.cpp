// Converting between the map document and Tiled maps.
#include "tools/maptool/TiledConvert.h"

#include <cmath>
#include <limits>

#include "editor/MapDocument.h"
#include "editor/MapFile.h"
#include "editor/MapPicture.h"
#include "runtime/RtString.h"

namespace maptool {
namespace {

using editor::Document;

std::string Text(long long n) { return std::to_string(n); }

TiledProperty IntProperty(const char* name, std::int32_t value) {
    return {name, "int", Text(value)};
}

// An int property's value into `out`; absent properties leave it alone.
bool ReadInt(const std::vector<TiledProperty>& properties, const char* name, std::int32_t& out,
             std::string& error) {
    const TiledProperty* p = FindProperty(properties, name);
    if (p == nullptr) return true;
    if (p->type != "int") {
        error = std::string("die Eigenschaft ") + name + " hat den Typ " + p->type + ", nicht int";
        return false;
    }
    out = static_cast<std::int32_t>(std::stol(p->value));
    return true;
}

bool ReadName(const std::vector<TiledProperty>& properties, std::string& error) {
    const TiledProperty* p = FindProperty(properties, kNameProperty);
    if (p == nullptr) return true;
    if (p->type != "string") {
        error = std::string("die Eigenschaft ") + kNameProperty + " hat den Typ " + p->type +
                ", nicht string";
        return false;
    }
    const std::string name = runtime::Cp1252(p->value);
    if (runtime::Utf8(name) != p->value || name.find('\0') != std::string::npos) {
        error = "der Name enthält Zeichen, die eine MAP-Datei nicht speichern kann (nur CP1252)";
        return false;
    }
    if (name.size() > static_cast<std::size_t>(editor::kMaxStoredStringLength)) {
        error = "der Name ist länger als " + Text(editor::kMaxStoredStringLength) + " Bytes";
        return false;
    }
    Document.MapName = name;
    return true;
}

// A coordinate of a player object: a whole number of pixels in 32 bits.
bool Coordinate(double value, std::int32_t& out) {
    if (value != std::floor(value) || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    out = static_cast<std::int32_t>(value);
    return true;
}

bool ReadPlayers(const TiledMap& map, std::int64_t dx, std::int64_t dy, std::string& error) {
    const auto objects = static_cast<std::int64_t>(map.players.size());
    std::int32_t count = static_cast<std::int32_t>(std::min<std::int64_t>(objects, INT32_MAX));
    if (const TiledProperty* p = FindProperty(map.properties, kPlayersProperty)) {
        if (!ReadInt(map.properties, kPlayersProperty, count, error)) return false;
        if (count > 0 || objects > 0) {
            error = std::string("die Eigenschaft ") + kPlayersProperty + " (" + p->value +
                    ") gilt nur für Karten ohne Spieler-Objekte mit einer Spielerzahl unter 1; "
                    "die Ebene Spieler hat " +
                    Text(objects) + " Objekte";
            return false;
        }
    }
    if (objects > editor::kPlayersUpperBound) {
        error = "die Ebene Spieler hat " + Text(objects) + " Objekte; eine Karte hält höchstens " +
                Text(editor::kPlayersUpperBound) + " Spieler";
        return false;
    }
    Document.PlayerCount = count;
    for (std::int32_t p = 1; p <= objects; ++p) {
        const TiledObject& object = map.players[static_cast<std::size_t>(p - 1)];
        const std::string which =
            "Spieler-Objekt " + Text(p) + (object.name.empty() ? "" : " (" + object.name + ")");
        editor::PlayerStart& player = Document.Players(p);
        if (!object.point) {
            error = which + " ist kein Punkt";
            return false;
        }
        if (!Coordinate(object.x - static_cast<double>(dx), player.X) ||
            !Coordinate(object.y - static_cast<double>(dy), player.Y)) {
            error = which + " liegt nicht auf ganzen Pixeln (Einrasten an Pixeln hilft)";
            return false;
        }
        if (!ReadInt(object.properties, kDirectionProperty, player.Direction, error)) {
            error = which + ": " + error;
            return false;
        }
    }
    return true;
}

bool ReadCells(const TiledMap& map, const TiledTileset& tileset, std::int32_t columns,
               std::string& error) {
    for (std::int32_t y = 0; y < map.layerHeight; ++y) {
        for (std::int32_t x = 0; x < map.layerWidth; ++x) {
            const std::uint32_t cell = map.cells[static_cast<std::size_t>(y) * map.layerWidth + x];
            const std::string field = "Feld (" + Text(x) + ", " + Text(y) + ")";
            if (cell == 0) {
                error = field + " ist leer; jedes Feld einer Karte zeigt eine Kachel";
                return false;
            }
            if ((cell & kTiledFlipBits) != 0) {
                error = field + " zeigt eine gespiegelte oder gedrehte Kachel";
                return false;
            }
            if (cell < tileset.firstGid ||
                cell - tileset.firstGid >= static_cast<std::uint32_t>(columns)) {
                error = field + " zeigt die Kachel " + Text(cell) +
                        ", die nicht in der ersten Zeile "
                        "des Kachelsatzes liegt (Kacheln " +
                        Text(tileset.firstGid) + " bis " +
                        Text(std::int64_t{tileset.firstGid} + columns - 1) + ")";
                return false;
            }
            Document.Fields(x, y) = static_cast<std::int32_t>(cell - tileset.firstGid);
        }
    }
    return true;
}

// The name, slots, balls and players of the map into the document; the players' positions
// moved by (-dx, -dy) pixels.
bool ReadHead(const TiledMap& map, std::int64_t dx, std::int64_t dy, std::string& error,
              Notes& notes) {
    if (!ReadName(map.properties, error) ||
        !ReadInt(map.properties, kSlotsProperty, Document.SlotCount, error) ||
        !ReadInt(map.properties, kBallsProperty, Document.BallCount, error)) {
        return false;
    }
    // A map made in Tiled alone has no players: it gets the one player a new map has.
    if (!map.hasPlayerLayer && FindProperty(map.properties, kPlayersProperty) == nullptr) {
        notes.push_back(std::string("die Karte hat keine Objektebene \"") + kPlayerLayerName +
                        "\"; sie bekommt einen Spieler wie eine neue Karte, bei (0, 0)");
    } else if (!ReadPlayers(map, dx, dy, error)) {
        return false;
    }
    for (const TiledProperty& p : map.properties) {
        if (p.name != kNameProperty && p.name != kSlotsProperty && p.name != kBallsProperty &&
            p.name != kPlayersProperty) {
            notes.push_back("die Eigenschaft \"" + p.name + "\" wird übergangen");
        }
    }
    return true;
}

}  // namespace

TiledMap DocumentToTiled(const TiledImage& image) {
    TiledMap map;
    map.width = Document.LastFieldX + 1;
    map.height = Document.LastFieldY + 1;
    map.tileWidth = Document.FieldWidth;
    map.tileHeight = Document.FieldHeight;
    map.properties = {{kNameProperty, "string", runtime::Utf8(Document.MapName)},
                      IntProperty(kSlotsProperty, Document.SlotCount),
                      IntProperty(kBallsProperty, Document.BallCount)};
    if (Document.PlayerCount < 0) {
        map.properties.push_back(IntProperty(kPlayersProperty, Document.PlayerCount));
    }
    TiledTileset tileset;
    tileset.firstGid = 1;
    tileset.name = image.name;
    tileset.tileWidth = Document.FieldWidth;
    tileset.tileHeight = Document.FieldHeight;
    tileset.columns = editor::TileCountRoundedDown(image.width, Document.FieldWidth);
    tileset.tileCount = tileset.columns * (image.height / Document.FieldHeight);
    tileset.image = image.path;
    tileset.imageWidth = image.width;
    tileset.imageHeight = image.height;
    map.tilesets.push_back(tileset);

    map.hasTileLayer = true;
    map.tileLayerName = kFieldLayerName;
    map.layerWidth = map.width;
    map.layerHeight = map.height;
    map.cells.resize(static_cast<std::size_t>(map.width) * map.height);
    for (std::int32_t y = 0; y < map.height; ++y) {
        for (std::int32_t x = 0; x < map.width; ++x) {
            map.cells[static_cast<std::size_t>(y) * map.width + x] =
                static_cast<std::uint32_t>(Document.Fields(x, y)) + tileset.firstGid;
        }
    }
    map.hasPlayerLayer = true;
    for (std::int32_t p = 1; p <= Document.PlayerCount; ++p) {
        const editor::PlayerStart& player = Document.Players(p);
        map.players.push_back({p,
                               "Spieler " + Text(p),
                               static_cast<double>(player.X),
                               static_cast<double>(player.Y),
                               true,
                               {IntProperty(kDirectionProperty, player.Direction)}});
    }
    return map;
}

const TiledTileset* OnlyTileset(const TiledMap& map, std::string& error) {
    if (map.tilesets.size() != 1) {
        error = "die Karte hat " + Text(static_cast<long long>(map.tilesets.size())) +
                " Kachelsätze; eine MAP-Datei hat genau einen";
        return nullptr;
    }
    return &map.tilesets.front();
}

bool TiledToDocument(const TiledMap& map, std::int32_t imageWidth, std::string& error,
                     Notes& notes) {
    if (map.orientation != "orthogonal") {
        error = "die Karte ist " + map.orientation + ", nicht orthogonal";
        return false;
    }
    if (map.infinite) {
        error = "unendliche Karten werden nicht unterstützt";
        return false;
    }
    if (!map.hasTileLayer) {
        error = "die Karte hat keine Kachelebene";
        return false;
    }
    if (map.width < 1 || map.height < 1 || map.width > editor::kFieldsSize ||
        map.height > editor::kFieldsSize) {
        error = "die Karte ist " + Text(map.width) + " x " + Text(map.height) +
                " Kacheln groß; eine Karte hat 1 bis 1000 x 1000 Felder";
        return false;
    }
    if (map.layerWidth != map.width || map.layerHeight != map.height) {
        error = "die Kachelebene " + map.tileLayerName + " ist nicht so groß wie die Karte";
        return false;
    }
    if (map.tileWidth < 1 || map.tileHeight < 1) {
        error = "die Kacheln sind " + Text(map.tileWidth) + " x " + Text(map.tileHeight) +
                " Pixel groß";
        return false;
    }
    const TiledTileset* tileset = OnlyTileset(map, error);
    if (tileset == nullptr) return false;
    if (tileset->tileWidth != map.tileWidth || tileset->tileHeight != map.tileHeight) {
        error = "die Kacheln des Kachelsatzes sind " + Text(tileset->tileWidth) + " x " +
                Text(tileset->tileHeight) + " Pixel groß, die der Karte " + Text(map.tileWidth) +
                " x " + Text(map.tileHeight);
        return false;
    }
    if (tileset->margin != 0 || tileset->spacing != 0) {
        error =
            "der Kachelsatz hat Rand oder Abstand zwischen den Kacheln; ein Kachelsatz einer "
            "Karte liegt Kachel an Kachel";
        return false;
    }
    const std::int32_t columns = imageWidth / map.tileWidth;
    if (columns < 1) {
        error = "das Bild des Kachelsatzes ist " + Text(imageWidth) +
                " Pixel breit, schmaler als eine Kachel";
        return false;
    }
    if (tileset->columns != -1 && tileset->columns != columns) {
        error = "der Kachelsatz nennt " + Text(tileset->columns) + " Spalten, sein Bild (" +
                Text(imageWidth) + " Pixel breit) hat " + Text(columns);
        return false;
    }

    editor::ResetDocument();
    Document.FieldWidth = map.tileWidth;
    Document.FieldHeight = map.tileHeight;
    Document.LastFieldX = map.width - 1;
    Document.LastFieldY = map.height - 1;
    if (!ReadHead(map, 0, 0, error, notes)) return false;
    if (!ReadCells(map, *tileset, columns, error)) return false;
    return true;
}

bool IsGameTileSetMap(const TiledMap& map, std::int32_t imageWidth, std::int32_t imageHeight) {
    if (map.tilesets.size() != 1 || map.infinite || map.tileWidth < 1 || map.tileHeight < 1) {
        return false;
    }
    const TiledTileset& t = map.tilesets.front();
    const std::int32_t rows = imageHeight / map.tileHeight;
    if (t.image.empty() || !t.tileImages.empty() || !t.trans.empty() || t.margin != 0 ||
        t.spacing != 0 || t.tileWidth != map.tileWidth || t.tileHeight != map.tileHeight ||
        rows < 1) {
        return false;
    }
    const std::int32_t columns = imageWidth / map.tileWidth;
    if (columns < 1 || (t.columns != -1 && t.columns != columns)) return false;
    const TiledLayer* only = nullptr;
    for (const TiledLayer& layer : map.layers) {
        if (layer.kind != TiledLayerKind::Tile) continue;
        if (only != nullptr) return false;
        only = &layer;
    }
    if (only == nullptr || only->width != map.width || only->height != map.height ||
        IsZMaskLayerName(only->name)) {
        return false;
    }
    // Our export names its layer "Felder"; an image of two rows is tiles over Z-masks too.
    if (only->name != kFieldLayerName && rows != 2) return false;
    for (const TiledLayer* l = only; l != nullptr;
         l = l->parent >= 0 ? &map.layers[static_cast<std::size_t>(l->parent)] : nullptr) {
        if (!l->visible || l->opacity != 1 || !l->tint.empty() || l->offsetX != 0 ||
            l->offsetY != 0) {
            return false;
        }
    }
    for (const std::uint32_t cell : only->cells) {
        if (cell < t.firstGid || cell - t.firstGid >= static_cast<std::uint32_t>(columns)) {
            return false;
        }
    }
    return true;
}

bool FlatToDocument(const TiledMap& map, const FlatMap& flat, std::string& error, Notes& notes) {
    editor::ResetDocument();
    Document.FieldWidth = map.tileWidth;
    Document.FieldHeight = map.tileHeight;
    Document.LastFieldX = flat.width - 1;
    Document.LastFieldY = flat.height - 1;
    if (!ReadHead(map, std::int64_t{flat.originX} * map.tileWidth,
                  std::int64_t{flat.originY} * map.tileHeight, error, notes)) {
        return false;
    }
    for (std::int32_t y = 0; y < flat.height; ++y) {
        for (std::int32_t x = 0; x < flat.width; ++x) {
            Document.Fields(x, y) = flat.fields[static_cast<std::size_t>(y) * flat.width + x];
        }
    }
    return true;
}

}  // namespace maptool
