// Editing the grid with the mouse: strokes of the left button, filling with Umschalt + left
// click (both with the random brush too), picking a field's tile with the middle button or
// Alt + left click (which ends the random brush's set); and the brush track bar's range, which
// grows with a tile set of more than 32 tiles.
//
// Every write of a field by these goes through PaintField, which records it in the undo
// history. A stroke, from the press to the release over any number of passes, is one undo
// step; so is a fill.
#pragma once

#include <cstdint>

namespace editor {

// Writes one field of the grid through the history; (x, y) outside the Fields array takes
// nothing.
void PaintField(std::int32_t x, std::int32_t y, std::int32_t tile);

// The mouse buttons over the map view, for the pass's event (513, 512, 514, 519). The event
// must belong to the main window.
void EditWithMouse(std::int32_t event);

// Ends a stroke in progress, so that its undo step closes; a document that replaces the map
// (Neu, Öffnen, a restored copy) ends it first, and the held button paints no more.
void EndStroke();

// Fills the 4-connected area of fields that hold the tile of field (x, y), inside
// 0..LastFieldX by 0..LastFieldY, with `tile`. Nothing when (x, y) lies outside.
void FloodFill(std::int32_t x, std::int32_t y, std::int32_t tile);
// The same with the brush: each field a tile drawn from the random brush's set while it is
// active (RandomBrush.h), else `brush` as FloodFill gives it.
void FloodFillWithBrush(std::int32_t x, std::int32_t y, std::int32_t brush);

// Gives the brush track bar the range 0..31, or 0..tiles - 1 for more than 32 tiles.
void KeepBrushRange();

}  // namespace editor
