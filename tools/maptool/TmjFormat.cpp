// Reading and writing TMJ and TSJ with nlohmann's JSON parser. The bytes are checked before
// it sees them (TiledLimits: nesting, number of objects and items, keys twice), so that the
// document it builds stays within a map's needs.
#include "tools/maptool/TmjFormat.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "tools/maptool/TiledJson.h"
#include "tools/maptool/TiledLayerData.h"
#include "tools/maptool/TiledProperties.h"

namespace maptool {
namespace {

using Json = nlohmann::json;

// The member `key` of an object, or null when it has none.
const Json* Member(const Json& o, const char* key) {
    const auto found = o.find(key);
    return found == o.end() ? nullptr : &*found;
}

const Json& Empty() {
    static const Json empty;
    return empty;
}

// The member `key`, or a null value when it has none.
const Json& Value(const Json& o, const char* key) {
    const Json* member = Member(o, key);
    return member != nullptr ? *member : Empty();
}

// The parser's complaint in German; its own texts are English. The kinds follow what went
// wrong where: inside an object or a list, in a text, a number or a word.
std::string ParserProblem(const std::string& what, bool endsInNumber,
                          const std::vector<bool>& open) {
    const auto has = [&](const char* part) { return what.find(part) != std::string::npos; };
    if (has("ill-formed UTF-8")) return "ein Text ist kein gültiges UTF-8";
    if (has("missing closing quote")) return "ein Text endet nicht";
    if (has("invalid string")) {
        if (has("control character")) return "ein Wert ist ungültig";
        return "ein Text enthält eine ungültige Escape-Folge";
    }
    if (has("number overflow") || has("invalid number")) return "eine Zahl ist ungültig";
    if (has("unexpected end of input")) {
        if (endsInNumber) return "die Daten enden mitten in einer Zahl";
        if (open.empty()) return "ein Wert ist ungültig";
        return open.back() ? "ein Objekt endet nicht" : "eine Liste endet nicht";
    }
    if (has("expected end of input")) return "nach dem Ende der Daten folgt noch etwas";
    if (has("parsing object separator")) return "nach einem Schlüssel fehlt der Doppelpunkt";
    if (has("parsing object")) return "ein Objekt endet nicht";
    if (has("parsing array")) return "zwischen zwei Werten fehlt das Komma";
    if (has("invalid literal")) return "ein Wert ist ungültig";
    return "die Daten sind fehlerhaft";
}

// Builds the document, keeping where and why the parser stopped.
class DocumentBuilder : public nlohmann::detail::json_sax_dom_parser<Json> {
public:
    explicit DocumentBuilder(Json& document) : json_sax_dom_parser(document, false) {}

    // What is open where the data ends decides the complaint then: an object or a list.
    bool start_object(std::size_t count) {
        open.push_back(true);
        return json_sax_dom_parser::start_object(count);
    }
    bool end_object() {
        open.pop_back();
        return json_sax_dom_parser::end_object();
    }
    bool start_array(std::size_t count) {
        open.push_back(false);
        return json_sax_dom_parser::start_array(count);
    }
    bool end_array() {
        open.pop_back();
        return json_sax_dom_parser::end_array();
    }

    bool parse_error(std::size_t at, const std::string& token,
                     const nlohmann::detail::exception& problem) {
        position = at;
        last = token;
        what = problem.what();
        return false;
    }

    // The character the complaint is about: for a token that does not belong where it stands,
    // the one after its first character; at the end of the data its size; else where the parser
    // stopped reading.
    std::size_t Offset(std::size_t size) const {
        if (what.find("unexpected end of input") != std::string::npos) return size;
        const bool misplaced = what.find("- unexpected") != std::string::npos;
        return misplaced && last.size() <= position ? position - last.size() + 1 : position;
    }

    std::vector<bool> open;  // true for an object
    std::size_t position = 0;
    std::string last;
    std::string what;
};

class TmjReader {
public:
    std::string error;

    bool Fail(const std::string& what) {
        if (error.empty()) error = what;
        return false;
    }

