// Reading and writing TMJ and TSJ with Qt Core's JSON classes.
#include "tools/maptool/TmjFormat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "tools/maptool/TiledLayerData.h"
#include "tools/maptool/TiledProperties.h"

namespace maptool {
namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The Qt parser's complaint in German; its own texts are English.
std::string ParserProblem(QJsonParseError::ParseError error) {
    switch (error) {
        case QJsonParseError::UnterminatedObject:
            return "ein Objekt endet nicht";
        case QJsonParseError::MissingNameSeparator:
            return "nach einem Schlüssel fehlt der Doppelpunkt";
        case QJsonParseError::UnterminatedArray:
            return "eine Liste endet nicht";
        case QJsonParseError::MissingValueSeparator:
            return "zwischen zwei Werten fehlt das Komma";
        case QJsonParseError::IllegalValue:
            return "ein Wert ist ungültig";
        case QJsonParseError::TerminationByNumber:
            return "die Daten enden mitten in einer Zahl";
        case QJsonParseError::IllegalNumber:
            return "eine Zahl ist ungültig";
        case QJsonParseError::IllegalEscapeSequence:
            return "ein Text enthält eine ungültige Escape-Folge";
        case QJsonParseError::IllegalUTF8String:
            return "ein Text ist kein gültiges UTF-8";
        case QJsonParseError::UnterminatedString:
            return "ein Text endet nicht";
        case QJsonParseError::MissingObject:
            return "ein Objekt oder eine Liste fehlt";
        case QJsonParseError::DeepNesting:
            return "die Daten sind zu tief verschachtelt";
        case QJsonParseError::DocumentTooLarge:
            return "die Daten sind zu groß";
        case QJsonParseError::GarbageAtEnd:
            return "nach dem Ende der Daten folgt noch etwas";
        default:
            return "die Daten sind fehlerhaft";
    }
}

class TmjReader {
public:
    std::string error;

    bool Fail(const std::string& what) {
        if (error.empty()) error = what;
        return false;
    }

    bool Document(std::span<const std::uint8_t> bytes, QJsonObject& root) {
        if (static_cast<std::int64_t>(bytes.size()) > kTiledFileLimit)
            return Fail("die Datei ist größer als " + std::to_string(kTiledFileLimit) + " Bytes");
        const std::string problem = JsonBytesProblem(bytes);
        if (!problem.empty()) return Fail(problem);
        QJsonParseError parse{};
        const QJsonDocument document = QJsonDocument::fromJson(
            QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                    static_cast<qsizetype>(bytes.size())),
            &parse);
        if (parse.error != QJsonParseError::NoError) {
            return Fail("kein JSON (Zeichen " + std::to_string(parse.offset) + ": " +
                        ParserProblem(parse.error) + ")");
        }
        if (!document.isObject()) return Fail("das JSON ist kein Objekt");
        root = document.object();
        return true;
    }

