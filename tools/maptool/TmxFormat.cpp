// Reading TMX and TSX with the pull reader over expat (TmxWriter.cpp writes TMX).
#include "tools/maptool/TmxFormat.h"

#include <cmath>

#include "tools/maptool/TiledLayerData.h"
#include "tools/maptool/TiledProperties.h"
#include "tools/maptool/XmlPull.h"

namespace maptool {
namespace {

using Token = XmlPull::Token;

class TmxReader {
public:
    TmxReader(std::span<const std::uint8_t> bytes, const char* root) : xml_(bytes, root) {}

    // Moves to the root element, which must be `name`.
    bool Root(const char* name) {
        if (xml_.ReadNext() != Token::StartElement) return Fail("");
        if (xml_.Name() != name)
            return Fail("das Wurzelelement ist <" + xml_.Name() + ">, nicht <" + name + ">");
        return true;
    }

    // Refuses what the bytes show before the parser reads them.
    bool Bytes(std::span<const std::uint8_t> bytes) {
        if (static_cast<std::int64_t>(bytes.size()) > kTiledFileLimit) {
            error_ = "die Datei ist größer als " + std::to_string(kTiledFileLimit) + " Bytes";
            return false;
        }
        error_ = XmlBytesProblem(bytes);
        return error_.empty();
    }

    bool Map(TiledMap& map) {
        const XmlAttributes a = xml_.Attributes();
        if (a.Has("orientation")) map.orientation = a.Value("orientation");
        std::int32_t infinite = 0;
        if (!Int(a, "width", map.width, true) || !Int(a, "height", map.height, true) ||
            !Int(a, "tilewidth", map.tileWidth, true) ||
            !Int(a, "tileheight", map.tileHeight, true) || !Int(a, "infinite", infinite, false)) {
            return false;
        }
        if (infinite != 0 && infinite != 1) return Fail("das Attribut infinite ist nicht 0 oder 1");
        map.infinite = infinite != 0;
        map.backgroundColor = a.Value("backgroundcolor");
        while (Next()) {
            if (Is("properties")) {
                if (!Properties(map.properties)) return false;
            } else if (Is("tileset")) {
                if (static_cast<std::int64_t>(map.tilesets.size()) == kTiledMaxTilesets)
                    return Fail(TooMany("Kachelsätze", kTiledMaxTilesets));
                map.tilesets.emplace_back();
                std::uint32_t firstGid = 0;
                if (!Cell(xml_.Attributes(), "firstgid", firstGid)) return false;
                if (firstGid < 1) return Fail(kFirstGidProblem);
                map.tilesets.back().firstGid = firstGid;
                if (!Tileset(map.tilesets.back())) return false;
            } else if (!Layer(map, -1, 0)) {
                return false;
            }
        }
        if (!Done()) return false;
        TakeFirstTileLayer(map);
        return true;
    }

    bool Tileset(TiledTileset& tileset) {
        const XmlAttributes a = xml_.Attributes();
        tileset.source = a.Value("source");
        if (!tileset.source.empty()) {
            // An external tileset: what it holds is in its own file.
            xml_.SkipCurrentElement();
            return Done();
        }
        tileset.name = a.Value("name");
        if (!Int(a, "tilewidth", tileset.tileWidth, false) ||
            !Int(a, "tileheight", tileset.tileHeight, false) ||
            !Int(a, "tilecount", tileset.tileCount, false) ||
            !Int(a, "columns", tileset.columns, false) ||
            !Int(a, "margin", tileset.margin, false) ||
            !Int(a, "spacing", tileset.spacing, false)) {
            return false;
        }
        while (Next()) {
            if (Is("image")) {
                const XmlAttributes i = xml_.Attributes();
                tileset.image = i.Value("source");
                tileset.trans = i.Value("trans");
                if (!Int(i, "width", tileset.imageWidth, false) ||
                    !Int(i, "height", tileset.imageHeight, false)) {
                    return false;
                }
            } else if (Is("tileoffset")) {
                const XmlAttributes o = xml_.Attributes();
                if (!Int(o, "x", tileset.offsetX, false) || !Int(o, "y", tileset.offsetY, false)) {
                    return false;
                }
            } else if (Is("properties")) {
                if (!Counted(tileset.propertyCount)) return false;
                continue;
            } else if (Is("tile")) {
                if (!Tile(tileset)) return false;
                continue;
            }
            xml_.SkipCurrentElement();
        }
        return Done();
    }

