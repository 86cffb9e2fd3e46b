// Composing maps: the tools, a selected rectangle of fields, and fields that float above the
// map (pasted, or lifted to be moved) until they are put down.
//
// Nothing here writes the grid while fields float: the map keeps what it held, and the view
// draws the floating fields (and, for a move, the brush where they were lifted) above it.
// Putting them down is one undo step. An undo while fields float takes them back (a move goes
// back, a paste is dropped) and nothing else; a redo, Neu, Öffnen and every other change of
// document end what floats first, so no half-done move is ever in the history or in a file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace editor {

enum class Tool : std::int32_t { Brush = 0, Select = 1, Rectangle = 2 };

// A rectangle of fields, column by column as the grid holds them.
struct FieldBlock {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::vector<std::int32_t> Tiles;  // (x, y) at x * Height + y
    std::int32_t At(std::int32_t x, std::int32_t y) const {
        return Tiles[static_cast<std::size_t>(x) * static_cast<std::size_t>(Height) +
                     static_cast<std::size_t>(y)];
    }
    bool Empty() const { return Width <= 0 || Height <= 0; }
};

// Fields left..right by top..bottom, inclusive.
struct FieldRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = -1;
    std::int32_t Bottom = -1;
    bool Empty() const { return Right < Left || Bottom < Top; }
    bool Holds(std::int32_t x, std::int32_t y) const {
        return x >= Left && x <= Right && y >= Top && y <= Bottom;
    }
};

enum class Floating : std::int32_t { None = 0, Paste = 1, Move = 2 };

struct ToolState {
    Tool Current = Tool::Brush;
    // "Rechteck": a left drag under way, from the field it began in to the field under the
    // mouse; the release fills what it spans.
    bool Spanning = false;
    std::int32_t AnchorX = 0;
    std::int32_t AnchorY = 0;
    FieldRect Spanned;
};

struct SelectionState {
    FieldRect Selected;           // empty: nothing selected
    bool Selecting = false;       // a left drag is choosing the rectangle
    bool LeftPressField = false;  // the drag has left the field it began in
    std::int32_t AnchorX = 0;     // the field the drag began in
    std::int32_t AnchorY = 0;
    Floating Floats = Floating::None;
    FieldBlock Block;         // the floating fields
    std::int32_t FloatX = 0;  // the field under the block's top-left corner
    std::int32_t FloatY = 0;
    FieldRect Lifted;        // a move: where the fields were lifted from
    bool Dragging = false;   // a move: the left button drags the block
    std::int32_t GrabX = 0;  // a move by drag: the mouse's field inside the block
    std::int32_t GrabY = 0;
    bool ClipboardHasFields = false;  // Einfügen can act
    std::int64_t ClipboardSeen = -1;  // the clipboard's change count when last looked at
    // What the window shows of it: the marked tool (-1 none yet), the items that can act
    // (-1 not shown yet), whether Strg+X, C, V, A and Entf, and the arrows, are the map's keys.
    std::int32_t ShownTool = -1;
    std::int32_t ShownCanCopy = -1;
    std::int32_t ShownCanMirror = -1;
    std::int32_t ShownCanPaste = -1;
    bool ViewClicked = false;  // the map view was clicked after a text field last had the keys
    bool EditKeys = false;
    bool ArrowKeys = false;
};

extern ToolState Tools;
extern SelectionState Selection;

// The last field of the map along each axis inside the grid's array (-1: no fields).
std::int32_t MapLastX();
std::int32_t MapLastY();

// The rectangle from field (x0, y0) to (x1, y1) in any order, clamped to the map.
FieldRect ClampedRect(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1);

// Selecting.
void Select(const FieldRect& rect);
void SelectAll();
void EndSelection();  // ends the selection and whatever floats (a move goes back)

// The fields of a rectangle of the map.
FieldBlock CopyFields(const FieldRect& rect);
// Writes a block with its top-left corner on field (x, y) through the history; what would lie
// outside the map is cut off.
void WriteFields(const FieldBlock& block, std::int32_t x, std::int32_t y);
// Gives every field of the rectangle the tile.
void FillFields(const FieldRect& rect, std::int32_t tile);

// Floating fields. Paste: the block floats with its top-left corner at (x, y) and each
// PlaceFloating writes a copy. Lift: the selected fields float where they are; MoveFloating
// moves them, PutDown writes them (and the brush where they were) as one step, PutBack lets
// them sink back unchanged.
void FloatPaste(FieldBlock block, std::int32_t x, std::int32_t y);
void PlaceFloating();
void Lift();
void MoveFloatingTo(std::int32_t x, std::int32_t y);
void PutDown(std::int32_t brush);
void PutBack();
void DropFloating();  // a paste: gone; a move: back
// The rectangle the floating fields cover on the map (cut to it), empty without any.
FieldRect FloatingRect();
// The tile the view shows at field (x, y) while fields float: the floating one, or the brush
// where a move uncovered the map; false where the map shows its own.
bool FloatingTileAt(std::int32_t x, std::int32_t y, std::int32_t brush, std::int32_t* tile);

// Mirrors the floating fields, or else the selected ones in the map, left to right
// (horizontal) or top to bottom (vertical).
void MirrorFields(bool horizontal);
FieldBlock Mirrored(const FieldBlock& block, bool horizontal);

// The selection and everything floating go; for a new document and for tests.
void ResetSelection();

}  // namespace editor
