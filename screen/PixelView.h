// A window onto 32-bit display pixels (B, G, R, 0 in memory) for code that computes a picture
// itself instead of copying sprites: `pitch` pixels from one row to the next.
#pragma once

#include <cstdint>

namespace screen {

struct PixelView {
    std::uint32_t* pixels = nullptr;  // null: nothing to read or draw on
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t pitch = 0;

    std::uint32_t* Row(std::int32_t y) const {
        return pixels + static_cast<std::ptrdiff_t>(y) * pitch;
    }
};

}  // namespace screen
