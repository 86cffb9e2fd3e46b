// The whole editor in one process: start-up, input injected at its window as a user's input
// arrives, one main-loop pass per fetched event, and what the document, the controls, the
// files and the map view's pixels show afterwards.
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include <filesystem>
#include <string>

#include "EditorFixture.h"
#include "screen/ImageFiles.h"

namespace {

using editor::Document;
using editor_testing::EditorTest;
using editor_testing::kBlackPixel;
using editor_testing::kGrey;
using editor_testing::kRedPixel;
namespace ts = testing_support;

TEST_F(EditorTest, StartsWithTheNewMapInTheControlsAndTheView) {
    EXPECT_EQ(ts::WindowTitle(0),
              "Veldrane Murmelwald Karteneditor 1.0 <NONAME>");
    const std::pair<std::int32_t, const char*> texts[] = {{18, "Neue Karte"},
                                                          {14, "64"},
                                                          {15, "64"},
                                                          {16, "5"},
                                                          {17, "5"},
                                                          {19, "1"},
                                                          {22, "8"},
                                                          {23, "4"},
                                                          {20, "0"},
                                                          {21, "0"},
                                                          {13, "0\xB0"},
                                                          {9, "Aktueller Pinsel: 0"},
                                                          {1, "Eigenschaften von Spieler 1"}};
    for (const auto& [gadget, text] : texts) EXPECT_EQ(gui::GadgetGetText(gadget), text) << gadget;
    EXPECT_EQ(StatusMessage(), "");

    MoveTo({700, 540});  // away from the view and the brush preview
    // The 6 x 6 black tiles span view (58, 58) to (441, 441) on grey.
    for (const auto& [x, y, colour] : {std::tuple{57, 100, kGrey},
                                       {100, 57, kGrey},
                                       {100, 100, kBlackPixel},
                                       {441, 300, kBlackPixel},
                                       {300, 441, kBlackPixel},
                                       {442, 300, kGrey},
                                       {300, 442, kGrey}}) {
        EXPECT_EQ(Pixel(x, y), colour) << x << "," << y;
    }
    // Player 1: red marker centred at (58, 58), its direction dot 20 pixels to the right.
    EXPECT_EQ(Pixel(78, 58), kRedPixel);
    EXPECT_EQ(Pixel(58, 58 + 22 - 1), kRedPixel);  // the cross's lower arm, inside the circle
}

TEST_F(EditorTest, PaintingHitsTheClampedFieldOnlyInsideTheView) {
    struct Case {
        const char* what;
        ts::Point at;
        int x, y;  // the field expected to take the brush, or -1 for none
    };
    // Square fields and fields that are not: width and height must not be mixed up.
    for (const auto& [fw, fh] : {std::pair{64, 64}, std::pair{24, 40}}) {
        const Case cases[] = {
            {"a field", InView(58 + fw * 2 + 5, 58 + fh + 5), 2, 1},
            {"the grey margin left of the map", InView(10, 58 + fh * 3 + 1), 0, 3},
            {"below and right of the map", InView(490, 490), 5, 5},
            {"the panel on the right", {600, 400}, -1, -1},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + ", fields " + std::to_string(fw) + " x " +
                         std::to_string(fh));
            editor::ResetDocument();
            Document.FieldWidth = fw;
            Document.FieldHeight = fh;
            gui::GadgetSetState(editor::kBrushBar, 7);
            ClickAt(c.at);
            int painted = 0;
            for (int x = 0; x <= 5; ++x) {
                for (int y = 0; y <= 5; ++y) painted += Document.Fields(x, y) == 7 ? 1 : 0;
            }
            EXPECT_EQ(painted, c.x < 0 ? 0 : 1);
            if (c.x >= 0) {
                EXPECT_EQ(Document.Fields(c.x, c.y), 7);
                // The hover frame outlines the same field: its opposite corners are red.
                const int left = 58 + c.x * fw;
                const int top = 58 + c.y * fh;
                EXPECT_EQ(Pixel(left, top), kRedPixel);
                EXPECT_EQ(Pixel(left + fw - 1, top + fh - 1), kRedPixel);
            }
        }
    }
}