    bool Int(const QJsonObject& o, const char* key, std::int32_t& out, bool required) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined()) return !required || Fail(std::string("\"") + key + "\" fehlt");
        const std::optional<std::int32_t> number = JsonInt32(v);
        if (!number) return Fail(std::string("\"") + key + "\" ist keine ganze Zahl");
        out = *number;
        return true;
    }

    bool Text(const QJsonObject& o, const char* key, std::string& out) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined()) return true;
        if (!v.isString()) return Fail(std::string("\"") + key + "\" ist kein Text");
        out = v.toString().toStdString();
        return true;
    }

    bool Number(const QJsonObject& o, const char* key, double& out) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined()) return true;
        if (!v.isDouble()) return Fail(std::string("\"") + key + "\" ist keine Zahl");
        out = v.toDouble();
        return true;
    }

    bool Cell(const QJsonValue& v, std::uint32_t& out) {
        const double d = v.toDouble(NAN);
        if (!v.isDouble() || d != std::floor(d) || d < 0 || d > 4294967295.0) {
            return Fail("eine Zelle hat keine Kachelnummer");
        }
        out = static_cast<std::uint32_t>(d);
        return true;
    }

    bool Properties(const QJsonObject& o, std::vector<TiledProperty>& properties) {
        const QJsonValue list = o.value(QLatin1String("properties"));
        if (list.isUndefined()) return true;
        if (list.isObject()) return OlderProperties(o, list.toObject(), properties);
        if (!list.isArray()) return Fail("\"properties\" ist keine Liste");
        if (list.toArray().size() > kTiledMaxProperties)
            return Fail(TooMany("Eigenschaften", kTiledMaxProperties));
        for (const QJsonValue& entry : list.toArray()) {
            if (!entry.isObject()) return Fail("eine Eigenschaft ist kein Objekt");
            const QJsonObject p = entry.toObject();
            TiledProperty property;
            if (!Text(p, "name", property.name) || !Text(p, "type", property.type)) return false;
            if (!SpellTiledJsonValue(p.value(QLatin1String("value")), property)) {
                return Fail(WrongTiledValueText(property));
            }
            properties.push_back(std::move(property));
        }
        return true;
    }

    // Tiled before 1.2 wrote the properties as one object of names and values, their types
    // beside it in "propertytypes" (before that, with no types, every value was text).
    bool OlderProperties(const QJsonObject& o, const QJsonObject& values,
                         std::vector<TiledProperty>& properties) {
        if (values.size() > kTiledMaxProperties)
            return Fail(TooMany("Eigenschaften", kTiledMaxProperties));
        const QJsonValue types = o.value(QLatin1String("propertytypes"));
        if (!types.isUndefined() && !types.isObject()) {
            return Fail("\"propertytypes\" ist kein Objekt");
        }
        for (auto entry = values.begin(); entry != values.end(); ++entry) {
            TiledProperty property;
            property.name = entry.key().toStdString();
            const QJsonValue type = types.toObject().value(entry.key());
            if (!type.isUndefined() && !type.isString()) {
                return Fail("der Typ der Eigenschaft " + property.name + " ist kein Text");
            }
            property.type = type.isString() ? type.toString().toStdString() : "string";
            if (!SpellTiledJsonValue(entry.value(), property)) {
                return Fail(WrongTiledValueText(property));
            }
            properties.push_back(std::move(property));
        }
        return true;
    }

    bool Tileset(const QJsonObject& o, TiledTileset& tileset) {
        if (!Text(o, "source", tileset.source)) return false;
        if (!tileset.source.empty()) return true;  // an external tileset: in its own file
        return Text(o, "name", tileset.name) && Int(o, "tilewidth", tileset.tileWidth, false) &&
               Int(o, "tileheight", tileset.tileHeight, false) &&
               Int(o, "tilecount", tileset.tileCount, false) &&
               Int(o, "columns", tileset.columns, false) &&
               Int(o, "margin", tileset.margin, false) &&
               Int(o, "spacing", tileset.spacing, false) && Text(o, "image", tileset.image) &&
               Int(o, "imagewidth", tileset.imageWidth, false) &&
               Int(o, "imageheight", tileset.imageHeight, false) &&
               Text(o, "transparentcolor", tileset.trans) && TileOffset(o, tileset) &&
               Counted(o, tileset.propertyCount) && Tiles(o, tileset);
    }

    bool TileOffset(const QJsonObject& o, TiledTileset& tileset) {
        const QJsonValue offset = o.value(QLatin1String("tileoffset"));
        if (offset.isUndefined()) return true;
        if (!offset.isObject()) return Fail("\"tileoffset\" ist kein Objekt");
        return Int(offset.toObject(), "x", tileset.offsetX, false) &&
               Int(offset.toObject(), "y", tileset.offsetY, false);
    }

    // The tiles of a tileset that have anything of their own: an image, properties, an
    // animation.
    bool Tiles(const QJsonObject& o, TiledTileset& tileset) {
        const QJsonValue list = o.value(QLatin1String("tiles"));
        if (list.isUndefined()) return true;
        if (!list.isArray()) return Fail("\"tiles\" ist keine Liste");
        tiles_ += list.toArray().size();
        if (tiles_ > kTiledMaxTiles) return Fail(TooMany("Kacheln mit Angaben", kTiledMaxTiles));
        for (const QJsonValue& entry : list.toArray()) {
            if (!entry.isObject()) return Fail("eine Kachel ist kein Objekt");
            const QJsonObject tile = entry.toObject();
            std::uint32_t id = 0;
            if (!Cell(tile.value(QLatin1String("id")), id)) return false;
            std::string image;
            if (!Text(tile, "image", image) || !Counted(tile, tileset.tilePropertyCount)) {
                return false;
            }
            if (!image.empty()) tileset.tileImages.push_back({id, image});
            if (tile.contains(QLatin1String("animation"))) ++tileset.animationCount;
        }
        return true;
    }

    // Counts the properties of an object whose properties are not kept.
    bool Counted(const QJsonObject& o, std::int64_t& count) {
        std::vector<TiledProperty> properties;
        if (!Properties(o, properties)) return false;
        count += static_cast<std::int64_t>(properties.size());
        return true;
    }

    // Room for `count` more cells among all layers.
    bool Room(std::int64_t count) {
        totalCells_ += count;
        return totalCells_ <= kTiledMaxTotalCells ||
               Fail(TooMany("Zellen in allen Ebenen", kTiledMaxTotalCells));
    }

    // `count` cells from the "data" of a layer or chunk.
    bool Cells(const QJsonObject& o, const std::string& encoding, const std::string& compression,
               std::size_t count, std::vector<std::uint32_t>& out) {
        const QJsonValue data = o.value(QLatin1String("data"));
        if (data.isUndefined()) return Fail("eine Kachelebene hat keine Daten");
        if (encoding == "base64") {
            if (!data.isString()) return Fail("die Base64-Daten sind kein Text");
            std::string problem;
            return DecodeBase64Cells(data.toString().toStdString(), compression, count, out,
                                     problem) ||
                   Fail(problem);
        }
        if (!encoding.empty() && encoding != "csv") {
            return Fail("die Kodierung \"" + encoding + "\" wird nicht unterstützt");
        }
        if (!data.isArray()) return Fail("die Daten der Ebene sind keine Liste");
        const QJsonArray cells = data.toArray();
        if (static_cast<std::size_t>(cells.size()) != count) {
            return Fail("die Ebene hat " + std::to_string(cells.size()) + " Zellen, nicht " +
                        std::to_string(count));
        }
        out.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            if (!Cell(cells[static_cast<qsizetype>(i)], out[i])) return false;
        }
        return true;
    }

    bool TileLayer(const QJsonObject& o, const TiledMap& map, TiledLayer& layer) {
        std::string encoding, compression;
        if (!Text(o, "encoding", encoding) || !Text(o, "compression", compression)) return false;
        if (!map.infinite) {
            if (!Int(o, "width", layer.width, true) || !Int(o, "height", layer.height, true)) {
                return false;
            }
            const std::string size = LayerSizeProblem(layer.name, layer.width, layer.height);
            if (!size.empty()) return Fail(size);
            return Room(std::int64_t{layer.width} * layer.height) &&
                   Cells(o, encoding, compression,
                         static_cast<std::size_t>(layer.width) * layer.height, layer.cells);
        }
        const QJsonValue list = o.value(QLatin1String("chunks"));
        if (!list.isUndefined() && !list.isArray()) return Fail("\"chunks\" ist keine Liste");
        std::vector<TiledChunk> chunks;
        for (const QJsonValue& entry : list.toArray()) {
            if (!entry.isObject()) return Fail("ein Stück einer Ebene ist kein Objekt");
            const QJsonObject c = entry.toObject();
            TiledChunk chunk;
            if (!Int(c, "x", chunk.x, true) || !Int(c, "y", chunk.y, true) ||
                !Int(c, "width", chunk.width, true) || !Int(c, "height", chunk.height, true)) {
                return false;
            }
            const std::string size = ChunkSizeProblem(chunk.width, chunk.height);
            if (!size.empty()) return Fail(size);
            if (!Room(std::int64_t{chunk.width} * chunk.height) ||
                !Cells(c, encoding, compression,
                       static_cast<std::size_t>(chunk.width) * chunk.height, chunk.cells)) {
                return false;
            }
            chunks.push_back(std::move(chunk));
        }
        std::string problem;
        return (AssembleChunks(chunks, layer.x, layer.y, layer.width, layer.height, layer.cells,
                               problem) ||
                Fail(problem)) &&
               Room(std::int64_t{layer.width} * layer.height);
    }

    bool Players(const QJsonObject& o, TiledMap& map) {
        map.hasPlayerLayer = true;
        const QJsonValue objects = o.value(QLatin1String("objects"));
        if (objects.isUndefined()) return true;
        if (!objects.isArray()) return Fail("\"objects\" ist keine Liste");
        if (objects.toArray().size() > kTiledMaxObjects)
            return Fail("die Ebene Spieler hat " + TooMany("Objekte", kTiledMaxObjects));
        for (const QJsonValue& entry : objects.toArray()) {
            if (!entry.isObject()) return Fail("ein Objekt der Ebene Spieler ist kein Objekt");
            const QJsonObject j = entry.toObject();
            TiledObject object;
            if (!Int(j, "id", object.id, false) || !Text(j, "name", object.name) ||
                !Number(j, "x", object.x) || !Number(j, "y", object.y) ||
                !Properties(j, object.properties)) {
                return false;
            }
            object.point =
                j.value(QLatin1String("point")).toBool() && !j.contains(QLatin1String("gid"));
            map.players.push_back(std::move(object));
        }
        return true;
    }

    // What every layer has: name, visibility, opacity, tint, offset, parallax, properties.
    bool LayerLooks(const QJsonObject& o, TiledLayer& layer) {
        const QJsonValue visible = o.value(QLatin1String("visible"));
        if (!visible.isUndefined() && !visible.isBool()) {
            return Fail("\"visible\" ist weder true noch false");
        }
        layer.visible = visible.toBool(true);
        return Text(o, "name", layer.name) && Text(o, "tintcolor", layer.tint) &&
               Number(o, "opacity", layer.opacity) && Number(o, "offsetx", layer.offsetX) &&
               Number(o, "offsety", layer.offsetY) && Number(o, "parallaxx", layer.parallaxX) &&
               Number(o, "parallaxy", layer.parallaxY) && Counted(o, layer.propertyCount);
    }

    bool Layers(const QJsonValue& list, TiledMap& map, std::int32_t parent = -1, int depth = 0) {
        if (list.isUndefined()) return true;
        if (!list.isArray()) return Fail("\"layers\" ist keine Liste");
        for (const QJsonValue& entry : list.toArray()) {
            if (++layers_ > kTiledMaxLayers) return Fail(TooMany("Ebenen", kTiledMaxLayers));
            if (!entry.isObject()) return Fail("eine Ebene ist kein Objekt");
            const QJsonObject o = entry.toObject();
            const QString type = o.value(QLatin1String("type")).toString();
            TiledLayer layer;
            layer.parent = parent;
            if (type == QLatin1String("tilelayer")) {
                layer.kind = TiledLayerKind::Tile;
            } else if (type == QLatin1String("objectgroup")) {
                layer.kind = TiledLayerKind::Object;
            } else if (type == QLatin1String("imagelayer")) {
                layer.kind = TiledLayerKind::Image;
            } else if (type == QLatin1String("group")) {
                layer.kind = TiledLayerKind::Group;
            } else {
                return Fail("eine Ebene hat den unbekannten Typ \"" + type.toStdString() + "\"");
            }
            if (!LayerLooks(o, layer)) return false;
            bool read = true;
            if (layer.kind == TiledLayerKind::Tile) {
                read = TileLayer(o, map, layer);
            } else if (layer.kind == TiledLayerKind::Object) {
                const QJsonValue objects = o.value(QLatin1String("objects"));
                layer.objectCount = objects.isArray() ? objects.toArray().size() : 0;
                if (!map.hasPlayerLayer && layer.name == kPlayerLayerName) read = Players(o, map);
            }
            if (!read) return false;
            const auto index = static_cast<std::int32_t>(map.layers.size());
            const bool group = layer.kind == TiledLayerKind::Group;
            map.layers.push_back(std::move(layer));
            if (group) {
                if (depth == kTiledMaxGroupDepth) {
                    return Fail("die Gruppenebenen sind zu tief verschachtelt");
                }
                if (!Layers(o.value(QLatin1String("layers")), map, index, depth + 1)) return false;
            }
        }
        return true;
    }

    bool Map(const QJsonObject& o, TiledMap& map) {
        const QJsonValue infinite = o.value(QLatin1String("infinite"));
        if (!infinite.isUndefined() && !infinite.isBool() &&
            !(infinite.isDouble() && (infinite.toDouble() == 0 || infinite.toDouble() == 1))) {
            return Fail("\"infinite\" ist weder true noch false");
        }
        map.infinite = infinite.isBool() ? infinite.toBool() : infinite.toDouble() != 0;
        if (!Text(o, "orientation", map.orientation) ||
            !Text(o, "backgroundcolor", map.backgroundColor) || !Int(o, "width", map.width, true) ||
            !Int(o, "height", map.height, true) || !Int(o, "tilewidth", map.tileWidth, true) ||
            !Int(o, "tileheight", map.tileHeight, true) || !Properties(o, map.properties)) {
            return false;
        }
        const QJsonValue tilesets = o.value(QLatin1String("tilesets"));
        if (!tilesets.isUndefined() && !tilesets.isArray())
            return Fail("\"tilesets\" ist keine Liste");
        if (tilesets.toArray().size() > kTiledMaxTilesets)
            return Fail(TooMany("Kachelsätze", kTiledMaxTilesets));
        for (const QJsonValue& entry : tilesets.toArray()) {
            if (!entry.isObject()) return Fail("ein Kachelsatz ist kein Objekt");
            TiledTileset tileset;
            if (!Cell(entry.toObject().value(QLatin1String("firstgid")), tileset.firstGid) ||
                !Tileset(entry.toObject(), tileset)) {
                return false;
            }
            if (tileset.firstGid < 1) return Fail(kFirstGidProblem);
            map.tilesets.push_back(std::move(tileset));
        }
        if (!Layers(o.value(QLatin1String("layers")), map)) return false;
        TakeFirstTileLayer(map);
        return true;
    }

