// The shortcut tables of both window system backends: the tables themselves, the match of a key
// against one, and the translation of a key message into the command of a window's bar. Each
// backend keeps which window uses which table.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Ui.h"

namespace platform {

// Keeps a table and returns its handle (handles are never reused).
Handle AddShortcutTable(const std::vector<ShortcutEntry>& entries);
// Forgets a table; false when there was none.
bool RemoveShortcutTable(Handle table);
// The command of the table's entry for a virtual key and its modifiers (FSHIFT, FCONTROL,
// FALT), if there is one.
std::optional<std::uint16_t> MatchShortcut(Handle table, std::uint32_t key,
                                           std::uint8_t modifiers);

}  // namespace platform
