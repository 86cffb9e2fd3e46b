// "Ansicht" > "Gitter": the borders of the fields as lines of one pixel over the map view's
// fields, at every scale where a field is at least 4 screen pixels wide (vertical lines) or high
// (horizontal lines); finer, the lines would hide the map.
//
// Each field's line lies on the first view pixel that shows the field, on its left and its top,
// and reaches over the map only (not over the grey beyond it). A line pixel is the pixel below
// it with the top bit of each colour channel turned over (XOR 0x808080): it differs from what it
// covers by half the range in every channel, so it shows on black, white and every tile between,
// which no one colour and no pair of dash colours does (a dash of black vanishes on black), and
// it keeps the hue of the tile below it, so the map stays readable under a dense grid. Where two
// lines cross, the pixel is turned over once.
#pragma once

namespace editor {

// Over the fields and the floating fields, under the players, the frames and the texts; nothing
// while the grid is off.
void DrawGrid();

}  // namespace editor
