// Writing TMX with Qt Core's XML stream writer.
#include <QByteArray>
#include <QXmlStreamWriter>

#include "tools/maptool/TiledLayerData.h"
#include "tools/maptool/TiledProperties.h"
#include "tools/maptool/TmxFormat.h"

namespace maptool {
namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Characters that XML 1.0 cannot carry, not even as references.
bool XmlCanCarry(std::string_view utf8) {
    for (unsigned char c : utf8) {
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return false;
    }
    return true;
}

void WriteProperties(QXmlStreamWriter& xml, const std::vector<TiledProperty>& properties) {
    if (properties.empty()) return;
    xml.writeStartElement(QStringLiteral("properties"));
    for (const TiledProperty& property : properties) {
        xml.writeStartElement(QStringLiteral("property"));
        xml.writeAttribute(QStringLiteral("name"), Q(property.name));
        if (TmxWritesType(property)) xml.writeAttribute(QStringLiteral("type"), Q(property.type));
        if (TmxWritesValue(property))
            xml.writeAttribute(QStringLiteral("value"), Q(property.value));
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

void WriteTileset(QXmlStreamWriter& xml, const TiledTileset& tileset) {
    xml.writeStartElement(QStringLiteral("tileset"));
    xml.writeAttribute(QStringLiteral("firstgid"), QString::number(tileset.firstGid));
    if (!tileset.source.empty()) {
        xml.writeAttribute(QStringLiteral("source"), Q(tileset.source));
        xml.writeEndElement();
        return;
    }
    xml.writeAttribute(QStringLiteral("name"), Q(tileset.name));
    xml.writeAttribute(QStringLiteral("tilewidth"), QString::number(tileset.tileWidth));
    xml.writeAttribute(QStringLiteral("tileheight"), QString::number(tileset.tileHeight));
    if (tileset.spacing != 0)
        xml.writeAttribute(QStringLiteral("spacing"), QString::number(tileset.spacing));
    if (tileset.margin != 0)
        xml.writeAttribute(QStringLiteral("margin"), QString::number(tileset.margin));
    if (tileset.tileCount != -1)
        xml.writeAttribute(QStringLiteral("tilecount"), QString::number(tileset.tileCount));
    if (tileset.columns != -1)
        xml.writeAttribute(QStringLiteral("columns"), QString::number(tileset.columns));
    xml.writeStartElement(QStringLiteral("image"));
    xml.writeAttribute(QStringLiteral("source"), Q(tileset.image));
    if (tileset.imageWidth != -1)
        xml.writeAttribute(QStringLiteral("width"), QString::number(tileset.imageWidth));
    if (tileset.imageHeight != -1)
        xml.writeAttribute(QStringLiteral("height"), QString::number(tileset.imageHeight));
    xml.writeEndElement();
    xml.writeEndElement();
}

void WritePlayers(QXmlStreamWriter& xml, const TiledMap& map, int layerId) {
    xml.writeStartElement(QStringLiteral("objectgroup"));
    xml.writeAttribute(QStringLiteral("id"), QString::number(layerId));
    xml.writeAttribute(QStringLiteral("name"), Q(kPlayerLayerName));
    for (const TiledObject& object : map.players) {
        xml.writeStartElement(QStringLiteral("object"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(object.id));
        if (!object.name.empty()) xml.writeAttribute(QStringLiteral("name"), Q(object.name));
        xml.writeAttribute(QStringLiteral("x"), QString::number(object.x, 'g', 17));
        xml.writeAttribute(QStringLiteral("y"), QString::number(object.y, 'g', 17));
        WriteProperties(xml, object.properties);
        if (object.point) xml.writeEmptyElement(QStringLiteral("point"));
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

bool TextsXmlCanCarry(const TiledMap& map) {
    const auto carry = [](const std::vector<TiledProperty>& properties) {
        for (const TiledProperty& p : properties) {
            if (!XmlCanCarry(p.name) || !XmlCanCarry(p.value) || !XmlCanCarry(p.type)) return false;
        }
        return true;
    };
    if (!carry(map.properties) || !XmlCanCarry(map.tileLayerName) ||
        !XmlCanCarry(map.orientation)) {
        return false;
    }
    for (const TiledTileset& t : map.tilesets) {
        if (!XmlCanCarry(t.name) || !XmlCanCarry(t.source) || !XmlCanCarry(t.image)) return false;
    }
    for (const TiledObject& o : map.players) {
        if (!XmlCanCarry(o.name) || !carry(o.properties)) return false;
    }
    return true;
}

}  // namespace

bool WriteTmx(const TiledMap& map, std::string& out, std::string& error) {
    if (!TextsXmlCanCarry(map)) {
        error =
            "ein Text (etwa der Name) enthält Steuerzeichen, die XML nicht darstellen kann; "
            "als .tmj lässt sich die Karte schreiben";
        return false;
    }
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("map"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.8"));
    xml.writeAttribute(QStringLiteral("orientation"), Q(map.orientation));
    xml.writeAttribute(QStringLiteral("renderorder"), QStringLiteral("right-down"));
    xml.writeAttribute(QStringLiteral("width"), QString::number(map.width));
    xml.writeAttribute(QStringLiteral("height"), QString::number(map.height));
    xml.writeAttribute(QStringLiteral("tilewidth"), QString::number(map.tileWidth));
    xml.writeAttribute(QStringLiteral("tileheight"), QString::number(map.tileHeight));
    xml.writeAttribute(QStringLiteral("infinite"),
                       map.infinite ? QStringLiteral("1") : QStringLiteral("0"));
    std::int32_t nextObject = 1;
    for (const TiledObject& o : map.players) nextObject = std::max(nextObject, o.id + 1);
    xml.writeAttribute(QStringLiteral("nextlayerid"), QStringLiteral("3"));
    xml.writeAttribute(QStringLiteral("nextobjectid"), QString::number(nextObject));
    WriteProperties(xml, map.properties);
    for (const TiledTileset& tileset : map.tilesets) WriteTileset(xml, tileset);
    if (map.hasTileLayer) {
        xml.writeStartElement(QStringLiteral("layer"));
        xml.writeAttribute(QStringLiteral("id"), QStringLiteral("1"));
        xml.writeAttribute(QStringLiteral("name"), Q(map.tileLayerName));
        xml.writeAttribute(QStringLiteral("width"), QString::number(map.layerWidth));
        xml.writeAttribute(QStringLiteral("height"), QString::number(map.layerHeight));
        xml.writeStartElement(QStringLiteral("data"));
        xml.writeAttribute(QStringLiteral("encoding"), QStringLiteral("csv"));
        xml.writeCharacters(Q(EncodeCsvCells(map.cells, map.layerWidth)));
        xml.writeEndElement();
        xml.writeEndElement();
    }
    if (map.hasPlayerLayer) WritePlayers(xml, map, 2);
    xml.writeEndElement();
    xml.writeEndDocument();
    if (xml.hasError()) {
        error = "die Karte ließ sich nicht als XML schreiben";
        return false;
    }
    out = bytes.toStdString();
    return true;
}

}  // namespace maptool
