// The "Rechteck" tool: a left drag spans a rectangle of fields from the field of the press to
// the field under the mouse, held inside the map; the view frames it while the button is down
// (SelectionView.h), and the release fills it with the brush (the random brush too) as one
// undo step. Escape while dragging lets it go without a change.
#pragma once

#include <cstdint>

namespace editor {

// The left button over the map view while "Rechteck" is the tool or a drag of it is under way;
// true when the event was its own. Alt + click is left to the brush's pick.
bool RectangleMouse(std::int32_t event);

// Ends a drag without filling; false when none was under way.
bool CancelRectangle();

}  // namespace editor