    // A tile of a tileset: its own image (a tileset of single images), properties, animation.
    bool Tile(TiledTileset& tileset) {
        if (++tiles_ > kTiledMaxTiles) return Fail(TooMany("Kacheln mit Angaben", kTiledMaxTiles));
        std::uint32_t id = 0;
        if (!Cell(xml_.Attributes(), "id", id)) return false;
        while (Next()) {
            if (Is("image")) {
                tileset.tileImages.push_back({id, xml_.Attributes().Value("source")});
            } else if (Is("properties")) {
                if (!Counted(tileset.tilePropertyCount)) return false;
                continue;
            } else if (Is("animation")) {
                ++tileset.animationCount;
            }
            xml_.SkipCurrentElement();
        }
        return Done();
    }

    // Counts the properties of an element whose properties are not kept.
    bool Counted(std::int64_t& count) {
        std::vector<TiledProperty> properties;
        if (!Properties(properties)) return false;
        count += static_cast<std::int64_t>(properties.size());
        return true;
    }

    bool Finish() {
        while (xml_.ReadNext() != Token::End) {
        }
        return Done();
    }

    std::string Error() const { return error_; }

private:
    // Moves to the next child element of the current one; false at its end.
    bool Next() { return xml_.ReadNext() == Token::StartElement; }

    bool Is(const char* name) const { return xml_.Name() == name; }

    // True unless the reader or this class found an error.
    bool Done() {
        if (!error_.empty()) return false;
        if (xml_.HasError()) return Fail("");
        return true;
    }

    // Ends reading with `what` (or the reader's own complaint) at the current line.
    bool Fail(const std::string& what) {
        if (error_.empty()) {
            error_ = "Zeile " + std::to_string(xml_.Line()) + ": " +
                     (what.empty() ? xml_.Problem() : what);
        }
        xml_.RaiseError();
        return false;
    }

    bool Int(const XmlAttributes& a, const char* name, std::int32_t& out, bool required) {
        if (!a.Has(name)) {
            return required ? Fail(std::string("das Attribut ") + name + " fehlt") : true;
        }
        if (!ParseTiledInt(a.Value(name), out))
            return Fail(std::string("das Attribut ") + name + " ist keine ganze Zahl");
        return true;
    }

    bool Cell(const XmlAttributes& a, const char* name, std::uint32_t& out) {
        if (!ParseCell(a.Value(name), out)) {
            return Fail(std::string("das Attribut ") + name + " ist keine Kachelnummer");
        }
        return true;
    }

    bool Double(const XmlAttributes& a, const char* name, double& out) {
        if (!a.Has(name)) return true;
        if (!ParseTiledDouble(a.Value(name), out) || !std::isfinite(out)) {
            return Fail(std::string("das Attribut ") + name + " ist keine Zahl");
        }
        return true;
    }

    bool Properties(std::vector<TiledProperty>& properties) {
        while (Next()) {
            if (!Is("property")) {
                xml_.SkipCurrentElement();
                continue;
            }
            if (static_cast<std::int64_t>(properties.size()) == kTiledMaxProperties)
                return Fail(TooMany("Eigenschaften", kTiledMaxProperties));
            const XmlAttributes a = xml_.Attributes();
            TiledProperty property;
            property.name = a.Value("name");
            if (a.Has("type")) property.type = a.Value("type");
            if (KindOfTiledType(property.type) == TiledValueKind::Class) {
                xml_.SkipCurrentElement();  // members are not kept
            } else if (a.Has("value")) {
                property.value = a.Value("value");
                xml_.SkipCurrentElement();
            } else {
                // Texts with line breaks are written as the element's content.
                property.value = xml_.ReadElementText(false);
            }
            if (!SpellTiledTextValue(property)) return Fail(WrongTiledValueText(property));
            properties.push_back(std::move(property));
        }
        return Done();
    }

