// Shape rasterisation. Arithmetic is done in 64 bits (128 for squares and products), so any
// 32-bit coordinates are safe; every loop runs over rows or columns of the target only.
#include "screen/Raster.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace screen {

namespace {

__extension__ using Wide = __int128;

constexpr std::uint32_t kColourBits = 0x00FFFFFF;

// Paints columns from .. to (inclusive) of row y with an optional colour.
void PaintSpan(const RasterTarget& target, std::int64_t y, std::int64_t from, std::int64_t to,
               std::optional<std::uint32_t> colour, bool invert) {
    if (!colour || y < 0 || y >= target.height) return;
    from = std::max<std::int64_t>(from, 0);
    to = std::min<std::int64_t>(to, target.width - 1);
    if (from > to) return;
    std::uint32_t* row = target.pixels + y * target.pitch;
    if (invert) {
        for (std::int64_t x = from; x <= to; ++x) row[x] ^= kColourBits;
    } else {
        std::fill(row + from, row + to + 1, *colour);
    }
}

std::int64_t SquareRoot(Wide value) {
    auto root = static_cast<std::int64_t>(std::sqrt(static_cast<long double>(value)));
    while (root > 0 && Wide{root} * root > value) --root;
    while (Wide{root + 1} * (root + 1) <= value) ++root;
    return root;
}

// Half the width of the circle's row j: the row covers x - q .. x + q - 1. 0 outside the box.
std::int64_t CircleHalfSpan(std::int64_t y, std::int64_t radius, std::int64_t j) {
    if (j < y - radius || j > y + radius - 1) return 0;
    // In doubled coordinates from the centre: pixel centres are odd, the diameter is 2r.
    const Wide rowCentre = 2 * Wide{j - y} + 1;
    const Wide diameter = 2 * Wide{radius};
    const Wide room = diameter * diameter - rowCentre * rowCentre;
    if (room < 1) return 0;
    return (SquareRoot(room) + 1) / 2;
}

// floor(numerator / denominator + 1/2) for a positive denominator.
std::int64_t RoundedQuotient(Wide numerator, std::int64_t denominator) {
    const Wide twice = 2 * numerator + denominator;
    const Wide divisor = 2 * Wide{denominator};
    Wide quotient = twice / divisor;
    if (twice % divisor != 0 && twice < 0) --quotient;
    return static_cast<std::int64_t>(quotient);
}

}  // namespace

void RasterSetPixel(const RasterTarget& target, std::int64_t x, std::int64_t y,
                    std::uint32_t pixel) {
    if (x < 0 || y < 0 || x >= target.width || y >= target.height) return;
    target.pixels[y * target.pitch + x] = pixel;
}

void RasterRectangle(const RasterTarget& target, std::int64_t left, std::int64_t top,
                     std::int64_t right, std::int64_t bottom, const RasterPaint& paint) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (right == left || bottom == top) return;
    const std::int64_t lastColumn = right - 1, lastRow = bottom - 1;
    const std::int64_t firstVisible = std::max<std::int64_t>(top, 0);
    const std::int64_t lastVisible = std::min<std::int64_t>(lastRow, target.height - 1);
    for (std::int64_t y = firstVisible; y <= lastVisible; ++y) {
        if (y == top || y == lastRow) {
            PaintSpan(target, y, left, lastColumn, paint.pen, paint.invert);
            continue;
        }
        PaintSpan(target, y, left, left, paint.pen, paint.invert);
        if (lastColumn != left)
            PaintSpan(target, y, lastColumn, lastColumn, paint.pen, paint.invert);
        PaintSpan(target, y, left + 1, lastColumn - 1, paint.brush, paint.invert);
    }
}

void RasterCircle(const RasterTarget& target, std::int64_t x, std::int64_t y, std::int64_t r,
                  const RasterPaint& paint) {
    const std::int64_t radius = r < 0 ? -r : r;
    if (radius == 0) return;
    const std::int64_t firstVisible = std::max<std::int64_t>(y - radius, 0);
    const std::int64_t lastVisible = std::min<std::int64_t>(y + radius - 1, target.height - 1);
    for (std::int64_t j = firstVisible; j <= lastVisible; ++j) {
        const std::int64_t half = CircleHalfSpan(y, radius, j);
        if (half == 0) continue;
        // Inside pixels whose four neighbours are all inside.
        const std::int64_t inner = std::min(
            {CircleHalfSpan(y, radius, j - 1), CircleHalfSpan(y, radius, j + 1), half - 1});
        if (inner <= 0) {
            PaintSpan(target, j, x - half, x + half - 1, paint.pen, paint.invert);
            continue;
        }
        PaintSpan(target, j, x - half, x - inner - 1, paint.pen, paint.invert);
        PaintSpan(target, j, x + inner, x + half - 1, paint.pen, paint.invert);
        PaintSpan(target, j, x - inner, x + inner - 1, paint.brush, paint.invert);
    }
}

void RasterLine(const RasterTarget& target, std::int64_t x1, std::int64_t y1, std::int64_t x2,
                std::int64_t y2, const RasterPaint& paint) {
    const std::int64_t dx = x2 - x1, dy = y2 - y1;
    const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    if (adx == 0 && ady == 0) return;
    const bool alongX = adx >= ady;
    // The line as steps k = 0 .. steps - 1 along its major axis.
    const std::int64_t steps = alongX ? adx : ady;
    const std::int64_t start = alongX ? x1 : y1;
    const std::int64_t direction = (alongX ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t minorStart = alongX ? y1 : x1;
    const std::int64_t minorDelta = alongX ? dy : dx;
    const std::int64_t majorSize = alongX ? target.width : target.height;
    const std::int64_t minorSize = alongX ? target.height : target.width;
    // Only the steps whose major coordinate lies on the target.
    std::int64_t first = 0, last = steps - 1;
    if (direction > 0) {
        first = std::max(first, -start);
        last = std::min(last, majorSize - 1 - start);
    } else {
        first = std::max(first, start - (majorSize - 1));
        last = std::min(last, start);
    }
    for (std::int64_t k = first; k <= last; ++k) {
        const std::int64_t major = start + direction * k;
        const std::int64_t minor = minorStart + RoundedQuotient(Wide{k} * minorDelta, steps);
        if (minor < 0 || minor >= minorSize) continue;
        const std::int64_t px = alongX ? major : minor, py = alongX ? minor : major;
        PaintSpan(target, py, px, px, paint.pen, paint.invert);
    }
}

}  // namespace screen
