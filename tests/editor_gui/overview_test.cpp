// The overview: its picture against the box filter of the map after opening it, after edits,
// a new tile set and the Z-mask check box, with the view's frame over it; only the changed part
// made again after an edit; clicks and drags in it moving the map view.
#include "editor/Overview.h"

#include "EditorFixture.h"
#include "editor/History.h"
#include "editor/ViewScale.h"
#include "runtime/Timer.h"
#include "support/MapPictureOracle.h"
#include "support/TestWindow.h"

namespace editor_testing {
namespace {

constexpr int kSize = editor::kOverviewSize;
constexpr std::uint32_t kWhitePixel = 0xFFFFFF;

// Tile t: a colour of its own with a pattern inside, so that the means of blocks differ.
std::uint32_t Tiles(int x, int y, int fw, int fh) {
    const auto tile = static_cast<std::uint32_t>(x / fw);
    const auto inside = static_cast<std::uint32_t>((x % fw) * 7 + (y % fh) * 11 + (y / fh) * 90);
    return (0x2F1E0Du * (tile + 1) + inside) & 0xFFFFFF;
}

class OverviewTest : public EditorTest {
protected:
    void OpenOverviewFromTheMenu() {
        Menu("Ansicht", "Übersicht");
        Drain();
        ASSERT_EQ(editor::Overview.Open, 1);
        ASSERT_TRUE(ts::WaitForWindow(editor::kOverviewWindow));
        Drain();
    }
    static ts::Picture Shown() { return ts::GrabClient(gui::WindowHandleOf(editor::kOverviewWindow)); }
    // The map as the oracle sees it, with the tile set that `colour` paints.
    static ts::MapPictureRules Rules(int setWidth, std::function<std::uint32_t(int, int)> colour) {
        ts::MapPictureRules rules;
        rules.fieldWidth = Document.FieldWidth;
        rules.fieldHeight = Document.FieldHeight;
        rules.columns = Document.LastFieldX + 1;
        rules.rows = Document.LastFieldY + 1;
        rules.zmask = gui::GadgetGetState(editor::kZMaskBox) != 0;
        rules.field = [](std::int64_t x, std::int64_t y) { return Document.Fields(x, y); };
        rules.setWidth = setWidth;
        rules.setHeight = 2 * Document.FieldHeight;
        rules.setPixel = [colour](std::int64_t x, std::int64_t y) {
            return colour(static_cast<int>(x), static_cast<int>(y));
        };
        return rules;
    }
    // The overview as it must look: the map at the layout's scale, centred on grey, the view's
    // map pixels framed white inside and black outside.
    static ts::Picture Expected(const ts::MapPictureRules& rules) {
        const editor::OverviewLayout layout = editor::OverviewLayoutNow();
        const std::int64_t k = std::int64_t{1} << layout.shift;
        ts::Picture image = ts::Picture::Of(kSize, kSize, [](int, int) { return kGrey; });
        for (int y = 0; y < layout.height; ++y) {
            for (int x = 0; x < layout.width; ++x) {
                image.At(layout.left + x, layout.top + y) =
                    ts::BlockMean(rules, x * k, y * k, k, ts::BlockEdge::kGreyBeyondTheMap);
            }
        }
        const auto at = [k](std::int64_t m, int origin) {
            return origin + static_cast<int>(editor::FloorDiv(m, k));
        };
        const int left = at(editor::MapFromView(0, editor::View.ScrollX), layout.left);
        const int top = at(editor::MapFromView(0, editor::View.ScrollY), layout.top);
        const int right = at(editor::MapFromView(500, editor::View.ScrollX) - 1, layout.left);
        const int bottom = at(editor::MapFromView(500, editor::View.ScrollY) - 1, layout.top);
        const auto ring = [&image](int l, int t, int r, int b, std::uint32_t pixel) {
            for (int y = t; y <= b; ++y) {
                for (int x = l; x <= r; ++x) {
                    if ((x == l || x == r || y == t || y == b) && image.Contains(x, y)) {
                        image.At(x, y) = pixel;
                    }
                }
            }
        };
        ring(left - 1, top - 1, right + 1, bottom + 1, kBlackPixel);
        ring(left, top, right, bottom, kWhitePixel);
        return image;
    }
    static int Differences(const ts::Picture& shown, const ts::Picture& expected) {
        if (shown.width != kSize || shown.height != kSize) {
            ADD_FAILURE() << "the overview shows " << shown.width << " x " << shown.height;
            return -1;
        }
        int count = 0;
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                count += shown.At(x, y) != expected.At(x, y);
            }
        }
        return count;
    }
    // A press in the overview, moves with the button held, and the release at the last point.
    void DragInOverview(const std::vector<ts::Point>& points) {
        ts::CursorTo(editor::kOverviewWindow, points.front());
        ts::Press(editor::kOverviewWindow, points.front());
        Drain();
        for (const ts::Point& p : points) {
            ts::CursorTo(editor::kOverviewWindow, p);
            ts::MouseMove(editor::kOverviewWindow, p);
            Drain();
        }
        ts::Release(editor::kOverviewWindow, points.back());
        Drain();
    }
};

// 40 x 30 fields of 24 x 16: 960 x 480 map pixels, 240 x 120 at 1:4, centred at (5, 65).
constexpr int kFw = 24, kFh = 16, kTiles = 8;
std::uint32_t MapTiles(int x, int y) { return Tiles(x, y, kFw, kFh); }
std::uint32_t WiderTiles(int x, int y) { return Tiles(x + 3 * kFw, y, kFw, kFh) ^ 0x404040; }

