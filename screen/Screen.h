// The windowed screen: one double-buffered drawing surface inside a window's client area.
//
// Every frame is drawn into the back buffer (sprites, shapes, text) and ScreenFlip shows it
// in the window, paced to the frame rate. The window keeps showing the last flipped picture
// by itself when it is uncovered or resized. Opening or closing a screen frees every sprite.
// Without SpriteInit, or with no screen open, every operation fails quietly with its zero
// result.
#pragma once

#include <cstdint>

#include "screen/DrawingTarget.h"
#include "screen/PixelView.h"

namespace screen {

// Start-up of the screen and sprite library (sprite table, keyboard device, display).
// Non-zero on success.
std::int32_t SpriteInit();

// Opens the screen in a window. `window` is a window handle: the address of the window's
// client-area widget. The width x height picture lies at (x, y) of the client area, 1:1, or
// when `stretch` is non-zero stretched over the client area less (x, y) and the two margins.
// 1 when open, 0 on failure (then no screen is open and every sprite is gone).
std::int32_t ScreenOpenWindowed(std::intptr_t window, std::int32_t x, std::int32_t y,
                                std::int32_t width, std::int32_t height, std::int32_t stretch,
                                std::int32_t rightMargin, std::int32_t bottomMargin);

// Fills the back buffer with one colour (0x00BBGGRR).
void ScreenClear(std::int32_t colour);

// Waits for the frame period, then shows the back buffer in the window.
void ScreenFlip();

// The back buffer for DrawingStart, or null when no screen is open or its context is still out.
DrawingTarget* ScreenOutput();

// The pixels that ScreenClear and SpriteDisplay draw on now (the back buffer, or the canvas
// being drawn on), for pictures computed by other means; no pixels when they would draw
// nothing (no screen, or a drawing context out).
PixelView ScreenPixels();

// Frames per second for pacing: the period is counter frequency / (rate + 1). 1 on success,
// 0 (nothing changed) when the period cannot be computed.
std::int32_t ScreenSetFrameRate(std::int32_t rate);

// The frame rate in use; 0 until one is chosen (an open chooses 60 when none is).
std::int32_t ScreenFrameRate();

// Closes an open screen (frees every sprite).
void ScreenClose();

// Shut-down steps: ScreenEnd has nothing left to do; SpriteEnd closes the screen, frees every
// sprite and lets go of the display.
void ScreenEnd();
void SpriteEnd();

// The native pixel of a colour on the display of the last opened screen.
std::uint32_t ColorToPixel(std::int32_t r, std::int32_t g, std::int32_t b);

// Back buffer pixel as 0x00RRGGBB; 0 outside it or with no screen. For tests of what was drawn.
std::uint32_t ScreenBackBufferPixel(std::int32_t x, std::int32_t y);

}  // namespace screen
