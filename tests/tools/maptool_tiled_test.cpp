// Maps to Tiled and back: lossless round trips, every layer encoding Tiled writes, refusals of
// what a MAP file cannot hold, and Tiled itself as the judge: its renderer must draw our export
// as maptool draws the map, and what it converts our export to must import to the same bytes.
#include <gtest/gtest.h>
#include <zlib.h>
#include <zstd.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <climits>
#include <filesystem>

#include "ToolTestSupport.h"

namespace {

using namespace tool_testing;
using testing_support::ReadBytes;

QString ReadText(const std::string& path) {
    const Bytes bytes = ReadBytes(path);
    return QString::fromUtf8(reinterpret_cast<const char*>(bytes.data()),
                             static_cast<qsizetype>(bytes.size()));
}

void WriteText(const std::string& path, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    testing_support::WriteBytes(path, Bytes(utf8.begin(), utf8.end()));
}

// The global ids of the fixture's fields, row by row, as little-endian bytes.
QByteArray CellBytes(const Fixture& f, std::uint32_t add = 1) {
    QByteArray bytes;
    for (std::int32_t y = 0; y <= f.lastY; ++y) {
        for (std::int32_t x = 0; x <= f.lastX; ++x) {
            const auto cell = static_cast<std::uint32_t>(f.tile(x, y)) + add;
            for (int i = 0; i < 4; ++i) bytes.append(static_cast<char>(cell >> (8 * i)));
        }
    }
    return bytes;
}

// zlib or gzip data of the bytes, as Tiled writes them.
QByteArray Deflate(const QByteArray& in, bool gzip) {
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, gzip ? 16 + MAX_WBITS : MAX_WBITS, 8,
                 Z_DEFAULT_STRATEGY);
    QByteArray out(static_cast<qsizetype>(deflateBound(&stream, static_cast<uLong>(in.size()))), 0);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    stream.avail_in = static_cast<uInt>(in.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(static_cast<qsizetype>(stream.total_out));
    deflateEnd(&stream);
    return out;
}

// The layer data of an exported TMX replaced by other encodings.
QString WithTmxData(const QString& tmx, const QString& data) {
    QString out = tmx;
    out.replace(QRegularExpression(QStringLiteral("<data encoding=\"csv\">[^<]*</data>")), data);
    return out;
}

QByteArray Zstd(const QByteArray& in) {
    QByteArray out(static_cast<qsizetype>(ZSTD_compressBound(static_cast<std::size_t>(in.size()))),
                   0);
    out.resize(static_cast<qsizetype>(ZSTD_compress(out.data(), static_cast<std::size_t>(out.size()),
                                                    in.data(), static_cast<std::size_t>(in.size()),
                                                    3)));
    return out;
}

QByteArray Packed(const QByteArray& cells, const QByteArray& compression) {
    return compression == "zlib"   ? Deflate(cells, false)
           : compression == "gzip" ? Deflate(cells, true)
           : compression == "zstd" ? Zstd(cells)
                                   : cells;
}

QString Base64Data(const QByteArray& cells, const char* compression) {
    const QByteArray packed = Packed(cells, compression);
    return QStringLiteral("<data encoding=\"base64\"%1>\n   %2\n  </data>")
        .arg(*compression ? QStringLiteral(" compression=\"%1\"").arg(compression) : QString(),
             QString::fromLatin1(packed.toBase64()));
}

// The TMJ with every "properties" list written as Tiled before 1.2 wrote it: an object of names
// and values, the types in "propertytypes" beside it.
QJsonValue WithOlderProperties(const QJsonValue& value) {
    if (value.isArray()) {
        QJsonArray out;
        for (const QJsonValue& v : value.toArray()) out.append(WithOlderProperties(v));
        return out;
    }
    if (!value.isObject()) return value;
    QJsonObject out;
    const QJsonObject in = value.toObject();
    for (auto entry = in.begin(); entry != in.end(); ++entry) {
        if (entry.key() != "properties") {
            out[entry.key()] = WithOlderProperties(entry.value());
            continue;
        }
        QJsonObject values, types;
        for (const QJsonValue& p : entry.value().toArray()) {
            values[p["name"].toString()] = p["value"];
            types[p["name"].toString()] = p["type"];
        }
        out["properties"] = values;
        out["propertytypes"] = types;
    }
    return out;
}

// The exported TMJ with its tile layer's data replaced.
QString WithTmjData(const QString& tmj, const QJsonValue& data, const char* encoding,
                    const char* compression) {
    QJsonObject root = QJsonDocument::fromJson(tmj.toUtf8()).object();
    QJsonArray layers = root["layers"].toArray();
    QJsonObject layer = layers[0].toObject();
    layer["data"] = data;
    if (*encoding) layer["encoding"] = encoding;
    if (*compression) layer["compression"] = compression;
    layers[0] = layer;
    root["layers"] = layers;
    return QString::fromUtf8(QJsonDocument(root).toJson());
}

class MaptoolTiledTest : public ::testing::Test {
protected:
    MaptoolTiledTest() { std::filesystem::create_directory("Karten"); }

