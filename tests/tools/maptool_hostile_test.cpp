// maptool against hostile inputs and outputs made in each test: FIFOs where files are
// expected, pictures and images whose headers promise more than is worth decoding, outputs
// that are the command's own inputs, linked folders, and a render killed in the middle.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QRegularExpression>
#include <chrono>
#include <filesystem>
#include <thread>

#include "ToolTestSupport.h"
#include "screen/ImageFiles.h"

namespace {

using namespace tool_testing;
using testing_support::MapBytes;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

class MaptoolHostileTest : public ::testing::Test {
protected:
    MaptoolHostileTest() { std::filesystem::create_directory("Karten"); }
    testing_support::TempDir dir;
};

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Ends the tool after a few seconds: a command that waits or works on for much longer fails.
void Deadline() { ::alarm(20); }

// Also caps the tool's address space (200 MB; the tool needs under 150), except under the
// address sanitizer, which reserves far more for itself.
void DeadlineAndLittleMemory() {
    Deadline();
    if (kAddressSanitizer) return;
    const rlimit limit{200 << 20, 200 << 20};
    ::setrlimit(RLIMIT_AS, &limit);
}

// A PNG of zero pixels (`bits` per sample, grey: colour type 0, RGB: 2); with an empty
// compressed stream when `rows` is false, a header and nothing the decoder could read.
Bytes ZeroPng(std::uint32_t width, std::uint32_t height, std::uint8_t bits, std::uint8_t colour,
              bool rows = true) {
    const std::size_t row = 1 + (std::size_t{width} * (colour == 2 ? 3 : 1) * bits + 7) / 8;
    return testing_support::MakePng(width, height, bits, colour,
                                    Bytes(rows ? row * height : 0, 0));
}

// A BMP with a 40-byte header.
Bytes Bmp(std::int32_t width, std::int32_t height, std::uint16_t bits, std::uint32_t compression,
          const std::vector<std::uint32_t>& palette, const Bytes& pixels) {
    return testing_support::MakeBmp({width, height, bits, compression, palette, pixels});
}

// The fixture's tile set as a 24-bit BMP whose rows are stored top row first.
Bytes TopDownBmp(const Picture& picture) {
    std::vector<Bytes> bottomUp;
    for (std::int32_t y = picture.height - 1; y >= 0; --y) {
        Bytes row;
        for (std::int32_t x = 0; x < picture.width; ++x) {
            const std::uint32_t p = picture.At(x, y);
            row.insert(row.end(), {static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 8),
                                   static_cast<std::uint8_t>(p >> 16)});
        }
        bottomUp.push_back(row);
    }
    // StoreRows stores the last row first: the top row.
    return Bmp(picture.width, -picture.height, 24, 0, {}, testing_support::StoreRows(bottomUp));
}

// An RLE8 BMP of 16000 x 16000 pixels of colour 0 in 2 MB: runs of 250, rows ended.
Bytes HugeRle8Bmp() {
    Bytes codes;
    for (int row = 0; row < 16000; ++row) {
        for (int run = 0; run < 64; ++run) codes.insert(codes.end(), {250, 0});
        codes.insert(codes.end(), {0, 0});
    }
    codes.insert(codes.end(), {0, 1});
    return Bmp(16000, 16000, 8, 1, {0}, codes);
}

// The text of a file, and the same with a part replaced.
std::string Text(const std::string& path) {
    const Bytes bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}
void WriteText(const std::string& path, const std::string& text) {
    WriteBytes(path, Bytes(text.begin(), text.end()));
}

