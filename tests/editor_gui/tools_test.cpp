// The tools beside the selection as a user meets them: "Rechteck" dragged in every direction,
// at the map's edges and at several scales, cancelled; the random brush over a stroke, a fill and
// a rectangle with a fixed seed; and the grid against a reference worked out here.
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "EditorFixture.h"
#include "editor/History.h"
#include "editor/RandomBrush.h"
#include "editor/Selection.h"
#include "editor/ViewScale.h"
#include "gui/Menu.h"

namespace editor_testing {
namespace {

using editor::FieldRect;
using editor::Tools;
using editor::View;

constexpr int kFw = 24;  // fields not square, so that x and y cannot be mixed up unseen
constexpr int kFh = 40;

class ToolsTest : public EditorTest {
protected:
    // A map of (lastX + 1) x (lastY + 1) fields of 24 x 40 pixels; field (x, y) holds x + 100 y.
    void UseMap(int lastX, int lastY, int zoomLevel = 0, int scrollX = 0, int scrollY = 0) {
        editor::EndSelection();
        editor::ResetDocument();
        Document.FieldWidth = kFw;
        Document.FieldHeight = kFh;
        Document.LastFieldX = lastX;
        Document.LastFieldY = lastY;
        for (int x = 0; x <= lastX; ++x) {
            for (int y = 0; y <= lastY; ++y) Document.Fields(x, y) = x + 100 * y;
        }
        editor::HistoryClear();
        View.ScrollX = scrollX;
        View.ScrollY = scrollY;
        View.ZoomLevel = zoomLevel;
        gui::GadgetSetState(editor::kBrushBar, 7);
        Drain();
    }
    // The client point over the centre of field (x, y) as the view shows it now.
    static ts::Point FieldPoint(int x, int y) {
        return InView(static_cast<int>(editor::ViewFirst(x * kFw + kFw / 2, View.ScrollX)),
                      static_cast<int>(editor::ViewFirst(y * kFh + kFh / 2, View.ScrollY)));
    }
    void Press(ts::Point at) {
        MoveTo(at);
        ts::Press(0, at);
        Drain();
    }
    void Release(ts::Point at) {
        ts::Release(0, at);
        Drain();
    }
    void Drag(ts::Point from, ts::Point to) {
        Press(from);
        MoveTo((from + to) / 2);
        MoveTo(to);
        Release(to);
    }
    void Keys(int key, ts::Modifiers modifiers = {}) {
        ts::Key(0, key, modifiers);
        Drain();
    }
    static std::vector<int> Grid() {
        std::vector<int> fields;
        for (int x = 0; x <= Document.LastFieldX; ++x) {
            for (int y = 0; y <= Document.LastFieldY; ++y) fields.push_back(Document.Fields(x, y));
        }
        return fields;
    }
    // The grid as UseMap made it with the fields of `rect` holding `tile`.
    static std::vector<int> Expected(const FieldRect& rect, int tile) {
        std::vector<int> fields;
        for (int x = 0; x <= Document.LastFieldX; ++x) {
            for (int y = 0; y <= Document.LastFieldY; ++y) {
                fields.push_back(rect.Holds(x, y) ? tile : x + 100 * y);
            }
        }
        return fields;
    }
    static std::vector<std::uint32_t> ViewPixels() {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < editor::kViewSize; ++y) {
            for (int x = 0; x < editor::kViewSize; ++x) pixels.push_back(Pixel(x, y));
        }
        return pixels;
    }
};

TEST_F(ToolsTest, RechteckFillsTheDraggedFieldsInEveryDirectionAtTheEdgesAndScalesAsOneStep) {
    struct Case {
        const char* what;
        int level, scrollX, scrollY;
        ts::Point from, to;  // client points; fields through FieldPoint at the case's scale
        FieldRect filled;
    };
    const auto at = [this](int level, int scrollX, int scrollY, int x, int y) {
        UseMap(29, 19, level, scrollX, scrollY);
        return FieldPoint(x, y);
    };
    const Case cases[] = {
        {"down and right", 0, 0, 0, at(0, 0, 0, 2, 3), at(0, 0, 0, 5, 4), {2, 3, 5, 4}},
        {"up and left", 0, 0, 0, at(0, 0, 0, 5, 4), at(0, 0, 0, 2, 1), {2, 1, 5, 4}},
        {"down and left", 0, 0, 0, at(0, 0, 0, 6, 1), at(0, 0, 0, 3, 2), {3, 1, 6, 2}},
        {"up and right", 0, 0, 0, at(0, 0, 0, 1, 9), at(0, 0, 0, 4, 7), {1, 7, 4, 9}},
        {"one field", 0, 0, 0, at(0, 0, 0, 3, 3), at(0, 0, 0, 3, 3), {3, 3, 3, 3}},
        {"1:4, beyond the map's far corner",
         -2,
         0,
         0,
         InView(12, 30),
         InView(499, 499),
         {2, 3, 29, 19}},
        {"4:1, at the map's last fields",
         2,
         kFw * 28,
         kFh * 18,
         InView(10, 10),
         InView(120, 200),
         {28, 18, 29, 19}},
        {"from beyond the map's first corner",
         0,
         -100,
         -100,
         InView(5, 5),
         InView(136, 160),
         {0, 0, 1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UseMap(29, 19, c.level, c.scrollX, c.scrollY);
        Keys('3', ts::kControl);
        Press(c.from);
        MoveTo(c.to);
        EXPECT_TRUE(Tools.Spanning);
        EXPECT_EQ(Grid(), Expected({}, 0));  // nothing written while dragging
        Release(c.to);
        EXPECT_EQ(Grid(), Expected(c.filled, 7));
        Keys('Z', ts::kControl);
        EXPECT_EQ(Grid(), Expected({}, 0));
        EXPECT_FALSE(editor::HistoryCanUndo());  // it was one step
    }
}

TEST_F(ToolsTest, RechteckIsTheThirdToolAndEscapeCancelsItsDrag) {
    UseMap(29, 19);
    Menu("Werkzeuge", "Rechteck");
    Drain();
    EXPECT_TRUE(gui::MenuItemChecked(editor::kMainMenu, editor::kItemToolRectangle));
    EXPECT_FALSE(gui::MenuItemChecked(editor::kMainMenu, editor::kItemToolBrush));
    EXPECT_EQ(StatusMessage(editor::kToolField), "Rechteck");
    Press(FieldPoint(1, 1));
    MoveTo(FieldPoint(4, 3));
    Keys(gui::KEYCODE_ESCAPE);
    MoveTo(FieldPoint(5, 5));
    Release(FieldPoint(5, 5));
    EXPECT_FALSE(Tools.Spanning);
    EXPECT_EQ(Grid(), Expected({}, 0));
    EXPECT_FALSE(editor::HistoryCanUndo());
    // A plain click fills its one field; Strg+1 paints again.
    ClickAt(FieldPoint(2, 2));
    EXPECT_EQ(Document.Fields(2, 2), 7);
    Keys('1', ts::kControl);
    EXPECT_EQ(StatusMessage(editor::kToolField), "");
    EXPECT_TRUE(gui::MenuItemChecked(editor::kMainMenu, editor::kItemToolBrush));
}

// The frame of the rectangle to be filled shows, dark and light by turns, at every scale, and
// goes with the release or the Escape.
TEST_F(ToolsTest, TheDragShowsTheFrameOfTheFieldsItWillFill) {
    struct Case {
        int level;
        int left, top, right, bottom;  // view pixels of the frame for fields (1, 1)..(2, 2)
    };
    for (const Case c :
         {Case{0, 24, 40, 71, 119}, Case{-2, 6, 10, 17, 29}, Case{1, 48, 80, 143, 239}}) {
        SCOPED_TRACE(c.level);
        UseMap(29, 19, c.level);
        Keys('3', ts::kControl);
        MoveTo(FieldPoint(1, 1));
        const std::vector<std::uint32_t> before = ViewPixels();
        Press(FieldPoint(2, 2));
        MoveTo(FieldPoint(1, 1));
        // Dashes of four along each side from its first pixel on; the sides drawn last, the left
        // and the right, own the corners.
        const auto dash = [](int along) { return along / 4 % 2 == 0 ? 0u : 0xFFFFFFu; };
        EXPECT_EQ(Pixel(c.left, c.top), 0u);
        EXPECT_EQ(Pixel(c.left + 4, c.top), 0xFFFFFFu);
        EXPECT_EQ(Pixel(c.right - 1, c.bottom), dash(c.right - 1 - c.left));
        EXPECT_EQ(Pixel(c.right, c.bottom - 4), dash(c.bottom - 4 - c.top));
        EXPECT_EQ(Pixel(c.left, c.bottom), dash(c.bottom - c.top));
        Keys(gui::KEYCODE_ESCAPE);
        EXPECT_EQ(ViewPixels(), before);
        Release(FieldPoint(1, 1));
    }
}

// With two or more tiles in the set, each field the brush writes gets a tile drawn from it;
// over a large area each appears about equally often; the same seed draws the same fields, and
// undo brings back exactly what was there.
TEST_F(ToolsTest, TheRandomBrushDrawsEveryFieldFromTheSetOverStrokeFillAndRectangle) {
    struct Case {
        const char* how;
        int fields;  // how many it writes
    };
    const std::vector<int> set = {1, 2, 3, 5};
    for (const Case c :
         {Case{"stroke", 20 + 5 + 19}, Case{"fill", 20 * 20}, Case{"rectangle", 12 * 10}}) {
        SCOPED_TRACE(c.how);
        std::vector<int> drawn[2];
        for (std::vector<int>& fields : drawn) {
            UseMap(29, 19);
            // A wall of tile 9 bounds the fill: 20 x 20 fields of tile 0 left of it.
            for (int x = 0; x <= 29; ++x) {
                for (int y = 0; y <= 19; ++y)
                    Document.Fields(x, y) = x == 20 ? 9 : (x > 20 ? 4 : 0);
            }
            editor::HistoryClear();
            const std::vector<int> before = Grid();
            editor::EndRandomBrush();
            for (const int tile : set) editor::ToggleRandomTile(tile);
            editor::SeedRandomBrush(20261211);
            const std::string how = c.how;
            if (how == "stroke") {
                Keys('1', ts::kControl);
                Press(FieldPoint(0, 3));  // along row 3, down to row 8 and back along it
                MoveTo(FieldPoint(19, 3));
                MoveTo(FieldPoint(19, 8));
                MoveTo(FieldPoint(0, 8));
                Release(FieldPoint(0, 8));
            } else if (how == "fill") {
                Keys('1', ts::kControl);
                ClickAt(FieldPoint(5, 5), ts::Button::Left, ts::kShift);
            } else {
                Keys('3', ts::kControl);
                Drag(FieldPoint(14, 11), FieldPoint(3, 2));
            }
            fields = Grid();
            std::map<int, int> counts;
            int changed = 0;
            for (std::size_t i = 0; i < fields.size(); ++i) {
                if (fields[i] == before[i] &&
                    std::find(set.begin(), set.end(), fields[i]) == set.end()) {
                    continue;
                }
                ++changed;
                ++counts[fields[i]];
            }
            EXPECT_EQ(changed, c.fields);
            ASSERT_EQ(counts.size(), set.size()) << "every tile of the set, and only those";
            for (const int tile : set) {
                // Binomial: a quarter each, give or take four standard deviations.
                const double mean = c.fields / 4.0;
                EXPECT_NEAR(counts[tile], mean, 4 * std::sqrt(mean * 0.75) + 1) << tile;
            }
            Keys('Z', ts::kControl);
            EXPECT_EQ(Grid(), before);
            EXPECT_FALSE(editor::HistoryCanUndo());
        }
        EXPECT_EQ(drawn[0], drawn[1]);  // the seed decides
    }
}

TEST_F(ToolsTest, WithFewerThanTwoTilesOrAfterAPickTheBrushPaintsItsOneTile) {
    UseMap(29, 19);
    editor::ToggleRandomTile(3);
    Keys('1', ts::kControl);
    ClickAt(FieldPoint(1, 1));
    EXPECT_EQ(Document.Fields(1, 1), 7);
    EXPECT_EQ(StatusMessage(3), "");
    editor::ToggleRandomTile(4);
    MoveTo(FieldPoint(5, 5));
    EXPECT_EQ(StatusMessage(3), "Zufall: 2 Kacheln");
    ClickAt(FieldPoint(2, 0), ts::Button::Middle);  // a pick ends the set
    EXPECT_EQ(StatusMessage(3), "");
    EXPECT_EQ(gui::GadgetGetState(editor::kBrushBar), 2);
    ClickAt(FieldPoint(3, 3));
    EXPECT_EQ(Document.Fields(3, 3), 2);
}

// The grid turns over the top bit of each channel of the first view pixel row and column of
// every field, over the map only, where a field is at least 4 screen pixels wide or high; the
// reference here is worked out from the picture without it and the scale's own arithmetic.
TEST_F(ToolsTest, TheGridLiesOnTheFieldBordersAtTheScalesWhereFieldsAreWideEnough) {
    // Tiles black, white and the two greys either side of the middle: a line shows on each.
    const std::uint32_t colours[] = {0x000000, 0xFFFFFF, 0x808080, 0x7F7F7F};
    OpenGeneratedMap("Gitter", kFw, kFh, 399, 299, 4 * kFw,
                     [&](int x, int) { return colours[x / kFw]; });
    for (int x = 0; x <= 399; ++x) {
        for (int y = 0; y <= 299; ++y) Document.Fields(x, y) = (x * 3 + y) % 4;
    }
    Document.Players(1).X = 9000;  // its marker far from what the view shows
    Document.Players(1).Y = 9000;
    struct Case {
        int level, scrollX, scrollY;
        bool columns, rows;  // lines expected along each axis
    };
    const Case cases[] = {
        {2, 100, 50, true, true},     // 4:1
        {0, 13, 7, true, true},       // 1:1
        {-2, -100, -60, true, true},  // 1:4, the map's first edge in the view: no line beyond
        {-3, 800, 800, false, true},  // 1:8: fields 3 pixels wide and 5 high
        {-4, 800, 800, false, false},
    };
    EXPECT_FALSE(gui::MenuItemChecked(editor::kMainMenu, editor::kItemGrid));
    // A direction the track bar cannot show (it counts in fives): the grid's item leaves it.
    Document.Players(1).Direction = 47;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        View.ZoomLevel = c.level;
        View.ScrollX = c.scrollX;
        View.ScrollY = c.scrollY;
        // Hover field and brush preview away from the view, at a point of each case's own,
        // so that the move is one after the last case's.
        const ts::Point beside(700, 300 + c.level);
        MoveTo(beside);
        const std::vector<std::uint32_t> off = ViewPixels();
        Keys('G', ts::kControl);
        ASSERT_TRUE(View.Grid);
        EXPECT_TRUE(gui::MenuItemChecked(editor::kMainMenu, editor::kItemGrid));
        const std::vector<std::uint32_t> on = ViewPixels();
        // The view pixel on which map pixel m begins, and the lines along an axis.
        const auto first = [&](std::int64_t m, std::int64_t scroll) -> std::int64_t {
            if (c.level > 0) return (m - scroll) << c.level;
            const std::int64_t k = std::int64_t{1} << -c.level;
            const auto floorDiv = [](std::int64_t a, std::int64_t b) {
                return a >= 0 ? a / b : -((-a + b - 1) / b);
            };
            return floorDiv(m, k) - floorDiv(scroll, k);
        };
        const auto lines = [&](int size, int count, std::int64_t scroll) {
            std::vector<bool> at(editor::kViewSize, false);
            for (int f = 0; f < count; ++f) {
                const std::int64_t v = first(std::int64_t{f} * size, scroll);
                if (v >= 0 && v < editor::kViewSize) at[static_cast<std::size_t>(v)] = true;
            }
            return at;
        };
        const std::vector<bool> columns = lines(kFw, 400, c.scrollX);
        const std::vector<bool> rows = lines(kFh, 300, c.scrollY);
        const std::int64_t mapLeft = std::max<std::int64_t>(0, first(0, c.scrollX));
        const std::int64_t mapTop = std::max<std::int64_t>(0, first(0, c.scrollY));
        int turned = 0;
        int wrong = 0;
        // The position texts at the top are drawn over the grid: rows 40 on are compared.
        for (int y = 40; y < editor::kViewSize; ++y) {
            for (int x = 0; x < editor::kViewSize; ++x) {
                const bool line = x >= mapLeft && y >= mapTop &&
                                  ((c.columns && columns[static_cast<std::size_t>(x)]) ||
                                   (c.rows && rows[static_cast<std::size_t>(y)]));
                const std::size_t i = static_cast<std::size_t>(y) * editor::kViewSize + x;
                const std::uint32_t expected = line ? off[i] ^ 0x808080u : off[i];
                turned += line ? 1 : 0;
                wrong += on[i] != expected ? 1 : 0;
            }
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(turned > 0, c.columns || c.rows);
        Menu("Ansicht", "Gitter");  // off again: today's picture
        Drain();
        MoveTo(beside);  // back from the menu's item, which may lie over the view
        EXPECT_FALSE(View.Grid);
        EXPECT_FALSE(gui::MenuItemChecked(editor::kMainMenu, editor::kItemGrid));
        EXPECT_EQ(ViewPixels(), off);
    }
    EXPECT_EQ(Document.Players(1).Direction, 47);
}

}  // namespace
}  // namespace editor_testing
