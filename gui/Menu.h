// Menu bars built from a flat sequence of calls: create the bar, then for each drop-down a
// title followed by its items and separators. Choosing an item raises EVENT_MENU with the
// item id (ids travel as 16-bit values).
#pragma once

#include <cstdint>
#include <string_view>

#include "gui/Window.h"

namespace gui {

// Start-up step.
void MenuLibraryInit();

// An empty bar for the window, not shown yet; it becomes the bar under construction.
// Returns the platform menu, with number -1 the new identifier, 0 on failure.
std::intptr_t MenuCreate(std::int32_t number, WindowHandle window);
// Appends a drop-down to the bar and shows the bar.
void MenuTitle(std::string_view text);
// Appends an item to the current drop-down and shows the change.
void MenuItem(std::int32_t id, std::string_view text);
// Appends a separator line to the current drop-down.
void MenuSeparator();

// Greys out (enable false) or enables again item `id` of menu `number`, wherever it stands in
// the bar. A greyed item can be chosen neither in the menu nor through a shortcut to its id.
// Items start enabled.
void MenuEnableItem(std::int32_t number, std::int32_t id, bool enable);
// False while item `id` of menu `number` is greyed out (and when there is no such item).
bool MenuItemEnabled(std::int32_t number, std::int32_t id);

// Gives item `id` of menu `number` a round mark and takes the marks off items first..last: a
// choice of one among them (the current tool). Choosing an item changes no mark.
void MenuCheckRadioItem(std::int32_t number, std::int32_t first, std::int32_t last,
                        std::int32_t id);
// Gives item `id` of menu `number` a check mark, or takes it off (an item that is on or off:
// the grid). Choosing the item changes no mark.
void MenuCheckItem(std::int32_t number, std::int32_t id, bool check);
// True while item `id` of menu `number` has a mark.
bool MenuItemChecked(std::int32_t number, std::int32_t id);

// The platform menu of menu `number`, 0 for none.
std::intptr_t MenuHandleOf(std::int32_t number);

}  // namespace gui