    bool Document(std::span<const std::uint8_t> bytes, Json& root) {
        if (static_cast<std::int64_t>(bytes.size()) > kTiledFileLimit)
            return Fail("die Datei ist größer als " + std::to_string(kTiledFileLimit) + " Bytes");
        const std::string problem = JsonBytesProblem(bytes);
        if (!problem.empty()) return Fail(problem);
        DocumentBuilder builder(root);
        if (!Json::sax_parse(bytes.begin(), bytes.end(), &builder)) {
            const char last = bytes.empty() ? ' ' : static_cast<char>(bytes.back());
            const bool endsInNumber = std::string_view("0123456789.eE+-").find(last) !=
                                      std::string_view::npos;
            return Fail("kein JSON (Zeichen " + std::to_string(builder.Offset(bytes.size())) +
                        ": " + ParserProblem(builder.what, endsInNumber, builder.open) + ")");
        }
        if (!root.is_object() && !root.is_array()) {
            // A lone value is no JSON document: its first character is the one complained of.
            std::size_t first = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB &&
                                        bytes[2] == 0xBF
                                    ? 3
                                    : 0;
            while (first < bytes.size() && std::string_view(" \t\r\n").find(static_cast<char>(
                                               bytes[first])) != std::string_view::npos) {
                ++first;
            }
            return Fail("kein JSON (Zeichen " + std::to_string(first + 1) +
                        ": ein Wert ist ungültig)");
        }
        if (!root.is_object()) return Fail("das JSON ist kein Objekt");
        return true;
    }

    bool Int(const Json& o, const char* key, std::int32_t& out, bool required) {
        const Json* v = Member(o, key);
        if (v == nullptr) return !required || Fail(std::string("\"") + key + "\" fehlt");
        const std::optional<std::int32_t> number = JsonInt32(*v);
        if (!number) return Fail(std::string("\"") + key + "\" ist keine ganze Zahl");
        out = *number;
        return true;
    }

    bool Text(const Json& o, const char* key, std::string& out) {
        const Json* v = Member(o, key);
        if (v == nullptr) return true;
        if (!v->is_string()) return Fail(std::string("\"") + key + "\" ist kein Text");
        out = v->get<std::string>();
        return true;
    }

    bool Number(const Json& o, const char* key, double& out) {
        const Json* v = Member(o, key);
        if (v == nullptr) return true;
        if (!v->is_number()) return Fail(std::string("\"") + key + "\" ist keine Zahl");
        out = v->get<double>();
        return true;
    }

    bool Cell(const Json& v, std::uint32_t& out) {
        const double d = v.is_number() ? v.get<double>() : NAN;
        if (!v.is_number() || d != std::floor(d) || d < 0 || d > 4294967295.0) {
            return Fail("eine Zelle hat keine Kachelnummer");
        }
        out = static_cast<std::uint32_t>(d);
        return true;
    }

    bool Properties(const Json& o, std::vector<TiledProperty>& properties) {
        const Json* list = Member(o, "properties");
        if (list == nullptr) return true;
        if (list->is_object()) return OlderProperties(o, *list, properties);
        if (!list->is_array()) return Fail("\"properties\" ist keine Liste");
        if (static_cast<std::int64_t>(list->size()) > kTiledMaxProperties)
            return Fail(TooMany("Eigenschaften", kTiledMaxProperties));
        for (const Json& p : *list) {
            if (!p.is_object()) return Fail("eine Eigenschaft ist kein Objekt");
            TiledProperty property;
            if (!Text(p, "name", property.name) || !Text(p, "type", property.type)) return false;
            if (!SpellTiledJsonValue(Value(p, "value"), property)) {
                return Fail(WrongTiledValueText(property));
            }
            properties.push_back(std::move(property));
        }
        return true;
    }