    // Cells of a tile layer or chunk, `count` of them, from the current <data> or <chunk>.
    bool Cells(const std::string& encoding, const std::string& compression, std::size_t count,
               std::vector<std::uint32_t>& cells) {
        std::string error;
        if (encoding.empty()) {
            cells.clear();
            while (Next()) {
                if (!Is("tile")) return Fail("die Ebene hat <" + xml_.Name() + "> in ihren Daten");
                if (cells.size() == count)
                    return Fail("die Ebene hat mehr Zellen als " + std::to_string(count));
                std::uint32_t cell = 0;
                if (xml_.Attributes().Has("gid") && !Cell(xml_.Attributes(), "gid", cell)) {
                    return false;
                }
                cells.push_back(cell);
                xml_.SkipCurrentElement();
            }
            if (!Done()) return false;
            if (cells.size() != count)
                return Fail("die Ebene hat weniger Zellen als " + std::to_string(count));
            return true;
        }
        const std::string text = xml_.ReadElementText(true);
        if (!Done()) return false;
        bool decoded = false;
        if (encoding == "csv" && compression.empty()) {
            decoded = DecodeCsvCells(text, count, cells, error);
        } else if (encoding == "base64") {
            decoded = DecodeBase64Cells(text, compression, count, cells, error);
        } else {
            error = "die Kodierung \"" + encoding + "\" wird nicht unterstützt";
        }
        return decoded || Fail(error);
    }

    // Room for `count` more cells among all layers.
    bool Room(std::int64_t count) {
        totalCells_ += count;
        if (totalCells_ > kTiledMaxTotalCells)
            return Fail(TooMany("Zellen in allen Ebenen", kTiledMaxTotalCells));
        return true;
    }

    bool Data(const TiledMap& map, TiledLayer& layer) {
        const XmlAttributes a = xml_.Attributes();
        const std::string encoding = a.Value("encoding");
        const std::string compression = a.Value("compression");
        if (!map.infinite) {
            if (!Room(std::int64_t{layer.width} * layer.height)) return false;
            return Cells(encoding, compression,
                         static_cast<std::size_t>(layer.width) * layer.height, layer.cells);
        }
        std::vector<TiledChunk> chunks;
        while (Next()) {
            if (!Is("chunk")) return Fail("die Ebene hat <" + xml_.Name() + "> in ihren Daten");
            TiledChunk chunk;
            const XmlAttributes c = xml_.Attributes();
            if (!Int(c, "x", chunk.x, true) || !Int(c, "y", chunk.y, true) ||
                !Int(c, "width", chunk.width, true) || !Int(c, "height", chunk.height, true)) {
                return false;
            }
            const std::string size = ChunkSizeProblem(chunk.width, chunk.height);
            if (!size.empty()) return Fail(size);
            if (!Room(std::int64_t{chunk.width} * chunk.height) ||
                !Cells(encoding, compression,
                       static_cast<std::size_t>(chunk.width) * chunk.height, chunk.cells)) {
                return false;
            }
            chunks.push_back(std::move(chunk));
        }
        if (!Done()) return false;
        std::string error;
        if (!AssembleChunks(chunks, layer.x, layer.y, layer.width, layer.height, layer.cells,
                            error)) {
            return Fail(error);
        }
        return Room(std::int64_t{layer.width} * layer.height);
    }

    // What every layer has: name, visibility, opacity, tint, offset, parallax.
    bool LayerLooks(TiledLayer& layer) {
        const XmlAttributes a = xml_.Attributes();
        layer.name = a.Value("name");
        layer.tint = a.Value("tintcolor");
        std::int32_t visible = 1;
        if (!Int(a, "visible", visible, false) || !Double(a, "opacity", layer.opacity) ||
            !Double(a, "offsetx", layer.offsetX) || !Double(a, "offsety", layer.offsetY) ||
            !Double(a, "parallaxx", layer.parallaxX) || !Double(a, "parallaxy", layer.parallaxY)) {
            return false;
        }
        layer.visible = visible != 0;
        return true;
    }

    bool TileLayer(const TiledMap& map, TiledLayer& layer) {
        const XmlAttributes a = xml_.Attributes();
        if (!map.infinite) {
            if (!Int(a, "width", layer.width, true) || !Int(a, "height", layer.height, true)) {
                return false;
            }
            const std::string size = LayerSizeProblem(layer.name, layer.width, layer.height);
            if (!size.empty()) return Fail(size);
        }
        bool hadData = false;
        while (Next()) {
            if (Is("data")) {
                if (hadData) return Fail("die Ebene " + layer.name + " hat zwei <data>-Elemente");
                hadData = true;
                if (!Data(map, layer)) return false;
            } else if (Is("properties")) {
                if (!Counted(layer.propertyCount)) return false;
            } else {
                xml_.SkipCurrentElement();
            }
        }
        if (!Done()) return false;
        return hadData || Fail("die Ebene " + layer.name + " hat keine Daten");
    }

