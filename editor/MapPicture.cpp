// The map's picture at 1:1: fields, markers, the rules they share.
#include "editor/MapPicture.h"

#include <algorithm>
#include <cmath>

#include "runtime/RtString.h"
#include "screen/SpriteRules.h"

namespace editor {
namespace {

// The program's values are 32-bit and wrap.
std::int32_t Wrap32(std::int64_t v) { return static_cast<std::int32_t>(v); }

// Beyond this a marker's coordinates may wrap round into the target from anywhere.
constexpr std::int64_t kNoWrap = std::int64_t{1} << 30;

}  // namespace

std::uint32_t DisplayPixel(std::int32_t colour) {
    const auto c = static_cast<std::uint32_t>(colour);
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

std::int32_t TileCountRoundedUp(std::int64_t tileSetWidth, std::int64_t fieldWidth) {
    if (tileSetWidth <= 0 || fieldWidth <= 0) return 0;
    return static_cast<std::int32_t>((tileSetWidth + fieldWidth - 1) / fieldWidth);
}

std::int32_t TileCountRoundedDown(std::int64_t tileSetWidth, std::int64_t fieldWidth) {
    if (tileSetWidth <= 0 || fieldWidth <= 0) return 0;
    return static_cast<std::int32_t>(tileSetWidth / fieldWidth);
}

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

void FillBackground(const screen::PixelView& target) {
    if (target.pixels == nullptr) return;
    for (std::int32_t y = 0; y < target.height; ++y) {
        std::fill_n(target.Row(y), target.width, kBackgroundPixel);
    }
}

void DrawTile(const screen::PixelView& target, const screen::PixelView& tileSet, std::int32_t tile,
              std::int32_t zmaskRow, std::int32_t fieldWidth, std::int32_t fieldHeight,
              std::int64_t x, std::int64_t y) {
    if (target.pixels == nullptr || tileSet.pixels == nullptr) return;
    const TileOrigin origin = TileClipOrigin(tile, zmaskRow, fieldWidth, fieldHeight);
    const screen::SpriteClipRect clip = screen::ClipRectangle(
        origin.x, origin.y, fieldWidth, fieldHeight, tileSet.width, tileSet.height);
    const auto blit =
        screen::DisplayBlit(clip, x, y, target.width, target.height, tileSet.width, tileSet.height);
    if (blit) screen::CopyBlit(*blit, tileSet, target.pixels, target.pitch);
}

void DrawFieldsOneToOne(const screen::PixelView& target, const MapDocument& document,
                        const screen::PixelView& tileSet, std::int32_t zmaskRow, std::int64_t left,
                        std::int64_t top) {
    const std::int64_t fw = document.FieldWidth;
    const std::int64_t fh = document.FieldHeight;
    const FieldExtent extent = FieldsInArray(document);
    if (fw < 1 || fh < 1 || extent.columns == 0 || extent.rows == 0) return;
    // A field covers fw x fh pixels from (x * fw - left, y * fh - top) at most.
    const auto first = [](std::int64_t from, std::int64_t size) {
        return std::max<std::int64_t>(0, FloorDiv(from, size));
    };
    const auto last = [](std::int64_t from, std::int64_t length, std::int64_t size,
                         std::int64_t count) {
        return std::min(count - 1, FloorDiv(from + length - 1, size));
    };
    const std::int64_t lastX = last(left, target.width, fw, extent.columns);
    const std::int64_t lastY = last(top, target.height, fh, extent.rows);
    for (std::int64_t y = first(top, fh); y <= lastY; ++y) {
        for (std::int64_t x = first(left, fw); x <= lastX; ++x) {
            // The screen takes positions as 32-bit values.
            DrawTile(target, tileSet, document.Fields(x, y), zmaskRow, document.FieldWidth,
                     document.FieldHeight, Wrap32(x * fw - left), Wrap32(y * fh - top));
        }
    }
}

void DrawPlayerMarkers(const screen::PixelView& target, std::int64_t top,
                       const MapDocument& document, const MarkerPlacement& placement,
                       const MarkerText& text) {
    const screen::RasterTarget raster{target.pixels, target.width, target.height, target.pitch};
    const std::int32_t count = std::min(document.PlayerCount, kPlayersUpperBound);
    for (std::int32_t p = 1; p <= count; ++p) {
        const PlayerStart& player = document.Players(p);
        const std::int32_t markerX = placement.x(player.X);
        const std::int32_t markerY = placement.y(player.Y);
        if (std::abs(std::int64_t{markerY}) < kNoWrap &&
            (markerY + kMarkerReach < top || markerY - kMarkerReach >= top + target.height)) {
            continue;
        }
        const std::int32_t colour = p == placement.current ? kCurrentMarkerColour : kMarkerColour;
        const std::uint32_t pixel = DisplayPixel(colour);
        // Target rows: the same points, moved up by the target's first row.
        const auto y = [top](std::int64_t v) { return std::int64_t{Wrap32(v)} - top; };
        const screen::RasterPaint outline{false, pixel, std::nullopt};
        const screen::RasterPaint filled{false, pixel, pixel};
        const std::int32_t r = kMarkerRadius;
        screen::RasterCircle(raster, markerX, y(markerY), r, outline);
        // Lines stop short of their end point, which is then set on its own.
        const std::int32_t left = Wrap32(std::int64_t{markerX} - r);
        const std::int32_t right = Wrap32(std::int64_t{markerX} + r);
        screen::RasterLine(raster, left, y(markerY), right, y(markerY), outline);
        screen::RasterSetPixel(raster, right, y(markerY), pixel);
        screen::RasterLine(raster, markerX, y(std::int64_t{markerY} - r), markerX,
                           y(std::int64_t{markerY} + r), outline);
        screen::RasterSetPixel(raster, markerX, y(std::int64_t{markerY} + r), pixel);
        const DotOffset dot = DirectionDot(markerX, markerY, player.Direction);
        screen::RasterCircle(raster, Wrap32(std::int64_t{markerX} + dot.dx),
                             y(std::int64_t{markerY} + dot.dy), kDotRadius, filled);
        if (text) {
            text(Wrap32(std::int64_t{markerX} + kNumberOffsetX),
                 Wrap32(y(std::int64_t{markerY} + kNumberOffsetY)), runtime::StringFromLong(p),
                 colour);
        }
    }
}

}  // namespace editor
