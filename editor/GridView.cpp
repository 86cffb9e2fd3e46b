// The grid over the map view.
#include "editor/GridView.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "editor/EditorState.h"
#include "editor/MapDocument.h"
#include "editor/Selection.h"
#include "editor/ViewScale.h"
#include "screen/Screen.h"

namespace editor {
namespace {

constexpr std::uint32_t kTurnOver = 0x808080;
constexpr std::int64_t kFinestField = 4;  // screen pixels

// Marks the view pixels, along one axis of `size` pixels, on which a field of `lastField + 1`
// fields of `fieldSize` map pixels begins.
std::vector<char> LinePositions(std::int32_t size, std::int32_t scroll, std::int64_t fieldSize,
                                std::int32_t lastField) {
    std::vector<char> lines(static_cast<std::size_t>(size), 0);
    std::int64_t field = std::max<std::int64_t>(0, FloorDiv(MapFromView(0, scroll), fieldSize));
    for (; field <= lastField; ++field) {
        const std::int64_t v = ViewFirst(field * fieldSize, scroll);
        if (v >= size) break;
        if (v >= 0) lines[static_cast<std::size_t>(v)] = 1;
    }
    return lines;
}

bool WideEnough(std::int64_t fieldSize) {
    return fieldSize * Enlargement() >= kFinestField * Reduction();
}

}  // namespace

void DrawGrid() {
    const std::int64_t fw = Document.FieldWidth;
    const std::int64_t fh = Document.FieldHeight;
    const std::int32_t lastX = MapLastX();
    const std::int32_t lastY = MapLastY();
    if (!View.Grid || fw < 1 || fh < 1 || lastX < 0 || lastY < 0) return;
    const bool columns = WideEnough(fw);
    const bool rows = WideEnough(fh);
    if (!columns && !rows) return;
    const screen::PixelView view = screen::ScreenPixels();
    if (view.pixels == nullptr) return;
    // The view pixels that show the map.
    const std::int64_t left = std::max<std::int64_t>(0, ViewFirst(0, View.ScrollX));
    const std::int64_t top = std::max<std::int64_t>(0, ViewFirst(0, View.ScrollY));
    const std::int64_t right = std::min<std::int64_t>(
        view.width - 1, ViewLast((std::int64_t{lastX} + 1) * fw - 1, View.ScrollX));
    const std::int64_t bottom = std::min<std::int64_t>(
        view.height - 1, ViewLast((std::int64_t{lastY} + 1) * fh - 1, View.ScrollY));
    if (left > right || top > bottom) return;
    std::vector<char> lineColumns(static_cast<std::size_t>(view.width), 0);
    std::vector<char> lineRows(static_cast<std::size_t>(view.height), 0);
    if (columns) lineColumns = LinePositions(view.width, View.ScrollX, fw, lastX);
    if (rows) lineRows = LinePositions(view.height, View.ScrollY, fh, lastY);
    std::vector<std::int64_t> columnsOnMap;
    for (std::int64_t x = left; x <= right; ++x) {
        if (lineColumns[static_cast<std::size_t>(x)] != 0) columnsOnMap.push_back(x);
    }
    for (std::int64_t y = top; y <= bottom; ++y) {
        std::uint32_t* row = view.Row(static_cast<std::int32_t>(y));
        if (lineRows[static_cast<std::size_t>(y)] != 0) {
            for (std::int64_t x = left; x <= right; ++x) row[x] ^= kTurnOver;
        } else {
            for (const std::int64_t x : columnsOnMap) row[x] ^= kTurnOver;
        }
    }
}

}  // namespace editor
