// Writing TMX: a small XML writer in the layout the files have always had.
#include <algorithm>
#include <string>
#include <vector>

#include "tools/maptool/TiledLayerData.h"
#include "tools/maptool/TiledProperties.h"
#include "tools/maptool/TmxFormat.h"

namespace maptool {
namespace {

// The reference a character is written as, or nullptr for a character written as it is.
// Attribute values have their tabs and line breaks as references, which a reader keeps (it
// reads the characters themselves in a value as spaces).
const char* Reference(char c, bool attribute) {
    switch (c) {
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        case '&':
            return "&amp;";
        case '"':
            return "&quot;";
        case '\t':
            return attribute ? "&#9;" : nullptr;
        case '\n':
            return attribute ? "&#10;" : nullptr;
        case '\r':
            return attribute ? "&#13;" : nullptr;
        default:
            return nullptr;
    }
}

// Writes XML as its elements start and end: each start tag on a line of its own, indented by
// one space per level; an end tag on a line of its own after child elements, right after the
// text of an element that has text; an element with nothing in it closed as <name/>.
class XmlWriter {
public:
    XmlWriter() : out_("<?xml version=\"1.0\" encoding=\"UTF-8\"?>") {}

    void Start(std::string_view name) {
        CloseStartTag();
        out_ += '\n';
        out_.append(open_.size(), ' ');
        out_ += '<';
        out_ += name;
        open_.emplace_back(name);
        inStartTag_ = true;
        lastWasStart_ = true;
    }

    void Attribute(std::string_view name, std::string_view value) {
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        Append(value, true);
        out_ += '"';
        // U+FFFE and U+FFFF are no characters of XML, not even as references.
        if (value.find("\xEF\xBF\xBE") != std::string_view::npos ||
            value.find("\xEF\xBF\xBF") != std::string_view::npos) {
            failed_ = true;
        }
    }
    void Attribute(std::string_view name, std::int64_t number) {
        Attribute(name, std::to_string(number));
    }

    void Text(std::string_view text) {
        CloseStartTag();
        Append(text, false);
    }

    void End() {
        if (inStartTag_) {
            out_ += "/>";
            inStartTag_ = false;
        } else {
            if (!lastWasStart_) {
                out_ += '\n';
                out_.append(open_.size() - 1, ' ');
            }
            out_ += "</" + open_.back() + ">";
        }
        open_.pop_back();
        lastWasStart_ = false;
    }

    // The document with its last line ended; false when a text held what XML cannot carry.
    bool Finish(std::string& out) {
        while (!open_.empty()) End();
        out_ += '\n';
        out = std::move(out_);
        return !failed_;
    }

private:
    void Append(std::string_view text, bool attribute) {
        for (char c : text) {
            const char* reference = Reference(c, attribute);
            if (reference != nullptr) {
                out_ += reference;
            } else {
                out_ += c;
            }
        }
    }

    void CloseStartTag() {
        if (inStartTag_) out_ += '>';
        inStartTag_ = false;
    }

    std::string out_;
    std::vector<std::string> open_;
    bool inStartTag_ = false;
    bool lastWasStart_ = false;
    bool failed_ = false;
};

// Characters that XML 1.0 cannot carry, not even as references.
bool XmlCanCarry(std::string_view utf8) {
    for (unsigned char c : utf8) {
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return false;
    }
    return true;
}

void WriteProperties(XmlWriter& xml, const std::vector<TiledProperty>& properties) {
    if (properties.empty()) return;
    xml.Start("properties");
    for (const TiledProperty& property : properties) {
        xml.Start("property");
        xml.Attribute("name", property.name);
        if (TmxWritesType(property)) xml.Attribute("type", property.type);
        if (TmxWritesValue(property)) xml.Attribute("value", property.value);
        xml.End();
    }
    xml.End();
}

void WriteTileset(XmlWriter& xml, const TiledTileset& tileset) {
    xml.Start("tileset");
    xml.Attribute("firstgid", tileset.firstGid);
    if (!tileset.source.empty()) {
        xml.Attribute("source", tileset.source);
        xml.End();
        return;
    }
    xml.Attribute("name", tileset.name);
    xml.Attribute("tilewidth", tileset.tileWidth);
    xml.Attribute("tileheight", tileset.tileHeight);
    if (tileset.spacing != 0) xml.Attribute("spacing", tileset.spacing);
    if (tileset.margin != 0) xml.Attribute("margin", tileset.margin);
    if (tileset.tileCount != -1) xml.Attribute("tilecount", tileset.tileCount);
    if (tileset.columns != -1) xml.Attribute("columns", tileset.columns);
    xml.Start("image");
    xml.Attribute("source", tileset.image);
    if (tileset.imageWidth != -1) xml.Attribute("width", tileset.imageWidth);
    if (tileset.imageHeight != -1) xml.Attribute("height", tileset.imageHeight);
    xml.End();
    xml.End();
}

void WritePlayers(XmlWriter& xml, const TiledMap& map, int layerId) {
    xml.Start("objectgroup");
    xml.Attribute("id", layerId);
    xml.Attribute("name", kPlayerLayerName);
    for (const TiledObject& object : map.players) {
        xml.Start("object");
        xml.Attribute("id", object.id);
        if (!object.name.empty()) xml.Attribute("name", object.name);
        xml.Attribute("x", TiledFloatText(object.x));
        xml.Attribute("y", TiledFloatText(object.y));
        WriteProperties(xml, object.properties);
        if (object.point) {
            xml.Start("point");
            xml.End();
        }
        xml.End();
    }
    xml.End();
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
    XmlWriter xml;
    xml.Start("map");
    xml.Attribute("version", "1.8");
    xml.Attribute("orientation", map.orientation);
    xml.Attribute("renderorder", "right-down");
    xml.Attribute("width", map.width);
    xml.Attribute("height", map.height);
    xml.Attribute("tilewidth", map.tileWidth);
    xml.Attribute("tileheight", map.tileHeight);
    xml.Attribute("infinite", map.infinite ? "1" : "0");
    std::int32_t nextObject = 1;
    for (const TiledObject& o : map.players) nextObject = std::max(nextObject, o.id + 1);
    xml.Attribute("nextlayerid", "3");
    xml.Attribute("nextobjectid", nextObject);
    WriteProperties(xml, map.properties);
    for (const TiledTileset& tileset : map.tilesets) WriteTileset(xml, tileset);
    if (map.hasTileLayer) {
        xml.Start("layer");
        xml.Attribute("id", "1");
        xml.Attribute("name", map.tileLayerName);
        xml.Attribute("width", map.layerWidth);
        xml.Attribute("height", map.layerHeight);
        xml.Start("data");
        xml.Attribute("encoding", "csv");
        xml.Text(EncodeCsvCells(map.cells, map.layerWidth));
        xml.End();
        xml.End();
    }
    if (map.hasPlayerLayer) WritePlayers(xml, map, 2);
    xml.End();
    if (!xml.Finish(out)) {
        error = "die Karte ließ sich nicht als XML schreiben";
        return false;
    }
    return true;
}

}  // namespace maptool
