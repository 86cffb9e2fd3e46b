// Moving around big maps: the wheel, zooming about the mouse and by keys and menu, the view's
// pixels at every scale against a picture computed here from the 1:1 picture, and the mouse
// landing on the right field and map pixel when zoomed.
#include "editor/Zoom.h"

#include <random>
#include <string>
#include <vector>

#include "EditorFixture.h"
#include "editor/History.h"
#include "editor/Painting.h"
#include "runtime/RtString.h"
#include "screen/Sprite.h"
#include "support/MapPictureOracle.h"

namespace editor_testing {
namespace {

using editor::View;

// A rectangle of view pixels: from (x, y), width x height.
struct ViewRect {
    int x, y, width, height;
    int Right() const { return x + width - 1; }
    int Bottom() const { return y + height - 1; }
    int CentreX() const { return (x + Right()) / 2; }
    int CentreY() const { return (y + Bottom()) / 2; }
};

class ZoomTest : public EditorTest {
protected:
    // The default map grown to lastX x lastY fields of fw x fh pixels.
    static void UseMap(int fw, int fh, int lastX, int lastY) {
        Document.FieldWidth = fw;
        Document.FieldHeight = fh;
        Document.LastFieldX = lastX;
        Document.LastFieldY = lastY;
    }
    static std::string Scale() { return StatusMessage(3); }
};

TEST_F(ZoomTest, TheWheelScrollsOneFieldPerNotchAndAtLeastEightScreenPixels) {
    struct Case {
        const char* what;
        int level, fw, fh;
        int delta;
        ts::Modifiers keys;
        bool horizontal;
        int dx, dy;  // change of the scroll
    };
    const Case cases[] = {
        {"towards the user: down a field", 0, 64, 64, -120, {}, false, 0, 64},
        {"away: up a field of 40", 0, 24, 40, 120, {}, false, 0, -40},
        {"two notches at once", 0, 24, 40, -240, {}, false, 0, 80},
        {"Umschalt: sideways by the width", 0, 24, 40, 120, ts::kShift, false, -24, 0},
        {"the horizontal wheel to the right", 0, 24, 40, -120, {}, true, 24, 0},
        {"1:8, a field is just 8 screen pixels", -3, 64, 64, -120, {}, false, 0, 64},
        {"1:16, a field is 4 screen pixels: 8 of them", -4, 64, 64, -120, {}, false, 0, 128},
        {"4:1, fields of one pixel: 8 screen pixels", 2, 1, 1, -240, {}, false, 0, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UseMap(c.fw, c.fh, 999, 999);
        View.ZoomLevel = c.level;
        View.ScrollX = 100;
        View.ScrollY = 200;
        WheelAt(InView(250, 250), c.delta, c.keys, c.horizontal);
        EXPECT_EQ(View.ScrollX, 100 + c.dx);
        EXPECT_EQ(View.ScrollY, 200 + c.dy);
    }
    WheelAt({600, 300}, -120);  // over the panel: the view stays
    EXPECT_EQ(View.ScrollY, 204);
}

TEST_F(ZoomTest, StrgWheelZoomsAboutTheMouseWithinTheScalesOfTheMap) {
    UseMap(64, 64, 999, 999);  // 64000 pixels: the whole map fits at 1:128
    struct Step {
        ts::Point at;  // view position
        int delta;
        int level;  // afterwards
        const char* scale;
    };
    const Step steps[] = {
        {{123, 321}, -120, -1, "1:2"},  {{123, 321}, -360, -4, "1:16"},
        {{400, 17}, -480, -7, "1:128"}, {{400, 17}, -120, -7, "1:128"},  // the whole map fits
        {{77, 450}, 840, 0, ""},        {{250, 250}, 120, 1, "2:1"},
        {{301, 99}, 240, 2, "4:1"},     {{301, 99}, 120, 2, "4:1"},  // no further
        {{5, 5}, -240, 0, ""},
    };
    int previous = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(std::to_string(s.at.x()) + "," + std::to_string(s.at.y()) + " by " +
                     std::to_string(s.delta));
        MoveTo(InView(s.at.x(), s.at.y()));
        const std::int32_t x = View.MouseMapX;
        const std::int32_t y = View.MouseMapY;
        WheelAt(InView(s.at.x(), s.at.y()), s.delta, ts::kControl);
        EXPECT_EQ(View.ZoomLevel, s.level);
        EXPECT_EQ(Scale(), *s.scale == 0 ? "" : runtime::Cp1252("Maßstab ") + s.scale);
        // The map pixels under the mouse stay under it: the block it covers now and the one it
        // covered before lie one inside the other.
        const std::int64_t k = s.level < 0 ? std::int64_t{1} << -s.level : 1;
        const std::int64_t before = previous < 0 ? std::int64_t{1} << -previous : 1;
        for (const auto& [now, was] : {std::pair{View.MouseMapX, x}, {View.MouseMapY, y}}) {
            const std::int64_t overlap =
                std::min(now + k, was + before) - std::max<std::int64_t>(now, was);
            EXPECT_EQ(overlap, std::min(k, before)) << now << " after " << was;
        }
        previous = s.level;
    }
    // Out and back in about the same point gives the same view.
    const std::int32_t scrollX = View.ScrollX;
    const std::int32_t scrollY = View.ScrollY;
    WheelAt(InView(333, 111), -360, ts::kControl);
    WheelAt(InView(333, 111), 360, ts::kControl);
    EXPECT_EQ(View.ScrollX, scrollX);
    EXPECT_EQ(View.ScrollY, scrollY);
    // A map that fits the view at 1:1 is not made smaller.
    UseMap(64, 64, 5, 5);
    WheelAt(InView(250, 250), -120, ts::kControl);
    EXPECT_EQ(View.ZoomLevel, 0);
}

TEST_F(ZoomTest, TheKeysAndTheMenuOfAnsicht) {
    UseMap(64, 64, 99, 99);  // 6400 pixels: 1:16 shows it whole
    MoveTo({700, 540});
    struct Step {
        const char* what;
        std::function<void()> act;
        int level;
        int scrollX;  // -1: not checked
    };
    const Step steps[] = {
        {"Strg+-", [] { ts::Key(0, gui::KEYCODE_MINUS, ts::kControl); }, -1, -1},
        {"Strg+- on the keypad",
         [] { ts::Key(0, gui::KEYCODE_NUMPAD_MINUS, ts::kControl); }, -2, -1},
        {"Strg++ typed with Umschalt",
         [] { ts::Key(0, gui::KEYCODE_PLUS, ts::kControl | ts::kShift); }, -1, -1},
        {"Strg++", [] { ts::Key(0, gui::KEYCODE_PLUS, ts::kControl); }, 0, -1},
        {"Strg+-", [] { ts::Key(0, gui::KEYCODE_MINUS, ts::kControl); }, -1, -1},
        {"Strg+0", [] { ts::Key(0, '0', ts::kControl); }, 0, -58},
        {"Ganze Karte", [] { ASSERT_TRUE(ts::ChooseMenuItem(0, "Ansicht", "Ganze Karte")); }, -4,
         -16 * 50},
        {"Vergrößern",
         [] { ASSERT_TRUE(ts::ChooseMenuItem(0, "Ansicht", "Vergrößern")); }, -3,
         -1},
        // The centre's map pixel 3200 stays at the centre.
        {"Originalgröße",
         [] { ASSERT_TRUE(ts::ChooseMenuItem(0, "Ansicht", "Originalgröße")); },
         0, 3200 - 250},
    };
    View.ScrollX = -58;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        Drain();
        EXPECT_EQ(View.ZoomLevel, s.level);
        if (s.scrollX != -1) {
            EXPECT_EQ(View.ScrollX, s.scrollX);
        }
    }
    // "Ganze Karte" centres the map: 6400 / 16 = 400 view pixels, 50 free on each side; a small
    // map is shown enlarged as far as it fits: 2 x 2 fields of 64 at 2:1 are 256 pixels.
    UseMap(64, 64, 1, 1);
    ts::ChooseMenuItem(0, "Ansicht", "Ganze Karte");
    Drain();
    EXPECT_EQ(View.ZoomLevel, 1);
    EXPECT_EQ(View.ScrollX, -61);  // (500 - 256) / 2 = 122 view pixels, 61 map pixels
    EXPECT_EQ(Scale(), runtime::Cp1252("Maßstab 2:1"));
    // A new map comes at 1:1 again.
    ts::ChooseMenuItem(0, "Datei", "Neu");
    Drain();
    EXPECT_EQ(View.ZoomLevel, 0);
    EXPECT_EQ(Scale(), "");
}

// The document and the tile set as the picture oracle takes them.
testing_support::MapPictureRules ViewedMap(const screen::PixelView& set, int row) {
    return {Document.FieldWidth,
            Document.FieldHeight,
            Document.LastFieldX + 1,
            Document.LastFieldY + 1,
            row == 1,
            [](std::int64_t x, std::int64_t y) { return std::as_const(Document.Fields)(x, y); },
            set.width,
            set.height,
            [set](std::int64_t x, std::int64_t y) { return set.Row(static_cast<int>(y))[x]; }};
}

// The view pixel as the scale says it should be: reduced 1:k, the rounded average of the k x k
// map pixels from floor(scroll / k) * k + v * k on; enlarged m:1, map pixel scroll + v / m.
std::uint32_t ExpectedPixel(const testing_support::MapPictureRules& map, int v, int w, int level) {
    if (level > 0) return map.At(View.ScrollX + (v >> level), View.ScrollY + (w >> level));
    const std::int64_t k = std::int64_t{1} << -level;
    const auto blockStart = [k](std::int64_t scroll, int view) {
        const std::int64_t below = scroll >= 0 ? scroll / k : -((-scroll + k - 1) / k);
        return (below + view) * k;
    };
    return testing_support::BlockMean(map, blockStart(View.ScrollX, v), blockStart(View.ScrollY, w),
                                      k, testing_support::BlockEdge::kGreyBeyondTheMap);
}

TEST_F(ZoomTest, EveryScaleShowsTheBoxFilteredOrRepeatedOneToOnePicture) {
    struct Case {
        const char* what;
        int level, fw, fh, lastX, lastY, scrollX, scrollY, row;
        ViewRect compared;
    };
    const Case cases[] = {
        {"1:2, fields 24 x 40, scroll not even", -1, 24, 40, 30, 20, -37, 11, 0, {0, 0, 500, 500}},
        {"1:4, Z-masks, scroll not a multiple of 4",
         -2,
         24,
         40,
         60,
         40,
         5,
         -3,
         1,
         {0, 0, 500, 500}},
        {"1:4, fields 30 x 25 that 4 does not divide",
         -2,
         30,
         25,
         70,
         90,
         -7,
         13,
         0,
         {0, 0, 500, 500}},
        {"1:8, Z-masks, fields 32 x 16 that 8 divides", -3, 32, 16, 200, 300, -21, 43, 1,
         {0, 0, 500, 500}},
        {"1:16, fields 7 x 5 smaller than a view pixel",
         -4,
         7,
         5,
         900,
         999,
         -45,
         301,
         0,
         {0, 0, 500, 60}},
        {"1:128, the whole largest map of 64-pixel fields",
         -7,
         64,
         64,
         999,
         999,
         0,
         0,
         0,
         {200, 200, 40, 40}},
        {"2:1", 1, 24, 40, 30, 20, -13, 7, 0, {0, 0, 500, 500}},
        {"4:1, Z-masks", 2, 30, 25, 30, 20, 3, -5, 1, {0, 0, 500, 500}},
    };
    std::mt19937 random(7);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Four and a half tiles of random pixels: the last is cut by the tile set's edge.
        OpenGeneratedMap("Zufall", c.fw, c.fh, c.lastX, c.lastY, c.fw * 9 / 2,
                         [&random](int, int) { return random() & 0xFFFFFF; });
        // Tiles 0 to 4 (4 is cut), empty ones, a negative one, and one whose 32-bit column
        // wraps round to tile 0 for 64-pixel fields.
        const std::int32_t values[] = {0, 1, 2, 3, 4, 5, 9, -1, 1 << 26};
        for (int x = 0; x <= c.lastX; ++x) {
            for (int y = 0; y <= c.lastY; ++y) Document.Fields(x, y) = values[random() % 9];
        }
        gui::GadgetSetState(editor::kZMaskBox, c.row);
        View.ZoomLevel = c.level;
        View.ScrollX = c.scrollX;
        View.ScrollY = c.scrollY;
        screen::ScreenClear(0x123456);  // nothing may stay of this
        editor::DrawZoomedFields();
        const testing_support::MapPictureRules map = ViewedMap(screen::SpritePixels(0), c.row);
        int wrong = 0;
        for (int w = c.compared.y; w <= c.compared.Bottom(); ++w) {
            for (int v = c.compared.x; v <= c.compared.Right(); ++v) {
                const std::uint32_t expected = ExpectedPixel(map, v, w, c.level);
                if (Pixel(v, w) != expected && ++wrong <= 3) {
                    ADD_FAILURE() << "view (" << v << ", " << w << "): " << std::hex << Pixel(v, w)
                                  << " instead of " << expected;
                }
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

// Far out the view draws from reduced pictures of the whole map that it keeps between passes;
// painting, a fill, undo and redo change them only where the fields changed, and the view must
// show each change as a fresh picture would.
TEST_F(ZoomTest, TheKeptReducedPicturesFollowEveryChangeOfTheFields) {
    std::mt19937 random(11);
    OpenGeneratedMap("Zufall", 4, 3, 999, 599, 4 * 5,
                     [&random](int, int) { return random() & 0xFFFFFF; });
    for (int x = 0; x <= 999; ++x) {
        for (int y = 0; y <= 599; ++y) Document.Fields(x, y) = (x / 7 + y / 5) % 5;
    }
    View.ZoomLevel = -4;  // 1:16: blocks of 4 x 4 fields and more
    View.ScrollX = -160;
    View.ScrollY = 320;
    const auto compare = [](const char* step) {
        SCOPED_TRACE(step);
        editor::DrawZoomedFields();
        const testing_support::MapPictureRules map = ViewedMap(screen::SpritePixels(0), 0);
        int wrong = 0;
        for (int w = 0; w < 100; ++w) {
            for (int v = 0; v < 260; ++v) {
                const std::uint32_t expected = ExpectedPixel(map, v, w, View.ZoomLevel);
                if (Pixel(v, w) != expected && ++wrong <= 3) {
                    ADD_FAILURE() << "view (" << v << ", " << w << "): " << std::hex << Pixel(v, w)
                                  << " instead of " << expected;
                }
            }
        }
        EXPECT_EQ(wrong, 0);
    };
    compare("as loaded");
    editor::HistoryBeginGroup();
    for (const auto& [x, y] : {std::pair{3, 110}, {4, 110}, {40, 130}, {999, 599}, {0, 200}}) {
        editor::SetField(x, y, 7);
    }
    editor::HistoryEndGroup();
    compare("painted");
    editor::FloodFill(20, 150, 9);
    compare("filled");
    editor::HistoryUndo();
    compare("fill undone");
    editor::HistoryUndo();
    compare("painting undone");
    editor::HistoryRedo();
    compare("painting redone");
}

TEST_F(ZoomTest, ThePointerLandsOnTheSameFieldForPaintingEnterAndTheHoverFrame) {
    struct Case {
        const char* what;
        int level, scrollX, scrollY;
        ts::Point at;       // view position of the mouse
        int mapX, mapY;  // the map pixel under it
        int fieldX, fieldY;
        ViewRect frame;  // of the hover frame
    };
    const Case cases[] = {
        // Blocks of 4 start at floor(-58 / 4) * 4 = -60: view 100 is map 340, field 5.
        {"1:4", -2, -58, -58, {100, 50}, 340, 140, 5, 2, {95, 47, 16, 16}},
        // View 200 is map 100 + 200 / 4 = 150, field 2 from 128: view 112 to 367.
        {"4:1", 2, 100, 50, {200, 300}, 150, 125, 2, 1, {112, 56, 256, 256}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        editor::ResetDocument();
        UseMap(64, 64, 99, 99);
        View.ZoomLevel = c.level;
        View.ScrollX = c.scrollX;
        View.ScrollY = c.scrollY;
        gui::GadgetSetState(editor::kBrushBar, 3);
        MoveTo(InView(c.at.x(), c.at.y()));
        EXPECT_EQ(View.MouseMapX, c.mapX);
        EXPECT_EQ(View.MouseMapY, c.mapY);
        EXPECT_EQ(View.HoverFieldX, c.fieldX);
        EXPECT_EQ(View.HoverFieldY, c.fieldY);
        const int middleY = c.frame.CentreY();
        EXPECT_EQ(Pixel(c.frame.x, middleY), kRedPixel);
        EXPECT_EQ(Pixel(c.frame.Right(), middleY), kRedPixel);
        EXPECT_NE(Pixel(c.frame.x - 1, middleY), kRedPixel);
        EXPECT_NE(Pixel(c.frame.Right() + 1, middleY), kRedPixel);
        EXPECT_EQ(Pixel(c.frame.CentreX(), c.frame.y), kRedPixel);
        EXPECT_EQ(Pixel(c.frame.CentreX(), c.frame.Bottom()), kRedPixel);

        ts::Click(0, InView(c.at.x(), c.at.y()));
        Drain();
        EXPECT_EQ(Document.Fields(c.fieldX, c.fieldY), 3);
        ts::Key(0, gui::KEYCODE_ENTER);
        Drain();
        EXPECT_EQ(Document.Players(1).X, c.mapX);
        EXPECT_EQ(Document.Players(1).Y, c.mapY);
    }
}

TEST_F(ZoomTest, ARightDragMovesTheMapTwiceTheMouseDistanceOnTheScreenAtEveryScale) {
    UseMap(64, 64, 999, 999);
    for (const int level : {-3, 0, 2}) {  // 0: 1:1
        SCOPED_TRACE(level);
        View.ZoomLevel = level;
        View.ScrollX = 1000;
        View.ScrollY = 1000;
        MoveTo(InView(200, 200));
        ts::Press(0, InView(200, 200), ts::Button::Right);
        Drain();
        const std::int32_t startX = View.ScrollX;
        const std::int32_t startY = View.ScrollY;
        // 20 screen pixels right and 10 up move the map 40 right and 20 up on the screen, while
        // the button is down.
        const int k = level < 0 ? 1 << -level : 1;
        const int m = level > 0 ? 1 << level : 1;
        MoveTo(InView(220, 190));
        EXPECT_EQ(View.ScrollX, startX - 40 * k / m);
        EXPECT_EQ(View.ScrollY, startY + 20 * k / m);
        ts::Release(0, InView(220, 190), ts::Button::Right);
        Drain();
        MoveTo(InView(250, 250));  // released: the map stays
        EXPECT_EQ(View.ScrollX, startX - 40 * k / m);
        EXPECT_EQ(View.ScrollY, startY + 20 * k / m);

        // Leaving the view ends a drag too.
        MoveTo(InView(200, 200));
        ts::Press(0, InView(200, 200), ts::Button::Right);
        Drain();
        MoveTo({600, 200});
        const std::int32_t left = View.ScrollX;
        MoveTo(InView(100, 200));
        EXPECT_EQ(View.ScrollX, left);
        ts::Release(0, InView(100, 200), ts::Button::Right);
        Drain();
    }
}

}  // namespace
}  // namespace editor_testing