TEST_F(EditorTest, ADoubleClickPaintsOnce) {
    gui::GadgetSetState(editor::kBrushBar, 3);
    const ts::Point at = InView(100, 100);
    MoveTo(at);
    ts::DoubleClick(0, at);
    ts::ProcessEventsFor(0);
    bool pressed = false, doubled = false;
    for (std::int32_t e; (e = gui::WindowEventFetch(0)) != 0;) {
        if (e == 513) pressed = true;
        if (e == 515) {
            doubled = true;
            Document.Fields(0, 0) = 0;  // a paint in this pass would show again
        }
        editor::EditorPass(e);
    }
    EXPECT_TRUE(pressed);
    ASSERT_TRUE(doubled);
    EXPECT_EQ(Document.Fields(0, 0), 0);
}

TEST_F(EditorTest, EnterSetsTheCurrentPlayerToTheMapPixelUnderTheMouse) {
    ts::ClickGadget(0, editor::kMapNameField);  // the shortcut wins over a focused field
    Drain();
    MoveTo(InView(100, 50));
    ts::Key(0, gui::KEYCODE_ENTER);
    Drain();
    EXPECT_EQ(Document.Players(1).X, 42);
    EXPECT_EQ(Document.Players(1).Y, -8);
    EXPECT_EQ(gui::GadgetGetText(20), "42");
    EXPECT_EQ(gui::GadgetGetText(21), "-8");
    EXPECT_EQ(Document.MapName, "Neue Karte");
}

TEST_F(EditorTest, TrackBarsMoveTheViewAndSetTheDirection) {
    Document.PlayerCount = 2;
    Document.Players(2) = {300, 200, 0};
    ts::ClickGadget(0, editor::kPlayerBar);  // focus, then step with the keyboard
    Drain();
    gui::GadgetSetState(editor::kPlayerBar, 1);
    ts::Key(0, gui::KEYCODE_RIGHT);
    Drain();
    ASSERT_EQ(gui::GadgetGetState(editor::kPlayerBar), 2);
    EXPECT_EQ(editor::View.ScrollX, 50);
    EXPECT_EQ(editor::View.ScrollY, -50);
    EXPECT_EQ(gui::GadgetGetText(1), "Eigenschaften von Spieler 2");

    ts::ClickGadget(0, editor::kDirectionBar);
    Drain();
    gui::GadgetSetState(editor::kDirectionBar, 71);
    ts::Key(0, gui::KEYCODE_RIGHT);
    Drain();
    EXPECT_EQ(Document.Players(2).Direction, 360);
    EXPECT_EQ(gui::GadgetGetText(13), "Zufall");
    ts::Key(0, ts::kKeyHome);
    Drain();
    EXPECT_EQ(Document.Players(2).Direction, 0);
}

