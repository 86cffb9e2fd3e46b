// Status bars along the bottom edge of a window, divided into fields of given widths.
#pragma once

#include <cstdint>
#include <string_view>

#include "gui/Window.h"

namespace gui {

// Start-up step.
void StatusBarLibraryInit();

// Creates the bar on the window and makes it the current bar, with no fields. Returns the
// platform handle, with number -1 the new identifier, 0 on failure.
std::intptr_t StatusBarCreate(std::int32_t number, WindowHandle window);
// Appends a field of that width to the current bar (at most 52 fields).
void StatusBarField(std::int32_t width);
// Sets the text of field `field` (0-based) of bar `number`; nothing for a bar or field that
// does not exist.
void StatusBarText(std::int32_t number, std::int32_t field, std::string_view text);

// The platform handle of bar `number`, 0 for none.
std::intptr_t StatusBarHandleOf(std::int32_t number);

}  // namespace gui
