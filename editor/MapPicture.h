// What the map view draws for the document, as plain numbers: the part of the tile set a field
// shows, and where a player's marker, direction dot and number lie. The view draws with these,
// and so does the map tool's renderer, so both show a map alike.
#pragma once

#include <cstdint>

namespace editor {

// Colours, 0x00BBGGRR: the view's background, the markers, the current player's marker.
inline constexpr std::int32_t kViewBackground = 0x646464;
inline constexpr std::int32_t kMarkerColour = 0;
inline constexpr std::int32_t kCurrentMarkerColour = 0xFF;

// A marker: an outlined circle and a cross of this radius, a filled direction dot of
// kDotRadius, and the player's number with its top-left corner at the offset from the centre.
inline constexpr std::int32_t kMarkerRadius = 22;
inline constexpr std::int32_t kDotRadius = 5;
inline constexpr std::int32_t kNumberOffsetX = -16;
inline constexpr std::int32_t kNumberOffsetY = -15;

// The top-left corner of tile `tile`'s picture in the tile set, in row 0 or, for the Z-mask,
// row 1, as the view hands it to SpriteClip (the products wrap to 32 bits, as the view's do).
struct TileOrigin {
    std::int32_t x;
    std::int32_t y;
};
TileOrigin TileClipOrigin(std::int32_t tile, std::int32_t zmaskRow, std::int32_t fieldWidth,
                          std::int32_t fieldHeight);

// Position of a player's direction dot relative to the marker centre.
struct DotOffset {
    std::int32_t dx;
    std::int32_t dy;
};
DotOffset DirectionDot(std::int32_t markerX, std::int32_t markerY, std::int32_t direction);

}  // namespace editor
