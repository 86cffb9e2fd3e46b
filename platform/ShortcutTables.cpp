// The shortcut tables, and TranslateShortcut on top of the window system's own operations.
#include "platform/ShortcutTables.h"

#include <unordered_map>

#include "platform/UiControls.h"

namespace platform {
namespace {

std::unordered_map<Handle, std::vector<ShortcutEntry>>& Tables() {
    static std::unordered_map<Handle, std::vector<ShortcutEntry>> tables;
    return tables;
}

}  // namespace

Handle AddShortcutTable(const std::vector<ShortcutEntry>& entries) {
    static Handle next = 0x100;
    const Handle handle = next++;
    Tables()[handle] = entries;
    return handle;
}

bool RemoveShortcutTable(Handle table) { return Tables().erase(table) != 0; }

std::optional<std::uint16_t> MatchShortcut(Handle table, std::uint32_t key,
                                           std::uint8_t modifiers) {
    const auto found = Tables().find(table);
    if (found == Tables().end() || key == 0) return std::nullopt;
    constexpr std::uint8_t kModifiers = FSHIFT | FCONTROL | FALT;
    for (const ShortcutEntry& entry : found->second) {
        if ((entry.flags & FVIRTKEY) != 0 && entry.key == key &&
            (entry.flags & kModifiers) == (modifiers & kModifiers)) {
            return entry.command;
        }
    }
    return std::nullopt;
}

Handle CreateShortcutTable(const std::vector<ShortcutEntry>& entries) {
    return AddShortcutTable(entries);
}

bool TranslateShortcut(Handle window, Handle table, const Message& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    const auto command =
        MatchShortcut(table, static_cast<std::uint32_t>(message.wParam), message.keyModifiers);
    if (!command || !IsWindow(window)) return false;
    // A greyed item of the window's bar cannot act, through its shortcut neither. (On Windows
    // the system's own accelerators would also open the bar's drop-downs for the program, with
    // WM_INITMENU, which the program does not expect: the table is matched here on both.)
    const std::int32_t state = GetMenuItemState(GetMenu(window), *command);
    if (state == -1 || (state & static_cast<std::int32_t>(MF_GRAYED)) == 0) {
        SendMessage(window, WM_COMMAND, MakeWParam(*command, 1), 0);
    }
    return true;
}

}  // namespace platform