    // Tiled before 1.2 wrote the properties as one object of names and values, their types
    // beside it in "propertytypes" (before that, with no types, every value was text).
    bool OlderProperties(const Json& o, const Json& values,
                         std::vector<TiledProperty>& properties) {
        if (static_cast<std::int64_t>(values.size()) > kTiledMaxProperties)
            return Fail(TooMany("Eigenschaften", kTiledMaxProperties));
        const Json* types = Member(o, "propertytypes");
        if (types != nullptr && !types->is_object()) {
            return Fail("\"propertytypes\" ist kein Objekt");
        }
        for (auto entry = values.begin(); entry != values.end(); ++entry) {
            TiledProperty property;
            property.name = entry.key();
            const Json* type = types != nullptr ? Member(*types, entry.key().c_str()) : nullptr;
            if (type != nullptr && !type->is_string()) {
                return Fail("der Typ der Eigenschaft " + property.name + " ist kein Text");
            }
            property.type = type != nullptr ? type->get<std::string>() : "string";
            if (!SpellTiledJsonValue(entry.value(), property)) {
                return Fail(WrongTiledValueText(property));
            }
            properties.push_back(std::move(property));
        }
        return true;
    }

    bool Tileset(const Json& o, TiledTileset& tileset) {
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

    bool TileOffset(const Json& o, TiledTileset& tileset) {
        const Json* offset = Member(o, "tileoffset");
        if (offset == nullptr) return true;
        if (!offset->is_object()) return Fail("\"tileoffset\" ist kein Objekt");
        return Int(*offset, "x", tileset.offsetX, false) &&
               Int(*offset, "y", tileset.offsetY, false);
    }

    // The tiles of a tileset that have anything of their own: an image, properties, an
    // animation.
    bool Tiles(const Json& o, TiledTileset& tileset) {
        const Json* list = Member(o, "tiles");
        if (list == nullptr) return true;
        if (!list->is_array()) return Fail("\"tiles\" ist keine Liste");
        tiles_ += static_cast<std::int64_t>(list->size());
        if (tiles_ > kTiledMaxTiles) return Fail(TooMany("Kacheln mit Angaben", kTiledMaxTiles));
        for (const Json& tile : *list) {
            if (!tile.is_object()) return Fail("eine Kachel ist kein Objekt");
            std::uint32_t id = 0;
            if (!Cell(Value(tile, "id"), id)) return false;
            std::string image;
            if (!Text(tile, "image", image) || !Counted(tile, tileset.tilePropertyCount)) {
                return false;
            }
            if (!image.empty()) tileset.tileImages.push_back({id, image});
            if (tile.contains("animation")) ++tileset.animationCount;
        }
        return true;
    }

    // Counts the properties of an object whose properties are not kept.
    bool Counted(const Json& o, std::int64_t& count) {
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
    bool Cells(const Json& o, const std::string& encoding, const std::string& compression,
               std::size_t count, std::vector<std::uint32_t>& out) {
        const Json* data = Member(o, "data");
        if (data == nullptr) return Fail("eine Kachelebene hat keine Daten");
        if (encoding == "base64") {
            if (!data->is_string()) return Fail("die Base64-Daten sind kein Text");
            std::string problem;
            return DecodeBase64Cells(data->get_ref<const std::string&>(), compression, count, out,
                                     problem) ||
                   Fail(problem);
        }
        if (!encoding.empty() && encoding != "csv") {
            return Fail("die Kodierung \"" + encoding + "\" wird nicht unterstützt");
        }
        if (!data->is_array()) return Fail("die Daten der Ebene sind keine Liste");
        const Json& cells = *data;
        if (cells.size() != count) {
            return Fail("die Ebene hat " + std::to_string(cells.size()) + " Zellen, nicht " +
                        std::to_string(count));
        }
        out.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            if (!Cell(cells[i], out[i])) return false;
        }
        return true;
    }

    bool TileLayer(const Json& o, const TiledMap& map, TiledLayer& layer) {
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
        const Json& list = Value(o, "chunks");
        if (!list.is_null() && !list.is_array()) return Fail("\"chunks\" ist keine Liste");
        std::vector<TiledChunk> chunks;
        for (const Json& c : list.is_array() ? list : Json::array()) {
            if (!c.is_object()) return Fail("ein Stück einer Ebene ist kein Objekt");
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

    bool Players(const Json& o, TiledMap& map) {
        map.hasPlayerLayer = true;
        const Json* objects = Member(o, "objects");
        if (objects == nullptr) return true;
        if (!objects->is_array()) return Fail("\"objects\" ist keine Liste");
        if (static_cast<std::int64_t>(objects->size()) > kTiledMaxObjects)
            return Fail("die Ebene Spieler hat " + TooMany("Objekte", kTiledMaxObjects));
        for (const Json& j : *objects) {
            if (!j.is_object()) return Fail("ein Objekt der Ebene Spieler ist kein Objekt");
            TiledObject object;
            if (!Int(j, "id", object.id, false) || !Text(j, "name", object.name) ||
                !Number(j, "x", object.x) || !Number(j, "y", object.y) ||
                !Properties(j, object.properties)) {
                return false;
            }
            const Json& point = Value(j, "point");
            object.point = point.is_boolean() && point.get<bool>() && !j.contains("gid");
            map.players.push_back(std::move(object));
        }
        return true;
    }

    // What every layer has: name, visibility, opacity, tint, offset, parallax, properties.
    bool LayerLooks(const Json& o, TiledLayer& layer) {
        const Json* visible = Member(o, "visible");
        if (visible != nullptr && !visible->is_boolean()) {
            return Fail("\"visible\" ist weder true noch false");
        }
        layer.visible = visible == nullptr || visible->get<bool>();
        return Text(o, "name", layer.name) && Text(o, "tintcolor", layer.tint) &&
               Number(o, "opacity", layer.opacity) && Number(o, "offsetx", layer.offsetX) &&
               Number(o, "offsety", layer.offsetY) && Number(o, "parallaxx", layer.parallaxX) &&
               Number(o, "parallaxy", layer.parallaxY) && Counted(o, layer.propertyCount);
    }

    bool Layers(const Json* list, TiledMap& map, std::int32_t parent = -1, int depth = 0) {
        if (list == nullptr) return true;
        if (!list->is_array()) return Fail("\"layers\" ist keine Liste");
        for (const Json& o : *list) {
            if (++layers_ > kTiledMaxLayers) return Fail(TooMany("Ebenen", kTiledMaxLayers));
            if (!o.is_object()) return Fail("eine Ebene ist kein Objekt");
            const Json& typeValue = Value(o, "type");
            const std::string type = typeValue.is_string() ? typeValue.get<std::string>() : "";
            TiledLayer layer;
            layer.parent = parent;
            if (type == "tilelayer") {
                layer.kind = TiledLayerKind::Tile;
            } else if (type == "objectgroup") {
                layer.kind = TiledLayerKind::Object;
            } else if (type == "imagelayer") {
                layer.kind = TiledLayerKind::Image;
            } else if (type == "group") {
                layer.kind = TiledLayerKind::Group;
            } else {
                return Fail("eine Ebene hat den unbekannten Typ \"" + type + "\"");
            }
            if (!LayerLooks(o, layer)) return false;
            bool read = true;
            if (layer.kind == TiledLayerKind::Tile) {
                read = TileLayer(o, map, layer);
            } else if (layer.kind == TiledLayerKind::Object) {
                const Json& objects = Value(o, "objects");
                layer.objectCount =
                    objects.is_array() ? static_cast<std::int64_t>(objects.size()) : 0;
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
                if (!Layers(Member(o, "layers"), map, index, depth + 1)) return false;
            }
        }
        return true;
    }

    bool Map(const Json& o, TiledMap& map) {
        const Json& infinite = Value(o, "infinite");
        const double number = infinite.is_number() ? infinite.get<double>() : 0;
        if (!infinite.is_null() && !infinite.is_boolean() &&
            !(infinite.is_number() && (number == 0 || number == 1))) {
            return Fail("\"infinite\" ist weder true noch false");
        }
        map.infinite = infinite.is_boolean() ? infinite.get<bool>() : number != 0;
        if (!Text(o, "orientation", map.orientation) ||
            !Text(o, "backgroundcolor", map.backgroundColor) || !Int(o, "width", map.width, true) ||
            !Int(o, "height", map.height, true) || !Int(o, "tilewidth", map.tileWidth, true) ||
            !Int(o, "tileheight", map.tileHeight, true) || !Properties(o, map.properties)) {
            return false;
        }
        const Json& tilesets = Value(o, "tilesets");
        if (!tilesets.is_null() && !tilesets.is_array())
            return Fail("\"tilesets\" ist keine Liste");
        if (tilesets.is_array() && static_cast<std::int64_t>(tilesets.size()) > kTiledMaxTilesets)
            return Fail(TooMany("Kachelsätze", kTiledMaxTilesets));
        for (const Json& entry : tilesets.is_array() ? tilesets : Json::array()) {
            if (!entry.is_object()) return Fail("ein Kachelsatz ist kein Objekt");
            TiledTileset tileset;
            if (!Cell(Value(entry, "firstgid"), tileset.firstGid) || !Tileset(entry, tileset)) {
                return false;
            }
            if (tileset.firstGid < 1) return Fail(kFirstGidProblem);
            map.tilesets.push_back(std::move(tileset));
        }
        if (!Layers(Member(o, "layers"), map)) return false;
        TakeFirstTileLayer(map);
        return true;
    }

private:
    std::int64_t layers_ = 0;
    std::int64_t tiles_ = 0;
    std::int64_t totalCells_ = 0;
};

Json Properties(const std::vector<TiledProperty>& properties) {
    Json list = Json::array();
    for (const TiledProperty& p : properties) {
        list.push_back(Json{{"name", p.name}, {"type", p.type}, {"value", TiledJsonValue(p)}});
    }
    return list;
}

Json Tileset(const TiledTileset& t) {
    if (!t.source.empty()) return Json{{"firstgid", t.firstGid}, {"source", t.source}};
    Json o{{"firstgid", t.firstGid},
                  {"name", t.name},
                  {"tilewidth", t.tileWidth},
                  {"tileheight", t.tileHeight},
                  {"margin", t.margin},
                  {"spacing", t.spacing},
                  {"image", t.image}};
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
    Json root;
    const bool read = reader.Document(bytes, root) && reader.Map(root, map);
    error = reader.error;
    return read;
}

bool ReadTsj(std::span<const std::uint8_t> bytes, TiledTileset& tileset, std::string& error) {
    const std::uint32_t firstGid = tileset.firstGid;
    tileset = TiledTileset{};
    tileset.firstGid = firstGid;
    TmjReader reader;
    Json root;
    bool read = reader.Document(bytes, root) && reader.Tileset(root, tileset);
    if (read && !tileset.source.empty())
        read = reader.Fail("ein externer Kachelsatz verweist auf einen weiteren");
    error = reader.error;
    return read;
}

std::string WriteTmj(const TiledMap& map) {
    Json layers = Json::array();
    if (map.hasTileLayer) {
        Json cells = Json::array();
        for (std::uint32_t cell : map.cells) cells.push_back(cell);
        layers.push_back(Json{{"type", "tilelayer"},
                                  {"id", 1},
                                  {"name", map.tileLayerName},
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
        Json objects = Json::array();
        for (const TiledObject& o : map.players) {
            Json object{{"id", o.id},      {"name", o.name}, {"type", ""},
                               {"x", o.x},        {"y", o.y},          {"width", 0},
                               {"height", 0},     {"rotation", 0},     {"visible", true},
                               {"point", o.point}};
            if (!o.properties.empty()) object["properties"] = Properties(o.properties);
            objects.push_back(std::move(object));
            nextObject = std::max(nextObject, o.id + 1);
        }
        layers.push_back(Json{{"type", "objectgroup"},
                                  {"id", 2},
                                  {"name", kPlayerLayerName},
                                  {"draworder", "topdown"},
                                  {"x", 0},
                                  {"y", 0},
                                  {"opacity", 1},
                                  {"visible", true},
                                  {"objects", objects}});
    }
    Json tilesets = Json::array();
    for (const TiledTileset& t : map.tilesets) tilesets.push_back(Tileset(t));
    Json root{{"type", "map"},
                     {"version", "1.8"},
                     {"orientation", map.orientation},
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
    return IndentedJson(root);
}

}  // namespace maptool
