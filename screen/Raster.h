// Shapes rasterised pixel-exactly onto 32-bit pixels: rectangles, circles, lines and single
// pixels, each either painted in a colour or inverted. Coordinates may lie anywhere; only the
// pixels inside the array are touched, and work is bounded by the array's size.
#pragma once

#include <cstdint>
#include <optional>

namespace screen {

struct RasterTarget {
    std::uint32_t* pixels = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t pitch = 0;  // pixels
};

// How shapes treat the pixels they cover: pen and brush pixels are either painted or all
// covered pixels have their colour bits inverted (each pixel once).
struct RasterPaint {
    bool invert = false;
    std::uint32_t pen = 0;               // outline pixel
    std::optional<std::uint32_t> brush;  // inside pixel; none: the inside is left alone
};

// One pixel set to `pixel`, whatever the paint says.
void RasterSetPixel(const RasterTarget& target, std::int64_t x, std::int64_t y,
                    std::uint32_t pixel);

// The rectangle of columns left .. right - 1 and rows top .. bottom - 1 (corners in either
// order): its border in the pen, the rest in the brush.
void RasterRectangle(const RasterTarget& target, std::int64_t left, std::int64_t top,
                     std::int64_t right, std::int64_t bottom, const RasterPaint& paint);

// The circle inscribed in the box of columns x - r .. x + r - 1 and rows y - r .. y + r - 1
// (|r| for a negative r). A pixel is inside when its centre lies within radius r of the box's
// centre (the corner (x, y)); inside pixels with a neighbour outside (left, right, above or
// below) form the outline in the pen, the others take the brush. Symmetric in both axes.
void RasterCircle(const RasterTarget& target, std::int64_t x, std::int64_t y, std::int64_t r,
                  const RasterPaint& paint);

// The line from (x1, y1) towards (x2, y2), stopping short of (x2, y2): one pixel per step
// along the longer axis, the other coordinate rounded to the nearest pixel (halves up).
void RasterLine(const RasterTarget& target, std::int64_t x1, std::int64_t y1, std::int64_t x2,
                std::int64_t y2, const RasterPaint& paint);

}  // namespace screen