private:
    std::int64_t layers_ = 0;
    std::int64_t tiles_ = 0;
    std::int64_t totalCells_ = 0;
};

QJsonArray Properties(const std::vector<TiledProperty>& properties) {
    QJsonArray list;
    for (const TiledProperty& p : properties) {
        list.append(
            QJsonObject{{"name", Q(p.name)}, {"type", Q(p.type)}, {"value", TiledJsonValue(p)}});
    }
    return list;
}

QJsonObject Tileset(const TiledTileset& t) {
    if (!t.source.empty())
        return {{"firstgid", static_cast<qint64>(t.firstGid)}, {"source", Q(t.source)}};
    QJsonObject o{{"firstgid", static_cast<qint64>(t.firstGid)},
                  {"name", Q(t.name)},
                  {"tilewidth", t.tileWidth},
                  {"tileheight", t.tileHeight},
                  {"margin", t.margin},
                  {"spacing", t.spacing},
                  {"image", Q(t.image)}};
    if (t.tileCount != -1) o["tilecount"] = t.tileCount;
    if (t.columns != -1) o["columns"] = t.columns;
    if (t.imageWidth != -1) o["imagewidth"] = t.imageWidth;
    if (t.imageHeight != -1) o["imageheight"] = t.imageHeight;
    return o;
}

}  // namespace

