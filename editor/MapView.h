// The map view: the whole 500 x 500 view drawn anew on the back buffer, then flipped.
#pragma once

#include <cstdint>

namespace editor {

// Grey background, the fields as tiles (or Z-mask pictures), player markers, the hover frame,
// the two position texts and, near the brush track bar, the brush preview; then the flip.
void DrawMapView();

// View position of a player's direction dot relative to the marker centre.
struct DotOffset {
    std::int32_t dx;
    std::int32_t dy;
};
DotOffset DirectionDot(std::int32_t markerX, std::int32_t markerY, std::int32_t direction);

}  // namespace editor
