// Moving around the map: the "Ansicht" menu and its keys, zooming (about the view's centre, or
// about the mouse with Strg + wheel), "Ganze Karte", scrolling with the wheel, and the scale
// shown in the status bar.
#pragma once

#include <cstdint>

namespace editor {

// Appends the "Ansicht" drop-down to the menu bar under construction.
void BuildViewMenu();
// Gives a window the keys of the "Ansicht" items (Strg++, Strg+-, Strg+0, keypad alike; Strg+G).
void AddViewShortcuts(std::int32_t window);

// Items 20 to 23 and 26: zoom in, zoom out, 1:1, the whole map, the grid on or off.
void ViewMenuCommand(std::int32_t item);

// The wheel over the map view, for the pass's event (522, 526): scrolls by one field per notch
// (at least 8 screen pixels), vertically, with Umschalt or the horizontal wheel sideways;
// with Strg it zooms about the mouse. The event must belong to the main window.
void WheelInput(std::int32_t event);

// Sets the scale, keeping map pixel under view pixel (vx, vy) under it; shows the scale.
void ZoomAbout(std::int32_t level, std::int64_t vx, std::int64_t vy);

// The largest scale, at most 4:1, at which the whole map fits the view.
std::int32_t FittingZoomLevel();

// The status bar's last field: the scale when it is not 1:1 ("Maßstab 1:4") and the random
// brush while it is active ("Zufall: 4 Kacheln"); written only when it changes.
void ShowScaleField();

// Back to 1:1 (new map, opened map).
void ResetZoom();

}  // namespace editor
