// Canvases: pictures in further windows beside the screen's own.
//
// A canvas is a block of display pixels of its own, shown at a place of some window's client
// area (as the screen shows its back buffer). While a canvas is selected for drawing,
// ScreenClear, SpriteDisplay, ScreenOutput and ScreenPixels work on it instead of the back
// buffer, so tiles, shapes and text are drawn on it with the usual operations. CanvasShow
// copies it into its window at once, without frame pacing, and gives drawing back to the back
// buffer (as ScreenFlip also does). A canvas needs an open screen for its pixel format; it
// lives until it is closed, its number is reused, or SpriteEnd.
#pragma once

#include <cstdint>

namespace screen {

// A black width x height canvas at (x, y) of the window's client area (`window` as for
// ScreenOpenWindowed). The handle, with number -1 the new identifier; 0 on failure.
std::intptr_t CanvasOpen(std::int32_t number, std::intptr_t window, std::int32_t x, std::int32_t y,
                         std::int32_t width, std::int32_t height);

// Takes the canvas out of its window and frees it.
void CanvasClose(std::int32_t number);

// Selects the canvas for drawing; 1 on success, 0 for no such canvas or no open screen.
std::int32_t CanvasDrawOn(std::int32_t number);

// Shows the canvas's picture in its window now and gives drawing back to the back buffer.
void CanvasShow(std::int32_t number);

}  // namespace screen
