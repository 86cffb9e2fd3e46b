// The map's picture computed the slow, obvious way, for the tests of every place that draws it
// (the view at every scale, maptool render): the 1:1 picture pixel by pixel, and the box filter
// as the plain mean of a block.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>

namespace testing_support {

inline constexpr std::uint32_t kMapGrey = 0x646464;

// A map and its tile set as plain numbers.
struct MapPictureRules {
    std::int64_t fieldWidth = 0, fieldHeight = 0;
    std::int64_t columns = 0, rows = 0;  // the map's fields
    bool zmask = false;
    std::function<std::int64_t(std::int64_t x, std::int64_t y)> field;  // its value
    std::int64_t setWidth = 0, setHeight = 0;
    std::function<std::uint32_t(std::int64_t x, std::int64_t y)> setPixel;  // 0x00RRGGBB

    std::int64_t Width() const { return columns * fieldWidth; }
    std::int64_t Height() const { return rows * fieldHeight; }

    // The 1:1 picture's pixel at map pixel (x, y): the field's tile (or Z-mask) pixel where the
    // tile set has one, grey elsewhere and off the map. The tile's column is its value times the
    // field width as a 32-bit product.
    std::uint32_t At(std::int64_t x, std::int64_t y) const {
        if (x < 0 || y < 0 || x >= Width() || y >= Height()) return kMapGrey;
        const std::int64_t left = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(field(x / fieldWidth, y / fieldHeight) * fieldWidth));
        const std::int64_t sx = left + x % fieldWidth;
        const std::int64_t sy = (zmask ? fieldHeight : 0) + y % fieldHeight;
        if (left < 0 || sx >= setWidth || sy >= setHeight) return kMapGrey;
        return setPixel(sx, sy) & 0xFFFFFF;
    }
};

// Where a box filter's blocks end: the view's picture is the map on grey without end, so every
// block counts k x k pixels; maptool's picture is the map alone, so a block counts only its
// pixels inside the map.
enum class BlockEdge { kGreyBeyondTheMap, kCutAtTheMap };

// The box filter's pixel of the block of k x k map pixels from (left, top): each channel the
// mean of the block's pixels (see BlockEdge), rounded half up.
inline std::uint32_t BlockMean(const MapPictureRules& map, std::int64_t left, std::int64_t top,
                               std::int64_t k, BlockEdge edge) {
    std::int64_t right = left + k, bottom = top + k;
    if (edge == BlockEdge::kCutAtTheMap) {
        right = std::min(right, map.Width());
        bottom = std::min(bottom, map.Height());
    }
    std::uint64_t sum[3] = {0, 0, 0}, count = 0;
    for (std::int64_t y = top; y < bottom; ++y) {
        for (std::int64_t x = left; x < right; ++x) {
            const std::uint32_t p = map.At(x, y);
            for (int c = 0; c < 3; ++c) sum[c] += (p >> (8 * c)) & 0xFF;
            ++count;
        }
    }
    std::uint32_t pixel = 0;
    for (int c = 0; c < 3; ++c) {
        pixel |= static_cast<std::uint32_t>((sum[c] + count / 2) / count) << (8 * c);
    }
    return pixel;
}

}  // namespace testing_support
