// Clip and display arithmetic of sprites.
#include "screen/SpriteRules.h"

#include <algorithm>
#include <cstring>

namespace screen {

namespace {

std::int16_t Clamp16(std::int64_t value) {
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(value, INT16_MIN, INT16_MAX));
}

// Copies a block of pixel rows. Tile rows are short (a few hundred bytes), so copying them in
// 64-byte pieces inline beats a library call per row.
void CopyRows(std::uint32_t* to, std::ptrdiff_t toPitch, const std::uint32_t* from,
              std::ptrdiff_t fromPitch, std::size_t count, std::int64_t rows) {
    for (std::int64_t row = 0; row < rows; ++row, to += toPitch, from += fromPitch) {
        std::uint32_t* t = to;
        const std::uint32_t* f = from;
        std::size_t left = count;
        for (; left >= 16; left -= 16, t += 16, f += 16) std::memcpy(t, f, 64);
        std::memcpy(t, f, left * 4);
    }
}

}  // namespace

SpriteClipRect ClipRectangle(std::int32_t x, std::int32_t y, std::int32_t width,
                             std::int32_t height, std::int32_t spriteWidth,
                             std::int32_t spriteHeight) {
    std::int64_t w = width, h = height;
    if (std::int64_t{x} + w > spriteWidth) w = spriteWidth - std::int64_t{x};
    if (std::int64_t{y} + h > spriteHeight) h = spriteHeight - std::int64_t{y};
    return {Clamp16(x), Clamp16(y), Clamp16(w), Clamp16(h)};
}

std::optional<SpriteBlit> DisplayBlit(const SpriteClipRect& clip, std::int64_t x, std::int64_t y,
                                      std::int64_t targetWidth, std::int64_t targetHeight,
                                      std::int32_t spriteWidth, std::int32_t spriteHeight) {
    std::int64_t w = clip.width, h = clip.height;
    // Wholly outside: no work at all.
    if (x >= targetWidth || y >= targetHeight || x <= -w || y <= -h) return std::nullopt;
    if (x + w > targetWidth) w = targetWidth - x;
    if (y + h > targetHeight) h = targetHeight - y;
    std::int64_t dx = 0, dy = 0;
    if (x < 0) {
        dx = -x;
        x = 0;
    }
    if (y < 0) {
        dy = -y;
        y = 0;
    }
    const std::int64_t sourceLeft = clip.x + dx, sourceTop = clip.y + dy;
    const std::int64_t sourceRight = clip.x + w, sourceBottom = clip.y + h;
    // A source rectangle outside the sprite (after a bad clip) copies nothing at all.
    if (sourceLeft < 0 || sourceTop < 0 || sourceRight > spriteWidth ||
        sourceBottom > spriteHeight || sourceLeft >= sourceRight || sourceTop >= sourceBottom) {
        return std::nullopt;
    }
    return SpriteBlit{
        x, y, sourceLeft, sourceTop, sourceRight - sourceLeft, sourceBottom - sourceTop};
}

void CopyBlit(const SpriteBlit& blit, const PixelView& sprite, std::uint32_t* target,
              std::ptrdiff_t targetPitch) {
    CopyRows(target + blit.targetY * targetPitch + blit.targetX, targetPitch,
             sprite.Row(static_cast<std::int32_t>(blit.sourceY)) + blit.sourceX, sprite.pitch,
             static_cast<std::size_t>(blit.width), blit.height);
}

void CopyBlit(const SpriteBlit& blit, const PixelBuffer& sprite, std::uint32_t* target,
              std::ptrdiff_t targetPitch) {
    // The view only reads through its pointer.
    const PixelView view{const_cast<std::uint32_t*>(sprite.Data()), sprite.Width(), sprite.Height(),
                         sprite.Pitch()};
    CopyBlit(blit, view, target, targetPitch);
}

}  // namespace screen
