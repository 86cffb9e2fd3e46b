// maptool render --players against the editor's own view: the editor runs in this process
// headless, shows the same map at scroll (0, -40) (below its position texts, with the hover
// frame moved out of sight), and every pixel of the map that the view shows must equal the
// tool's picture. The tool runs with a display platform asked for and no display, so it must
// take the offscreen platform by itself.
#include <gtest/gtest.h>

#include <filesystem>

#include "ToolTestSupport.h"
#include "editor/MapView.h"
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
    testing_support::CursorTo(0, QPoint(700, 20));

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
        std::int64_t different = 0, marker = 0;
        for (std::int32_t y = 0; y < tool.height; ++y) {
            for (std::int32_t x = 0; x < tool.width; ++x) {
                const std::uint32_t view = screen::ScreenBackBufferPixel(x, y + kTop);
                if (view != tool.At(x, y) && ++different <= 5) {
                    ADD_FAILURE() << "(" << x << ", " << y << "): view " << std::hex << view
                                  << ", maptool " << tool.At(x, y);
                }
                marker += view == 0xFF0000 || view == 0 ? 1 : 0;
            }
        }
        EXPECT_EQ(different, 0);
        EXPECT_GT(marker, 12 * 100);  // the markers are there to compare
    }
}

}  // namespace
