// maptool render against pictures computed in the test, and its outputs written safely.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>

#include "ToolTestSupport.h"

namespace {

using namespace tool_testing;

class MaptoolRenderTest : public ::testing::Test {
protected:
    MaptoolRenderTest() { std::filesystem::create_directory("Karten"); }
    testing_support::TempDir dir;
};

TEST_F(MaptoolRenderTest, PicturesMatchTheFieldsTilesAndTheBoxFilter) {
    // Tiles 0..3 whole, 4 cut by the tile set's edge, 5 beyond it, -1 before it.
    Fixture cut;
    cut.tile = [](std::int32_t x, std::int32_t y) { return (x + 3 * y) % 7 - 1; };
    Fixture square;
    square.fieldWidth = square.fieldHeight = 4;
    square.lastX = 2;
    square.lastY = 5;
    square.tileSetWidth = 16;
    square.tileSetHeight = 7;  // the Z-mask row one pixel short
    struct Case {
        const char* what;
        const Fixture& map;
        QStringList options;
        bool zmask;
        std::int32_t scale;
    };
    const Case cases[] = {
        {"1:1", Fixture(), {}, false, 1},
        {"Z-mask", Fixture(), {"--zmask"}, true, 1},
        {"tiles cut and beyond the tile set", cut, {}, false, 1},
        {"cut tiles, Z-mask", cut, {"--zmask"}, true, 1},
        {"1:2, blocks cut at the edges", cut, {"--scale", "1:2"}, false, 2},
        {"1:3, Z-mask", Fixture(), {"--zmask", "--scale", "1:3"}, true, 3},
        {"fit into 9 pixels: 1:4", cut, {"--fit", "9"}, false, 4},
        {"square fields, short Z-mask row", square, {"--zmask"}, true, 1},
        {"larger than the picture: one pixel", square, {"--scale", "1:100"}, false, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.map.Write("Karten/Bild");
        std::filesystem::remove("bild.png");
        const ToolRun run =
            RunTool(QStringList{"render", "Karten/Bild.MAP", "bild.png"} + c.options);
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.err, "");
        const Picture got = ReadPng("bild.png");
        const Picture expected = Fixture::BoxScaled(c.map.Rules(c.zmask), c.scale);
        ASSERT_EQ(got.width, expected.width);
        ASSERT_EQ(got.height, expected.height);
        EXPECT_TRUE(got == expected);
        EXPECT_EQ(FilesIn("."), (std::vector<std::string>{"Karten", "bild.png"}));
    }
}

TEST_F(MaptoolRenderTest, PicturesTooLargeAreRefusedUnlessScaledDown) {
    Fixture wide;
    wide.fieldWidth = 200000;  // 1,400,000 pixels wide at 1:1
    wide.Write("Karten/Breit");
    const ToolRun refused = RunTool({"render", "Karten/Breit.MAP", "breit.png"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("das Bild wäre 1400000 x 12 Pixel groß"), std::string::npos)
        << refused.err;
    const ToolRun scaled = RunTool({"render", "Karten/Breit.MAP", "breit.png", "--fit", "1000"});
    EXPECT_EQ(scaled.code, 0) << scaled.err;
    EXPECT_EQ(ReadPng("breit.png").width, 1000);

    wide.fieldWidth = 2000000;
    wide.Write("Karten/Breit");
    const ToolRun huge = RunTool({"render", "Karten/Breit.MAP", "breit.png", "--fit", "1000"});
    EXPECT_EQ(huge.code, 1);
    EXPECT_NE(huge.err.find("mehr als 8000000 je Seite"), std::string::npos) << huge.err;
}

// Each command whose output cannot be written whole: the file size limit of the process cuts
// every write after the first bytes.
TEST_F(MaptoolRenderTest, AFailedWriteLeavesTheTargetsAsTheyWere) {
    Fixture().Write("Karten/Alt");
    ASSERT_EQ(RunTool({"export", "Karten/Alt.MAP", "alt.tmx"}).code, 0);
    testing_support::WriteBytes("alt.png", {'a', 'l', 't'});
    testing_support::WriteBytes("alt.tmj", {'a', 'l', 't'});
    const auto before = [] {
        std::vector<Bytes> files;
        for (const char* f : {"alt.png", "alt.tmj", "Karten/Alt.MAP", "Karten/Alt.PNG"}) {
            files.push_back(testing_support::ReadBytes(f));
        }
        return files;
    };
    const std::vector<Bytes> original = before();
    const auto smallFiles = [] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    };
    struct Case {
        QStringList arguments;
        const char* blamed;
    };
    const Case cases[] = {
        {{"render", "Karten/Alt.MAP", "alt.png"}, "alt.png: konnte nicht geschrieben werden: "},
        {{"export", "Karten/Alt.MAP", "alt.tmj"}, "alt.tmj: konnte nicht geschrieben werden: "},
        {{"import", "alt.tmx", "Karten/Alt.MAP"},
         "Karten/Alt.MAP: konnte nicht geschrieben werden: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ToolRun run =
            RunTool(c.arguments, QProcessEnvironment::systemEnvironment(), smallFiles);
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find(std::string(c.blamed) +
                               "die Datei wäre größer, als das Dateisystem oder der Prozess "
                               "erlaubt"),
                  std::string::npos)
            << run.err;
        EXPECT_TRUE(before() == original);
        EXPECT_EQ(FilesIn("."),
                  (std::vector<std::string>{"Karten", "alt.png", "alt.tmj", "alt.tmx"}));
        EXPECT_EQ(FilesIn("Karten"), (std::vector<std::string>{"Alt.MAP", "Alt.PNG"}));
    }
    const ToolRun noFolder = RunTool({"render", "Karten/Alt.MAP", "fehlt/alt.png"});
    EXPECT_EQ(noFolder.code, 1);
    EXPECT_NE(noFolder.err.find("fehlt/alt.png: konnte nicht geschrieben werden: den Ordner gibt "
                                "es nicht"),
              std::string::npos)
        << noFolder.err;
}

// An output never replaces a file whose name differs only in case; the names of inputs follow
// the editor's rule and may differ in case.
TEST_F(MaptoolRenderTest, OutputsAreNamedExactly) {
    const Fixture map;
    map.Write("Karten/Bild");
    testing_support::WriteBytes("Karten/Anders.PNG", {'a'});
    const ToolRun run = RunTool({"render", "karten/bild.map", "Karten/anders.png"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(FilesIn("Karten"),
              (std::vector<std::string>{"Anders.PNG", "Bild.MAP", "Bild.PNG", "anders.png"}));
    EXPECT_EQ(testing_support::ReadBytes("Karten/Anders.PNG"), Bytes{'a'});
    EXPECT_TRUE(ReadPng("Karten/anders.png") == map.Expected(false));
}

TEST_F(MaptoolRenderTest, WithoutItsTextModuleTheToolSaysWhyItCannotDrawPlayers) {
    Fixture().Write("Karten/Spieler");
    std::filesystem::copy_file(MAPTOOL_PATH, "maptool");
    const auto run = [] {
        QProcess process;
        process.start(QStringLiteral("./maptool"),
                      {"render", "--players", "Karten/Spieler.MAP", "spieler.png"});
        process.waitForFinished();
        EXPECT_EQ(process.exitCode(), 1);
        EXPECT_FALSE(std::filesystem::exists("spieler.png"));
        return QString::fromUtf8(process.readAllStandardError());
    };
    EXPECT_TRUE(run().contains("libmaptool_text.so ist nicht installiert"));
    // A module that is no shared library: the German sentence, then the system's reason.
    testing_support::WriteBytes("libmaptool_text.so", {'k', 'e', 'i', 'n'});
    const QString damaged = run();
    EXPECT_TRUE(damaged.contains(QString::fromUtf8(
        "die Spieler können nicht gezeichnet werden: das Textmodul /")))
        << damaged.toStdString();
    EXPECT_TRUE(damaged.contains(QString::fromUtf8("/libmaptool_text.so lässt sich nicht laden (")))
        << damaged.toStdString();
}

}  // namespace
