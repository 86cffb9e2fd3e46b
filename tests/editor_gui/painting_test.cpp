// Painting with the mouse as a user does: strokes of the left button, Umschalt + click fills,
// the middle button and Alt + click pick a field's tile, and the brush track bar's range.
#include "editor/Painting.h"

#include <cmath>
#include <filesystem>
#include <set>
#include <utility>
#include <vector>

#include "EditorFixture.h"
#include "editor/History.h"
#include "editor/ViewScale.h"

namespace editor_testing {
namespace {

using Field = std::pair<int, int>;

class PaintingTest : public EditorTest {
protected:
    // A map of 30 x 20 fields of 24 x 40 pixels (not square), all 0, at the view's top-left.
    void UseGrid(int fw = 24, int fh = 40, int zoomLevel = 0) {
        editor::ResetDocument();
        Document.FieldWidth = fw;
        Document.FieldHeight = fh;
        Document.LastFieldX = 29;
        Document.LastFieldY = 19;
        editor::View.ScrollX = 0;
        editor::View.ScrollY = 0;
        editor::View.ZoomLevel = zoomLevel;
        gui::GadgetSetState(editor::kBrushBar, 7);
    }

    static std::set<Field> Painted() {
        std::set<Field> painted;
        for (int x = 0; x <= Document.LastFieldX; ++x) {
            for (int y = 0; y <= Document.LastFieldY; ++y) {
                if (Document.Fields(x, y) == 7) painted.insert({x, y});
            }
        }
        return painted;
    }

