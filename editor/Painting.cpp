// Strokes, fills and picks with the mouse, and the brush track bar's range.
#include "editor/Painting.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "editor/EditorState.h"
#include "editor/EditorWindow.h"
#include "editor/History.h"
#include "editor/MainLoop.h"
#include "editor/MapDocument.h"
#include "editor/MapPicture.h"
#include "editor/RandomBrush.h"
#include "gui/Gadget.h"
#include "gui/Window.h"

namespace editor {
namespace {

// Lines whose extent or fields are longer than this are not traced field by field: their
// products would leave 64 bits. No mouse movement comes near it.
constexpr std::int64_t kLongestTrace = std::int64_t{1} << 29;
constexpr std::int32_t kSmallestBrushMaximum = 31;

std::int32_t Brush() { return gui::GadgetGetState(kBrushBar); }

// True the first time a field is painted in the stroke.
bool FirstTimeInStroke(std::int64_t x, std::int64_t y) {
    const auto bit = static_cast<std::size_t>(x * kFieldsSize + y);
    std::uint64_t& word = Painting.Painted[bit / 64];
    const std::uint64_t mask = std::uint64_t{1} << (bit % 64);
    if ((word & mask) != 0) return false;
    word |= mask;
    return true;
}

void StrokePaint(std::int64_t x, std::int64_t y) {
    if (!FieldInArray(x, y) || !FirstTimeInStroke(x, y)) return;
    PaintField(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), BrushTile(Brush()));
}

// The mouse's map pixel held inside the map (its field is then the hover field); false when
// the map has no fields.
bool MouseOnMap(std::int32_t* x, std::int32_t* y) {
    if (Document.LastFieldX < 0 || Document.LastFieldY < 0) return false;
    const std::int64_t width = (std::int64_t{Document.LastFieldX} + 1) * Document.FieldWidth;
    const std::int64_t height = (std::int64_t{Document.LastFieldY} + 1) * Document.FieldHeight;
    *x = static_cast<std::int32_t>(std::clamp<std::int64_t>(View.MouseMapX, 0, width - 1));
    *y = static_cast<std::int32_t>(std::clamp<std::int64_t>(View.MouseMapY, 0, height - 1));
    return true;
}

// Paints every field that the straight line between the centres of map pixels (x0, y0) and
// (x1, y1) passes through, one field step at a time, so that the fields meet edge to edge.
void PaintLine(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
    const std::int64_t fw = Document.FieldWidth;
    const std::int64_t fh = Document.FieldHeight;
    std::int64_t cx = x0 / fw;
    std::int64_t cy = y0 / fh;
    const std::int64_t ex = x1 / fw;
    const std::int64_t ey = y1 / fh;
    StrokePaint(cx, cy);
    // In doubled units the ends are pixel centres (2p + 1) and field edges lie at 2 f i.
    const std::int64_t dx = 2 * (std::int64_t{x1} - x0);
    const std::int64_t dy = 2 * (std::int64_t{y1} - y0);
    const std::int64_t adx = std::abs(dx);
    const std::int64_t ady = std::abs(dy);
    if (adx > kLongestTrace || ady > kLongestTrace || fw > kLongestTrace || fh > kLongestTrace) {
        StrokePaint(ex, ey);
        return;
    }
    // How far the line runs, in each axis, to the next field edge it meets.
    std::int64_t toX = dx > 0 ? (cx + 1) * 2 * fw - (2 * std::int64_t{x0} + 1)
                              : (2 * std::int64_t{x0} + 1) - cx * 2 * fw;
    std::int64_t toY = dy > 0 ? (cy + 1) * 2 * fh - (2 * std::int64_t{y0} + 1)
                              : (2 * std::int64_t{y0} + 1) - cy * 2 * fh;
    while (cx != ex || cy != ey) {
        // The x edge comes first when toX / adx <= toY / ady; through a corner x goes first.
        if (cy == ey || (cx != ex && toX * ady <= toY * adx)) {
            cx += ex > cx ? 1 : -1;
            toX += 2 * fw;
        } else {
            cy += ey > cy ? 1 : -1;
            toY += 2 * fh;
        }
        StrokePaint(cx, cy);
    }
}

// The mouse moved on (or was pressed): paint from its last position to here.
void StrokeTo() {
    std::int32_t x = 0;
    std::int32_t y = 0;
    if (!MouseOnMap(&x, &y)) return;
    if (Painting.HasLast != 0) {
        PaintLine(Painting.LastX, Painting.LastY, x, y);
    } else {
        StrokePaint(x / Document.FieldWidth, y / Document.FieldHeight);
    }
    Painting.LastX = x;
    Painting.LastY = y;
    Painting.HasLast = 1;
}

void StrokeEnd() {
    Painting.Stroking = 0;
    Painting.HasLast = 0;
    HistoryEndGroup();
}

// A stroke is one undo step, however many passes it spans.
void StrokeBegin() {
    if (Painting.Stroking != 0) StrokeEnd();  // its release was lost outside the window
    HistoryBeginGroup();
    Painting.Stroking = 1;
    Painting.HasLast = 0;
    Painting.Painted.assign(static_cast<std::size_t>(kFieldsSize) * kFieldsSize / 64 + 1, 0);
    StrokeTo();  // the press paints the field under it
}

bool HoverFieldOnMap() {
    return Document.LastFieldX >= 0 && Document.LastFieldY >= 0 &&
           FieldInArray(View.HoverFieldX, View.HoverFieldY);
}

// The brush becomes the tile of the field under the mouse, and the random brush's set ends.
void PickTile() {
    if (!HoverFieldOnMap()) return;
    EndRandomBrush();
    gui::GadgetSetState(kBrushBar, Document.Fields(View.HoverFieldX, View.HoverFieldY));
    RefreshControls();
}

// Which of four fields from `row` on hold `target`: all, none or some. A plain loop without
// branches, which compilers turn into one vector compare.
enum class Match { All, None, Some };
Match MatchQuad(const std::int32_t* column, std::int32_t row, std::int32_t target) {
    std::int32_t hits = 0;
    for (std::int32_t i = 0; i < 4; ++i) hits += column[row + i] == target ? 1 : 0;
    if (hits == 4) return Match::All;
    return hits == 0 ? Match::None : Match::Some;
}

// The first row from `row` on, up to `last`, whose field holds `target` (wanted true) or does
// not (wanted false); last + 1 when there is none. Four rows a test while they all fail it:
// fills cross long runs of equal fields.
std::int32_t FindDown(const std::int32_t* column, std::int32_t row, std::int32_t last,
                      std::int32_t target, bool wanted) {
    const Match passing = wanted ? Match::None : Match::All;
    while (row + 3 <= last && MatchQuad(column, row, target) == passing) row += 4;
    while (row <= last && (column[row] == target) != wanted) ++row;
    return row;
}

// The same upwards: the last row from `row` down to 0 whose field holds `target` (wanted true)
// or does not; -1 when there is none.
std::int32_t FindUp(const std::int32_t* column, std::int32_t row, std::int32_t target,
                    bool wanted) {
    const Match passing = wanted ? Match::None : Match::All;
    while (row - 3 >= 0 && MatchQuad(column, row - 3, target) == passing) row -= 4;
    while (row >= 0 && (column[row] == target) != wanted) --row;
    return row;
}

// The 4-connected area of fields that hold the tile of field (x, y), run by run: writeRun(x, top,
// bottom) must leave none of the run's fields holding that tile. Runs go along y, where a
// column of the grid is contiguous; seeds wait on a stack of their own, so the depth does not
// grow with the area.
template <typename WriteRun>
void FillArea(std::int32_t x, std::int32_t y, WriteRun writeRun) {
    const FieldExtent extent = FieldsInArray(Document);
    const std::int32_t lastX = extent.columns - 1;
    const std::int32_t lastY = extent.rows - 1;
    const std::int32_t target = Document.Fields(x, y);
    std::vector<std::pair<std::int32_t, std::int32_t>> seeds{{x, y}};
    while (!seeds.empty()) {
        const auto [sx, sy] = seeds.back();
        seeds.pop_back();
        const std::int32_t* column = &std::as_const(Document.Fields)(sx, 0);
        if (column[sy] != target) continue;
        const std::int32_t top = FindUp(column, sy, target, false) + 1;
        const std::int32_t bottom = FindDown(column, sy, lastY, target, false) - 1;
        writeRun(sx, top, bottom);
        // One seed for each run of the tile beside the written run.
        for (const std::int32_t nx : {sx - 1, sx + 1}) {
            if (nx < 0 || nx > lastX) continue;
            const std::int32_t* next = &std::as_const(Document.Fields)(nx, 0);
            for (std::int32_t row = FindDown(next, top, bottom, target, true); row <= bottom;
                 row = FindDown(next, row, bottom, target, true)) {
                seeds.emplace_back(nx, row);
                row = FindDown(next, row, bottom, target, false);
            }
        }
    }
}

bool InFieldsArray(std::int32_t x, std::int32_t y) {
    const FieldExtent extent = FieldsInArray(Document);
    return x >= 0 && y >= 0 && x < extent.columns && y < extent.rows;
}

// A fill with the random brush: the area is found first, with its fields marked by another
// tile straight in the grid and then given back theirs, and only then written through the
// history, a tile drawn for each field; a drawn tile equal to the area's own tile would
// otherwise be taken for more of the area.
void FloodFillRandom(std::int32_t x, std::int32_t y, std::int32_t brush) {
    if (!InFieldsArray(x, y)) return;
    struct Run {
        std::int32_t x, top, bottom;
    };
    std::vector<Run> runs;
    const std::int32_t target = Document.Fields(x, y);
    const std::int32_t marker = target == 0 ? 1 : 0;
    FillArea(x, y, [&](std::int32_t rx, std::int32_t top, std::int32_t bottom) {
        runs.push_back({rx, top, bottom});
        std::int32_t* column = &Document.Fields(rx, 0);
        std::fill(column + top, column + bottom + 1, marker);
    });
    for (const Run& run : runs) {
        std::int32_t* column = &Document.Fields(run.x, 0);
        std::fill(column + run.top, column + run.bottom + 1, target);
    }
    HistoryBeginGroup();
    std::vector<std::int32_t> tiles;
    for (const Run& run : runs) {
        tiles.resize(static_cast<std::size_t>(run.bottom - run.top + 1));
        for (std::int32_t& tile : tiles) tile = BrushTile(brush);
        SetFieldColumn(run.x, run.top, tiles.data(), static_cast<std::int32_t>(tiles.size()));
    }
    HistoryEndGroup();
}

}  // namespace

