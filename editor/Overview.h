// The overview: a window beside the editor with the whole map reduced to fit about 250 pixels
// (the fields keep their aspect), the part the map view shows framed in black and white so the
// frame shows on any tile. A click or a drag in it centres the map view on the map pixel under
// the mouse. Its picture is made once and then only again where fields change, so an edit costs
// it a few blocks however big the map is; a new map, tile set, field size or the Z-mask check
// box make it again as a whole.
#pragma once

#include <cstdint>

namespace editor {

// The picture's longer side is at most this many pixels, and the window's client area is this
// square.
inline constexpr std::int32_t kOverviewSize = 250;

// Opens the overview window (item "Übersicht"); nothing when it is open already.
void OpenOverview();
void CloseOverview();

// Input of the overview window for the pass's event: a click or a drag moves the map view, the
// close request closes it. Returns the event for the rest of the pass: a menu command stays,
// everything else becomes 0, which the map view ignores.
std::int32_t OverviewInput(std::int32_t event);

// Makes again what changed of the picture and shows it with the view's frame: at once for a new
// picture or frame, edits of fields at most every 50 ms (a stroke paints a field every pass).
void ShowOverview();

// Milliseconds until edits made but not yet shown are due to be (0: now), -1 when none wait.
std::int64_t OverviewWaitMs(std::int64_t now);

// The scale of the picture (1:2^shift, the least that fits) and where its top-left pixel lies in
// the window's client area: the picture is centred.
struct OverviewLayout {
    std::int32_t shift = 0;
    std::int32_t width = 0, height = 0;
    std::int32_t left = 0, top = 0;
};
OverviewLayout OverviewLayoutNow();

}  // namespace editor
