// The map view's fields at the scales other than 1:1 (the 1:1 drawing is MapView's own).
//
// Enlarged, each map pixel is a block of view pixels. Reduced to 1:k, each view pixel shows the
// rounded average of the k x k map pixels it covers (ViewScale.h says which), grey where no
// tile lies: a box filter of the 1:1 picture, exact, at a cost that grows with the fields in
// view rather than with their pixels. For that it keeps, for the current reduction only, the
// sums of every tile's picture over the rectangles that the view's pixel grid and the field
// edges cut it into (see Zoom.cpp).
#pragma once

#include <cstddef>

namespace editor {

// Draws the fields of the map view at View.ZoomLevel (not 0) on the screen's pixels, every
// pixel of the view: grey where no tile lies.
void DrawZoomedFields();

// Bytes kept for drawing reduced.
std::size_t ZoomTableBytes();

}  // namespace editor
