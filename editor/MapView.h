// The map view: the whole 500 x 500 view drawn anew on the back buffer, then flipped.
#pragma once

#include <cstdint>

namespace editor {

// Grey background, the fields as tiles (or Z-mask pictures), player markers, the hover frame,
// the two position texts and, near the brush track bar, the brush preview; then the flip.
void DrawMapView();

}  // namespace editor
