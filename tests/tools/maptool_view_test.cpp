// maptool render against the editor's own view: the editor runs in this process headless,
// shows the same map from 40 view rows down (below its position texts, with the hover frame
// moved out of sight), and every pixel of the map that the view shows must equal the tool's
// picture, at 1:1 and reduced, with and without the Z-masks and the players. The tool runs with
// a display platform asked for and no display, so it must take the offscreen platform by itself.
#include <gtest/gtest.h>

#include <filesystem>

#include "ToolTestSupport.h"
#include "editor/MapView.h"
#include "editor/Navigation.h"
#include "editor_gui/EditorFixture.h"

namespace {

using namespace tool_testing;
using editor::Document;

constexpr std::int32_t kTop = 40;  // view rows above the map, where the position texts are

class MaptoolViewTest : public editor_testing::EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        std::filesystem::create_directory("Karten");
    }
};

// Compares the tool's pixels (x, y), x < columns, y < rows, with the view's from row kTop on;
// returns how many of them are marker pixels (black or red).
std::int64_t CompareWithView(const Picture& tool, std::int32_t columns, std::int32_t rows) {
    std::int64_t different = 0, marker = 0;
    for (std::int32_t y = 0; y < rows; ++y) {
        for (std::int32_t x = 0; x < columns; ++x) {
            const std::uint32_t view = screen::ScreenBackBufferPixel(x, y + kTop);
            if (view != tool.At(x, y) && ++different <= 5) {
                ADD_FAILURE() << "(" << x << ", " << y << "): view " << std::hex << view
                              << ", maptool " << tool.At(x, y);
            }
            marker += view == 0xFF0000 || view == 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(different, 0);
    return marker;
}

// Players in every direction, two-digit numbers, markers that overlap, cross the map's edges
// or lie off it, on tiles cut by the tile set, beyond it, before it, and one whose index
// wraps around to tile 1 in the view's 32-bit arithmetic.
Fixture PlayerMap() {
    Fixture map;
    map.fieldWidth = 24;
    map.fieldHeight = 18;
    map.lastX = 15;
    map.lastY = 19;
    map.tileSetWidth = 24 * 5 + 10;
    map.tileSetHeight = 36;
    map.tile = [](std::int32_t x, std::int32_t y) {
        if (x == 3 && y == 2) return (1 << 29) + 1;  // * 24 wraps to 24: tile 1
        return (x * 5 + y * 3) % 8 - 1;
    };
    map.playerCount = 12;
    map.starts = {{30, 30, 0},     {60, 30, 45},     {90, 40, 90},    {120, 50, 135},
                  {10, 200, 180},  {200, 5, 225},    {380, 300, 270}, {250, 355, 315},
                  {150, 150, 360}, {160, 160, 1000}, {-10, 100, -5},  {300, 100, 7}};
    return map;
}

TEST_F(MaptoolViewTest, PlayersAreDrawnAsTheEditorsViewDrawsThem) {
    const Fixture map = PlayerMap();
    map.Write("Karten/Spieler");
    Document.FileName = "Spieler";
    editor::LoadMap();
    ASSERT_EQ(Document.PlayerCount, 12);
    // Away from the view and the brush track bar: no brush preview.
    testing_support::CursorTo(0, testing_support::Point(700, 20));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.insert("QT_QPA_PLATFORM", "xcb");
    for (const bool zmask : {false, true}) {
        SCOPED_TRACE(zmask ? "Z-mask" : "tiles");
        gui::GadgetSetState(editor::kZMaskBox, zmask ? 1 : 0);
        editor::View.ScrollX = 0;
        editor::View.ScrollY = -kTop;
        editor::View.HoverFieldX = editor::View.HoverFieldY = -1000;
        editor::DrawMapView();

        QStringList arguments{"render", "--players", "Karten/Spieler.MAP", "spieler.png"};
        if (zmask) arguments << "--zmask";
        const ToolRun run = RunTool(arguments, environment);
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.err, "");
        const Picture tool = ReadPng("spieler.png");
        ASSERT_EQ(tool.width, 16 * 24);
        ASSERT_EQ(tool.height, 20 * 18);
        EXPECT_GT(CompareWithView(tool, tool.width, tool.height),
                  12 * 100);  // the markers are there to compare
    }
}

// The view at 1:k and `maptool render --scale 1:k` show the same pixels wherever a block lies
// wholly on the map (at the map's right and bottom edges the view counts grey beyond the map
// into a block and the tool cuts the block at the map: see editor/MapReduction.h), markers
// included, which both draw full size on the reduced picture.
TEST_F(MaptoolViewTest, TheViewAndTheToolAgreeAtEveryScale) {
    struct Case {
        const char* what;
        int level;  // 1 for the scale "Ganze Karte" chooses
        int fw, fh, lastX, lastY;
        bool zmask, players;
    };
    const Case cases[] = {
        {"1:1, oblong fields, players", 0, 24, 18, 15, 19, false, true},
        {"1:1, square fields, Z-masks", 0, 16, 16, 25, 25, true, false},
        {"1:2, square fields, players", -1, 24, 24, 30, 17, false, true},
        {"1:2, oblong fields, Z-masks and players", -1, 30, 20, 25, 40, true, true},
        {"1:4, square fields, Z-masks", -2, 16, 16, 90, 70, true, false},
        {"1:4, oblong fields, players", -2, 24, 18, 70, 90, false, true},
        {"1:16, oblong fields smaller than a pixel, Z-masks and players", -4, 7, 5, 700, 600, true,
         true},
        {"1:16, square fields", -4, 3, 3, 999, 999, false, false},
        {"whole map, oblong fields, players", 1, 4, 3, 999, 599, false, true},
        {"whole map, square fields, Z-masks and players", 1, 4, 4, 999, 999, true, true},
    };
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.insert("QT_QPA_PLATFORM", "xcb");
    testing_support::CursorTo(0, testing_support::Point(700, 20));  // no brush preview
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture map;
        map.fieldWidth = c.fw;
        map.fieldHeight = c.fh;
        map.lastX = c.lastX;
        map.lastY = c.lastY;
        map.tileSetWidth = c.fw * 5 + c.fw / 2;  // the last tile cut
        map.tileSetHeight = 2 * c.fh - 1;        // the last Z-mask row missing
        map.tile = [](std::int32_t x, std::int32_t y) { return (x * 5 + y * 3) % 8 - 1; };
        const std::int32_t width = (c.lastX + 1) * c.fw, height = (c.lastY + 1) * c.fh;
        map.playerCount = c.players ? 4 : 0;
        map.starts = {{width / 3, height / 4, 0},
                      {width / 2, height / 2, 135},
                      {width - 5, height / 3, 270},
                      {width / 5, height - 3, 360}};
        map.Write("Karten/Gleich");
        Document.FileName = "Gleich";
        editor::LoadMap();
        gui::GadgetSetState(editor::kZMaskBox, c.zmask ? 1 : 0);
        editor::View.ZoomLevel = c.level == 1 ? editor::FittingZoomLevel() : c.level;
        const std::int32_t k = editor::View.ZoomLevel < 0 ? 1 << -editor::View.ZoomLevel : 1;
        editor::View.ScrollX = 0;
        editor::View.ScrollY = -kTop * k;
        editor::View.HoverFieldX = editor::View.HoverFieldY = -1000;
        editor::DrawMapView();

        QStringList arguments{"render", "Karten/Gleich.MAP", "gleich.png", "--scale",
                              QString("1:%1").arg(k)};
        if (c.zmask) arguments << "--zmask";
        if (c.players) arguments << "--players";
        const ToolRun run = RunTool(arguments, environment);
        ASSERT_EQ(run.code, 0) << run.err;
        const Picture tool = ReadPng("gleich.png");
        ASSERT_EQ(tool.width, (width + k - 1) / k);
        // Whole blocks that the view shows below its texts.
        const std::int32_t columns = std::min(width / k, 500);
        const std::int32_t rows = std::min(height / k, 500 - kTop);
        ASSERT_GT(columns * rows, 2000);
        const std::int64_t marker = CompareWithView(tool, columns, rows);
        if (c.players) {
            EXPECT_GT(marker, 3 * 50);  // the markers are there to compare
        }
    }
}

}  // namespace