    bool Object(TiledObject& object) {
        const XmlAttributes a = xml_.Attributes();
        object.name = a.Value("name");
        if (!Int(a, "id", object.id, false) || !Double(a, "x", object.x) ||
            !Double(a, "y", object.y)) {
            return false;
        }
        // A tile object names its tile; it is no point.
        const bool tile = a.Has("gid");
        while (Next()) {
            if (Is("properties")) {
                if (!Properties(object.properties)) return false;
                continue;
            }
            if (Is("point")) object.point = !tile;
            xml_.SkipCurrentElement();
        }
        return Done();
    }

    // An object layer: the first named "Spieler" gives the players, others are counted.
    bool ObjectGroup(TiledMap& map, TiledLayer& layer) {
        const bool players = !map.hasPlayerLayer && layer.name == kPlayerLayerName;
        map.hasPlayerLayer = map.hasPlayerLayer || players;
        while (Next()) {
            if (Is("properties")) {
                if (!Counted(layer.propertyCount)) return false;
                continue;
            }
            if (!Is("object")) {
                xml_.SkipCurrentElement();
                continue;
            }
            ++layer.objectCount;
            if (!players) {
                xml_.SkipCurrentElement();
                continue;
            }
            if (static_cast<std::int64_t>(map.players.size()) == kTiledMaxObjects)
                return Fail("die Ebene Spieler hat " + TooMany("Objekte", kTiledMaxObjects));
            map.players.emplace_back();
            if (!Object(map.players.back())) return false;
        }
        return Done();
    }

    // A layer of any kind, in the group `parent` (an index into map.layers, or -1).
    bool Layer(TiledMap& map, std::int32_t parent, int depth) {
        TiledLayerKind kind;
        if (Is("layer")) {
            kind = TiledLayerKind::Tile;
        } else if (Is("objectgroup")) {
            kind = TiledLayerKind::Object;
        } else if (Is("imagelayer")) {
            kind = TiledLayerKind::Image;
        } else if (Is("group")) {
            kind = TiledLayerKind::Group;
        } else {
            xml_.SkipCurrentElement();
            return Done();
        }
        if (++layers_ > kTiledMaxLayers) return Fail(TooMany("Ebenen", kTiledMaxLayers));
        if (kind == TiledLayerKind::Group && depth == kTiledMaxGroupDepth)
            return Fail("die Gruppenebenen sind zu tief verschachtelt");
        const auto index = static_cast<std::int32_t>(map.layers.size());
        map.layers.emplace_back();
        map.layers.back().kind = kind;
        map.layers.back().parent = parent;
        if (!LayerLooks(map.layers.back())) return false;
        switch (kind) {
            case TiledLayerKind::Tile:
                return TileLayer(map, map.layers.back());
            case TiledLayerKind::Object:
                return ObjectGroup(map, map.layers.back());
            case TiledLayerKind::Image:
                break;
            case TiledLayerKind::Group:
                while (Next()) {
                    if (Is("properties")) {
                        if (!Counted(map.layers[static_cast<std::size_t>(index)].propertyCount))
                            return false;
                    } else if (!Layer(map, index, depth + 1)) {
                        return false;
                    }
                }
                return Done();
        }
        while (Next()) {
            if (Is("properties")) {
                if (!Counted(map.layers.back().propertyCount)) return false;
            } else {
                xml_.SkipCurrentElement();
            }
        }
        return Done();
    }

    XmlPull xml_;
    std::string error_;
    std::int64_t layers_ = 0;
    std::int64_t tiles_ = 0;
    std::int64_t totalCells_ = 0;
};

}  // namespace

bool ReadTmx(std::span<const std::uint8_t> bytes, TiledMap& map, std::string& error) {
    map = TiledMap{};
    TmxReader reader(bytes, "map");
    const bool read = reader.Bytes(bytes) && reader.Root("map") && reader.Map(map) && reader.Finish();
    error = reader.Error();
    return read;
}

bool ReadTsx(std::span<const std::uint8_t> bytes, TiledTileset& tileset, std::string& error) {
    const std::uint32_t firstGid = tileset.firstGid;
    tileset = TiledTileset{};
    tileset.firstGid = firstGid;
    TmxReader reader(bytes, "tileset");
    const bool read = reader.Bytes(bytes) && reader.Root("tileset") && reader.Tileset(tileset) && reader.Finish();
    error = reader.Error();
    if (read && !tileset.source.empty()) {
        error = "ein externer Kachelsatz verweist auf einen weiteren";
        return false;
    }
    return read;
}

}  // namespace maptool
