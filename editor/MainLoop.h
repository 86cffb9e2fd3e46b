// The main program: start-up, one pass of the loop per event, shut-down.
#pragma once

#include <cstdint>

namespace editor {

// 1 when the mouse is over the 500 x 500 map view, else 0.
std::int32_t MouseInView();

// Forces the document's values back into their ranges, refreshing the controls after each
// correction.
void ValidateDocument();

// WindowEventWait, except that a recovery copy that falls due while it waits is written, and
// that a read of the tile set's changed file or the overview's showing of edits that falls due
// returns the event of a pass of its own (15), which the input steps ignore.
std::int32_t NextEvent();

// Carries out one pass of the main loop for an event that was just fetched: mouse to map, the
// tile set's file, the palette's and the overview's own input, commands, the question before closing, dragging, painting, the wheel,
// track bars, text fields, corrections, the title, the recovery copy's schedule, the menu's
// state, redraw. Returns the pass's event, which "Editor beenden" turns into the close request
// (16) and a cancelled close into 0.
std::int32_t EditorPass(std::int32_t event);

// The whole program: start the runtime, build the window, make the first map, run the loop
// until a close request, end the runtime. Returns the exit code, 0.
int EditorMain();

}  // namespace editor
