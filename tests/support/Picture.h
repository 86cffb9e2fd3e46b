// A picture as 0x00RRGGBB pixels, row by row: what a window shows, what a file holds, what a
// test expects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace testing_support {

struct Picture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;

    // A width x height picture whose pixel (x, y) is colour(x, y).
    static Picture Of(std::int32_t width, std::int32_t height,
                      const std::function<std::uint32_t(int x, int y)>& colour) {
        Picture picture{width, height, {}};
        picture.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        for (std::int32_t y = 0; y < height; ++y) {
            for (std::int32_t x = 0; x < width; ++x) picture.pixels.push_back(colour(x, y));
        }
        return picture;
    }
    bool Contains(std::int32_t x, std::int32_t y) const {
        return x >= 0 && y >= 0 && x < width && y < height;
    }
    std::uint32_t At(std::int32_t x, std::int32_t y) const { return pixels[Index(x, y)]; }
    std::uint32_t& At(std::int32_t x, std::int32_t y) { return pixels[Index(x, y)]; }
    bool operator==(const Picture&) const = default;

private:
    std::size_t Index(std::int32_t x, std::int32_t y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x);
    }
};

}  // namespace testing_support
