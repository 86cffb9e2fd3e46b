// The selection, floating fields and what they do to the grid.
#include "editor/Selection.h"

#include <algorithm>
#include <utility>

#include "editor/History.h"
#include "editor/MapDocument.h"

namespace editor {

ToolState Tools;
SelectionState Selection;

std::int32_t MapLastX() { return std::min(Document.LastFieldX, kFieldsSize - 1); }
std::int32_t MapLastY() { return std::min(Document.LastFieldY, kFieldsSize - 1); }

FieldRect ClampedRect(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
    FieldRect rect{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
    rect.Left = std::max(rect.Left, 0);
    rect.Top = std::max(rect.Top, 0);
    rect.Right = std::min(rect.Right, MapLastX());
    rect.Bottom = std::min(rect.Bottom, MapLastY());
    return rect;
}

void Select(const FieldRect& rect) {
    Selection.Selected = ClampedRect(rect.Left, rect.Top, rect.Right, rect.Bottom);
    if (rect.Empty()) Selection.Selected = FieldRect{};
}

void SelectAll() {
    DropFloating();
    Select(FieldRect{0, 0, MapLastX(), MapLastY()});
}

void EndSelection() {
    DropFloating();
    Selection.Selecting = false;
    Selection.Selected = FieldRect{};
}

FieldBlock CopyFields(const FieldRect& rect) {
    FieldBlock block;
    if (rect.Empty()) return block;
    block.Width = rect.Right - rect.Left + 1;
    block.Height = rect.Bottom - rect.Top + 1;
    const auto height = static_cast<std::size_t>(block.Height);
    block.Tiles.reserve(static_cast<std::size_t>(block.Width) * height);
    for (std::int32_t x = 0; x < block.Width; ++x) {
        // A column of the grid lies in one piece.
        const std::int32_t* column = &std::as_const(Document.Fields)(rect.Left + x, rect.Top);
        block.Tiles.insert(block.Tiles.end(), column, column + height);
    }
    return block;
}

namespace {

// The part of a block with its corner on (x, y) that lies on the map, in map fields.
FieldRect OnMap(const FieldBlock& block, std::int64_t x, std::int64_t y) {
    if (block.Empty()) return FieldRect{};
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = std::min<std::int64_t>(x + block.Width - 1, MapLastX());
    const std::int64_t bottom = std::min<std::int64_t>(y + block.Height - 1, MapLastY());
    if (right < left || bottom < top) return FieldRect{};
    return FieldRect{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                     static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)};
}

}  // namespace

void WriteFields(const FieldBlock& block, std::int32_t x, std::int32_t y) {
    const FieldRect on = OnMap(block, x, y);
    if (on.Empty()) return;
    HistoryBeginGroup();
    for (std::int32_t mx = on.Left; mx <= on.Right; ++mx) {
        SetFieldColumn(
            mx, on.Top,
            &block.Tiles[static_cast<std::size_t>(mx - x) * static_cast<std::size_t>(block.Height) +
                         static_cast<std::size_t>(on.Top - y)],
            on.Bottom - on.Top + 1);
    }
    HistoryEndGroup();
}

void FillFields(const FieldRect& rect, std::int32_t tile) {
    if (rect.Empty()) return;
    HistoryBeginGroup();
    for (std::int32_t x = rect.Left; x <= rect.Right; ++x)
        SetFieldRun(x, rect.Top, rect.Bottom, tile);
    HistoryEndGroup();
}

void FloatPaste(FieldBlock block, std::int32_t x, std::int32_t y) {
    DropFloating();
    if (block.Empty()) return;
    Selection.Selecting = false;
    Selection.Floats = Floating::Paste;
    Selection.Block = std::move(block);
    Selection.FloatX = x;
    Selection.FloatY = y;
}

void PlaceFloating() {
    if (Selection.Floats != Floating::Paste) return;
    WriteFields(Selection.Block, Selection.FloatX, Selection.FloatY);
    Selection.Selected = FloatingRect();
}

void Lift() {
    if (Selection.Floats != Floating::None || Selection.Selected.Empty()) return;
    Selection.Floats = Floating::Move;
    Selection.Block = CopyFields(Selection.Selected);
    Selection.Lifted = Selection.Selected;
    Selection.FloatX = Selection.Selected.Left;
    Selection.FloatY = Selection.Selected.Top;
    Selection.Dragging = false;
}

void MoveFloatingTo(std::int32_t x, std::int32_t y) {
    if (Selection.Floats == Floating::None) return;
    Selection.FloatX = x;
    Selection.FloatY = y;
}

void PutDown(std::int32_t brush) {
    if (Selection.Floats != Floating::Move) return;
    // One step: the brush where the fields were, then the fields where they are now; each
    // field is written once, with what it ends with.
    const FieldRect from = Selection.Lifted;
    const FieldRect to = OnMap(Selection.Block, Selection.FloatX, Selection.FloatY);
    HistoryBeginGroup();
    for (std::int32_t x = from.Left; x <= from.Right; ++x) {
        if (x < to.Left || x > to.Right || to.Empty()) {
            SetFieldRun(x, from.Top, from.Bottom, brush);
            continue;
        }
        // Above and below the rows the fields go to.
        SetFieldRun(x, from.Top, std::min(from.Bottom, to.Top - 1), brush);
        SetFieldRun(x, std::max(from.Top, to.Bottom + 1), from.Bottom, brush);
    }
    WriteFields(Selection.Block, Selection.FloatX, Selection.FloatY);
    HistoryEndGroup();
    Selection.Floats = Floating::None;
    Selection.Dragging = false;
    Selection.Block = FieldBlock{};
    Selection.Selected = to;
}

void PutBack() {
    if (Selection.Floats != Floating::Move) return;
    Selection.Floats = Floating::None;
    Selection.Dragging = false;
    Selection.Block = FieldBlock{};
    Selection.Selected = Selection.Lifted;
}

void DropFloating() {
    if (Selection.Floats == Floating::Move) {
        PutBack();
        return;
    }
    Selection.Floats = Floating::None;
    Selection.Dragging = false;
    Selection.Block = FieldBlock{};
}

FieldRect FloatingRect() {
    if (Selection.Floats == Floating::None) return FieldRect{};
    return OnMap(Selection.Block, Selection.FloatX, Selection.FloatY);
}

bool FloatingTileAt(std::int32_t x, std::int32_t y, std::int32_t brush, std::int32_t* tile) {
    if (Selection.Floats == Floating::None) return false;
    const std::int64_t bx = std::int64_t{x} - Selection.FloatX;
    const std::int64_t by = std::int64_t{y} - Selection.FloatY;
    if (bx >= 0 && by >= 0 && bx < Selection.Block.Width && by < Selection.Block.Height) {
        *tile = Selection.Block.At(static_cast<std::int32_t>(bx), static_cast<std::int32_t>(by));
        return true;
    }
    if (Selection.Floats == Floating::Move && Selection.Lifted.Holds(x, y)) {
        *tile = brush;
        return true;
    }
    return false;
}

FieldBlock Mirrored(const FieldBlock& block, bool horizontal) {
    FieldBlock mirrored = block;
    for (std::int32_t x = 0; x < block.Width; ++x) {
        for (std::int32_t y = 0; y < block.Height; ++y) {
            const std::int32_t from =
                horizontal ? block.At(block.Width - 1 - x, y) : block.At(x, block.Height - 1 - y);
            mirrored.Tiles[static_cast<std::size_t>(x) * static_cast<std::size_t>(block.Height) +
                           static_cast<std::size_t>(y)] = from;
        }
    }
    return mirrored;
}

void MirrorFields(bool horizontal) {
    if (Selection.Floats != Floating::None) {
        Selection.Block = Mirrored(Selection.Block, horizontal);
        return;
    }
    if (Selection.Selected.Empty()) return;
    WriteFields(Mirrored(CopyFields(Selection.Selected), horizontal), Selection.Selected.Left,
                Selection.Selected.Top);
}

void ResetSelection() {
    Selection = SelectionState{};
    Tools = ToolState{};
}

}  // namespace editor