// FIFOs named as the map, its tile set, a Tiled map, its external tileset and its image: each
// is refused at once, saying what it is, instead of waiting for a writer forever.
TEST_F(MaptoolHostileTest, FifosAreRefusedAtOnce) {
    Fixture().Write("Karten/A");
    ASSERT_EQ(RunTool({"export", "Karten/A.MAP", "a.tmx"}).code, 0);
    const std::string tmx = Text("a.tmx");
    const QRegularExpression tileset(QStringLiteral("<tileset firstgid=\"1\".*</tileset>"),
                                     QRegularExpression::DotMatchesEverythingOption);
    WriteText("quelle.tmx", QString::fromStdString(tmx)
                                .replace(tileset, "<tileset firstgid=\"1\" source=\"fifo.tsx\"/>")
                                .toStdString());
    WriteText("bild.tmx",
              QString::fromStdString(tmx).replace("Karten/A.PNG", "fifo.png").toStdString());
    for (const char* fifo : {"Karten/Fifo.MAP", "Karten/B.PNG", "fifo.tmx", "fifo.tsx", "fifo.png"}) {
        ASSERT_EQ(::mkfifo(fifo, 0666), 0);
    }
    WriteBytes("Karten/B.MAP", Fixture().MapFile());
    const char* notAFile = "ist keine gewöhnliche Datei";
    struct Case {
        QStringList arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"info", "Karten/Fifo.MAP"}, std::string("Karten/Fifo.MAP: ") + notAFile},
        {{"render", "Karten/Fifo.MAP", "x.png"}, std::string("Karten/Fifo.MAP: ") + notAFile},
        {{"check", "Karten/B.MAP"}, std::string("der Kachelsatz Karten/B.PNG ") + notAFile},
        {{"render", "Karten/B.MAP", "x.png"}, std::string("der Kachelsatz Karten/B.PNG ") + notAFile},
        {{"import", "fifo.tmx", "Karten/C.MAP"}, std::string("fifo.tmx: ") + notAFile},
        {{"import", "quelle.tmx", "Karten/C.MAP"}, std::string("fifo.tsx: ") + notAFile},
        {{"import", "bild.tmx", "Karten/C.MAP"}, std::string("fifo.png: ") + notAFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ToolRun run = RunTool(c.arguments, QProcessEnvironment::systemEnvironment(), Deadline);
        EXPECT_EQ(run.code, 1);
        EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists("x.png"));
    EXPECT_FALSE(std::filesystem::exists("Karten/C.MAP"));
}

// A 50-byte map of one field of 8,000,000 x 8,000,000 pixels: every pixel would be drawn and
// filtered even for a 1000-pixel picture, for hours. It is refused with its numbers.
TEST_F(MaptoolHostileTest, RenderRefusesPicturesOfTooManyPixels) {
    WriteBytes("Karten/Gross.MAP", MapBytes("x", {0, 8, 4, 8000000, 8000000, 0, 0}, {0}));
    WritePng("Karten/Gross.PNG", Fixture().TileSet());
    const ToolRun run = RunTool({"render", "Karten/Gross.MAP", "gross.png", "--fit", "1000"},
                                QProcessEnvironment::systemEnvironment(), Deadline);
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(Contains(run.err,
                         "die Karte ist 8000000 x 8000000 = 64000000000000 Pixel groß, mehr als "
                         "68719476736 werden nicht gezeichnet"))
        << run.err;
    EXPECT_FALSE(std::filesystem::exists("gross.png"));
}

// Tile sets that are small files but huge pictures: every command takes their size from the
// header and refuses them, saying so, before anything is decoded. The tool runs with 200 MB of
// address space; decoding would take gigabytes. info and check read no more than the header
// of any tile set.
TEST_F(MaptoolHostileTest, HugePicturesInSmallFilesAreNeverDecoded) {
    Fixture map;
    map.fieldWidth = map.fieldHeight = 16;
    map.Write("Karten/Karte");
    struct Case {
        const char* what;
        Bytes tileSet;
    };
    const Case cases[] = {
        {"1-bit PNG of 16000 x 16000 pixels", ZeroPng(16000, 16000, 1, 0)},
        {"RLE8 BMP of 16000 x 16000 pixels", HugeRle8Bmp()},
    };
    const std::string refused =
        "Karten/Karte.PNG ist kein lesbares PNG- oder BMP-Bild: es ist 16000 x 16000 Pixel groß, "
        "mehr als die 67108864 Pixel, die ein Bild haben darf";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes("Karten/Karte.PNG", c.tileSet);
        const auto run = [](const QStringList& arguments) {
            return RunTool(arguments, QProcessEnvironment::systemEnvironment(),
                           DeadlineAndLittleMemory);
        };
        const ToolRun info = run({"info", "Karten/Karte.MAP"});
        EXPECT_EQ(info.code, 0) << info.err;
        EXPECT_TRUE(Contains(info.out, "Kachelsatz:    " + refused)) << info.out << info.err;
        for (const QStringList& arguments : {QStringList{"check", "Karten/Karte.MAP"},
                                             QStringList{"render", "Karten/Karte.MAP", "k.png"}}) {
            const ToolRun refusal = run(arguments);
            EXPECT_EQ(refusal.code, 1);
            EXPECT_TRUE(Contains(refusal.err, "der Kachelsatz " + refused)) << refusal.err;
        }
    }

    // A PNG that is no more than its header: its size is all info and check need.
    WriteBytes("Karten/Karte.PNG", ZeroPng(64, 32, 8, 2, false));
    const ToolRun info = RunTool({"info", "Karten/Karte.MAP"});
    EXPECT_TRUE(Contains(info.out, "Kachelsatz:    Karten/Karte.PNG, 64 x 32 Pixel, 4 Kacheln"))
        << info.out;
    EXPECT_EQ(RunTool({"check", "Karten/Karte.MAP"}).code, 0);
    EXPECT_TRUE(Contains(RunTool({"render", "Karten/Karte.MAP", "k.png"}).err,
                         "die Datei ist beschädigt oder unvollständig"));
}

