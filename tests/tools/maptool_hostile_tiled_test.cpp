// Tiled files made to hurt the import: more layers, objects, tilesets, properties or attributes
// than any map has, numbers and keys a careful reader refuses, references that lead out of the
// map's folder, and texts that would forge or colour the tool's output lines.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <chrono>
#include <filesystem>

#include "ToolTestSupport.h"

namespace {

using namespace tool_testing;
using testing_support::ReadBytes;

std::string ReadText(const std::string& path) {
    const Bytes bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

void WriteText(const std::string& path, const std::string& text) {
    testing_support::WriteBytes(path, Bytes(text.begin(), text.end()));
}

std::string Repeated(const std::string& text, int times) {
    std::string out;
    out.reserve(text.size() * times);
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// The text with its one occurrence of `from` replaced.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

class MaptoolHostileTiledTest : public ::testing::Test {
protected:
    MaptoolHostileTiledTest() {
        std::filesystem::create_directory("Karten");
        map.Write("Karten/Karte");
        for (const char* target : {"karte.tmx", "karte.tmj"}) {
            const ToolRun run = RunTool({"export", "Karten/Karte.MAP", target});
            EXPECT_EQ(run.code, 0) << run.err;
        }
        tmx = ReadText("karte.tmx");
        tmj = ReadText("karte.tmj");
    }

    static ToolRun Import(const std::string& file, const std::string& text,
                          const QStringList& options = {}) {
        WriteText(file, text);
        std::filesystem::remove("Karten/Neu.MAP");
        std::filesystem::remove("Karten/Neu.PNG");
        return RunTool(QStringList{"import"} + options +
                       QStringList{QString::fromStdString(file), "Karten/Neu.MAP"});
    }

    testing_support::TempDir dir;
    Fixture map;
    std::string tmx, tmj;
};

TEST_F(MaptoolHostileTiledTest, FilesBeyondTheLimitsOrWithDoubtfulValuesAreRefused) {
    const std::string layer = " <layer id=\"1\"";
    const std::string jsonLayers = "\"layers\": [";
    const std::string players = "name=\"Spieler\">";
    const std::string property = "<property name=\"Name\" value=\"Testkarte\"/>";
    std::string attributes;
    for (int i = 0; i < 200000; ++i) attributes += " a" + std::to_string(i) + "=\"\"";
    struct Case {
        const char* what;
        const char* file;
        std::string text;
        const char* message;
    };
    const Case cases[] = {
        {"10001 layers", "a.tmx", Replaced(tmx, layer, Repeated(" <imagelayer/>", 10000) + layer),
         "mehr als 10000 Ebenen"},
        {"10001 layers", "a.tmj",
         Replaced(tmj, jsonLayers, jsonLayers + Repeated("{\"type\":\"imagelayer\"},", 10000)),
         "mehr als 10000 Ebenen"},
        {"100001 empty objects", "a.tmj",
         Replaced(tmj, jsonLayers, jsonLayers + Repeated("{},", 100001)),
         "mehr als 100000 JSON-Objekte"},
        {"10001 players", "a.tmx", Replaced(tmx, players, players + Repeated("<object/>", 10001)),
         "die Ebene Spieler hat mehr als 10000 Objekte"},
        {"1001 properties", "a.tmx",
         Replaced(tmx, property, property + Repeated("<property name=\"x\" value=\"1\"/>", 1000)),
         "mehr als 1000 Eigenschaften"},
        {"1001 tilesets", "a.tmx",
         Replaced(tmx, layer, Repeated("<tileset firstgid=\"9\" source=\"x.tsx\"/>", 1000) + layer),
         "mehr als 1000 Kachelsätze"},
        {"200000 attributes", "a.tmx", Replaced(tmx, "<map ", "<map" + attributes + " "),
         "Zeile 2: das Element <map> hat mehr als 100 Attribute"},
        {"width with a plus", "a.tmx", Replaced(tmx, "width=\"7\"", "width=\"+7\""),
         "das Attribut width ist keine ganze Zahl"},
        {"two data elements", "a.tmx", Replaced(tmx, "</data>", "</data><data>1</data>"),
         "die Ebene Felder hat zwei <data>-Elemente"},
        {"firstgid 0", "a.tmx", Replaced(tmx, "firstgid=\"1\"", "firstgid=\"0\""),
         "firstgid ist 0"},
        {"firstgid 0", "a.tmj", Replaced(tmj, "\"firstgid\": 1", "\"firstgid\": 0"),
         "firstgid ist 0"},
        {"infinite as a word", "a.tmj", Replaced(tmj, "\"infinite\": false", "\"infinite\": \"yes\""),
         "\"infinite\" ist weder true noch false"},
        {"a key twice", "a.tmj", Replaced(tmj, "{", "{\"height\": 4, "),
         "der Schlüssel \"height\" steht zweimal in einem Objekt"},
        {"a key twice, once escaped", "a.tmj", Replaced(tmj, "{", "{\"h\\u0065ight\": 4, "),
         "der Schlüssel \"height\" steht zweimal in einem Objekt"},
        {"a lone surrogate", "a.tmj", Replaced(tmj, "\"Testkarte\"", "\"Test\\ud800karte\""),
         "einzelnes UTF-16-Ersatzzeichen"},
        {"a lone low surrogate", "a.tmj", Replaced(tmj, "\"Felder\"", "\"Fel\\udc00der\""),
         "einzelnes UTF-16-Ersatzzeichen"},
        {"XML cut short", "a.tmx", tmx.substr(0, tmx.size() / 2),
         "die Datei endet, bevor das XML-Dokument zu Ende ist"},
        {"XML not well-formed", "a.tmx", Replaced(tmx, "<map ", "<map <"),
         "kein wohlgeformtes XML"},
        {"JSON cut short", "a.tmj", tmj.substr(0, tmj.size() / 2), "kein JSON (Zeichen"},
        {"JSON with a missing comma", "a.tmj", Replaced(tmj, "\"infinite\": false,", "\"infinite\": false"),
         "kein JSON (Zeichen 74: ein Objekt endet nicht)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto started = std::chrono::steady_clock::now();
        const ToolRun run = Import(c.file, c.text);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        // The parsers' own texts are English; none of them gets through.
        for (const char* english : {"Premature", "Expected", "unterminated", "illegal", "missing"}) {
            EXPECT_EQ(run.err.find(english), std::string::npos) << run.err;
        }
        EXPECT_EQ(FilesIn("Karten"), (std::vector<std::string>{"Karte.MAP", "Karte.PNG"}));
    }
}

TEST_F(MaptoolHostileTiledTest, ReferencesOutOfTheMapsFolderNeedTheOption) {
    std::filesystem::create_directories("maps/sets");
    std::filesystem::copy_file("Karten/Karte.PNG", "maps/sets/Karte.PNG");
    const std::string absolute = (dir.Path() / "Karten/Karte.PNG").string();
    const std::string tileset = tmx.substr(tmx.find("<tileset"),
                                           tmx.find("</tileset>") + 10 - tmx.find("<tileset"));
    WriteText("maps/sets/karte.tsx",
              Replaced(Replaced(tileset, " firstgid=\"1\"", ""), "Karten/", ""));
    WriteText("outside.tsx",
              Replaced(Replaced(tileset, " firstgid=\"1\"", ""), "Karten/", "maps/sets/"));
    const auto external = [&](const std::string& source) {
        return Replaced(tmx, tileset, "<tileset firstgid=\"1\" source=\"" + source + "\"/>");
    };
    struct Case {
        std::string text;
        std::string named;  // "" when the import may follow the reference
    };
    const Case cases[] = {
        {Replaced(tmx, "Karten/Karte.PNG", "sets/../sets/Karte.PNG"), ""},
        {external("sets/karte.tsx"), ""},
        {Replaced(tmx, "Karten/Karte.PNG", "../Karten/Karte.PNG"), "../Karten/Karte.PNG"},
        {Replaced(tmx, "Karten/Karte.PNG", "sets/../../Karten/Karte.PNG"),
         "sets/../../Karten/Karte.PNG"},
        {Replaced(tmx, "Karten/Karte.PNG", absolute), absolute},
        {external("../outside.tsx"), "../outside.tsx"},
        {external((dir.Path() / "outside.tsx").string()), (dir.Path() / "outside.tsx").string()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(c.text.find("<tileset"), 200));
        const ToolRun run = Import("maps/a.tmx", c.text);
        if (c.named.empty()) {
            EXPECT_EQ(run.code, 0) << run.err;
            continue;
        }
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find("verweist auf \"" + c.named +
                               "\" außerhalb des Ordners der Karte; --externe-pfade erlaubt das"),
                  std::string::npos)
            << run.err;
        EXPECT_FALSE(std::filesystem::exists("Karten/Neu.MAP"));
        const ToolRun allowed = Import("maps/a.tmx", c.text, {"--externe-pfade"});
        EXPECT_EQ(allowed.code, 0) << allowed.err;
        EXPECT_EQ(ReadBytes("Karten/Neu.MAP"), map.MapFile());
    }
}

TEST_F(MaptoolHostileTiledTest, ControlCharactersInTextsAreShownEscapedAndNotesAreCounted) {
    // A layer name that would colour the terminal and forge a line of its own.
    const std::string forged = "Himmel\\u001b[31m\\nmaptool: alles gut";
    const std::string layers = "\"layers\": [";
    const ToolRun run = Import(
        "a.tmj", Replaced(tmj, layers,
                          layers + Repeated("{\"type\":\"imagelayer\",\"name\":\"" + forged +
                                                "\"},",
                                            3) +
                              "{\"type\":\"imagelayer\",\"name\":\"Wolken\"},"));
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err,
              "maptool: a.tmj: Hinweis: nicht übernommen: 4 Bildebenen (\"Himmel\\x1B[31m\\x0Amaptool: "
              "alles gut\", \"Wolken\")\n");

    // The same name in a MAP file, as info shows it in both forms.
    map.name = "Rot\x1b[31m\nKarten/X.MAP\x7f";
    map.Write("Karten/Karte");
    const ToolRun info = RunTool({"info", "Karten/Karte.MAP"});
    EXPECT_EQ(info.code, 0) << info.err;
    EXPECT_NE(info.out.find("  Name:          Rot\\x1B[31m\\x0AKarten/X.MAP\\x7F\n"),
              std::string::npos)
        << info.out;
    const ToolRun json = RunTool({"info", "--json", "Karten/Karte.MAP"});
    EXPECT_EQ(json.code, 0) << json.err;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json.out;
    EXPECT_EQ(document.array().at(0).toObject().value("MapName").toString().toStdString(),
              map.name);
    for (const std::string& out : {run.err, info.out, info.err, json.out}) {
        EXPECT_EQ(out.find('\x1b'), std::string::npos);
        EXPECT_EQ(out.find('\x7f'), std::string::npos);
    }
}

// Memory that runs out (here an address space of 200 MB and a 40 MB name, which the JSON parser
// copies several times) ends the tool with a message, not an abort.
TEST_F(MaptoolHostileTiledTest, MemoryThatRunsOutEndsWithAMessage) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
#endif
    WriteText("a.tmj", Replaced(tmj, "\"Testkarte\"", "\"" + std::string(40 << 20, 'x') + "\""));
    const ToolRun run = RunTool({"import", "a.tmj", "Karten/Neu.MAP"},
                                QProcessEnvironment::systemEnvironment(), [] {
                                    const rlimit limit{200ul << 20, 200ul << 20};
                                    setrlimit(RLIMIT_AS, &limit);
                                });
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("maptool: nicht genug Arbeitsspeicher"), std::string::npos) << run.err;
}

}  // namespace
