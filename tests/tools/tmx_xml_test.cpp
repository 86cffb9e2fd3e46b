// TMX as XML: the encodings read, entity references and document types refused, the lines
// errors are told at, the bytes the writer makes, and base64 cell data accepted as before.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tools/maptool/TiledLayerData.h"
#include "tools/maptool/TiledMap.h"
#include "tools/maptool/TmxFormat.h"

namespace {

using maptool::TiledMap;

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A 2 x 1 map whose layer has `name` (bytes as they stand in the file).
std::string Map(const std::string& name, const std::string& cells = "1,2") {
    return "<map width=\"2\" height=\"1\" tilewidth=\"4\" tileheight=\"4\">\n"
           "<layer name=\"" +
           name + "\" width=\"2\" height=\"1\">\n<data encoding=\"csv\">" + cells +
           "</data>\n</layer>\n</map>\n";
}

std::string Declared(const std::string& encoding, const std::string& rest) {
    return "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>\n" + rest;
}

// The text as UTF-16 with a byte order mark (ASCII and Latin-1 characters of UTF-8 only).
std::string Utf16(const std::string& utf8, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        auto c = static_cast<unsigned char>(utf8[i]);
        unsigned unit = c;
        if (c >= 0xC0) unit = (c & 0x1F) << 6 | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        out += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return out;
}

struct ReadCase {
    const char* what;
    std::string file;
    std::string expected;  // the layer's name when read, or the start of the error
    bool read;
};

void ExpectRead(const ReadCase& c) {
    SCOPED_TRACE(c.what);
    TiledMap map;
    std::string error;
    const bool read = maptool::ReadTmx(Bytes(c.file), map, error);
    ASSERT_EQ(read, c.read) << error;
    if (read) {
        ASSERT_EQ(map.layers.size(), 1u);
        EXPECT_EQ(map.layers[0].name, c.expected);
    } else {
        EXPECT_EQ(error.substr(0, c.expected.size()), c.expected);
    }
}

TEST(TmxXmlTest, ReadsTheDeclaredEncodings) {
    const ReadCase cases[] = {
        {"ISO-8859-1", Declared("ISO-8859-1", Map("L\xE4")), "Lä", true},
        {"another name of ISO-8859-1", Declared("latin1", Map("L\xE4\xA4")), "Lä¤", true},
        {"Windows-1252", Declared("windows-1252", Map("\x80\x9F\xE4")), "€Ÿä", true},
        {"Windows-1252 in lower case", Declared("cp1252", Map("\x8A")), "Š", true},
        {"ISO-8859-15", Declared("ISO-8859-15", Map("\xA4\xE4")), "€ä", true},
        {"UTF-8 with a byte order mark", "\xEF\xBB\xBF" + Map("Lä"), "Lä", true},
        {"UTF-16, little end first", Utf16(Declared("UTF-16", Map("Lä")), false), "Lä", true},
        {"UTF-16, big end first", Utf16(Map("Lä"), true), "Lä", true},
        {"an encoding not known", Declared("KOI8-R", Map("L")), "Zeile 1: kein wohlgeformtes XML",
         false},
        {"Latin-1 bytes declared as UTF-8", Declared("UTF-8", Map("L\xE4")),
         "Zeile 3: kein wohlgeformtes XML", false},
        {"XML 1.1", "<?xml version=\"1.1\"?>\n" + Map("L"), "Zeile 1: kein wohlgeformtes XML",
         false},
    };
    for (const ReadCase& c : cases) ExpectRead(c);
}

TEST(TmxXmlTest, RefusesEntitiesAndDocumentTypesWithDeclarations) {
    const std::string external = "<!DOCTYPE map SYSTEM \"http://mapeditor.org/dtd/1.0/map.dtd\">\n";
    const ReadCase cases[] = {
        {"Tiled's old document type", external + Map("L"), "L", true},
        {"a public document type", "<!DOCTYPE map PUBLIC \"-//x//y\" \"map.dtd\">" + Map("L"), "L",
         true},
        {"predefined entities and characters", external + Map("&amp;&lt;&#x41;&#66;"), "&<AB",
         true},
        {"an entity in an attribute", external + Map("a&e;b"),
         "Zeile 3: Entitäten sind nicht erlaubt", false},
        {"an entity in the cells", external + Map("L", "1,&e;2"),
         "Zeile 4: Entitäten sind nicht erlaubt", false},
        {"an entity without a document type", Map("a&e;b"), "Zeile 2: kein wohlgeformtes XML",
         false},
        {"entities declared",
         "<!DOCTYPE map [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;\">]>" + Map("&b;"),
         "Zeile 1: eine DTD mit eigenen Deklarationen ist nicht erlaubt", false},
        {"an external entity declared",
         "<!DOCTYPE map [\n<!ENTITY e SYSTEM \"/etc/passwd\">]>\n" + Map("&e;"),
         "Zeile 1: eine DTD mit eigenen Deklarationen ist nicht erlaubt", false},
        {"an empty internal part", "<!DOCTYPE map []>" + Map("L"),
         "Zeile 1: eine DTD mit eigenen Deklarationen ist nicht erlaubt", false},
        {"a document type of another root", "<!DOCTYPE tileset SYSTEM \"tsx.dtd\">" + Map("L"),
         "Zeile 1: eine DTD mit eigenen Deklarationen ist nicht erlaubt", false},
        {"an entity in UTF-16", Utf16(external + Map("a&e;b"), false),
         "Zeile 3: Entitäten sind nicht erlaubt", false},
    };
    for (const ReadCase& c : cases) ExpectRead(c);
}

TEST(TmxXmlTest, TellsTheLineWhereTheElementInQuestionEnds) {
    const std::string map = "<map width=\"2\" height=\"1\" tilewidth=\"4\" tileheight=\"4\">\n";
    const std::string wide = "<layer\n name=\"L\"\n height=\"1\">\n<data>1,2</data>\n</layer>\n";
    const std::string noData = "<layer name=\"L\" width=\"2\" height=\"1\">\n\n</layer>\n";
    const auto lines = [](std::string text, const char* end) {
        std::string out;
        for (char c : text) out += c == '\n' ? std::string(end) : std::string(1, c);
        return out;
    };
    const ReadCase cases[] = {
        {"a start tag over three lines", map + wide + "</map>", "Zeile 4: das Attribut width fehlt",
         false},
        {"lines ending in CR", lines(map + wide + "</map>", "\r"),
         "Zeile 4: das Attribut width fehlt", false},
        {"lines ending in CR LF", lines(map + wide + "</map>", "\r\n"),
         "Zeile 4: das Attribut width fehlt", false},
        {"UTF-16", Utf16(map + wide + "</map>", true), "Zeile 4: das Attribut width fehlt", false},
        {"at the end tag", map + noData + "</map>", "Zeile 4: die Ebene L hat keine Daten", false},
        {"an element among the cells",
         map + "<layer name=\"L\" width=\"2\" height=\"1\">\n<data encoding=\"csv\">1,\n<x\n/>2",
         "Zeile 5: ein Element steht, wo keines stehen darf", false},
        {"the file ends early", map + "<layer name=\"L\"\n", "Zeile 3: die Datei endet, bevor",
         false},
    };
    for (const ReadCase& c : cases) ExpectRead(c);
}

TEST(TmxXmlTest, WritesAttributesEscapedInTheLayoutOfTheFiles) {
    TiledMap map;
    map.width = 2;
    map.height = 1;
    map.tileWidth = map.tileHeight = 4;
    maptool::TiledTileset tileset;
    tileset.firstGid = 1;
    tileset.name = "S";
    tileset.tileWidth = tileset.tileHeight = 4;
    tileset.image = "s.png";
    map.tilesets = {tileset};
    map.hasTileLayer = true;
    map.tileLayerName = "Felder";
    map.layerWidth = 2;
    map.layerHeight = 1;
    map.cells = {1, 2};
    map.hasPlayerLayer = true;
    map.players.resize(2);
    map.players[0].id = 1;
    map.players[0].x = 2.5;
    map.players[0].point = true;
    map.players[1].id = 2;
    map.players[1].name = "B";
    const struct {
        std::string text;
        std::string written;
    } cases[] = {
        {"a<b>c&d\"e'f", "a&lt;b&gt;c&amp;d&quot;e'f"},
        {"\t\n\r|\r\n", "&#9;&#10;&#13;|&#13;&#10;"},
        {"]]>", "]]&gt;"},
        {"&amp;", "&amp;amp;"},
        {"€\u0080\u009F\u007F😀", "€\u0080\u009F\u007F😀"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        map.properties = {{"Name", "string", c.text}};
        std::string out, error;
        ASSERT_TRUE(maptool::WriteTmx(map, out, error)) << error;
        EXPECT_EQ(out,
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\" "
                  "width=\"2\" height=\"1\" tilewidth=\"4\" tileheight=\"4\" infinite=\"0\" "
                  "nextlayerid=\"3\" nextobjectid=\"3\">\n"
                  " <properties>\n"
                  "  <property name=\"Name\" value=\"" +
                      c.written +
                      "\"/>\n"
                      " </properties>\n"
                      " <tileset firstgid=\"1\" name=\"S\" tilewidth=\"4\" tileheight=\"4\">\n"
                      "  <image source=\"s.png\"/>\n"
                      " </tileset>\n"
                      " <layer id=\"1\" name=\"Felder\" width=\"2\" height=\"1\">\n"
                      "  <data encoding=\"csv\">\n1,2\n</data>\n"
                      " </layer>\n"
                      " <objectgroup id=\"2\" name=\"Spieler\">\n"
                      "  <object id=\"1\" x=\"2.5\" y=\"0\">\n"
                      "   <point/>\n"
                      "  </object>\n"
                      "  <object id=\"2\" name=\"B\" x=\"0\" y=\"0\"/>\n"
                      " </objectgroup>\n"
                      "</map>\n");
        TiledMap again;
        ASSERT_TRUE(maptool::ReadTmx(Bytes(out), again, error)) << error;
        EXPECT_EQ(again.properties, map.properties);
    }
    // What XML cannot carry at all.
    for (const char* text : {"\x01", "\uFFFE", "\uFFFF"}) {
        map.properties = {{"Name", "string", text}};
        std::string out, error;
        EXPECT_FALSE(maptool::WriteTmx(map, out, error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(TmxXmlTest, Base64IsAcceptedAsBefore) {
    using Decoded = std::optional<std::vector<std::uint8_t>>;
    const struct {
        const char* text;
        Decoded bytes;  // none: refused
    } cases[] = {
        {"", std::vector<std::uint8_t>{}},
        {"AQID", std::vector<std::uint8_t>{1, 2, 3}},
        {"AQI=", std::vector<std::uint8_t>{1, 2}},
        {"AQ==", std::vector<std::uint8_t>{1}},
        {"AQI", std::vector<std::uint8_t>{1, 2}},  // padding is optional
        {"AQ", std::vector<std::uint8_t>{1}},
        {"A", std::vector<std::uint8_t>{}},      // six bits make no byte
        {"AR==", std::vector<std::uint8_t>{1}},  // the bits left over are dropped
        {"+/+/", std::vector<std::uint8_t>{0xFB, 0xFF, 0xBF}},
        {"AQ=", std::nullopt},  // padding in a text of no whole groups
        {"AQ===", std::nullopt},
        {"A===", std::nullopt},      // three '='
        {"AQ==AQ==", std::nullopt},  // padding inside
        {"AQ=I", std::nullopt},
        {"=AQI", std::nullopt},
        {"-_AA", std::nullopt},  // the URL alphabet
        {"AQ I", std::nullopt},  // white space is taken away before
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes;
        const bool decoded = maptool::DecodeBase64(c.text, bytes);
        EXPECT_EQ(decoded ? Decoded(bytes) : std::nullopt, c.bytes) << c.text;
    }
}

}  // namespace
