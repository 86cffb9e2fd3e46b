// The map's picture, one piece of code for every place that draws a map: the map view at every
// scale, the tile palette and `maptool render`. This file holds the 1:1 rules (the grey where no
// tile lies, a field's tile cut by the sprite rules, the player markers with their numbers);
// MapReduction.h holds the scales.
//
// Everything draws into plain 32-bit pixel arrays (B, G, R, 0), so the view draws on its back
// buffer and the tool into bands of a picture with the same code. Text goes through a callback:
// the view draws it with the screen library, the tool with its lazily loaded text module.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "editor/MapDocument.h"
#include "screen/PixelView.h"
#include "screen/Raster.h"

namespace editor {

// Colours, 0x00BBGGRR: the view's background, the markers, the current player's marker.
inline constexpr std::int32_t kViewBackground = 0x646464;
inline constexpr std::int32_t kMarkerColour = 0;
inline constexpr std::int32_t kCurrentMarkerColour = 0xFF;

// The background as a display pixel and as one channel of it (grey: the same in every order).
inline constexpr std::uint32_t kBackgroundPixel = static_cast<std::uint32_t>(kViewBackground);
inline constexpr std::uint32_t kBackgroundChannel = kBackgroundPixel & 0xFF;

// A colour 0x00BBGGRR as a 32-bit display pixel (0x00RRGGBB).
std::uint32_t DisplayPixel(std::int32_t colour);

// A marker: an outlined circle and a cross of this radius, a filled direction dot of
// kDotRadius, and the player's number with its top-left corner at the offset from the centre.
inline constexpr std::int32_t kMarkerRadius = 22;
inline constexpr std::int32_t kDotRadius = 5;
inline constexpr std::int32_t kNumberOffsetX = -16;
inline constexpr std::int32_t kNumberOffsetY = -15;
// Rows above and below a marker's centre that its circle, dot and number may reach: the
// circle's radius, and the number's cell below its top (16 pixels) with room for overhangs.
inline constexpr std::int32_t kMarkerReach = 48;

// Tiles in a tile set `tileSetWidth` pixels wide: counting a tile the set's edge cuts (the
// brush's range, the palette, the reductions' tables), or only whole ones. 0 when either width
// is not positive.
std::int32_t TileCountRoundedUp(std::int64_t tileSetWidth, std::int64_t fieldWidth);
std::int32_t TileCountRoundedDown(std::int64_t tileSetWidth, std::int64_t fieldWidth);

// The top-left corner of tile `tile`'s picture in the tile set, in row 0 or, for the Z-mask,
// row 1, as the view hands it to the clip (the products wrap to 32 bits, as the view's do).
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

// Sets every pixel of the target to the background.
void FillBackground(const screen::PixelView& target);

// Copies tile `tile`'s picture (fieldWidth x fieldHeight from its clip origin, cut by the
// sprite rules) with its top-left corner at (x, y) of the target.
void DrawTile(const screen::PixelView& target, const screen::PixelView& tileSet, std::int32_t tile,
              std::int32_t zmaskRow, std::int32_t fieldWidth, std::int32_t fieldHeight,
              std::int64_t x, std::int64_t y);

// The fields of `document` at 1:1 that reach the target, whose pixel (0, 0) shows map pixel
// (left, top): each field's tile or Z-mask picture; what they leave is not touched.
void DrawFieldsOneToOne(const screen::PixelView& target, const MapDocument& document,
                        const screen::PixelView& tileSet, std::int32_t zmaskRow, std::int64_t left,
                        std::int64_t top);

// Draws a player's number: its text with the cell's top-left corner at (x, y) in `colour`
// (0x00BBGGRR), transparent.
using MarkerText =
    std::function<void(std::int32_t x, std::int32_t y, std::string_view text, std::int32_t colour)>;

// Where the markers go: the target pixel of a map pixel along each axis (32-bit, as drawing
// takes it), and the player drawn as the current one.
struct MarkerPlacement {
    std::function<std::int32_t(std::int64_t mapX)> x;
    std::function<std::int32_t(std::int64_t mapY)> y;
    std::int32_t current = 1;
};

// The markers of `document`'s players: an outlined circle and a cross (lines that stop short and
// then set their end point), the filled direction dot, and the number (through `text`, which may
// be empty: no numbers). Rows of the target are the placement's minus `top` (a band of a taller
// picture); markers that cannot reach the target's rows are left out.
void DrawPlayerMarkers(const screen::PixelView& target, std::int64_t top,
                       const MapDocument& document, const MarkerPlacement& placement,
                       const MarkerText& text);

}  // namespace editor
