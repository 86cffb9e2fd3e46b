// Sprites: numbered images in the display's pixel format, drawn onto the screen's back buffer.
//
// A sprite is made empty (black) or loaded from a BMP file (read here) or any other image
// that a registered decoder takes (PNG). Its clip rectangle selects the part that
// SpriteDisplay copies; the copy is opaque and cut exactly at the screen's edges. Sizes and
// clip values live in 16 bits: sprites are at most 32767 pixels on a side.
//
// Number -1 makes a dynamic sprite whose identifier is returned instead of the handle. Making
// a sprite under a number in use frees the old one first, except for a file that cannot be
// opened, which leaves the old sprite alone.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "screen/ImageRows.h"
#include "screen/PixelView.h"

namespace screen {

// A black width x height sprite. The handle (or identifier for -1), 0 on failure.
std::intptr_t SpriteCreate(std::int32_t number, std::int32_t width, std::int32_t height);

// Loads an image file (a runtime path such as "Karten\\Wald.PNG"). As SpriteCreate; a file
// that cannot be opened gives 0 and leaves the old sprite, any other failure leaves none.
std::intptr_t SpriteLoad(std::int32_t number, std::string_view fileName);

// Loads a file image already in memory; the old sprite of the number is gone whatever happens.
std::intptr_t SpriteLoadMemory(std::int32_t number, std::span<const std::uint8_t> data);

// Sets the clip rectangle: all four -1 select the whole sprite; otherwise the width and
// height are cut at the sprite's right and bottom edges and the rest is stored as given
// (a clip that starts outside the sprite then displays nothing).
void SpriteClip(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height);

// Copies the clip rectangle to the back buffer with its top-left corner at (x, y).
void SpriteDisplay(std::int32_t number, std::int32_t x, std::int32_t y);

// The clip width (the full width until SpriteClip changes it); 0 when there is no sprite.
std::int32_t SpriteWidth(std::int32_t number);

// All the sprite's pixels, whatever its clip, for reading; no pixels for no such sprite.
PixelView SpritePixels(std::int32_t number);

// Frees the sprite.
void SpriteFree(std::int32_t number);

}  // namespace screen