    // Imports and says whether the MAP file and tile set came back byte for byte.
    ::testing::AssertionResult ImportsTo(const std::string& source, const Fixture& map) {
        std::filesystem::remove("Karten/Neu.MAP");
        std::filesystem::remove("Karten/Neu.PNG");
        const ToolRun run = RunTool({"import", QString::fromStdString(source), "Karten/Neu.MAP"});
        if (run.code != 0) return ::testing::AssertionFailure() << "import: " << run.err;
        if (ReadBytes("Karten/Neu.MAP") != map.MapFile()) {
            return ::testing::AssertionFailure() << "the MAP file differs";
        }
        if (ReadBytes("Karten/Neu.PNG") != ReadBytes("Karten/Karte.PNG")) {
            return ::testing::AssertionFailure() << "the tile set differs";
        }
        return ::testing::AssertionSuccess();
    }

    static void Export(const char* target) {
        const ToolRun run = RunTool({"export", "Karten/Karte.MAP", target});
        ASSERT_EQ(run.code, 0) << run.err;
    }

    // The map written as Karten/Karte, exported as karte.tmx and karte.tmj: their texts.
    static std::pair<QString, QString> Exported(const Fixture& map) {
        map.Write("Karten/Karte");
        Export("karte.tmx");
        Export("karte.tmj");
        return {ReadText("karte.tmx"), ReadText("karte.tmj")};
    }

    // Runs one of Tiled's programs headless, with settings of its own.
    int Tiled(const char* program, const QStringList& arguments) {
        std::filesystem::create_directories("tiled-home/run");
        std::filesystem::permissions("tiled-home/run", std::filesystem::perms::owner_all);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const QString home = QString::fromStdString((dir.Path() / "tiled-home").string());
        environment.insert("HOME", home);
        environment.insert("XDG_CONFIG_HOME", home);
        environment.insert("XDG_RUNTIME_DIR", home + "/run");
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QString::fromUtf8(program), arguments);
        process.waitForFinished(60000);
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // Tiled takes absolute paths: with relative ones it writes image paths from the wrong folder.
    QString Absolute(const char* file) const {
        return QString::fromStdString((dir.Path() / file).string());
    }