TEST_F(EditorTest, TypedValuesAreCorrectedInTheSamePass) {
    // Every correction, in sequence: what the field then shows, the value the document holds
    // and the balls, which follow the slots. The program may take a value after every key, as
    // on Windows, where the field takes each key when the program hands it on: no value passes
    // through a smaller one on the way that would take balls away.
    struct Case {
        std::int32_t gadget;
        const char* typed;
        const char* shown;
        const std::int32_t* value;
        const char* balls;
    };
    const Case cases[] = {
        {editor::kLastFieldXField, "1000", "999", &Document.LastFieldX, "4"},
        {editor::kLastFieldYField, "1000", "999", &Document.LastFieldY, "4"},
        {editor::kFieldWidthField, "0", "1", &Document.FieldWidth, "4"},
        {editor::kFieldHeightField, "0", "1", &Document.FieldHeight, "4"},
        {editor::kPlayerCountField, "0", "1", &Document.PlayerCount, "4"},
        {editor::kPlayerCountField, "65", "64", &Document.PlayerCount, "4"},
        {editor::kSlotCountField, "40", "12", &Document.SlotCount, "4"},  // the balls stay
        {editor::kSlotCountField, "2", "2", &Document.SlotCount, "2"},    // below the balls
        {editor::kBallCountField, "9", "2", &Document.BallCount, "2"},
        {editor::kSlotCountField, "0", "1", &Document.SlotCount, "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.gadget) + " " + c.typed);
        TypeInto(c.gadget, c.typed);
        EXPECT_EQ(gui::GadgetGetText(c.gadget), c.shown);
        EXPECT_EQ(*c.value, std::stoi(c.shown));
        EXPECT_EQ(gui::GadgetGetText(editor::kBallCountField), c.balls);
        EXPECT_EQ(Document.BallCount, std::stoi(c.balls));
    }
    TypeInto(editor::kMapNameField, "Wiese");
    EXPECT_EQ(Document.MapName, "Wiese");
}

TEST_F(EditorTest, SaveOpenCancelAndMissingFiles) {
    std::filesystem::copy(MAPEDITOR_SAMPLES_DIR "/Karten", "Karten");
    auto answer = [](std::string path) {
        platform::SetFileDialogAnswerForTesting(
            [path](const platform::FileDialogView&) { return path; });
    };
    auto open = [&] {
        ASSERT_TRUE(ts::ChooseMenuItem(0, "Datei", "Öffnen..."));
        Drain();
    };

    // A map picked in any folder is read from "Karten" by its base name, with its tile set.
    std::filesystem::create_directory("elsewhere");
    answer((std::filesystem::current_path() / "elsewhere" / "Wald.MAP").string());
    open();
    EXPECT_EQ(Document.FileName, "Wald");
    EXPECT_EQ(Document.MapName, "Murmelwald");
    EXPECT_EQ(Document.TileSetWidth, 512);
    EXPECT_EQ(editor::View.ScrollX, -58);
    EXPECT_EQ(ts::WindowTitle(0),
              "Veldrane Murmelwald Karteneditor 1.0 <Wald>");

    // Cancelling changes nothing.
    answer("");
    open();
    EXPECT_EQ(Document.FileName, "Wald");

    // A map whose PNG is missing keeps the previous tile set; a missing MAP is reported.
    std::filesystem::copy_file("Karten/Insel.MAP", "Karten/Ohne.MAP");
    answer("Ohne.MAP");
    open();
    EXPECT_EQ(Document.MapName, runtime::Cp1252("Kleine Insel im Süden"));
    EXPECT_EQ(Document.TileSetWidth, 512);
    EXPECT_EQ(StatusMessage(), "");
    answer("Fehlt.MAP");
    open();
    EXPECT_EQ(Document.MapName, "");
    EXPECT_EQ(Document.FieldWidth, 1);  // corrected in the same pass
    EXPECT_EQ(StatusMessage(), "Karte nicht gefunden: Karten\\Fehlt.MAP");

    // Saving writes the current name; a save that cannot be done says so and keeps the file.
    ASSERT_TRUE(ts::ChooseMenuItem(0, "Datei", "Neu"));
    Drain();
    EXPECT_EQ(StatusMessage(), "");
    ASSERT_TRUE(ts::ChooseMenuItem(0, "Datei", "Speichern"));
    Drain();
    EXPECT_EQ(std::filesystem::file_size("Karten/NONAME.MAP"), 196u);
    std::filesystem::rename("Karten", "Karten.bak");
    ts::WriteBytes("Karten", {1});  // a file where the folder belongs
    ASSERT_TRUE(ts::ChooseMenuItem(0, "Datei", "Speichern"));
    Drain();
    EXPECT_EQ(StatusMessage(), "Karte konnte nicht gespeichert werden: Karten\\NONAME.MAP");
    EXPECT_EQ(ts::ReadBytes("Karten"), std::vector<std::uint8_t>{1});
}

TEST_F(EditorTest, TheLoadedMapShowsItsTilesAndZMask) {
    std::filesystem::copy(MAPEDITOR_SAMPLES_DIR "/Karten", "Karten");
    Document.FileName = "Insel";
    editor::LoadMap();
    Drain();
    editor::View.ScrollX = 0;
    editor::View.ScrollY = 0;
    MoveTo({700, 540});
    // Field (0, 0) is water (tile 2), field (7, 5) a tree (tile 6) whose Z-mask centre is white.
    const auto at = [](int fx, int fy, int dx, int dy) {
        return Pixel(fx * 64 + dx, fy * 64 + dy);
    };
    const std::uint32_t water = at(0, 0, 32, 40);
    EXPECT_GT(water & 0xFF, (water >> 16) & 0xFF);  // blue above red
    const std::uint32_t treeTop = at(7, 5, 32, 32);
    EXPECT_GT((treeTop >> 8) & 0xFF, treeTop & 0xFF);  // green
    gui::GadgetSetState(editor::kZMaskBox, 1);
    MoveTo({700, 539});
    EXPECT_EQ(at(7, 5, 32, 32), 0xFFFFFFu & 0xFFFFFF);
    EXPECT_EQ(at(0, 0, 32, 40), kBlackPixel);  // water has a floor-level mask
}

// Fields of 24 x 40 pixels: the Z-mask row starts 40 pixels down the tile set, not 24.
TEST_F(EditorTest, FieldsThatAreNotSquareShowTheirTilesAndZMask) {
    constexpr std::uint32_t kPicture[] = {0x3060C0, 0x40A040};  // tiles 0 and 1
    constexpr std::uint32_t kMask[] = {0xC0C0C0, 0xE08020};
    // A BMP tile set of two 24 x 40 tiles over their masks; rows are stored bottom-up.
    ts::BmpFields tiles;
    tiles.width = 48;
    tiles.height = 80;
    for (int y = 79; y >= 0; --y) {
        for (int x = 0; x < 48; ++x) {
            const std::uint32_t colour = y < 40 ? kPicture[x / 24] : kMask[x / 24];
            tiles.pixels.insert(tiles.pixels.end(), {static_cast<std::uint8_t>(colour),
                                                     static_cast<std::uint8_t>(colour >> 8),
                                                     static_cast<std::uint8_t>(colour >> 16)});
        }
    }
    std::filesystem::create_directory("Karten");
    ts::WriteBytes("Karten/Schmal.PNG", ts::MakeBmp(tiles));
    // Field (0, 0) shows tile 1, field (1, 0) tile 0; the player stands far off.
    ts::Bytes map = {1, 0, 'S'};
    for (std::int32_t v : {1, 8, 4, 24, 40, 1, 0, 400, 400, 0, 1, 0}) ts::Put32(map, v);
    ts::WriteBytes("Karten/Schmal.MAP", map);
    Document.FileName = "Schmal";
    editor::LoadMap();
    Drain();
    editor::View.ScrollX = -150;  // away from the position texts
    editor::View.ScrollY = -100;
    for (const std::int32_t zMask : {0, 1}) {
        SCOPED_TRACE(zMask);
        gui::GadgetSetState(editor::kZMaskBox, zMask);
        MoveTo({700, 540 - zMask});
        const std::uint32_t* colours = zMask == 1 ? kMask : kPicture;
        for (const int dy : {5, 35}) {  // near the top and near the bottom of the fields
            EXPECT_EQ(Pixel(150 + 12, 100 + dy), colours[1]) << dy;
            EXPECT_EQ(Pixel(150 + 24 + 12, 100 + dy), colours[0]) << dy;
        }
    }
}

TEST_F(EditorTest, QuittingEndsTheLoopAfterAFinalPass) {
    ASSERT_TRUE(ts::ChooseMenuItem(0, "Datei", "Editor beenden"));
    EXPECT_EQ(Drain(), gui::EVENT_CLOSE);
}

}  // namespace

