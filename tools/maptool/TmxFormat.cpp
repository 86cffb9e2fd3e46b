// Reading TMX and TSX with Qt Core's XML stream reader (TmxWriter.cpp writes TMX).
#include "tools/maptool/TmxFormat.h"

#include <QByteArray>
#include <QXmlStreamReader>
#include <cmath>

#include "tools/maptool/TiledLayerData.h"
#include "tools/maptool/TiledProperties.h"

namespace maptool {
namespace {

std::string S(QStringView text) { return text.toString().toStdString(); }

class TmxReader {
public:
    explicit TmxReader(std::span<const std::uint8_t> bytes)
        : data_(QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                        static_cast<qsizetype>(bytes.size()))),
          xml_(data_) {}

    // Moves to the root element, which must be `name`.
    bool Root(const char* name) {
        while (!xml_.atEnd()) {
            switch (xml_.readNext()) {
                case QXmlStreamReader::DTD:
                    // Tiled before 1.0 wrote <!DOCTYPE map SYSTEM "…/map.dtd">: an external
                    // file, which the reader never fetches. A declaration of anything of its
                    // own (entities, notations, any internal part) is refused.
                    if (xml_.dtdName() != QLatin1String(name) || xml_.text().contains(u'[') ||
                        !xml_.entityDeclarations().isEmpty() ||
                        !xml_.notationDeclarations().isEmpty()) {
                        return Fail("eine DTD mit eigenen Deklarationen ist nicht erlaubt");
                    }
                    break;
                case QXmlStreamReader::EntityReference:
                    return Fail("Entitäten sind nicht erlaubt");
                case QXmlStreamReader::StartElement:
                    if (xml_.name() != QLatin1String(name)) {
                        return Fail("das Wurzelelement ist <" + S(xml_.name()) + ">, nicht <" +
                                    name + ">");
                    }
                    return true;
                default:
                    break;
            }
        }
        return Fail(xml_.hasError() ? "" : "kein XML-Element gefunden");
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
        const QXmlStreamAttributes a = xml_.attributes();
        if (a.hasAttribute(QLatin1String("orientation"))) {
            map.orientation = S(a.value(QLatin1String("orientation")));
        }
        std::int32_t infinite = 0;
        if (!Int(a, "width", map.width, true) || !Int(a, "height", map.height, true) ||
            !Int(a, "tilewidth", map.tileWidth, true) ||
            !Int(a, "tileheight", map.tileHeight, true) || !Int(a, "infinite", infinite, false)) {
            return false;
        }
        if (infinite != 0 && infinite != 1) return Fail("das Attribut infinite ist nicht 0 oder 1");
        map.infinite = infinite != 0;
        map.backgroundColor = S(a.value(QLatin1String("backgroundcolor")));
        while (Next()) {
            if (Is("properties")) {
                if (!Properties(map.properties)) return false;
            } else if (Is("tileset")) {
                if (static_cast<std::int64_t>(map.tilesets.size()) == kTiledMaxTilesets)
                    return Fail(TooMany("Kachelsätze", kTiledMaxTilesets));
                map.tilesets.emplace_back();
                std::uint32_t firstGid = 0;
                if (!Cell(xml_.attributes(), "firstgid", firstGid)) return false;
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
        const QXmlStreamAttributes a = xml_.attributes();
        tileset.source = S(a.value(QLatin1String("source")));
        if (!tileset.source.empty()) {
            // An external tileset: what it holds is in its own file.
            xml_.skipCurrentElement();
            return Done();
        }
        tileset.name = S(a.value(QLatin1String("name")));
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
                const QXmlStreamAttributes i = xml_.attributes();
                tileset.image = S(i.value(QLatin1String("source")));
                tileset.trans = S(i.value(QLatin1String("trans")));
                if (!Int(i, "width", tileset.imageWidth, false) ||
                    !Int(i, "height", tileset.imageHeight, false)) {
                    return false;
                }
            } else if (Is("tileoffset")) {
                const QXmlStreamAttributes o = xml_.attributes();
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
            xml_.skipCurrentElement();
        }
        return Done();
    }

    // A tile of a tileset: its own image (a tileset of single images), properties, animation.
    bool Tile(TiledTileset& tileset) {
        if (++tiles_ > kTiledMaxTiles) return Fail(TooMany("Kacheln mit Angaben", kTiledMaxTiles));
        std::uint32_t id = 0;
        if (!Cell(xml_.attributes(), "id", id)) return false;
        while (Next()) {
            if (Is("image")) {
                tileset.tileImages.push_back(
                    {id, S(xml_.attributes().value(QLatin1String("source")))});
            } else if (Is("properties")) {
                if (!Counted(tileset.tilePropertyCount)) return false;
                continue;
            } else if (Is("animation")) {
                ++tileset.animationCount;
            }
            xml_.skipCurrentElement();
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
        while (!xml_.atEnd()) xml_.readNext();
        return Done();
    }

    std::string Error() const { return error_; }

private:
    // Moves to the next child element of the current one; false at its end.
    bool Next() {
        while (!xml_.atEnd()) {
            const QXmlStreamReader::TokenType token = xml_.readNext();
            if (token == QXmlStreamReader::StartElement) return true;
            if (token == QXmlStreamReader::EndElement) return false;
            if (token == QXmlStreamReader::EntityReference) {
                Fail("Entitäten sind nicht erlaubt");
                return false;
            }
        }
        return false;
    }

    bool Is(const char* name) const { return xml_.name() == QLatin1String(name); }

    // True unless the reader or this class found an error.
    bool Done() {
        if (!error_.empty()) return false;
        if (xml_.hasError()) return Fail("");
        return true;
    }

    bool Fail(const std::string& what) {
        if (error_.empty()) {
            error_ = "Zeile " + std::to_string(xml_.lineNumber()) + ": " +
                     (what.empty() ? ParserProblem() : what);
        }
        xml_.raiseError();
        return false;
    }

    // The Qt parser's complaint in German; its own texts are English.
    std::string ParserProblem() const {
        switch (xml_.error()) {
            case QXmlStreamReader::PrematureEndOfDocumentError:
                return "die Datei endet, bevor das XML-Dokument zu Ende ist";
            case QXmlStreamReader::UnexpectedElementError:
                return "ein Element steht, wo keines stehen darf";
            case QXmlStreamReader::NotWellFormedError:
                return "kein wohlgeformtes XML (Spalte " + std::to_string(xml_.columnNumber()) +
                       ")";
            default:
                return "das XML ist fehlerhaft";
        }
    }

    bool Int(const QXmlStreamAttributes& a, const char* name, std::int32_t& out, bool required) {
        if (!a.hasAttribute(QLatin1String(name))) {
            return required ? Fail(std::string("das Attribut ") + name + " fehlt") : true;
        }
        if (!ParseTiledInt(S(a.value(QLatin1String(name))), out))
            return Fail(std::string("das Attribut ") + name + " ist keine ganze Zahl");
        return true;
    }

    bool Cell(const QXmlStreamAttributes& a, const char* name, std::uint32_t& out) {
        if (!ParseCell(S(a.value(QLatin1String(name))), out)) {
            return Fail(std::string("das Attribut ") + name + " ist keine Kachelnummer");
        }
        return true;
    }

    bool Double(const QXmlStreamAttributes& a, const char* name, double& out) {
        if (!a.hasAttribute(QLatin1String(name))) return true;
        bool ok = false;
        out = a.value(QLatin1String(name)).toDouble(&ok);
        if (!ok || !std::isfinite(out)) {
            return Fail(std::string("das Attribut ") + name + " ist keine Zahl");
        }
        return true;
    }

    bool Properties(std::vector<TiledProperty>& properties) {
        while (Next()) {
            if (!Is("property")) {
                xml_.skipCurrentElement();
                continue;
            }
            if (static_cast<std::int64_t>(properties.size()) == kTiledMaxProperties)
                return Fail(TooMany("Eigenschaften", kTiledMaxProperties));
            const QXmlStreamAttributes a = xml_.attributes();
            TiledProperty property;
            property.name = S(a.value(QLatin1String("name")));
            if (a.hasAttribute(QLatin1String("type")))
                property.type = S(a.value(QLatin1String("type")));
            if (KindOfTiledType(property.type) == TiledValueKind::Class) {
                xml_.skipCurrentElement();  // members are not kept
            } else if (a.hasAttribute(QLatin1String("value"))) {
                property.value = S(a.value(QLatin1String("value")));
                xml_.skipCurrentElement();
            } else {
                // Texts with line breaks are written as the element's content.
                property.value =
                    xml_.readElementText(QXmlStreamReader::SkipChildElements).toStdString();
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
                if (!Is("tile"))
                    return Fail("die Ebene hat <" + S(xml_.name()) + "> in ihren Daten");
                if (cells.size() == count)
                    return Fail("die Ebene hat mehr Zellen als " + std::to_string(count));
                std::uint32_t cell = 0;
                if (xml_.attributes().hasAttribute(QLatin1String("gid")) &&
                    !Cell(xml_.attributes(), "gid", cell)) {
                    return false;
                }
                cells.push_back(cell);
                xml_.skipCurrentElement();
            }
            if (!Done()) return false;
            if (cells.size() != count)
                return Fail("die Ebene hat weniger Zellen als " + std::to_string(count));
            return true;
        }
        const std::string text =
            xml_.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement).toStdString();
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
        const QXmlStreamAttributes a = xml_.attributes();
        const std::string encoding = S(a.value(QLatin1String("encoding")));
        const std::string compression = S(a.value(QLatin1String("compression")));
        if (!map.infinite) {
            if (!Room(std::int64_t{layer.width} * layer.height)) return false;
            return Cells(encoding, compression,
                         static_cast<std::size_t>(layer.width) * layer.height, layer.cells);
        }
        std::vector<TiledChunk> chunks;
        while (Next()) {
            if (!Is("chunk")) return Fail("die Ebene hat <" + S(xml_.name()) + "> in ihren Daten");
            TiledChunk chunk;
            const QXmlStreamAttributes c = xml_.attributes();
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
        const QXmlStreamAttributes a = xml_.attributes();
        layer.name = S(a.value(QLatin1String("name")));
        layer.tint = S(a.value(QLatin1String("tintcolor")));
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
        const QXmlStreamAttributes a = xml_.attributes();
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
                xml_.skipCurrentElement();
            }
        }
        if (!Done()) return false;
        return hadData || Fail("die Ebene " + layer.name + " hat keine Daten");
    }

