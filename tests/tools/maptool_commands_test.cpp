// maptool's command line, info and check, run as the real program on small fixture maps.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <climits>
#include <filesystem>

#include "ToolTestSupport.h"

namespace {

using namespace tool_testing;
using testing_support::MapBytes;
using testing_support::WriteBytes;

class MaptoolCommandsTest : public ::testing::Test {
protected:
    MaptoolCommandsTest() { std::filesystem::create_directory("Karten"); }
    testing_support::TempDir dir;
};

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(MaptoolCommandsTest, WrongUsageIsCode2AndTouchesNoFile) {
    Fixture().Write("Karten/Gut");
    struct Case {
        QStringList arguments;
        const char* message;
    };
    const Case cases[] = {
        {{}, "Aufruf: maptool BEFEHL"},
        {{"zeichne"}, "unbekannter Befehl: zeichne"},
        {{"info"}, "keine MAP-Datei angegeben"},
        {{"check", "Karten/Gut.MAP", "Karten/Gut.tmx"}, "keine MAP-Datei (erwartet NAME.MAP)"},
        {{"info", "Karten/Wałd.MAP"}, "Zeichen, die eine Karte nicht benennen"},
        {{"render", "Karten/Gut.MAP"}, "erwartet MAP und BILD.png"},
        {{"render", "Karten/Gut.MAP", "bild.jpg"}, "ein .png-Bild"},
        {{"render", "bild.png", "Karten/Gut.MAP"}, "keine MAP-Datei"},
        {{"render", "Karten/Gut.MAP", "b.png", "--scale", "2"}, "--scale erwartet 1:N"},
        {{"render", "Karten/Gut.MAP", "b.png", "--scale", "1:0"}, "--scale erwartet 1:N"},
        {{"render", "Karten/Gut.MAP", "b.png", "--scale", "1:99999999"},
         "--scale erwartet 1:N mit N von 1 bis 9999999"},
        {{"render", "Karten/Gut.MAP", "b.png", "--fit", "0"}, "--fit erwartet"},
        {{"render", "Karten/Gut.MAP", "b.png", "--scale", "1:2", "--fit", "9"},
         "schließen einander aus"},
        {{"render", "Karten/Gut.MAP", "b.png", "--farbe"}, "unbekannte Option: farbe"},
        {{"render", "Karten/Gut.MAP", "b.png", "--scale"}, "fehlt ihr Wert"},
        {{"export", "Karten/Gut.MAP", "gut.xml"}, ".tmx, .tmj oder .json"},
        {{"import", "Karten/Gut.MAP", "Karten/Neu.MAP"}, "die Quelle muss .tmx"},
        {{"import", "gut.tmx", "Karten/Neu.PNG"}, "keine MAP-Datei"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ToolRun run = RunTool(c.arguments);
        EXPECT_EQ(run.code, 2);
        EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(FilesIn("."), (std::vector<std::string>{"Karten"}));
    EXPECT_EQ(FilesIn("Karten"), (std::vector<std::string>{"Gut.MAP", "Gut.PNG"}));
}

// How options are read: letters run together, two dashes before a letter, options after the
// files, "--" ending them, a repeated option's last value, which option an error names.
TEST_F(MaptoolCommandsTest, OptionsAnywhereRunTogetherAndRepeated) {
    Fixture().Write("Karten/Gut");
    const QString map = QStringLiteral("Karten/Gut.MAP");
    const std::string fine = "Karten/Gut.MAP: in Ordnung";
    const std::string badScale = "--scale erwartet 1:N mit N von 1 bis 9999999, etwa 1:4";
    struct Case {
        QStringList arguments;
        int code;
        std::string out;  // a part of standard output, "" for none at all
        std::string err;  // the message in standard error (after "maptool COMMAND: "), "" for none
    };
    const Case cases[] = {
        {{"check", "-v", map}, 0, fine, ""},
        {{"check", map, "--verbose"}, 0, fine, ""},
        {{"check", "--v", map}, 0, fine, ""},
        {{"check", "-vv", map}, 0, fine, ""},
        {{"check", "-vh"}, 0, "Aufruf: maptool check", ""},
        {{"check", "-vx", map}, 2, "", "unbekannte Option: x"},
        {{"check", "-verbose", map}, 2, "", "unbekannte Option: e"},
        {{"info", "-json", map}, 2, "", "unbekannte Option: j"},
        {{"info", "--JSON", map}, 2, "", "unbekannte Option: JSON"},
        {{"info", QString::fromUtf8("-\xC3\xA4"), map}, 2, "", "unbekannte Option: \xC3\xA4"},
        {{"info", QString::fromUtf8("-\xF0\x9F\x98\x80"), map}, 2, "", "unbekannte Option: ?"},
        {{"check", "---v", map}, 2, "", "unbekannte Option: -v"},
        {{"check", "--=v", map}, 2, "", "unbekannte Option: "},
        {{"export", "-h", "--x"}, 2, "", "unbekannte Option: x"},
        {{"check", "--verbose=1", map}, 2, "", "einer Option fehlt ihr Wert"},
        {{"check", "-v=1", map}, 2, "", "einer Option fehlt ihr Wert"},
        {{"check", "--", "-v"}, 2, "", "keine MAP-Datei (erwartet NAME.MAP): -v"},
        {{"check", "-", map}, 2, "", "keine MAP-Datei (erwartet NAME.MAP): -"},
        {{"check", "", map}, 2, "", "keine MAP-Datei (erwartet NAME.MAP): "},
        {{"render", map, "o.png", "--scale"}, 2, "", "einer Option fehlt ihr Wert"},
        {{"render", map, "o.png", "--farbe", "--scale"}, 2, "", "unbekannte Option: farbe"},
        {{"render", map, "o.png", "--scale", "--fit"}, 2, "", badScale},
        {{"render", map, "o.png", "--scale", "x", "--scale", "1:2"}, 0, "", ""},
        {{"render", map, "o.png", "--scale=", "--fit=9"},
         2,
         "",
         "--scale und --fit schließen einander aus"},
        {{"render", map, "o.png", "--scale", "1:2\n"}, 0, "", ""},
        {{"render", map, "o.png", "--scale", "1:0000000000000000005"}, 2, "", badScale},
        {{"render", map, "o.png", "--fit", " +0009\t"}, 0, "", ""},
        {{"render", map, "o.png", "--fit", "1e3"},
         2,
         "",
         "--fit erwartet eine Pixelzahl von 1 bis 1000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ToolRun run = RunTool(c.arguments);
        EXPECT_EQ(run.code, c.code);
        if (c.out.empty()) {
            EXPECT_EQ(run.out, "");
        } else {
            EXPECT_TRUE(Contains(run.out, c.out)) << run.out;
        }
        const std::string command = c.arguments.front().toStdString();
        EXPECT_EQ(run.err, c.err.empty() ? ""
                                         : "maptool " + command + ": " + c.err + "\n(\"maptool " +
                                               command + " --help\" erklärt den Aufruf)\n");
    }
}

TEST_F(MaptoolCommandsTest, HelpExplainsEveryCommand) {
    const ToolRun overview = RunTool({"--help"});
    EXPECT_EQ(overview.code, 0);
    EXPECT_EQ(RunTool({"--version"}).out, "maptool (Karteneditor) 1.0\n");
    for (const char* command : {"info", "check", "render", "export", "import"}) {
        SCOPED_TRACE(command);
        EXPECT_TRUE(Contains(overview.out, std::string("  ") + command + " "));
        const ToolRun help = RunTool({command, "--help"});
        EXPECT_EQ(help.code, 0);
        EXPECT_TRUE(Contains(help.out, std::string("Aufruf: maptool ") + command)) << help.out;
    }
}

// Each command on a good map, damaged ones and a missing one.
TEST_F(MaptoolCommandsTest, EachCommandOnGoodDamagedAndMissingInput) {
    const Fixture good;
    good.Write("Karten/Gut");
    Bytes cut = good.MapFile();
    cut.resize(cut.size() - 2);  // inside the last value
    WriteBytes("Karten/Kurz.MAP", cut);
    WritePng("Karten/Kurz.PNG", good.TileSet());
    WriteBytes("Karten/Riesig.MAP", MapBytes("x", {1, 8, 4, 5, 3, INT_MAX, 1}, {0, 0, 0, 1, 2}));
    WritePng("Karten/Riesig.PNG", good.TileSet());
    WriteBytes("Karten/Leer.MAP", MapBytes("x", {0, 8, 4, 5, 3, -3, 2}));
    WriteBytes("Karten/Nichts.MAP", {});
    std::filesystem::create_directory("Karten/Ordner.MAP");
    WritePng("Karten/Leer.PNG", good.TileSet());

    struct Case {
        QStringList arguments;
        int code;
        const char* err;  // a part of standard error, "" for none at all
        const char* out;  // a part of standard output
    };
    const Case cases[] = {
        {{"info", "Karten/Gut.MAP"}, 0, "", "Testkarte"},
        // A file shorter than its header says: the values shown are partly read as 0.
        {{"info", "Karten/Kurz.MAP"},
         1,
         "Karten/Kurz.MAP: die Datei ist kürzer, als ihr Kopf sagt (175 Bytes)",
         "7 x 4"},
        {{"info", "Karten/Riesig.MAP"}, 1, "ist kürzer, als ihr Kopf sagt", "2147483648 x 2"},
        {{"info", "Karten/Nichts.MAP"}, 1, "ist kürzer, als ihr Kopf sagt (34 Bytes)", "1 x 1"},
        {{"info", "Karten/Leer.MAP"}, 0, "", "-2 x 3"},
        {{"info", "Karten/Fehlt.MAP"}, 1, "Karten/Fehlt.MAP: nicht gefunden", ""},
        {{"info", "Karten/Ordner.MAP"}, 1, "Karten/Ordner.MAP: ist ein Ordner, keine Datei", ""},
        {{"check", "Karten/Gut.MAP"}, 0, "", ""},
        {{"check", "Karten/Kurz.MAP"},
         1,
         "Karten/Kurz.MAP: die Datei ist kürzer, als ihr Kopf sagt (175 Bytes)",
         ""},
        {{"check", "Karten/Riesig.MAP"},
         1,
         "LastFieldX ist 2147483647, zu groß; der Editor setzt 999",
         ""},
        {{"check", "Karten/Leer.MAP"}, 1, "die Karte hat keine Felder (LastFieldX -3", ""},
        {{"check", "Karten/Fehlt.MAP"}, 1, "Karten/Fehlt.MAP: nicht gefunden", ""},
        {{"render", "Karten/Gut.MAP", "gut.png"}, 0, "", ""},
        {{"render", "Karten/Kurz.MAP", "kurz.png"}, 0, "", ""},
        {{"render", "Karten/Riesig.MAP", "riesig.png"}, 0, "", ""},
        {{"render", "Karten/Leer.MAP", "leer.png"},
         1,
         "Karten/Leer.MAP: die Karte hat keine Felder",
         ""},
        {{"render", "Karten/Fehlt.MAP", "fehlt.png"}, 1, "nicht gefunden", ""},
        {{"export", "Karten/Gut.MAP", "gut.tmx"}, 0, "", ""},
        {{"export", "Karten/Kurz.MAP", "kurz.tmx"}, 1, "die Datei ist kürzer", ""},
        {{"export", "Karten/Riesig.MAP", "riesig.tmj"}, 1, "mehr als 1000 Spalten", ""},
        {{"export", "Karten/Leer.MAP", "leer.tmx"}, 1, "keine Felder", ""},
        {{"export", "Karten/Fehlt.MAP", "fehlt.tmx"}, 1, "nicht gefunden", ""},
        {{"import", "fehlt.tmx", "Karten/Neu.MAP"}, 1, "fehlt.tmx: nicht gefunden", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ToolRun run = RunTool(c.arguments);
        EXPECT_EQ(run.code, c.code);
        if (*c.err == '\0') {
            EXPECT_EQ(run.err, "");
        } else {
            EXPECT_TRUE(Contains(run.err, c.err)) << run.err;
        }
        EXPECT_TRUE(Contains(run.out, c.out)) << run.out;
    }
    // The damaged and missing inputs left no output behind.
    EXPECT_EQ(FilesIn("."),
              (std::vector<std::string>{"Karten", "gut.png", "gut.tmx", "kurz.png", "riesig.png"}));
}

TEST_F(MaptoolCommandsTest, InfoShowsTheStoredValuesForPeopleAndScripts) {
    Fixture map;
    map.name =
        "Gr\xF6\xDF"
        "e \x80\x8A\x9F";  // "Größe €ŠŸ" in CP1252
    map.playerCount = 3;
    map.starts = {{7, 4, 90}, {-30, 9, 360}, {0, 0, 1000}};
    map.slotCount = 13;
    map.tile = [](std::int32_t x, std::int32_t y) { return x == 6 && y == 1 ? 9 : (x + y) % 2; };
    map.Write("Karten/Info");
    Fixture().Write("Karten/Zweite");

    const ToolRun block = RunTool({"info", "Karten/Info.MAP"});
    EXPECT_EQ(block.code, 0);
    for (const char* line :
         {"  Name:          Größe €ŠŸ\n",
          "  Felder:        7 x 4 (X 0 bis 6, Y 0 bis 3), je 5 x 3 Pixel\n", "  Spieler:       3\n",
          "    1: (7, 4) 90°\n", "    2: (-30, 9) Zufall\n", "    3: (0, 0) 1000°\n",
          "  Slots/Bälle:   13/4\n", "  Kachelsatz:    Karten/Info.PNG, 22 x 6 Pixel, 4 Kacheln\n",
          "  Kacheln:       0 ×14, 1 ×13\n", "  außerhalb:     9 ×1\n"}) {
        EXPECT_TRUE(Contains(block.out, line)) << line << "\n" << block.out;
    }

    const ToolRun lines = RunTool({"info", "Karten/Info.MAP", "Karten/Zweite.MAP"});
    EXPECT_EQ(lines.code, 0);
    EXPECT_EQ(std::count(lines.out.begin(), lines.out.end(), '\n'), 2);
    EXPECT_TRUE(
        Contains(lines.out, "Karten/Zweite.MAP: \"Testkarte\", 7 x 4 Felder zu 5 x 3 Pixel"));

    const ToolRun json = RunTool({"info", "--json", "Karten/Info.MAP", "Karten/Fehlt.MAP"});
    EXPECT_EQ(json.code, 1);  // one file is missing; the others are still there
    const QJsonArray all = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).array();
    ASSERT_EQ(all.size(), 1);
    const QJsonObject info = all[0].toObject();
    EXPECT_EQ(info["MapName"].toString().toStdString(), "Größe €ŠŸ");
    EXPECT_EQ(info["SlotCount"].toInt(), 13);
    EXPECT_EQ(info["LastFieldX"].toInt(), 6);
    EXPECT_EQ(info["Players"].toArray()[1].toObject()["Direction"].toInt(), 360);
    EXPECT_EQ(info["TileSet"].toObject()["tiles"].toInt(), 4);
    const QJsonArray use = info["TileUse"].toArray();
    ASSERT_EQ(use.size(), 3);
    EXPECT_EQ(use[2].toObject()["tile"].toInt(), 9);
    EXPECT_EQ(use[2].toObject()["count"].toInt(), 1);
    EXPECT_FALSE(use[2].toObject()["inside"].toBool());
    EXPECT_TRUE(use[0].toObject()["inside"].toBool());
    EXPECT_EQ(info["FileDamage"].toArray().size(), 0);

    // The damage of a file cut short, as check reports it.
    Bytes cut = map.MapFile();
    cut.resize(cut.size() - 1);
    WriteBytes("Karten/Info.MAP", cut);
    const ToolRun damaged = RunTool({"info", "--json", "Karten/Info.MAP"});
    EXPECT_EQ(damaged.code, 1);
    EXPECT_EQ(damaged.err, "");
    const QJsonArray found = QJsonDocument::fromJson(QByteArray::fromStdString(damaged.out))
                                 .array()[0]
                                 .toObject()["FileDamage"]
                                 .toArray();
    ASSERT_EQ(found.size(), 1);
    EXPECT_TRUE(found[0].toString().startsWith("die Datei ist kürzer, als ihr Kopf sagt"));
}

// The JSON of info byte for byte: keys in order, four spaces a level, empty lists on two lines,
// control characters, quotes and backslashes escaped, other characters as UTF-8 (the C1 codes
// shown escaped like any C1 code on a terminal), no tile set as null.
TEST_F(MaptoolCommandsTest, InfoJsonIsWrittenByteForByte) {
    WriteBytes(
        "Karten/Anf\"\xC3\xBChrung.MAP",
        MapBytes("\x01\t\n\"\\/\x7F\x80\x81\x9F\xFF", {1, 8, 4, 5, 3, 1, 0}, {-5, 7, 360, 0, 7}));
    WriteBytes("Karten/Zweite.MAP", MapBytes("", {0, 0, 0, 5, 3, 0, 0}, {2}));
    WritePng("Karten/Zweite.PNG", Picture{10, 6, std::vector<std::uint32_t>(60, 0)});
    const ToolRun run =
        RunTool({"info", "--json", QString::fromUtf8("Karten/Anf\"\xC3\xBChrung.MAP"),
                 "Karten/Zweite.MAP"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, R"([
    {
        "BallCount": 4,
        "FieldHeight": 3,
        "FieldWidth": 5,
        "FileDamage": [
        ],
        "LastFieldX": 1,
        "LastFieldY": 0,
        "MapName": "\u0001\t\n\"\\/\u007F€\u0081Ÿÿ",
        "PlayerCount": 1,
        "Players": [
            {
                "Direction": 360,
                "X": -5,
                "Y": 7
            }
        ],
        "SlotCount": 8,
        "TileSet": null,
        "TileUse": [
            {
                "count": 1,
                "inside": false,
                "tile": 0
            },
            {
                "count": 1,
                "inside": false,
                "tile": 7
            }
        ],
        "file": "Karten/Anf\"ührung.MAP"
    },
    {
        "BallCount": 0,
        "FieldHeight": 3,
        "FieldWidth": 5,
        "FileDamage": [
        ],
        "LastFieldX": 0,
        "LastFieldY": 0,
        "MapName": "",
        "PlayerCount": 0,
        "Players": [
        ],
        "SlotCount": 0,
        "TileSet": {
            "file": "Karten/Zweite.PNG",
            "height": 6,
            "tiles": 2,
            "width": 10
        },
        "TileUse": [
            {
                "count": 1,
                "inside": false,
                "tile": 2
            }
        ],
        "file": "Karten/Zweite.MAP"
    }
]
)");
}

TEST_F(MaptoolCommandsTest, CheckReportsEachProblemNamingTheFile) {
    struct Case {
        const char* what;
        std::function<void(Fixture&)> change;
        std::function<void(Bytes&)> damage;  // applied to the MAP file's bytes
        std::vector<const char*> findings;
    };
    const Case cases[] = {
        {"field width 0",
         [](Fixture& f) { f.fieldWidth = 0; },
         {},
         {"FieldWidth ist 0, zu klein; der Editor setzt 1"}},
        {"slots and balls above 12",
         [](Fixture& f) { f.slotCount = f.ballCount = 13; },
         {},
         {"SlotCount ist 13, zu groß; der Editor setzt 12",
          "BallCount ist 13, zu groß; der Editor setzt 12"}},
        {"70 players",
         [](Fixture& f) {
             f.playerCount = 70;
             f.starts.resize(70, {1, 1, 0});
         },
         {},
         {"PlayerCount ist 70, zu groß; der Editor setzt 64"}},
        {"tiles outside",
         [](Fixture& f) {
             f.tile = [](int x, int y) {
                 return x == 1 && y == 0 ? 9 : x == 3 && y == 2 ? -1 : x == 5 ? 4 : 0;
             };
         },
         {},
         {"6 Felder zeigen Kacheln außerhalb des Kachelsatzes (4 Kacheln): -1 ×1, 4 ×4, 9 ×1; "
          "zuerst Feld (1, 0)"}},
        {"tile set too low",
         [](Fixture& f) { f.tileSetHeight = 5; },
         {},
         {"der Kachelsatz ist 5 Pixel hoch, Kacheln und Z-Masken brauchen 6"}},
        {"one byte more",
         {},
         [](Bytes& b) { b.push_back(0); },
         {"die Datei ist länger, als ihr Kopf sagt (175 Bytes)"}},
        {"negative name length",
         [](Fixture& f) { f.name.clear(); },
         [](Bytes& b) { b[0] = b[1] = 0xFF; },
         {"die Länge des Namens ist negativ (-1)"}},
        {"zero byte in the name",
         {},
         [](Bytes& b) { b[5] = 0; },
         {"der Name enthält ein Null-Byte; der Editor liest nur die 3 Zeichen davor"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        if (c.change) c.change(f);
        f.Write("Karten/Karte");
        if (c.damage) {
            Bytes bytes = f.MapFile();
            c.damage(bytes);
            WriteBytes("Karten/Karte.MAP", bytes);
        }
        const ToolRun run = RunTool({"check", "Karten/Karte.MAP"});
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'),
                  static_cast<std::ptrdiff_t>(c.findings.size()))
            << run.err;
        for (const char* finding : c.findings) {
            EXPECT_TRUE(Contains(run.err, std::string("maptool: Karten/Karte.MAP: ") + finding))
                << run.err;
        }
    }
    Fixture().Write("Karten/Karte");
    std::filesystem::remove("Karten/Karte.PNG");
    EXPECT_TRUE(Contains(RunTool({"check", "Karten/Karte.MAP"}).err,
                         "der Kachelsatz Karten/Karte.PNG fehlt"));
    WriteBytes("Karten/Karte.PNG", {'B', 'M', 1, 2});
    EXPECT_TRUE(Contains(RunTool({"check", "Karten/Karte.MAP"}).err,
                         "ist kein lesbares PNG- oder BMP-Bild: die Datei ist beschädigt"));

    Fixture().Write("Karten/Karte");
    const ToolRun verbose = RunTool({"check", "-v", "Karten/Karte.MAP"});
    EXPECT_EQ(verbose.code, 0);
    EXPECT_EQ(verbose.out, "Karten/Karte.MAP: in Ordnung (4 Kacheln, 28 Felder)\n");
}

}  // namespace