void FloodFill(std::int32_t x, std::int32_t y, std::int32_t tile) {
    if (!InFieldsArray(x, y) || Document.Fields(x, y) == tile) return;
    HistoryBeginGroup();  // one undo step, also outside a pass of the main loop
    FillArea(x, y, [tile](std::int32_t rx, std::int32_t top, std::int32_t bottom) {
        SetFieldRun(rx, top, bottom, tile);
    });
    HistoryEndGroup();
}

void FloodFillWithBrush(std::int32_t x, std::int32_t y, std::int32_t brush) {
    if (RandomBrushActive()) {
        FloodFillRandom(x, y, brush);
    } else {
        FloodFill(x, y, brush);
    }
}

void PaintField(std::int32_t x, std::int32_t y, std::int32_t tile) { SetField(x, y, tile); }

void EndStroke() {
    if (Painting.Stroking != 0) StrokeEnd();
}

void EditWithMouse(std::int32_t event) {
    switch (event) {
        case gui::EVENT_LEFT_DOWN: {
            if (MouseInView() == 0) return;
            const std::int32_t keys = gui::WindowEventModifiers();
            if ((keys & gui::KEY_ALT) != 0) {
                PickTile();
            } else if ((keys & gui::KEY_SHIFT) != 0) {
                if (HoverFieldOnMap())
                    FloodFillWithBrush(View.HoverFieldX, View.HoverFieldY, Brush());
            } else {
                StrokeBegin();
            }
            return;
        }
        case gui::EVENT_MIDDLE_DOWN:
            if (MouseInView() == 1) PickTile();
            return;
        case gui::EVENT_MOUSE_MOVE:
            if (Painting.Stroking == 0) return;
            // A release outside the window reaches nobody; the next move tells.
            if ((gui::WindowEventParam1() & gui::MOUSE_LEFT_HELD) == 0) {
                StrokeEnd();
            } else if (MouseInView() == 0) {
                Painting.HasLast = 0;  // back in the view, the stroke goes on from there
            } else {
                StrokeTo();
            }
            return;
        case gui::EVENT_LEFT_UP:
            if (Painting.Stroking != 0) StrokeEnd();
            return;
        default:
            return;
    }
}

void KeepBrushRange() {
    // The tile indices whose picture starts inside the tile set.
    const std::int32_t tiles = TileCountRoundedUp(Document.TileSetWidth, Document.FieldWidth);
    const std::int32_t maximum =
        tiles > kSmallestBrushMaximum + 1 ? tiles - 1 : kSmallestBrushMaximum;
    if (maximum == Painting.BrushMaximum) return;
    Painting.BrushMaximum = maximum;
    const std::int32_t brush = Brush();
    gui::GadgetSetRange(kBrushBar, 0, maximum);
    if (Brush() != brush) RefreshControls();  // the brush was beyond the new end
}

}  // namespace editor