bool ReadTmj(std::span<const std::uint8_t> bytes, TiledMap& map, std::string& error) {
    map = TiledMap{};
    TmjReader reader;
    QJsonObject root;
    const bool read = reader.Document(bytes, root) && reader.Map(root, map);
    error = reader.error;
    return read;
}

bool ReadTsj(std::span<const std::uint8_t> bytes, TiledTileset& tileset, std::string& error) {
    const std::uint32_t firstGid = tileset.firstGid;
    tileset = TiledTileset{};
    tileset.firstGid = firstGid;
    TmjReader reader;
    QJsonObject root;
    bool read = reader.Document(bytes, root) && reader.Tileset(root, tileset);
    if (read && !tileset.source.empty())
        read = reader.Fail("ein externer Kachelsatz verweist auf einen weiteren");
    error = reader.error;
    return read;
}

std::string WriteTmj(const TiledMap& map) {
    QJsonArray layers;
    if (map.hasTileLayer) {
        QJsonArray cells;
        for (std::uint32_t cell : map.cells) cells.append(static_cast<qint64>(cell));
        layers.append(QJsonObject{{"type", "tilelayer"},
                                  {"id", 1},
                                  {"name", Q(map.tileLayerName)},
                                  {"width", map.layerWidth},
                                  {"height", map.layerHeight},
                                  {"x", 0},
                                  {"y", 0},
                                  {"opacity", 1},
                                  {"visible", true},
                                  {"data", cells}});
    }
    std::int32_t nextObject = 1;
    if (map.hasPlayerLayer) {
        QJsonArray objects;
        for (const TiledObject& o : map.players) {
            QJsonObject object{{"id", o.id},      {"name", Q(o.name)}, {"type", ""},
                               {"x", o.x},        {"y", o.y},          {"width", 0},
                               {"height", 0},     {"rotation", 0},     {"visible", true},
                               {"point", o.point}};
            if (!o.properties.empty()) object["properties"] = Properties(o.properties);
            objects.append(object);
            nextObject = std::max(nextObject, o.id + 1);
        }
        layers.append(QJsonObject{{"type", "objectgroup"},
                                  {"id", 2},
                                  {"name", kPlayerLayerName},
                                  {"draworder", "topdown"},
                                  {"x", 0},
                                  {"y", 0},
                                  {"opacity", 1},
                                  {"visible", true},
                                  {"objects", objects}});
    }
    QJsonArray tilesets;
    for (const TiledTileset& t : map.tilesets) tilesets.append(Tileset(t));
    QJsonObject root{{"type", "map"},
                     {"version", "1.8"},
                     {"orientation", Q(map.orientation)},
                     {"renderorder", "right-down"},
                     {"width", map.width},
                     {"height", map.height},
                     {"tilewidth", map.tileWidth},
                     {"tileheight", map.tileHeight},
                     {"infinite", map.infinite},
                     {"compressionlevel", -1},
                     {"nextlayerid", 3},
                     {"nextobjectid", nextObject},
                     {"tilesets", tilesets},
                     {"layers", layers}};
    if (!map.properties.empty()) root["properties"] = Properties(map.properties);
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace maptool
