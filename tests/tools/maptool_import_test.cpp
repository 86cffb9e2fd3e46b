// maptool import of maps made in Tiled: tilesets of any layout, several layers with opacity and
// tint, flips, empty fields, Z-masks and infinite maps are drawn into a new tile set; what does
// not come along is said in one line, and a refusal names every reason. The fixtures are
// written here, small and with tiles of 6 x 4 pixels so that swapped axes show; the expected
// pixels are worked out by hand from the 8-bit blending Tiled's painter does.
#include <gtest/gtest.h>
#include <zlib.h>

#include <QString>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "ToolTestSupport.h"

namespace {

using namespace tool_testing;

// A straight-alpha pixel 0xAARRGGBB.
using Rgba = std::uint32_t;

void Chunk(std::string& png, const char* type, const std::string& data) {
    const auto n = static_cast<std::uint32_t>(data.size());
    for (int shift = 24; shift >= 0; shift -= 8) png += static_cast<char>(n >> shift);
    const std::string body = type + data;
    png += body;
    const auto crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size())));
    for (int shift = 24; shift >= 0; shift -= 8) png += static_cast<char>(crc >> shift);
}

// Writes an RGBA PNG (the runtime's writer writes opaque pictures only).
void WriteRgbaPng(const std::string& path, std::int32_t width, std::int32_t height,
                  const std::vector<Rgba>& pixels) {
    std::string raw;
    for (std::int32_t y = 0; y < height; ++y) {
        raw += '\0';
        for (std::int32_t x = 0; x < width; ++x) {
            const Rgba p = pixels[static_cast<std::size_t>(y) * width + x];
            raw += {static_cast<char>(p >> 16), static_cast<char>(p >> 8), static_cast<char>(p),
                    static_cast<char>(p >> 24)};
        }
    }
    std::string packed(compressBound(static_cast<uLong>(raw.size())), '\0');
    uLongf size = static_cast<uLongf>(packed.size());
    compress(reinterpret_cast<Bytef*>(packed.data()), &size,
             reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()));
    packed.resize(size);
    std::string header;
    for (const std::uint32_t v : {static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)}) {
        for (int shift = 24; shift >= 0; shift -= 8) header += static_cast<char>(v >> shift);
    }
    header += std::string{8, 6, 0, 0, 0};
    std::string png = "\x89PNG\r\n\x1a\n";
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", packed);
    Chunk(png, "IEND", "");
    testing_support::WriteBytes(path, Bytes(png.begin(), png.end()));
}

constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF,
                        kWhite = 0xFFFFFFFF, kBlack = 0xFF000000, kMagenta = 0xFFFF00FF,
                        kYellow = 0xFFFFFF00, kCyan = 0xFF00FFFF;

// The tilesets the fixtures draw from:
//  set.png   2 x 2 tiles of 6 x 4 with a margin of 1 and 2 pixels between: red, green, blue and
//            white, each with a black pixel at its top-left; the gaps magenta;
//  key.png   one magenta tile (transparent by the colour key ff00ff) with a cyan centre pixel;
//  one.png   a single image of a tile: cyan;
//  sq.png    one 4 x 4 yellow tile with a black pixel at (1, 0).
void WriteTilesets() {
    std::vector<Rgba> set(16 * 12, kMagenta);
    const Rgba colours[4] = {kRed, kGreen, kBlue, kWhite};
    for (int t = 0; t < 4; ++t) {
        const int left = 1 + (t % 2) * 8, top = 1 + (t / 2) * 6;
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 6; ++x) {
                set[static_cast<std::size_t>(top + y) * 16 + left + x] =
                    x == 0 && y == 0 ? kBlack : colours[t];
            }
        }
    }
    WriteRgbaPng("set.png", 16, 12, set);
    std::vector<Rgba> key(24, kMagenta);
    key[1 * 6 + 2] = kCyan;
    WriteRgbaPng("key.png", 6, 4, key);
    WriteRgbaPng("one.png", 6, 4, std::vector<Rgba>(24, kCyan));
    std::vector<Rgba> square(16, kYellow);
    square[1] = kBlack;
    WriteRgbaPng("sq.png", 4, 4, square);
}