TEST_F(OverviewTest, ItsPictureFollowsTheMapEditsTheTileSetTheZMaskAndNeu) {
    OpenGeneratedMap("Weit", kFw, kFh, 39, 29, kTiles * kFw, MapTiles);
    for (int x = 0; x <= 39; ++x) {
        for (int y = 0; y <= 29; ++y) Document.Fields(x, y) = (x * 3 + y * 5) % kTiles;
    }
    OpenOverviewFromTheMenu();
    EXPECT_EQ(editor::Overview.Shift, 2);
    int setWidth = kTiles * kFw;
    std::function<std::uint32_t(int, int)> colour = MapTiles;
    const auto check = [&](const char* step) {
        SCOPED_TRACE(step);
        EXPECT_EQ(Differences(Shown(), Expected(Rules(setWidth, colour))), 0);
    };
    check("open");

    // A pixel of the kept picture far from the edit: made again only if everything is.
    const std::size_t far = 100 * editor::Overview.Width + 200;
    const std::uint32_t farPixel = editor::Overview.Picture[far];
    editor::Overview.Picture[far] = 0x123456;
    gui::GadgetSetState(editor::kBrushBar, 7);
    ClickAt(InView(58 + 3 * kFw + 5, 58 + 2 * kFh + 5));  // field (3, 2)
    ASSERT_EQ(Document.Fields(3, 2), 7);
    EXPECT_EQ(editor::Overview.Picture[far], 0x123456u);
    editor::Overview.Picture[far] = farPixel;
    WheelAt(InView(250, 250), -120);  // a new frame shows the whole picture again
    check("after painting a field and scrolling");
    // Edits show at most every 50 ms: the main loop makes a pass of its own for them.
    ClickAt(InView(static_cast<int>(editor::ViewFirst(5 * kFw + 5, editor::View.ScrollX)),
                   static_cast<int>(editor::ViewFirst(4 * kFh + 5, editor::View.ScrollY))));
    ASSERT_EQ(Document.Fields(5, 4), 7);
    ts::ProcessEventsFor(60);
    Drain();
    if (editor::OverviewWaitMs(runtime::ElapsedMilliseconds()) == 0) {
        editor::EditorPass(editor::NextEvent());
    }
    check("after painting another field");

    // A wider tile set: tile numbers stay, the pictures change.
    ASSERT_TRUE(ts::WritePng("breit.png", ts::Picture::Of(11 * kFw, 2 * kFh, WiderTiles)));
    ChooseFiles({InHere("breit.png")});
    Menu("Datei", "Kachelsatz laden...");
    Drain();
    setWidth = 11 * kFw;
    colour = WiderTiles;
    check("after a new tile set");

    Menu("Bearbeiten", "Rückgängig");
    Drain();
    setWidth = kTiles * kFw;
    colour = MapTiles;
    check("after undoing the tile set");

    ClickAt(ts::GadgetCentre(editor::kZMaskBox));
    ASSERT_EQ(gui::GadgetGetState(editor::kZMaskBox), 1);
    check("with the Z-masks");

    Answer({1});  // Verwerfen
    Menu("Datei", "Neu");
    Drain();
    setWidth = Document.FieldWidth;
    colour = [](int, int) { return 0u; };
    check("after Neu");
}

TEST_F(OverviewTest, AClickOrADragInItCentresTheViewThereHeldToTheMap) {
    OpenGeneratedMap("Weit", kFw, kFh, 39, 29, kTiles * kFw, MapTiles);
    OpenOverviewFromTheMenu();
    struct Case {
        int zoomLevel;
        ts::Point client;
        int scrollX, scrollY;
    };
    // Overview pixel (x, y) is map pixel 4 (x - 5) + 2, 4 (y - 65) + 2; the view's centre is
    // 250 view pixels from its corner, 500 map pixels at 1:2, 125 at 2:1.
    for (const Case& c :
         {Case{0, {105, 115}, 402 - 250, 202 - 250}, Case{-1, {105, 115}, 402 - 500, 202 - 500},
          Case{1, {5, 65}, 2 - 125, 2 - 125},
          Case{0, {0, 0}, 0 - 250, 0 - 250},             // beyond the picture
          Case{0, {249, 249}, 959 - 250, 479 - 250}}) {  // and on the other side
        SCOPED_TRACE(c.zoomLevel);
        editor::View.ZoomLevel = c.zoomLevel;
        ts::CursorTo(editor::kOverviewWindow, c.client);
        ts::Click(editor::kOverviewWindow, c.client);
        Drain();
        EXPECT_EQ(editor::View.ScrollX, c.scrollX);
        EXPECT_EQ(editor::View.ScrollY, c.scrollY);
        EXPECT_EQ(Differences(Shown(), Expected(Rules(kTiles * kFw, MapTiles))), 0);
    }
    editor::View.ZoomLevel = 0;
    DragInOverview({{50, 80}, {80, 90}, {120, 100}});
    EXPECT_EQ(editor::View.ScrollX, 4 * (120 - 5) + 2 - 250);
    EXPECT_EQ(editor::View.ScrollY, 4 * (100 - 65) + 2 - 250);
    for (int x = 0; x <= 39; ++x) {  // the clicks painted nothing
        for (int y = 0; y <= 29; ++y) ASSERT_EQ(Document.Fields(x, y), 0);
    }
    ts::CloseBox(editor::kOverviewWindow);
    EXPECT_NE(Drain(), gui::EVENT_CLOSE);
    EXPECT_EQ(editor::Overview.Open, 0);
}

}  // namespace
}  // namespace editor_testing
