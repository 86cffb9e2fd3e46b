// What the sprite library needs of the screen, and the screen of the sprite library.
#pragma once

#include <cstdint>

#include "screen/PixelBuffer.h"

namespace screen::internal {

// The buffer ScreenClear and SpriteDisplay draw on: the back buffer of an open, active screen
// whose drawing context is not out; otherwise null.
PixelBuffer* BlitTarget();

// Makes a canvas's pixels what ScreenClear, SpriteDisplay and ScreenOutput draw on, or the
// back buffer again for null. A drawing context still out is taken back when this changes.
void DrawOnCanvas(PixelBuffer* canvas);
// The canvas drawn on now; null for the back buffer.
const PixelBuffer* CurrentCanvas();

// True while a screen is open and can be drawn on.
bool ScreenActive();

// Closes every canvas (Canvas.cpp); part of SpriteEnd.
void CanvasFreeAll();

// Depth and pixel format code of the display when the last screen was opened (0 before).
std::int32_t ScreenDepth();
std::int32_t ScreenPixelFormat();

// Counter ticks between two flips.
std::int32_t ScreenTicksPerFrame();

// The sprite table (Sprite.cpp): made by SpriteInit, emptied whenever a screen opens or closes.
void SpriteTableCreate();
void SpriteFreeAll();

}  // namespace screen::internal
