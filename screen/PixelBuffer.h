// A block of 32-bit display pixels (B, G, R, 0 in memory), zero-filled, so black until drawn.
// Sprites and the back buffer keep their pixels in one each.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace screen {

// Sprites and screens are at most this many pixels on a side (their sizes live in 16 bits).
inline constexpr std::int32_t kMaxSide = 32767;

class PixelBuffer {
public:
    // Makes width x height black pixels, replacing what was held. False, and empty, for sizes
    // outside 1..kMaxSide or when memory is short.
    bool Allocate(std::int32_t width, std::int32_t height) {
        Reset();
        if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return false;
        // calloc: large blocks come zeroed from the OS without a separate pass.
        void* block = std::calloc(static_cast<std::size_t>(width) * height, sizeof(std::uint32_t));
        if (block == nullptr) return false;
        pixels_.reset(static_cast<std::uint32_t*>(block));
        width_ = width;
        height_ = height;
        return true;
    }

    void Reset() {
        pixels_.reset();
        width_ = height_ = 0;
    }

    bool Empty() const { return pixels_ == nullptr; }
    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    // Pixels from one row to the next.
    std::int32_t Pitch() const { return width_; }

    std::uint32_t* Data() { return pixels_.get(); }
    const std::uint32_t* Data() const { return pixels_.get(); }
    std::uint32_t* Row(std::int32_t y) {
        return pixels_.get() + static_cast<std::size_t>(y) * width_;
    }
    const std::uint32_t* Row(std::int32_t y) const {
        return pixels_.get() + static_cast<std::size_t>(y) * width_;
    }

private:
    struct Free {
        void operator()(std::uint32_t* block) const { std::free(block); }
    };
    std::unique_ptr<std::uint32_t, Free> pixels_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

}  // namespace screen
