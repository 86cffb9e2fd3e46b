// What the sprite library needs of the screen, and the screen of the sprite library.
#pragma once

#include <cstdint>

#include "screen/PixelBuffer.h"

namespace screen::internal {

// The buffer ScreenClear and SpriteDisplay draw on: the back buffer of an open, active screen
// whose drawing context is not out; otherwise null.
PixelBuffer* BlitTarget();

// Depth and pixel format code of the display when the last screen was opened (0 before).
std::int32_t ScreenDepth();
std::int32_t ScreenPixelFormat();

// Counter ticks between two flips.
std::int32_t ScreenTicksPerFrame();

// The sprite table (Sprite.cpp): made by SpriteInit, emptied whenever a screen opens or closes.
void SpriteTableCreate();
void SpriteFreeAll();

}  // namespace screen::internal
