// The scale of the map view and the one mapping between view pixels and map pixels, shared by
// the mouse (painting, the hover field, ENTER), the drawing and the navigation, so that no two
// of them can disagree.
//
// View.ZoomLevel n: 0 is 1:1, where view pixel v shows map pixel ScrollX + v. Enlarged (n > 0,
// 2:1 and 4:1) view pixel v shows map pixel ScrollX + floor(v / 2^n). Reduced (n < 0, k = 2^-n)
// the view's pixels lie on a grid of k x k map pixels anchored at multiples of k: view pixel v
// covers map pixels B + v * k .. B + v * k + k - 1 with B = floor(ScrollX / k) * k, so the
// top-left view pixel covers the block that holds map pixel ScrollX, and a scroll that is not a
// multiple of k shows the same picture as the multiple below it. The same holds along y.
#pragma once

#include <cstdint>

#include "editor/MapDocument.h"

namespace editor {

inline constexpr std::int32_t kMostEnlarged = 2;  // 4:1
// 1:4096: the sums of one view pixel (4096 x 4096 pixels of up to 255) still fit 32 bits.
inline constexpr std::int32_t kMostReduced = -12;

// The first map pixel that view pixel v shows, along an axis scrolled to `scroll`.
std::int64_t MapFromView(std::int64_t v, std::int32_t scroll);
// The first and the last view pixel that show map pixel m.
std::int64_t ViewFirst(std::int64_t m, std::int32_t scroll);
std::int64_t ViewLast(std::int64_t m, std::int32_t scroll);
// Map pixels spanned by d view pixels (rounded down when enlarged).
std::int64_t MapSpan(std::int64_t d);

// Map pixels per view pixel along an axis when reduced (k), 1 otherwise.
std::int64_t Reduction();
// View pixels per map pixel along an axis when enlarged, 1 otherwise.
std::int64_t Enlargement();

// View position of map pixel (m) on the screen, 32-bit as drawing takes it.
std::int32_t ViewX(std::int64_t m);
std::int32_t ViewY(std::int64_t m);

// The map pixel under the mouse and the field under it, clamped to the map (MouseMapX/Y,
// HoverFieldX/Y).
void LocateMouse();

}  // namespace editor
