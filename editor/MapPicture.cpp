// Tile origins and the direction dot.
#include "editor/MapPicture.h"

#include <cmath>

#include "editor/MapDocument.h"

namespace editor {

TileOrigin TileClipOrigin(std::int32_t tile, std::int32_t zmaskRow, std::int32_t fieldWidth,
                          std::int32_t fieldHeight) {
    return {static_cast<std::int32_t>(std::int64_t{tile} * fieldWidth),
            static_cast<std::int32_t>(std::int64_t{zmaskRow} * fieldHeight)};
}

DotOffset DirectionDot(std::int32_t markerX, std::int32_t markerY, std::int32_t direction) {
    if (direction == RandomDirection) return {0, 0};
    // The divisor is 180/pi in single precision; the sums are rounded to nearest, ties to even.
    constexpr long double kDegreesPerRadian = static_cast<long double>(57.29578f);
    const long double a = static_cast<long double>(direction) / kDegreesPerRadian;
    const long double x = std::nearbyint(static_cast<long double>(markerX) + std::cos(a) * 20.0L);
    const long double y = std::nearbyint(static_cast<long double>(markerY) + std::sin(a) * 20.0L);
    return {static_cast<std::int32_t>(x - markerX), static_cast<std::int32_t>(y - markerY)};
}

}  // namespace editor