    bool Object(TiledObject& object) {
        const QXmlStreamAttributes a = xml_.attributes();
        object.name = S(a.value(QLatin1String("name")));
        if (!Int(a, "id", object.id, false) || !Double(a, "x", object.x) ||
            !Double(a, "y", object.y)) {
            return false;
        }
        // A tile object names its tile; it is no point.
        const bool tile = a.hasAttribute(QLatin1String("gid"));
        while (Next()) {
            if (Is("properties")) {
                if (!Properties(object.properties)) return false;
                continue;
            }
            if (Is("point")) object.point = !tile;
            xml_.skipCurrentElement();
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
                xml_.skipCurrentElement();
                continue;
            }
            ++layer.objectCount;
            if (!players) {
                xml_.skipCurrentElement();
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
            xml_.skipCurrentElement();
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
                xml_.skipCurrentElement();
            }
        }
        return Done();
    }

    QByteArray data_;
    QXmlStreamReader xml_;
    std::string error_;
    std::int64_t layers_ = 0;
    std::int64_t tiles_ = 0;
    std::int64_t totalCells_ = 0;
};

}  // namespace

bool ReadTmx(std::span<const std::uint8_t> bytes, TiledMap& map, std::string& error) {
    map = TiledMap{};
    TmxReader reader(bytes);
    const bool read = reader.Bytes(bytes) && reader.Root("map") && reader.Map(map) && reader.Finish();
    error = reader.Error();
    return read;
}

bool ReadTsx(std::span<const std::uint8_t> bytes, TiledTileset& tileset, std::string& error) {
    const std::uint32_t firstGid = tileset.firstGid;
    tileset = TiledTileset{};
    tileset.firstGid = firstGid;
    TmxReader reader(bytes);
    const bool read = reader.Bytes(bytes) && reader.Root("tileset") && reader.Tileset(tileset) && reader.Finish();
    error = reader.Error();
    if (read && !tileset.source.empty()) {
        error = "ein externer Kachelsatz verweist auf einen weiteren";
        return false;
    }
    return read;
}

}  // namespace maptool