// Real failures while saving and loading: the editor keeps running, the previous map file is
// intact, and the status bar says what went wrong where a user needs to know.
class EditorFaultTest : public EditorTest {};

#ifndef _WIN32
// A process's limit on the size of the files it writes is a POSIX system's (setrlimit); Windows
// has no such limit to hit.
TEST_F(EditorFaultTest, TheFileSizeLimitHitInTheMiddleOfASaveKeepsThePreviousFile) {
    editor::SaveMap();
    const auto previous = ts::ReadBytes("Karten/NONAME.MAP");
    Document.LastFieldX = 999;
    Document.LastFieldY = 999;  // 4 MB to write, far beyond the limit below
    struct sigaction ignore {
    }, old{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &old);
    rlimit limit{}, saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    limit.rlim_cur = 100000;
    limit.rlim_max = saved.rlim_max;
    setrlimit(RLIMIT_FSIZE, &limit);
    editor::SaveMap();
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &old, nullptr);
    EXPECT_EQ(ts::ReadBytes("Karten/NONAME.MAP"), previous);
    EXPECT_EQ(StatusMessage(), "Karte konnte nicht gespeichert werden: Karten\\NONAME.MAP");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("Karten"), {}), 1);  // no leftovers
    editor::SaveMap();  // with room again the save goes through and says so
    EXPECT_EQ(StatusMessage(), "Gespeichert: Karten\\NONAME.MAP");
    EXPECT_EQ(std::filesystem::file_size("Karten/NONAME.MAP"), 30u + 10 + 12 + 4000000u);
}
#endif

