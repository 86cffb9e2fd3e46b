// The tile palette: a second window beside the main window that shows every tile of the tile
// set at 1:1 with its number, scrolling (its scroll bar, the wheel) when the set is large. A
// click on a tile makes it the brush; the brush's tile is framed; Strg + click gathers the
// random brush's tiles, which are marked; a new tile set shows at once.
// Closing it closes only the palette.
#pragma once

#include <cstdint>

namespace editor {

// Opens the palette window (item "Kachelpalette"); nothing when it is open already.
void OpenPalette();
void ClosePalette();

// Input of the palette window for the pass's event: clicks choose the brush, the scroll bar
// and the wheel scroll, the close request closes it. Returns the event for the rest of the pass:
// a menu command stays, everything else becomes 0, which the map view ignores.
std::int32_t PaletteInput(std::int32_t event);

// Draws the palette again when what it shows has changed.
void ShowPalette();

// The tile whose cell lies under client point (x, y) of the palette window, -1 for none.
std::int32_t PaletteTileAt(std::int32_t x, std::int32_t y);

}  // namespace editor
