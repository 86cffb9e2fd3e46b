// What the map view draws of the selection: the floating fields as they will lie (and the brush
// where a move lifted them), and a frame around the selected or floating rectangle, and around
// the rectangle a "Rechteck" drag spans, that shows on any tile picture.
#pragma once

#include <cstdint>

#include "screen/PixelView.h"

namespace editor {

// Over the fields, under the players.
void DrawFloatingFields();
// Over everything but the view's texts.
void DrawSelectionFrame();

// A one-pixel frame of dashes of four pixels, dark and light by turns, on the pixels from
// (left, top) to (right, bottom) inclusive; what lies outside the picture is left out, and only
// the part near it is walked, so the rectangle may be huge.
void DrawDashedFrame(const screen::PixelView& view, std::int64_t left, std::int64_t top,
                     std::int64_t right, std::int64_t bottom);

}  // namespace editor