TEST_F(EditorFaultTest, AMapFileThatIsAFolderIsReportedAsMissing) {
    std::filesystem::create_directories("Karten/Ordner.MAP");
    std::filesystem::create_directory("elsewhere");  // the name is picked in another folder
    // Taken now: the system's dialog works in the folder it shows while it is open.
    const std::string chosen =
        (std::filesystem::current_path() / "elsewhere" / "Ordner.MAP").string();
    platform::SetFileDialogAnswerForTesting(
        [chosen](const platform::FileDialogView&) { return chosen; });
    ASSERT_TRUE(ts::ChooseMenuItem(0, "Datei", "Öffnen..."));
    Drain();
    EXPECT_EQ(StatusMessage(), "Karte nicht gefunden: Karten\\Ordner.MAP");
    EXPECT_EQ(Document.PlayerCount, 1);  // corrected from the empty document
    editor::SaveMap();                   // the folder cannot be replaced by a file
    EXPECT_TRUE(std::filesystem::is_directory("Karten/Ordner.MAP"));
    EXPECT_EQ(StatusMessage(), "Karte konnte nicht gespeichert werden: Karten\\Ordner.MAP");
}

TEST_F(EditorFaultTest, TruncatedTileSetsNeverBringTheEditorDown) {
    std::filesystem::copy(MAPEDITOR_SAMPLES_DIR "/Karten", "Karten");
    const auto png = ts::ReadBytes("Karten/Wald.PNG");
    for (std::size_t cut : {std::size_t{0}, std::size_t{8}, std::size_t{33}, std::size_t{100},
                            png.size() / 2, png.size() - 40}) {
        SCOPED_TRACE(cut);
        ts::WriteBytes("Karten/Wald.PNG",
                       std::vector<std::uint8_t>(png.begin(), png.begin() + cut));
        Document.FileName = "Wald";
        editor::LoadMap();
        MoveTo({300, 300});
        EXPECT_EQ(Document.MapName, "Murmelwald");  // the map itself loads
        EXPECT_EQ(Document.TileSetWidth, 0);        // a damaged tile set leaves none: all empty
    }
}