// Each image the tool cannot read says why; a valid top-down BMP is read.
TEST_F(MaptoolHostileTest, UnreadableTileSetsSayWhy) {
    const Fixture map;
    map.Write("Karten/Karte");
    const Bytes rows(64, 0);
    struct Case {
        const char* what;
        Bytes tileSet;
        std::string reason;
    };
    const Case cases[] = {
        {"PNG 32768 pixels wide", ZeroPng(32768, 2, 8, 2, false),
         "es ist 32768 x 2 Pixel groß, mehr als 32767 je Seite"},
        {"24-bit BMP marked JPEG", Bmp(4, 4, 24, 4, {}, rows),
         "ein BMP-Bild mit 24 Bit je Pixel und der Kompression 4"},
        {"BMP of 2 bits per pixel", Bmp(4, 4, 2, 0, {}, rows), "ein BMP-Bild mit 2 Bit je Pixel"},
        {"RLE8 cut short", Bmp(4, 4, 8, 1, {0}, {4, 0, 0, 0}),
         "die Datei ist beschädigt oder unvollständig"},
        {"a text", {'T', 'e', 'x', 't'}, "weder PNG noch BMP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes("Karten/Karte.PNG", c.tileSet);
        const ToolRun run = RunTool({"render", "Karten/Karte.MAP", "karte.png"});
        EXPECT_EQ(run.code, 1);
        EXPECT_TRUE(Contains(run.err, "der Kachelsatz Karten/Karte.PNG ist kein lesbares PNG- oder "
                                      "BMP-Bild: " + c.reason))
            << run.err;
    }

    // Memory that runs out while decoding a picture within the limits (8000 x 8000 pixels).
    if (!kAddressSanitizer) {
        WriteBytes("Karten/Karte.PNG", ZeroPng(8000, 8000, 1, 0));
        const ToolRun run = RunTool({"render", "Karten/Karte.MAP", "karte.png"},
                                    QProcessEnvironment::systemEnvironment(),
                                    DeadlineAndLittleMemory);
        EXPECT_EQ(run.code, 1);
        EXPECT_TRUE(Contains(run.err, "der Speicher reicht nicht, um 8000 x 8000 Pixel zu lesen"))
            << run.err;
    }

    WriteBytes("Karten/Karte.PNG", TopDownBmp(map.TileSet()));
    const ToolRun topDown = RunTool({"render", "Karten/Karte.MAP", "karte.png"});
    EXPECT_EQ(topDown.code, 0) << topDown.err;
    EXPECT_TRUE(ReadPng("karte.png") == map.Expected(false));
    // Through Tiled and back, the BMP's pixels become a PNG tile set.
    EXPECT_EQ(RunTool({"export", "Karten/Karte.MAP", "karte.tmx"}).code, 0);
    const ToolRun imported = RunTool({"import", "karte.tmx", "Karten/Neu.MAP"});
    EXPECT_EQ(imported.code, 0) << imported.err;
    const Bytes written = testing_support::ReadBytes("Karten/Neu.PNG");
    EXPECT_EQ(Bytes(written.begin(), written.begin() + std::min<std::ptrdiff_t>(8, written.size())),
              (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    EXPECT_TRUE(ReadPng("Karten/Neu.PNG") == map.TileSet());
    EXPECT_EQ(testing_support::ReadBytes("Karten/Neu.MAP"),
              testing_support::ReadBytes("Karten/Karte.MAP"));
}

// No command writes over one of its own inputs, also not over one it finds in another case;
// the import may give the tile set the very bytes it was read from.
TEST_F(MaptoolHostileTest, OutputsThatAreInputsAreRefused) {
    Fixture().Write("Karten/A");
    Fixture().Write("Karten/Karte");
    std::filesystem::rename("Karten/Karte.PNG", "Karten/karte.png");
    std::filesystem::create_symlink("Karten/A.MAP", "link.tmx");
    ASSERT_EQ(RunTool({"export", "Karten/A.MAP", "a.tmx"}).code, 0);
    const std::string tmx = Text("a.tmx");
    const QRegularExpression tileset(QStringLiteral("<tileset firstgid=\"1\".*</tileset>"),
                                     QRegularExpression::DotMatchesEverythingOption);
    const QString inner = QRegularExpression(QStringLiteral("<tileset firstgid=\"1\"(.*</tileset>)"),
                                             QRegularExpression::DotMatchesEverythingOption)
                              .match(QString::fromStdString(tmx))
                              .captured(1);
    // Its tileset in a file that the import's output is named as.
    WriteText("Karten/B.MAP",
              QString("<tileset" + inner).replace("Karten/A.PNG", "A.PNG").toStdString());
    WriteText("b.tmx", QString::fromStdString(tmx)
                           .replace(tileset, "<tileset firstgid=\"1\" source=\"Karten/B.MAP\"/>")
                           .toStdString());
    const std::vector<std::string> files = {"Karten/A.MAP", "Karten/A.PNG", "Karten/Karte.MAP",
                                            "Karten/karte.png", "Karten/B.MAP", "a.tmx"};
    std::vector<Bytes> before;
    for (const std::string& file : files) before.push_back(ReadBytes(file));
    struct Case {
        QStringList arguments;
        const char* message;
    };
    const Case cases[] = {
        {{"render", "Karten/A.MAP", "Karten/A.PNG"}, "Karten/A.PNG: ist eine Eingabe"},
        {{"render", "Karten/Karte.MAP", "Karten/Karte.PNG"}, "Karten/Karte.PNG: ist eine Eingabe"},
        {{"render", "Karten/A.MAP", "karten/a.png"}, "karten/a.png: ist eine Eingabe"},
        {{"export", "Karten/A.MAP", "link.tmx"}, "link.tmx: ist eine Eingabe"},
        {{"import", "b.tmx", "Karten/B.MAP"}, "Karten/B.MAP: ist eine Eingabe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ToolRun run = RunTool(c.arguments);
        EXPECT_EQ(run.code, 1);
        EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
        for (std::size_t i = 0; i < files.size(); ++i) {
            EXPECT_TRUE(ReadBytes(files[i]) == before[i]) << files[i];
        }
        EXPECT_FALSE(std::filesystem::exists("Karten/Karte.PNG"));
    }
    const ToolRun back = RunTool({"import", "a.tmx", "Karten/A.MAP"});
    EXPECT_EQ(back.code, 0) << back.err;
    EXPECT_EQ(ReadBytes("Karten/A.MAP"), before[0]);
    EXPECT_EQ(ReadBytes("Karten/A.PNG"), before[1]);
}

// An export into a linked folder names the tile set by a path that leads to it from the
// folder the link points to, where the file system resolves ".."; a path through a link that
// leads there as written stays as written.
TEST_F(MaptoolHostileTest, ExportThroughALinkedFolderNamesAPathThatLeadsToTheTileSet) {
    Fixture().Write("Karten/A");
    std::filesystem::create_directories("weit/weg");
    std::filesystem::create_directory_symlink("weit/weg", "link");
    std::filesystem::create_directory_symlink("Karten", "Verweis");
    const auto imageSource = [](const std::string& tmx) {
        return QRegularExpression(QStringLiteral("<image source=\"([^\"]*)\""))
            .match(QString::fromStdString(Text(tmx)))
            .captured(1)
            .toStdString();
    };
    ASSERT_EQ(RunTool({"export", "Karten/A.MAP", "link/a.tmx"}).code, 0);
    const std::string source = imageSource("link/a.tmx");
    std::error_code error;
    EXPECT_TRUE(std::filesystem::equivalent("link/" + source, "Karten/A.PNG", error)) << source;

    ASSERT_EQ(RunTool({"export", "Verweis/A.MAP", "b.tmx"}).code, 0);
    EXPECT_EQ(imageSource("b.tmx"), "Verweis/A.PNG");
}

// The tile set is named after the map's file up to its last dot, and named by its path from
// the exported file's folder.
TEST_F(MaptoolHostileTest, ExportNamesTheTileSetAfterTheMapUpToItsLastDot) {
    Fixture().Write("Karten/.Alt.v2");
    std::filesystem::create_directory("Karten/Tiled");
    ASSERT_EQ(RunTool({"export", "Karten/.Alt.v2.MAP", "Karten/Tiled/alt.tmx"}).code, 0);
    const std::string tmx = Text("Karten/Tiled/alt.tmx");
    EXPECT_NE(tmx.find("name=\".Alt.v2\""), std::string::npos) << tmx;
    EXPECT_NE(tmx.find("<image source=\"../.Alt.v2.PNG\""), std::string::npos) << tmx;
}

// A map large enough to take a second to render: 1000 x 1000 fields of 32 x 32 pixels.
void WriteSlowMap(const std::string& base) {
    WriteBytes(base + ".MAP", MapBytes("x", {0, 8, 4, 32, 32, 999, 999},
                                       std::vector<std::int32_t>(1000 * 1000, 0)));
    Fixture tiles;
    tiles.tileSetWidth = 32;
    tiles.tileSetHeight = 64;
    WritePng(base + ".PNG", tiles.TileSet());
}

std::vector<std::string> Hidden(const std::string& folder) {
    std::vector<std::string> names;
    for (const std::string& name : FilesIn(folder)) {
        if (name.rfind(".~mapeditor-", 0) == 0) names.push_back(name);
    }
    return names;
}

// Strg+C or SIGTERM in the middle of a render: the hidden file it was writing goes with it.
// What a run killed harder (SIGKILL) left is cleared by a later run once ten minutes old.
TEST_F(MaptoolHostileTest, AKilledRenderLeavesNoHiddenFile) {
    WriteSlowMap("Karten/Gross");
    std::filesystem::create_directory("aus");
    for (const int signal : {SIGINT, SIGTERM, SIGKILL}) {
        SCOPED_TRACE(signal);
        QProcess process;
        // As from a terminal, whatever the test runner ignores.
        process.setChildProcessModifier([] {
            ::signal(SIGINT, SIG_DFL);
            ::signal(SIGTERM, SIG_DFL);
        });
        process.start(QStringLiteral(MAPTOOL_PATH),
                      {"render", "Karten/Gross.MAP", "aus/gross.png", "--scale", "1:100"});
        ASSERT_TRUE(process.waitForStarted());
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (Hidden("aus").empty() && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        ASSERT_EQ(Hidden("aus").size(), 1u) << "the render wrote no hidden file";
        ::kill(static_cast<pid_t>(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(process.exitStatus(), QProcess::CrashExit);
        EXPECT_EQ(Hidden("aus").size(), signal == SIGKILL ? 1u : 0u);
        EXPECT_FALSE(std::filesystem::exists("aus/gross.png"));
    }

    // The killed run's file, aged as if it were eleven minutes old, and a young one of another
    // gone process: the next run deletes the old one only.
    const std::string abandoned = "aus/" + Hidden("aus").front();
    std::filesystem::last_write_time(abandoned, std::filesystem::file_time_type::clock::now() -
                                                    std::chrono::minutes(11));
    const std::string pid = abandoned.substr(16, abandoned.find('-', 16) - 16);
    const std::string young = "aus/.~mapeditor-" + pid + "-999-00000000.tmp";
    WriteBytes(young, {1});
    Fixture().Write("Karten/Klein");
    const ToolRun run = RunTool({"render", "Karten/Klein.MAP", "aus/klein.png"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_FALSE(std::filesystem::exists(abandoned));
    EXPECT_TRUE(std::filesystem::exists(young));
}

}  // namespace