    // A stroke through view points: press at the first, moves to the others, release.
    void Stroke(const std::vector<ts::Point>& points) {
        MoveTo(InView(points[0].x(), points[0].y()));
        ts::Press(0, InView(points[0].x(), points[0].y()));
        Drain();
        for (std::size_t i = 1; i < points.size(); ++i)
            MoveTo(InView(points[i].x(), points[i].y()));
        ts::Release(0, InView(points.back().x(), points.back().y()));
        Drain();
    }
};

// The fields that the segments between the centres of the map pixels under the points cross,
// found by walking each segment in small steps (the corners the walk may miss are avoided by
// the cases).
std::set<Field> FieldsCrossed(const std::vector<ts::Point>& points, int fw, int fh, int k) {
    std::set<Field> crossed;
    const auto map = [k](int v) { return v * k + 0.5; };
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const double x0 = map(points[i].x()), y0 = map(points[i].y());
        const double x1 = map(points[i + 1].x()), y1 = map(points[i + 1].y());
        for (int step = 0; step <= 100000; ++step) {
            const double t = step / 100000.0;
            crossed.insert({static_cast<int>(std::floor((x0 + (x1 - x0) * t) / fw)),
                            static_cast<int>(std::floor((y0 + (y1 - y0) * t) / fh))});
        }
    }
    if (points.size() == 1) crossed.insert({points[0].x() * k / fw, points[0].y() * k / fh});
    return crossed;
}

TEST_F(PaintingTest, AStrokePaintsEveryFieldItCrossesAndNoOther) {
    struct Case {
        const char* what;
        int zoomLevel;
        std::vector<ts::Point> points;
    };
    std::vector<ts::Point> slow;
    for (int x = 10; x <= 130; x += 3) slow.push_back({x, 50 + x / 10});
    const Case cases[] = {
        {"a press alone", 0, {{30, 50}}},
        {"slowly, pixel steps", 0, slow},
        {"fast and slanted, one move", 0, {{5, 7}, {451, 333}}},
        {"fast, turning twice", 0, {{400, 20}, {33, 111}, {301, 470}}},
        {"at 1:4", -2, {{3, 4}, {97, 61}, {20, 80}}},
        {"upwards and left", 0, {{470, 430}, {13, 170}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UseGrid(24, 40, c.zoomLevel);
        Stroke(c.points);
        EXPECT_EQ(Painted(), FieldsCrossed(c.points, 24, 40, 1 << -c.zoomLevel));
    }
}

TEST_F(PaintingTest, AStrokeThroughACornerStepsAlongAnEdge) {
    UseGrid(32, 32);
    // Pixel centres (0.5, 0.5) to (95.5, 95.5) pass exactly through the corners of the fields.
    Stroke({{0, 0}, {95, 95}});
    EXPECT_EQ(Painted(), (std::set<Field>{{0, 0}, {1, 0}, {1, 1}, {2, 1}, {2, 2}}));
}

TEST_F(PaintingTest, AStrokePaintsEachFieldOnceAndOnlyWhileTheButtonIsDownInTheView) {
    UseGrid();
    MoveTo(InView(10, 20));
    ts::Press(0, InView(10, 20));
    Drain();
    MoveTo(InView(100, 20));  // fields 0 to 4 of row 0
    Document.Fields(2, 0) = 0;
    MoveTo(InView(10, 20));  // back over them: field 2 is not painted a second time
    EXPECT_EQ(Document.Fields(2, 0), 0);
    EXPECT_EQ(Document.Fields(4, 0), 7);

    // Out of the view and back elsewhere: nothing is painted on the way outside.
    MoveTo({600, 30});  // over a field beside the view (its sunken edge gets no moves)
    MoveTo(InView(10, 300));
    EXPECT_EQ(Document.Fields(0, 3), 0);  // between the exit and the entry
    EXPECT_EQ(Document.Fields(0, 7), 7);  // the entry itself
    ts::Release(0, InView(10, 300));
    Drain();
    MoveTo(InView(200, 300));  // released: moving paints nothing more
    EXPECT_EQ(Document.Fields(5, 7), 0);

    // A release outside the window never arrives; the next move, without the button, ends it.
    Document.Fields(0, 7) = 0;
    MoveTo(InView(10, 300));
    ts::Press(0, InView(10, 300));
    Drain();
    ts::ReleaseOutside(0);
    Drain();
    MoveTo(InView(200, 300));
    EXPECT_EQ(Document.Fields(5, 7), 0);
}

TEST_F(PaintingTest, AStrokeAndAFillAreOneUndoStepEach) {
    UseGrid();
    const std::int64_t steps = editor::HistoryStepCount();
    Stroke({{10, 20}, {100, 20}, {100, 20 + 3 * 40}, {10, 20 + 3 * 40}});  // passes of its own
    const std::set<Field> stroke = Painted();
    ASSERT_EQ(stroke.size(), 5u + 3u + 4u);  // along row 0, down column 4, back along row 3
    EXPECT_EQ(editor::HistoryStepCount(), steps + 1);
    // Every other field, but for the 4 x 2 the stroke closed in against the map's left edge.
    ClickAt(InView(300, 300), ts::Button::Left, ts::kShift);
    EXPECT_EQ(Painted().size(), 30u * 20u - 8u);
    EXPECT_EQ(editor::HistoryStepCount(), steps + 2);

    Menu("Bearbeiten", "Rückgängig");
    Drain();
    EXPECT_EQ(Painted(), stroke);
    Menu("Bearbeiten", "Rückgängig");
    Drain();
    EXPECT_TRUE(Painted().empty());
    Menu("Bearbeiten", "Wiederholen");
    Drain();
    EXPECT_EQ(Painted(), stroke);
}

// Neu or Öffnen while the button still holds a stroke ends the stroke: its undo step closes,
// and the held button paints nothing into the new map that no history step would hold.
TEST_F(PaintingTest, ANewOrOpenedMapEndsTheStrokeInProgress) {
    std::filesystem::copy(MAPEDITOR_SAMPLES_DIR "/Karten", "Karten");
    for (const bool open : {false, true}) {
        SCOPED_TRACE(open ? "Strg+O" : "Strg+N");
        editor::NewMap();
        Drain();
        gui::GadgetSetState(editor::kBrushBar, 0);  // the press changes nothing: no question
        MoveTo(InView(100, 100));
        ts::Press(0, InView(100, 100));
        Drain();
        if (open) ChooseFiles({InHere("Karten/Wald.MAP")});
        ts::Key(0, open ? 'O' : 'N', ts::kControl);
        Drain();
        const std::vector<std::int32_t> before(&Document.Fields(0, 0),
                                               &Document.Fields(0, 0) + 64 * 1000);
        gui::GadgetSetState(editor::kBrushBar, 5);
        for (int x = 110; x <= 400; x += 30) MoveTo(InView(x, 150));
        ts::Release(0, InView(400, 150));
        Drain();
        EXPECT_EQ(std::vector<std::int32_t>(&Document.Fields(0, 0),
                                            &Document.Fields(0, 0) + 64 * 1000),
                  before);
        EXPECT_FALSE(editor::HistoryChanged());
        EXPECT_EQ(Title().find(" *"), std::string::npos) << Title();
        // The next stroke is a step of its own, as ever.
        ClickAt(InView(200, 200));
        EXPECT_TRUE(editor::HistoryChanged());
        Menu("Bearbeiten", "Rückgängig");
        Drain();
        EXPECT_FALSE(editor::HistoryChanged());
    }
}

TEST_F(PaintingTest, ShiftClickFillsTheFourConnectedAreaOfTheClickedTile) {
    struct Case {
        const char* what;
        std::vector<const char*> grid;  // rows of tiles 0-9, the map's whole extent
        Field click;
        std::vector<const char*> after;  // 7 is the brush
    };
    const Case cases[] = {
        {"a ring keeps its inside",
         {"00000", "01110", "01010", "01110", "00000"},
         {0, 0},
         {"77777", "71117", "71017", "71117", "77777"}},
        {"inside the ring only",
         {"00000", "01110", "01010", "01110", "00000"},
         {2, 2},
         {"00000", "01110", "01710", "01110", "00000"}},
        {"diagonal neighbours are not connected",
         {"0100", "1011", "0100"},
         {0, 0},
         {"7100", "1011", "0100"}},
        {"a corner above a run is no connection",
         {"0111", "1011", "1011", "1111"},
         {1, 1},
         {"0111", "1711", "1711", "1111"}},
        {"from the map's edge", {"2220", "2000", "2222"}, {0, 1}, {"7770", "7000", "7777"}},
        {"the brush's own tile changes nothing", {"770", "707"}, {1, 0}, {"770", "707"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UseGrid(32, 32);
        const int rows = static_cast<int>(c.grid.size());
        const int columns = static_cast<int>(std::string(c.grid[0]).size());
        Document.LastFieldX = columns - 1;
        Document.LastFieldY = rows - 1;
        // Beyond the map's bounds every field holds the clicked tile: a fill must stay out.
        const int target = c.grid[c.click.second][c.click.first] - '0';
        for (int y = 0; y <= rows; ++y) {
            for (int x = 0; x <= columns; ++x) {
                Document.Fields(x, y) = x < columns && y < rows ? c.grid[y][x] - '0' : target;
            }
        }
        ClickAt(InView(c.click.first * 32 + 5, c.click.second * 32 + 5), ts::Button::Left,
                ts::kShift);
        for (int y = 0; y < rows; ++y) {
            std::string row;
            for (int x = 0; x < columns; ++x) row += static_cast<char>('0' + Document.Fields(x, y));
            EXPECT_EQ(row, c.after[y]) << "row " << y;
            EXPECT_EQ(Document.Fields(columns, y), target);
        }
        for (int x = 0; x < columns; ++x) EXPECT_EQ(Document.Fields(x, rows), target);
    }
}

TEST_F(PaintingTest, AFillOfTheWholeLargestGridNeedsNoDeepRecursion) {
    Document.LastFieldX = 999;
    Document.LastFieldY = 999;
    // A comb: every other column is open at alternating ends, one long winding area.
    const auto comb = [](int x, int y) {
        const bool wall = x % 2 == 1 && y != (x % 4 == 1 ? 999 : 0);
        return wall ? 1 : 0;
    };
    for (int x = 0; x < 1000; ++x) {
        for (int y = 0; y < 1000; ++y) Document.Fields(x, y) = comb(x, y);
    }
    const std::int64_t steps = editor::HistoryStepCount();
    editor::FloodFill(0, 0, 7);  // outside a pass of the loop, too, one step
    EXPECT_EQ(editor::HistoryStepCount(), steps + 1);
    long filled = 0;
    for (int x = 0; x < 1000; ++x) {
        for (int y = 0; y < 1000; ++y) filled += Document.Fields(x, y) == 7 ? 1 : 0;
    }
    EXPECT_EQ(filled, 500 * 1000 + 500);
    // Its half a million records span several of the history's chunks; undone, the comb is back.
    editor::HistoryUndo();
    long differ = 0;
    for (int x = 0; x < 1000; ++x) {
        for (int y = 0; y < 1000; ++y) differ += Document.Fields(x, y) != comb(x, y) ? 1 : 0;
    }
    EXPECT_EQ(differ, 0);
}

TEST_F(PaintingTest, PickingSetsTheBrushToTheFieldsTile) {
    struct Case {
        const char* what;
        ts::Point at;
        ts::Button button;
        ts::Modifiers keys;
        int brush;  // afterwards
    };
    const Case cases[] = {
        {"middle button on field (2, 1)",
         InView(58 + 2 * 64 + 5, 58 + 64 + 5),
         ts::Button::Middle,
         {},
         5},
        {"Alt + left click", InView(58 + 2 * 64 + 5, 58 + 64 + 5), ts::Button::Left, ts::kAlt,
         5},
        {"beside the map: the nearest edge field",
         InView(10, 58 + 3 * 64 + 1),
         ts::Button::Middle,
         {},
         9},
        {"on the panel: nothing", {600, 300}, ts::Button::Middle, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        editor::ResetDocument();
        Document.Fields(2, 1) = 5;
        Document.Fields(0, 3) = 9;
        gui::GadgetSetState(editor::kBrushBar, 1);
        ClickAt(c.at, c.button, c.keys);
        EXPECT_EQ(gui::GadgetGetState(editor::kBrushBar), c.brush);
        if (c.brush != 1) {
            EXPECT_EQ(gui::GadgetGetText(editor::kBrushText),
                      "Aktueller Pinsel: " + std::to_string(c.brush));
        }
        EXPECT_EQ(Document.Fields(2, 1), 5);  // picking paints nothing
    }
}

TEST_F(PaintingTest, TheBrushRangeCoversATileSetOfMoreThan32Tiles) {
    struct Case {
        int tiles;
        int maximum;
    };
    for (const Case& c : {Case{40, 39}, Case{33, 32}, Case{32, 31}, Case{8, 31}}) {
        SCOPED_TRACE(c.tiles);
        OpenGeneratedMap("Satz", 16, 16, 9, 9, 16 * c.tiles, [](int x, int) { return x; });
        gui::GadgetSetState(editor::kBrushBar, 1000);  // held at the range's end
        EXPECT_EQ(gui::GadgetGetState(editor::kBrushBar), c.maximum);
    }
    // A pick of a tile beyond 31 reaches the brush.
    OpenGeneratedMap("Satz", 16, 16, 9, 9, 16 * 40, [](int x, int) { return x; });
    Document.Fields(0, 0) = 38;
    ClickAt(InView(58 + 3, 58 + 3), ts::Button::Middle);
    EXPECT_EQ(gui::GadgetGetState(editor::kBrushBar), 38);
}

}  // namespace
}  // namespace editor_testing