const char kSetTileset[] =
    R"(<tileset firstgid="1" name="set" tilewidth="6" tileheight="4" margin="1" spacing="2" tilecount="4" columns="2"><image source="set.png" width="16" height="12"/></tileset>)";
const char kKeyTileset[] =
    R"(<tileset firstgid="10" name="key" tilewidth="6" tileheight="4" tilecount="1" columns="1"><image source="key.png" trans="ff00ff" width="6" height="4"/></tileset>)";
const char kOneTileset[] =
    R"(<tileset firstgid="20" name="one" tilewidth="6" tileheight="4" tilecount="1" columns="0"><tile id="0"><image source="one.png" width="6" height="4"/></tile></tileset>)";

// A TMX map of 6 x 4 pixel tiles with the attributes `extra` and the tilesets and layers `body`.
QString Tmx(int width, int height, const QString& body, const QString& extra = "",
            const char* tileSize = R"(tilewidth="6" tileheight="4")") {
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<map version="1.10" orientation="orthogonal" renderorder="right-down" width="%1" height="%2" %3 infinite="0"%4>
%5
</map>
)")
        .arg(width)
        .arg(height)
        .arg(QString::fromLatin1(tileSize), extra, body);
}

QString Layer(const QString& name, int width, int height, const QString& csv,
              const QString& attributes = "") {
    return QStringLiteral(R"(<layer name="%1" width="%2" height="%3"%4><data encoding="csv">%5</data></layer>)")
        .arg(name)
        .arg(width)
        .arg(height)
        .arg(attributes, csv);
}

void WriteText(const std::string& path, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    testing_support::WriteBytes(path, Bytes(utf8.begin(), utf8.end()));
}

class MaptoolImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::current_path(dir.Path());
        std::filesystem::create_directory("Karten");
        WriteTilesets();
    }

    // Imports the map text into Karten/Neu.MAP; the run, the map drawn at 1:1 and the new tile set.
    ToolRun Import(const QString& tmx, Picture& drawn, Picture& tileSet) {
        WriteText("karte.tmx", tmx);
        const ToolRun run = RunTool({"import", "karte.tmx", "Karten/Neu.MAP"});
        drawn = tileSet = {};
        if (run.code != 0) return run;
        EXPECT_EQ(RunTool({"render", "Karten/Neu.MAP", "bild.png"}).code, 0);
        drawn = ReadPng("bild.png");
        tileSet = ReadPng("Karten/Neu.PNG");
        EXPECT_EQ(RunTool({"check", "Karten/Neu.MAP"}).code, 0);
        return run;
    }

    testing_support::TempDir dir;
};

struct Pixel {
    std::int32_t x, y;
    std::uint32_t rgb;  // 0x00RRGGBB
};

