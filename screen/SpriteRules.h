// The arithmetic of sprite clipping and display, as pure functions: the clip rectangle that
// SpriteClip stores, and the piece of it that SpriteDisplay copies onto a target of a given
// size. Sprites use them on the back buffer; the map tool uses them to draw fields into bands
// of a picture, so both cut tiles by the same rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "screen/PixelBuffer.h"
#include "screen/PixelView.h"

namespace screen {

// A clip rectangle as a sprite record keeps it (16-bit values).
struct SpriteClipRect {
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
};

// SpriteClip's rule for (x, y, w, h) on a sprite of the given size: width and height cut at
// the sprite's right and bottom edges, everything else stored as given (held at the nearest
// 16-bit value, so a clip far outside stays outside instead of wrapping back in).
SpriteClipRect ClipRectangle(std::int32_t x, std::int32_t y, std::int32_t width,
                             std::int32_t height, std::int32_t spriteWidth,
                             std::int32_t spriteHeight);

// A copy of columns sourceX .. sourceX + width - 1, rows sourceY .. sourceY + height - 1 of a
// sprite to (targetX, targetY) of the target.
struct SpriteBlit {
    std::int64_t targetX = 0;
    std::int64_t targetY = 0;
    std::int64_t sourceX = 0;
    std::int64_t sourceY = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// SpriteDisplay's rule for the clip at (x, y) on a target of the given size: cut exactly at
// the target's edges; nothing when the clip lies wholly outside the target or its source
// rectangle is not inside the sprite (after a bad clip).
std::optional<SpriteBlit> DisplayBlit(const SpriteClipRect& clip, std::int64_t x, std::int64_t y,
                                      std::int64_t targetWidth, std::int64_t targetHeight,
                                      std::int32_t spriteWidth, std::int32_t spriteHeight);

// Makes the copy onto target pixels (pitch in pixels between rows).
void CopyBlit(const SpriteBlit& blit, const PixelBuffer& sprite, std::uint32_t* target,
              std::ptrdiff_t targetPitch);
void CopyBlit(const SpriteBlit& blit, const PixelView& sprite, std::uint32_t* target,
              std::ptrdiff_t targetPitch);

}  // namespace screen