    testing_support::TempDir dir;
};

TEST_F(MaptoolTiledTest, MapsTravelThroughTmxAndTmjByteForByte) {
    struct Case {
        const char* what;
        std::function<void(Fixture&)> change;
    };
    const Case cases[] = {
        {"the fixture", [](Fixture&) {}},
        {"every byte 0x80-0x9F in the name, 70 players, odd directions",
         [](Fixture& f) {
             f.name =
                 "\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8D\x8E\x8F"
                 "\x90\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9D\x9E\x9F "
                 "Gr\xF6\xDF\xE9 \xC4\xD6\xDC";
             f.playerCount = 70;
             f.starts.clear();
             for (int p = 1; p <= 70; ++p)
                 f.starts.push_back({p * 3, -p, p % 3 == 0 ? 360 : p * 7 - 5});
         }},
        {"no name, no players, values outside the editor's ranges",
         [](Fixture& f) {
             f.name.clear();
             f.playerCount = 0;
             f.starts.clear();
             f.slotCount = 20;
             f.ballCount = -4;
         }},
        {"a negative player count, one field of 1 x 2 pixels",
         [](Fixture& f) {
             f.playerCount = -3;
             f.starts.clear();
             f.fieldWidth = 1;
             f.fieldHeight = 2;
             f.lastX = f.lastY = 0;
             f.tileSetHeight = 4;
         }},
        {"1000 x 2 fields",
         [](Fixture& f) {
             f.lastX = 999;
             f.lastY = 1;
         }},
        {"tab and line breaks in the name, extreme positions",
         [](Fixture& f) {
             f.name = "A\tB\nC\rD\r\n";
             f.starts = {{INT_MIN, INT_MAX, -1}, {INT_MAX, INT_MIN, 0}};
         }},
        {"a tile set of one row", [](Fixture& f) { f.tileSetHeight = 3; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture map;
        c.change(map);
        map.Write("Karten/Karte");
        for (const char* target : {"karte.tmx", "karte.tmj"}) {
            SCOPED_TRACE(target);
            Export(target);
            EXPECT_TRUE(ImportsTo(target, map));
        }
    }
}

TEST_F(MaptoolTiledTest, NamesWithControlCharactersTravelOnlyAsJson) {
    Fixture map;
    map.name = "Steuer\x01zeichen";
    map.Write("Karten/Karte");
    const ToolRun xml = RunTool({"export", "Karten/Karte.MAP", "karte.tmx"});
    EXPECT_EQ(xml.code, 1);
    EXPECT_NE(xml.err.find("Steuerzeichen, die XML nicht darstellen kann"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists("karte.tmx"));
    Export("karte.tmj");
    EXPECT_TRUE(ImportsTo("karte.tmj", map));
}

TEST_F(MaptoolTiledTest, ExportRefusesMapsTiledCouldNotGiveBack) {
    Fixture outside;
    outside.tile = [](std::int32_t x, std::int32_t y) { return x == 2 && y == 3 ? 4 : 0; };
    outside.Write("Karten/Karte");
    const ToolRun run = RunTool({"export", "Karten/Karte.MAP", "karte.tmx"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("1 Feld zeigt eine Kachel außerhalb des Kachelsatzes (4 Kacheln): 4 ×1; "
                           "zuerst Feld (2, 3)"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("nicht exportiert"), std::string::npos);
    Fixture().Write("Karten/Karte");
    std::filesystem::remove("Karten/Karte.PNG");
    EXPECT_NE(
        RunTool({"export", "Karten/Karte.MAP", "karte.tmj"}).err.find("Karten/Karte.PNG fehlt"),
        std::string::npos);
    EXPECT_EQ(FilesIn("."), (std::vector<std::string>{"Karten"}));
}

TEST_F(MaptoolTiledTest, ImportReadsEveryLayerEncodingAndExternalTilesets) {
    const Fixture map;
    const auto [tmx, tmj] = Exported(map);
    const QByteArray cells = CellBytes(map);
    QString tiles = QStringLiteral("<data>");
    for (std::int32_t y = 0; y <= map.lastY; ++y) {
        for (std::int32_t x = 0; x <= map.lastX; ++x) {
            tiles += QStringLiteral("<tile gid=\"%1\"/>").arg(map.tile(x, y) + 1);
        }
    }
    tiles += QStringLiteral("</data>");
    // The tileset in a file of its own, its image named from there.
    QString tileset = tmx.mid(tmx.indexOf("<tileset"));
    tileset = tileset.left(tileset.indexOf("</tileset>") + 10).replace(" firstgid=\"1\"", "");
    std::filesystem::create_directory("sets");
    WriteText("sets/karte.tsx",
              "<?xml version=\"1.0\"?>\n" +
                  QString(tileset).replace("source=\"Karten/", "source=\"../Karten/"));
    QJsonObject tsj =
        QJsonDocument::fromJson(tmj.toUtf8()).object()["tilesets"].toArray()[0].toObject();
    tsj.remove("firstgid");
    tsj["image"] = "../Karten/Karte.PNG";
    WriteText("sets/karte.tsj", QString::fromUtf8(QJsonDocument(tsj).toJson()));
    QJsonObject external = QJsonDocument::fromJson(tmj.toUtf8()).object();
    external["tilesets"] = QJsonArray{QJsonObject{{"firstgid", 1}, {"source", "sets/karte.tsj"}}};
    // Layers around the two that count, one of them inside a group.
    QString grouped = tmx;
    grouped
        .replace(" <layer id=\"1\"",
                 " <imagelayer id=\"7\" name=\"Himmel\"/>\n <group id=\"8\" "
                 "name=\"Gruppe\">\n<layer id=\"1\"")
        .replace(" <objectgroup id=\"2\"",
                 " </group>\n <objectgroup id=\"9\" name=\"Deko\"/>\n <objectgroup id=\"2\"");

    struct Case {
        const char* what;
        const char* file;
        QString text;
    };
    const Case cases[] = {
        {"TMX, base64", "a.tmx", WithTmxData(tmx, Base64Data(cells, ""))},
        {"TMX, base64 and zlib", "b.tmx", WithTmxData(tmx, Base64Data(cells, "zlib"))},
        {"TMX, base64 and gzip", "c.tmx", WithTmxData(tmx, Base64Data(cells, "gzip"))},
        {"TMX, base64 and zstd", "h.tmx", WithTmxData(tmx, Base64Data(cells, "zstd"))},
        {"TMX, with the DOCTYPE line of Tiled before 1.0", "i.tmx",
         QString(tmx).replace(
             "?>", "?>\n<!DOCTYPE map SYSTEM \"http://mapeditor.org/dtd/1.0/map.dtd\">")},
        {"TMX, XML tiles", "d.tmx", WithTmxData(tmx, tiles)},
        {"TMX, external TSX", "e.tmx",
         QString(tmx).replace(
             QRegularExpression(QStringLiteral("<tileset firstgid=\"1\".*</tileset>"),
                                QRegularExpression::DotMatchesEverythingOption),
             QStringLiteral("<tileset firstgid=\"1\" source=\"sets/karte.tsx\"/>"))},
        {"TMX, layers in a group and others", "f.tmx", grouped},
        {"TMJ, base64", "a.tmj",
         WithTmjData(tmj, QString::fromLatin1(cells.toBase64()), "base64", "")},
        {"TMJ, base64 and zlib", "b.json",
         WithTmjData(tmj, QString::fromLatin1(Deflate(cells, false).toBase64()), "base64", "zlib")},
        {"TMJ, base64 and gzip", "c.tmj",
         WithTmjData(tmj, QString::fromLatin1(Deflate(cells, true).toBase64()), "base64", "gzip")},
        {"TMJ, external TSJ", "d.tmj", QString::fromUtf8(QJsonDocument(external).toJson())},
        {"TMJ, base64 and zstd", "f.tmj",
         WithTmjData(tmj, QString::fromLatin1(Zstd(cells).toBase64()), "base64", "zstd")},
        {"TMJ, properties as Tiled before 1.2 wrote them", "g.tmj",
         QString::fromUtf8(
             QJsonDocument(WithOlderProperties(QJsonDocument::fromJson(tmj.toUtf8()).object())
                               .toObject())
                 .toJson())},
        // Tiled keeps a tileset's gids when one before it is removed.
        {"TMX, tileset from gid 5", "g.tmx",
         WithTmxData(QString(tmx).replace("firstgid=\"1\"", "firstgid=\"5\""),
                     Base64Data(CellBytes(map, 5), ""))},
        {"TMJ, tileset from gid 5", "e.tmj",
         WithTmjData(QString(tmj).replace("\"firstgid\": 1", "\"firstgid\": 5"),
                     QString::fromLatin1(CellBytes(map, 5).toBase64()), "base64", "")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteText(c.file, c.text);
        EXPECT_TRUE(ImportsTo(c.file, map));
    }
    const ToolRun notes = RunTool({"import", "f.tmx", "Karten/Neu.MAP"});
    EXPECT_EQ(notes.code, 0);
    EXPECT_EQ(notes.err,
              "maptool: f.tmx: Hinweis: nicht übernommen: 1 Objektebene (\"Deko\"), 1 Bildebene "
              "(\"Himmel\")\n");
}

TEST_F(MaptoolTiledTest, ImportRefusesWhatAMapCannotHoldWithoutWritingAnything) {
    const Fixture map;
    const auto [tmx, tmj] = Exported(map);
    const auto replaced = [](QString text, const QString& from, const QString& to) {
        EXPECT_TRUE(text.contains(from)) << from.toStdString();
        return text.replace(from, to);
    };
    const QString firstRow = QStringLiteral("\n1,2,3,4,1,2,3,\n");
    QByteArray longer = CellBytes(map);
    longer.append(4, '\0');
    QString deep = QString(2000, '[') + QString(2000, ']');

    struct Case {
        const char* file;
        QString text;
        const char* message;
    };
    const Case cases[] = {
        {"a.tmx",
         replaced(tmx, " <layer", " <tileset firstgid=\"100\" source=\"x.tsx\"/>\n <layer"),
         "x.tsx: nicht gefunden"},
        {"a.tmx", replaced(tmx, "infinite=\"0\"", "infinite=\"1\""),
         "die unendliche Karte hat keine Kacheln"},
        {"a.tmx", replaced(tmx, "?>", "?><!DOCTYPE map [<!ENTITY e SYSTEM \"/etc/passwd\">]>"),
         "Zeile 1: eine DTD mit eigenen Deklarationen ist nicht erlaubt"},
        {"a.tmx", replaced(tmx, "?>", "?><!DOCTYPE karte SYSTEM \"map.dtd\">"),
         "Zeile 1: eine DTD mit eigenen Deklarationen ist nicht erlaubt"},
        {"a.tmx", replaced(tmx, "value=\"Testkarte\"", "value=\"&e;\""), "Zeile 4:"},
        {"a.tmx", WithTmxData(tmx, "<data encoding=\"base64\" compression=\"lzma\">AAAA</data>"),
         "die Kompression \"lzma\" wird nicht unterstützt"},
        {"a.tmx", WithTmxData(tmx, "<data encoding=\"base64\" compression=\"zstd\">AAAA</data>"),
         "die gepackten Daten sind beschädigt"},
        {"a.tmx",
         WithTmxData(tmx, QStringLiteral("<data encoding=\"base64\" compression=\"zstd\">%1</data>")
                              .arg(QString::fromLatin1(Zstd(longer).toBase64()))),
         "die entpackten Daten sind länger als die Ebene (112 Bytes)"},
        {"a.tmx",
         WithTmxData(tmx, QStringLiteral("<data encoding=\"base64\" compression=\"zstd\">%1</data>")
                              .arg(QString::fromLatin1(Zstd(longer.left(100)).toBase64()))),
         "die entpackten Daten sind kürzer als die Ebene (112 Bytes)"},
        {"a.tmx",
         WithTmxData(tmx, QStringLiteral("<data encoding=\"base64\" compression=\"zstd\">%1</data>")
                              .arg(QString::fromLatin1(Zstd(CellBytes(map)).chopped(3).toBase64()))),
         "die gepackten Daten sind beschädigt"},
        {"a.tmx", WithTmxData(tmx, "<data encoding=\"base64\">!!!!</data>"),
         "die Base64-Daten sind beschädigt"},
        {"a.tmx",
         WithTmxData(tmx, QStringLiteral("<data encoding=\"base64\" compression=\"zlib\">%1</data>")
                              .arg(QString::fromLatin1(Deflate(longer, false).toBase64()))),
         "die entpackten Daten sind länger als die Ebene (112 Bytes)"},
        {"a.tmx", replaced(tmx, "\n3,4,1,2,3,4,1\n", "\n"),
         "die CSV-Daten haben 21 Zellen, die Ebene 28"},
        {"a.tmx",
         replaced(tmx, "name=\"Felder\" width=\"7\" height=\"4\"",
                  "name=\"Felder\" width=\"1001\" height=\"1000\""),
         "die Ebene Felder ist 1001 x 1000 Zellen groß"},
        {"a.tmx", replaced(tmx, "<point/>", ""), "Spieler-Objekt 1 (Spieler 1) ist kein Punkt"},
        {"a.tmx", replaced(tmx, "x=\"7\"", "x=\"7.5\""),
         "Spieler-Objekt 1 (Spieler 1) liegt nicht auf ganzen Pixeln"},
        {"a.tmx", replaced(tmx, "type=\"int\" value=\"90\"", "value=\"90\""),
         "Spieler-Objekt 1 (Spieler 1): die Eigenschaft Richtung hat den Typ string, nicht int"},
        {"a.tmx", replaced(tmx, "Karten/Karte.PNG", "Karten/Fehlt.PNG"),
         "Karten/Fehlt.PNG: nicht gefunden"},
        {"a.tmx", replaced(tmx, "value=\"Testkarte\"", "value=\"Ωmega\""), "nur CP1252"},
        {"a.tmx", replaced(tmx, "orthogonal", "isometric"),
         "die Karte ist isometric, nicht orthogonal"},
        {"a.tmx", "<karte/>", "das Wurzelelement ist <karte>, nicht <map>"},
        {"a.tmx",
         replaced(tmx, " <layer id=\"1\"",
                  QString("<group>").repeated(65) + QString("</group>").repeated(65) +
                      " <layer id=\"1\""),
         "die Gruppenebenen sind zu tief verschachtelt"},
        {"a.tmj", "{\"width\": 7", "kein JSON"},
        {"a.tmj", deep, "kein JSON"},
        {"a.tmj", replaced(tmj, "\"infinite\": false", "\"infinite\": true"),
         "die unendliche Karte hat keine Kacheln"},
        {"a.tmj",
         replaced(tmj, "\"layers\": [",
                  "\"layers\": [" + QString("{\"type\":\"group\",\"layers\":[").repeated(65) +
                      QString("]}").repeated(65) + ","),
         "die Gruppenebenen sind zu tief verschachtelt"},
        {"a.tmj", WithTmjData(tmj, QJsonArray{2147483649.0}, "", ""),
         "die Ebene hat 1 Zellen, nicht 28"},
        {"a.tmj", replaced(tmj, "\"point\": true", "\"point\": false"), "ist kein Punkt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        WriteText(c.file, c.text);
        const ToolRun run = RunTool({"import", c.file, "Karten/Neu.MAP"});
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(FilesIn("Karten"), (std::vector<std::string>{"Karte.MAP", "Karte.PNG"}));
    }
}

// A map made in Tiled alone has no layer "Spieler": it gets the one player of a new map, says
// so, and passes the check; an empty layer "Spieler" still means no players.
TEST_F(MaptoolTiledTest, AMapWithoutAPlayerLayerGetsTheOnePlayerOfANewMap) {
    const Fixture map;
    const auto [tmx, tmj] = Exported(map);
    QString without = tmx;
    without.remove(QRegularExpression(QStringLiteral("<objectgroup.*</objectgroup>"),
                                      QRegularExpression::DotMatchesEverythingOption));
    ASSERT_NE(without, tmx);
    WriteText("ohne.tmx", without);
    const ToolRun run = RunTool({"import", "ohne.tmx", "Karten/Neu.MAP"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err,
              "maptool: ohne.tmx: Hinweis: die Karte hat keine Objektebene \"Spieler\"; sie "
              "bekommt einen Spieler wie eine neue Karte, bei (0, 0)\n");
    Fixture onePlayer = map;
    onePlayer.playerCount = 1;
    onePlayer.starts = {{0, 0, 0}};
    EXPECT_EQ(ReadBytes("Karten/Neu.MAP"), onePlayer.MapFile());
    EXPECT_EQ(RunTool({"check", "Karten/Neu.MAP"}).code, 0);

    Fixture none = map;
    none.playerCount = 0;
    none.starts = {};
    none.Write("Karten/Leer");
    ASSERT_EQ(RunTool({"export", "Karten/Leer.MAP", "leer.tmx"}).code, 0);
    EXPECT_TRUE(ReadText("leer.tmx").contains("name=\"Spieler\""));
    EXPECT_TRUE(ImportsTo("leer.tmx", none));
}

// Maps that Tiled itself wrote (kept with the fuzz seeds: the sample map Insel converted by
// Tiled, its layers zlib- and gzip-compressed) import to the sample's bytes, also where Tiled
// is not installed.
TEST_F(MaptoolTiledTest, MapsSavedByTiledImport) {
    for (const char* file : {"Insel.MAP", "Insel.PNG"}) {
        std::filesystem::copy_file(std::string(MAPEDITOR_SAMPLES_DIR) + "/Karten/" + file,
                                   std::string("Karten/") + file);
    }
    for (const char* seed : {"tmx/tiled-zlib.tmx", "tmj/tiled.tmj", "tmj/tiled-gzip.tmj"}) {
        SCOPED_TRACE(seed);
        const std::string copy = std::filesystem::path(seed).filename().string();
        std::filesystem::copy_file(std::string(MAPTOOL_FUZZ_SEEDS) + "/" + seed, copy);
        const ToolRun run = RunTool({"import", QString::fromStdString(copy), "Karten/Neu.MAP"});
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(ReadBytes("Karten/Neu.MAP"), ReadBytes("Karten/Insel.MAP"));
        EXPECT_EQ(ReadBytes("Karten/Neu.PNG"), ReadBytes("Karten/Insel.PNG"));
    }
}

// Tiled's renderer draws our export as maptool draws the map, pixel for pixel: where Tiled
// leaves a pixel transparent, maptool has the view's grey. The Z-mask pictures are Tiled's
// tiles v + columns.
TEST_F(MaptoolTiledTest, TiledsRendererDrawsTheExportAsMaptoolDoes) {
    if (std::string(TMXRASTERIZER_PATH).empty()) GTEST_SKIP() << "tmxrasterizer is not installed";
    Fixture map;
    map.fieldWidth = 6;
    map.fieldHeight = 4;
    map.tileSetWidth = 30;
    map.tileSetHeight = 8;
    map.lastX = 11;
    map.lastY = 8;
    map.tile = [](std::int32_t x, std::int32_t y) { return (x * 3 + y * y) % 5; };
    map.Write("Karten/Karte");
    Export("karte.tmx");
    const QString tmx = ReadText("karte.tmx");
    QStringList zmaskCells;  // the Z-mask tile of each field: its tile + 5 columns
    for (std::int32_t y = 0; y <= map.lastY; ++y) {
        for (std::int32_t x = 0; x <= map.lastX; ++x)
            zmaskCells << QString::number(map.tile(x, y) + 1 + 5);
    }
    const QString csv = zmaskCells.join(',');
    WriteText("zmaske.tmx", WithTmxData(tmx, "<data encoding=\"csv\">" + csv + "</data>"));

    for (const auto& [source, option] :
         {std::pair{"karte.tmx", ""}, std::pair{"zmaske.tmx", "--zmask"}}) {
        SCOPED_TRACE(source);
        ASSERT_EQ(Tiled(TMXRASTERIZER_PATH,
                        {"--hide-layer", "Spieler", Absolute(source), Absolute("tiled.png")}),
                  0);
        QStringList arguments{"render", "Karten/Karte.MAP", "maptool.png"};
        if (*option) arguments << option;
        ASSERT_EQ(RunTool(arguments).code, 0);
        const Picture ours = ReadPng("maptool.png");
        // Tiled's picture has an alpha channel; read its rows as they are.
        const Bytes bytes = ReadBytes("tiled.png");
        screen::ImageRows rows;
        ASSERT_TRUE(screen::ReadImageRows(bytes, 32, rows));
        ASSERT_EQ(rows.width, ours.width);
        ASSERT_EQ(rows.height, ours.height);
        std::int64_t different = 0, transparent = 0;
        for (std::int32_t y = 0; y < rows.height; ++y) {
            for (std::int32_t x = 0; x < rows.width; ++x) {
                const std::uint8_t* p =
                    rows.rows + static_cast<std::size_t>(y) * rows.rowLength + x * (rows.depth / 8);
                const bool clear = rows.depth == 32 && p[3] == 0;
                transparent += clear ? 1 : 0;
                const std::uint32_t tiled =
                    clear ? kGrey : static_cast<std::uint32_t>(p[2] << 16 | p[1] << 8 | p[0]);
                different += tiled != ours.At(x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(different, 0);
        // The Z-mask row of the last two tiles is cut by nothing here; every pixel is a tile's.
        EXPECT_EQ(transparent, 0);
    }
}

// What Tiled writes when it converts our export (to JSON and back, keeping base64, zlib and
// gzip layers and an external tileset as they were) imports to the same bytes.
TEST_F(MaptoolTiledTest, WhatTiledWritesImportsToTheSameBytes) {
    if (std::string(TILED_PATH).empty()) GTEST_SKIP() << "tiled is not installed";
    Fixture map;
    map.name =
        "Gr\xF6\xDF"
        "e \x80\x8A\x9F";
    map.playerCount = 3;
    map.starts = {{7, 4, 90}, {-30, 9, 360}, {0, 0, 1000}};
    map.Write("Karten/Karte");
    Export("karte.tmx");
    const QString tmx = ReadText("karte.tmx");
    const QByteArray cells = CellBytes(map);
    WriteText("zlib.tmx", WithTmxData(tmx, Base64Data(cells, "zlib")));
    WriteText("gzip.tmx", WithTmxData(tmx, Base64Data(cells, "gzip")));
    WriteText("base64.tmx", WithTmxData(tmx, Base64Data(cells, "")));

    ASSERT_EQ(Tiled(TILED_PATH, {"--export-map", Absolute("karte.tmx"), Absolute("tiled.tmj")}), 0);
    ASSERT_EQ(Tiled(TILED_PATH, {"--export-map", Absolute("tiled.tmj"), Absolute("tiled.tmx")}), 0);
    EXPECT_TRUE(ImportsTo("tiled.tmj", map));
    EXPECT_TRUE(ImportsTo("tiled.tmx", map));
    for (const char* layout : {"zlib", "gzip", "base64"}) {
        SCOPED_TRACE(layout);
        const std::string source = std::string(layout) + ".tmx";
        const std::string tiled = std::string("tiled-") + layout;
        ASSERT_EQ(Tiled(TILED_PATH, {"--export-map", Absolute(source.c_str()),
                                     Absolute((tiled + ".tmx").c_str())}),
                  0);
        ASSERT_EQ(Tiled(TILED_PATH, {"--export-map", Absolute(source.c_str()),
                                     Absolute((tiled + ".tmj").c_str())}),
                  0);
        // Tiled wrote the layer in that encoding itself.
        EXPECT_TRUE(ReadText(tiled + ".tmx").contains("encoding=\"base64\""));
        if (std::string(layout) != "base64") {
            EXPECT_TRUE(ReadText(tiled + ".tmj")
                            .contains(QStringLiteral("\"compression\":\"%1\"").arg(layout)));
        }
        EXPECT_TRUE(ImportsTo(tiled + ".tmx", map));
        EXPECT_TRUE(ImportsTo(tiled + ".tmj", map));
    }
}

}  // namespace
