// The map view's fields at the scales other than 1:1.
//
// Enlarged, each map pixel is a block of view pixels. Reduced to 1:k, each view pixel shows the
// rounded average of the k x k map pixels it covers (ViewScale.h says which), grey where no
// tile lies: the box filter of the 1:1 picture, drawn by MapReduction.h with what it keeps in
// ViewCaches between passes.
#pragma once

#include <cstddef>

namespace editor {

// Draws the fields of the map view at View.ZoomLevel (not 0) on the screen's pixels, every
// pixel of the view: grey where no tile lies.
void DrawZoomedFields();

// Bytes kept for drawing reduced: the tables of the scale last drawn from them, and the reduced
// pictures of the whole map (see MapReduction.h).
std::size_t ZoomTableBytes();
std::size_t ZoomPyramidBytes();

}  // namespace editor