// Each thing alone and together, with pixels of the drawn map worked out by hand.
TEST_F(MaptoolImportTest, TiledMapsAreDrawnIntoANewTileSet) {
    struct Case {
        const char* what;
        QString tmx;
        std::int32_t tiles;         // in the new tile set
        std::vector<Pixel> pixels;  // of the map drawn at 1:1
    };
    const Case cases[] = {
        {"margin and spacing, tiles beyond the first row, order of first use",
         Tmx(3, 2, kSetTileset + Layer("a", 3, 2, "4,3,4,\n2,1,3")),
         4,
         {{1, 1, 0xFFFFFF}, {0, 0, 0x000000}, {7, 1, 0x0000FF}, {13, 2, 0xFFFFFF},
          {1, 5, 0x00FF00}, {7, 5, 0xFF0000}, {6, 4, 0x000000}}},
        {"three tilesets: a colour key, a single image, empty fields in grey",
         Tmx(3, 1, QString(kSetTileset) + kKeyTileset + kOneTileset + Layer("a", 3, 1, "10,20,0")),
         3,
         {{0, 0, 0x646464}, {2, 1, 0x00FFFF}, {8, 2, 0x00FFFF}, {14, 3, 0x646464}}},
        {"the background colour",
         Tmx(2, 1, kSetTileset + Layer("a", 2, 1, "0,2"), R"( backgroundcolor="#0a141e")"),
         2,
         {{0, 0, 0x0A141E}, {5, 3, 0x0A141E}, {8, 1, 0x00FF00}, {6, 0, 0x000000}}},
        {"a background colour of half alpha over the grey",
         Tmx(1, 1, kSetTileset + Layer("a", 1, 1, "0"), R"( backgroundcolor="#80ff0000")"),
         1,
         // red 255 * 128 / 255 = 128 premultiplied, over grey 100 * 127 / 255 = 50
         {{3, 2, 0xB23232}}},
        {"two layers: opacity 0.5 over red, a grey tint over white",
         Tmx(2, 1, kSetTileset +
                        Layer("unten", 2, 1, "1,4") +
                        Layer("oben", 2, 1, "3,0", R"( opacity="0.5")") +
                        Layer("getönt", 2, 1, "0,4", R"( tintcolor="#808080")")),
         2,
         // blue at opacity 128/256 -> alpha 127 over red: red 255 * 128 / 255 = 128
         {{3, 2, 0x80007F}, {9, 2, 0x808080}}},
        {"a group's opacity and tint pass on; a hidden layer is not drawn",
         Tmx(1, 1, kSetTileset + Layer("rot", 1, 1, "1") +
                        QStringLiteral(R"(<group name="g" tintcolor="#ff0000"><layer name="aus" width="1" height="1" visible="0"><data encoding="csv">2</data></layer>)") +
                        Layer("weiß", 1, 1, "4") + "</group>"),
         1,
         {{3, 2, 0xFF0000}}},
        {"whole-field offsets move a layer",
         Tmx(3, 1, kSetTileset + Layer("a", 3, 1, "1,1,1") +
                        Layer("b", 3, 1, "2,0,3", R"( offsetx="6")")),
         2,  // b's last cell moves out of the map
         {{3, 2, 0xFF0000}, {9, 2, 0x00FF00}, {15, 2, 0xFF0000}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Picture drawn, tileSet;
        const ToolRun run = Import(c.tmx, drawn, tileSet);
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(tileSet.width, c.tiles * 6);
        EXPECT_EQ(tileSet.height, 8);
        for (const Pixel& p : c.pixels) {
            EXPECT_EQ(drawn.At(p.x, p.y), p.rgb) << "(" << p.x << ", " << p.y << ")";
        }
        // Without a layer "Z-Maske" the Z-masks are black.
        for (std::int32_t x = 0; x < tileSet.width; ++x) EXPECT_EQ(tileSet.At(x, 5), 0u);
        EXPECT_NE(run.err.find("die Z-Masken sind schwarz"), std::string::npos) << run.err;
    }
}

// An opaque pixel drawn at an opacity is mixed with what lies below in one step,
// (s * a + t * (255 - a)) / 255, whether its image has an alpha channel or not (blending it
// premultiplied would round the source and the rest apart: 150 + 3 for red, 37 + 8 for blue).
// Opacity 0.75 is the constant alpha 192 * 255 / 256 = 191.
TEST_F(MaptoolImportTest, OpacityRoundsAsTiledsPainterDoes) {
    Picture opaque{12, 4, {}};
    for (std::int32_t y = 0; y < 4; ++y) {
        for (std::int32_t x = 0; x < 12; ++x) opaque.pixels.push_back(x < 6 ? 0x0A141E : 0xC86432);
    }
    WritePng("op.png", opaque);
    std::vector<Rgba> withAlpha;
    for (const std::uint32_t p : opaque.pixels) withAlpha.push_back(0xFF000000u | p);
    WriteRgbaPng("al.png", 12, 4, withAlpha);
    Picture drawn, tileSet;
    const ToolRun run = Import(
        Tmx(2, 1,
            R"(<tileset firstgid="1" name="op" tilewidth="6" tileheight="4" columns="2"><image source="op.png"/></tileset>)"
            R"(<tileset firstgid="3" name="al" tilewidth="6" tileheight="4" columns="2"><image source="al.png"/></tileset>)" +
                Layer("unten", 2, 1, "1,1") + Layer("oben", 2, 1, "2,4", R"( opacity="0.75")")),
        drawn, tileSet);
    ASSERT_EQ(run.code, 0) << run.err;
    // (200 * 191 + 10 * 64) / 255 = 152.3, (100 * 191 + 20 * 64) / 255 = 79.9,
    // (50 * 191 + 30 * 64) / 255 = 45.0
    EXPECT_EQ(drawn.At(2, 2), 0x98502Du);
    EXPECT_EQ(drawn.At(8, 2), 0x98502Du);
}

// The eight ways a cell may flip its tile, on a square tile whose mark sits at (1, 0): the
// diagonal first, then horizontal and vertical, as Tiled draws them.
TEST_F(MaptoolImportTest, FlipsAreDrawnAsTiledDrawsThem) {
    const char tileset[] =
        R"(<tileset firstgid="1" name="sq" tilewidth="4" tileheight="4" tilecount="1" columns="1"><image source="sq.png" width="4" height="4"/></tileset>)";
    struct Flip {
        std::uint32_t bits;
        std::int32_t markX, markY;
    };
    const Flip flips[] = {{0, 1, 0},          {0x80000000, 2, 0}, {0x40000000, 1, 3},
                          {0xC0000000, 2, 3}, {0x20000000, 0, 1}, {0xA0000000, 3, 1},
                          {0x60000000, 0, 2}, {0xE0000000, 3, 2}};
    QString csv;
    for (const Flip& f : flips) csv += QString::number(f.bits + 1) + (&f == &flips[7] ? "" : ",");
    Picture drawn, tileSet;
    const ToolRun run = Import(
        Tmx(8, 1, tileset + Layer("a", 8, 1, csv), "", R"(tilewidth="4" tileheight="4")"), drawn,
        tileSet);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(tileSet.width, 8 * 4);
    for (int i = 0; i < 8; ++i) {
        for (std::int32_t y = 0; y < 4; ++y) {
            for (std::int32_t x = 0; x < 4; ++x) {
                const bool mark = x == flips[i].markX && y == flips[i].markY;
                EXPECT_EQ(drawn.At(4 * i + x, y), mark ? 0u : 0xFFFF00u)
                    << "flip " << i << " at (" << x << ", " << y << ")";
            }
        }
    }
}

// A 6 x 4 tile turned along the diagonal is a 4 x 6 picture standing on its cell's bottom-left
// corner: it reaches 2 pixels into the field above and leaves 2 columns of its own field bare.
TEST_F(MaptoolImportTest, TilesReachIntoTheFieldsTheyOverlap) {
    Picture drawn, tileSet;
    const ToolRun run = Import(Tmx(1, 2, kSetTileset + Layer("a", 1, 2, "0,\n536870913")), drawn,
                               tileSet);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(tileSet.width, 2 * 6);
    const Pixel pixels[] = {{0, 1, 0x646464}, {0, 2, 0x000000}, {3, 2, 0xFF0000},
                            {4, 3, 0x646464}, {0, 4, 0xFF0000}, {3, 7, 0xFF0000},
                            {4, 7, 0x646464}, {5, 4, 0x646464}};
    for (const Pixel& p : pixels) {
        EXPECT_EQ(drawn.At(p.x, p.y), p.rgb) << "(" << p.x << ", " << p.y << ")";
    }

    // A tileset's tile offset moves its tiles: 2 pixels right and 1 down, into the next field
    // and out of the map at the bottom.
    QString moved = kSetTileset;
    moved.replace("<image", R"(<tileoffset x="2" y="1"/><image)");
    ASSERT_EQ(Import(Tmx(2, 1, moved + Layer("a", 2, 1, "1,0")), drawn, tileSet).code, 0);
    const Pixel shifted[] = {{1, 1, 0x646464}, {2, 0, 0x646464}, {2, 1, 0x000000},
                             {5, 3, 0xFF0000}, {7, 3, 0xFF0000}, {8, 3, 0x646464}};
    for (const Pixel& p : shifted) {
        EXPECT_EQ(drawn.At(p.x, p.y), p.rgb) << "(" << p.x << ", " << p.y << ")";
    }
}

// A layer "Z-Maske" (any case) gives row 1 and is not drawn into row 0; stacks that differ only
// there are tiles of their own.
TEST_F(MaptoolImportTest, ALayerZMaskeGivesTheZMasks) {
    Picture drawn, tileSet;
    const ToolRun run =
        Import(Tmx(3, 1, kSetTileset + Layer("a", 3, 1, "1,1,2") + Layer("z-MASKE", 3, 1, "0,4,4")),
               drawn, tileSet);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find("neuer Kachelsatz mit 3 Kacheln; die Z-Masken kommen aus der Ebene "
                           "\"z-MASKE\""),
              std::string::npos)
        << run.err;
    ASSERT_EQ(tileSet.width, 18);
    const std::uint32_t row0[3] = {0xFF0000, 0xFF0000, 0x00FF00};
    const std::uint32_t row1[3] = {0x000000, 0xFFFFFF, 0xFFFFFF};
    for (int t = 0; t < 3; ++t) {
        EXPECT_EQ(tileSet.At(6 * t + 3, 2), row0[t]) << t;
        EXPECT_EQ(tileSet.At(6 * t + 3, 6), row1[t]) << t;
    }
}

// An infinite map's chunks, wherever they lie, become the fields of the rectangle around them;
// the players move with them.
TEST_F(MaptoolImportTest, InfiniteMapsImportTheRectangleAroundTheirChunks) {
    const QString tmx = QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<map version="1.10" orientation="orthogonal" width="30" height="20" tilewidth="6" tileheight="4" infinite="1">
%1
<layer name="a" width="30" height="20"><data encoding="csv">
<chunk x="-2" y="1" width="2" height="1">1,2</chunk>
<chunk x="1" y="2" width="1" height="1">3</chunk>
</data></layer>
<objectgroup name="Spieler"><object id="1" x="-12" y="8"><point/></object></objectgroup>
</map>
)")
                            .arg(kSetTileset);
    Picture drawn, tileSet;
    const ToolRun run = Import(tmx, drawn, tileSet);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(drawn.width, 4 * 6);
    EXPECT_EQ(drawn.height, 2 * 4);
    EXPECT_EQ(drawn.At(3, 2), 0xFF0000u);
    EXPECT_EQ(drawn.At(9, 2), 0x00FF00u);
    EXPECT_EQ(drawn.At(15, 2), 0x646464u);
    EXPECT_EQ(drawn.At(21, 6), 0x0000FFu);
    const ToolRun info = RunTool({"info", "--json", "Karten/Neu.MAP"});
    EXPECT_NE(info.out.find("\"X\": 0"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\"Y\": 4"), std::string::npos) << info.out;
}

// What does not come along is said in one line, with counts and the first names.
TEST_F(MaptoolImportTest, WhatDoesNotComeAlongIsSaidInOneLine) {
    const QString tileset =
        R"(<tileset firstgid="1" name="set" tilewidth="6" tileheight="4" margin="1" spacing="2" columns="2"><image source="set.png" width="16" height="12"/><tile id="0"><properties><property name="a" value="1"/><property name="b" value="2"/></properties><animation><frame tileid="1" duration="100"/></animation></tile></tileset>)";
    Picture drawn, tileSet;
    const ToolRun run = Import(
        Tmx(1, 1,
            tileset +
                Layer("a", 1, 1, "1",
                      R"(><properties><property name="p" value="x"/></properties)") +
                R"(<objectgroup name="Deko"/><objectgroup name="Wege"/><imagelayer name="Himmel"/>)" +
                Layer("alt", 1, 1, "2", R"( visible="0")") +
                R"(<objectgroup name="Spieler"><object id="1" x="0" y="0"><point/></object></objectgroup>)"),
        drawn, tileSet);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err,
              "maptool: karte.tmx: Hinweis: neuer Kachelsatz mit 1 Kacheln; die Z-Masken sind "
              "schwarz (keine Ebene \"Z-Maske\")\n"
              "maptool: karte.tmx: Hinweis: nicht übernommen: 2 Objektebenen (\"Deko\", "
              "\"Wege\"), 1 Bildebene (\"Himmel\"), 1 verborgene Kachelebene (\"alt\"), 1 "
              "Eigenschaft von Ebenen, 2 Eigenschaften von Kacheln, 1 Animation\n");
}

// A refusal names every reason at once, each with its count and first places; a map of
// another orientation is refused as such before anything else is looked at.
TEST_F(MaptoolImportTest, ARefusalNamesEveryReason) {
    WriteText("karte.tmx",
              Tmx(4, 2,
                  kSetTileset + Layer("a", 4, 2, "1,9,9,268435457,\n9,1,1,1") +
                      Layer("b", 4, 2, "0,0,0,0,\n0,0,0,0", R"( offsetx="3" parallaxx="0.5")")));
    const ToolRun run = RunTool({"import", "karte.tmx", "Karten/Neu.MAP"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err,
              "maptool: karte.tmx: 1 Ebene hat eine Parallaxe, die sie mit der Ansicht verschiebt, "
              "bei \"b\" (0.5, 1)\n"
              "maptool: karte.tmx: 1 Ebene ist um Teile eines Feldes verschoben, bei \"b\" um (3, "
              "0) Pixel\n"
              "maptool: karte.tmx: 3 Felder zeigen Kacheln, die ihr Kachelsatz nicht hat, zuerst "
              "(1, 0), (2, 0), (0, 1)\n"
              "maptool: karte.tmx: 1 Feld zeigt eine um 120 Grad gedrehte Kachel (nur für "
              "Sechseck-Karten), bei (3, 0)\n"
              "maptool: karte.tmx: nicht importiert\n");
    EXPECT_EQ(FilesIn("Karten"), std::vector<std::string>{});

    // Tiles 1000 pixels wide: the editor reads tile sets up to 32767 pixels wide, 32 tiles.
    std::vector<Rgba> wide;
    for (std::uint32_t row = 0; row < 6; ++row) wide.insert(wide.end(), 1000, 0xFF000000u | row);
    WriteRgbaPng("wide.png", 1000, 6, wide);
    QString below, above;
    for (int i = 0; i < 36; ++i) {
        below += QString::number(i / 6 + 1) + (i < 35 ? "," : "");
        above += QString::number(i % 6 + 1) + (i < 35 ? "," : "");
    }
    WriteText("karte.tmx",
              Tmx(36, 1,
                  R"(<tileset firstgid="1" name="w" tilewidth="1000" tileheight="1" columns="1"><image source="wide.png"/></tileset>)" +
                      Layer("a", 36, 1, below) + Layer("b", 36, 1, above),
                  "", R"(tilewidth="1000" tileheight="1")"));
    const ToolRun wideRun = RunTool({"import", "karte.tmx", "Karten/Neu.MAP"});
    EXPECT_EQ(wideRun.err,
              "maptool: karte.tmx: mehr als 32 verschiedene Felder; ein Kachelsatz mit Kacheln von "
              "1000 x 1 Pixeln hält höchstens 32\nmaptool: karte.tmx: nicht importiert\n");

    WriteText("karte.tmx", Tmx(1, 1, R"(<tileset firstgid="1" source="fehlt.tsx"/>)",
                               R"( orientation="isometric")")
                               .replace(R"(orientation="orthogonal" )", ""));
    const ToolRun iso = RunTool({"import", "karte.tmx", "Karten/Neu.MAP"});
    EXPECT_EQ(iso.err, "maptool: karte.tmx: die Karte ist isometric, nicht orthogonal\n");
}

}  // namespace
