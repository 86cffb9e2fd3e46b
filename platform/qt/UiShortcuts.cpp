// Shortcut tables: the entries of a table, the match of a key against them, and the translation
// of a key message into the command of a window's bar.
#include <memory>
#include <optional>
#include <unordered_map>

#include "platform/qt/UiInternal.h"

namespace platform {
namespace qtui {
namespace {

struct ShortcutTable {
    std::vector<ShortcutEntry> entries;
};

std::unordered_map<Handle, std::unique_ptr<ShortcutTable>>& ShortcutTables() {
    static std::unordered_map<Handle, std::unique_ptr<ShortcutTable>> tables;
    return tables;
}

}  // namespace

std::optional<std::uint16_t> MatchShortcut(Handle table, std::uint32_t key, std::uint8_t mods) {
    const auto found = ShortcutTables().find(table);
    if (found == ShortcutTables().end() || key == 0) return std::nullopt;
    constexpr std::uint8_t kModifiers = FSHIFT | FCONTROL | FALT;
    for (const ShortcutEntry& entry : found->second->entries) {
        if ((entry.flags & FVIRTKEY) != 0 && entry.key == key &&
            (entry.flags & kModifiers) == (mods & kModifiers)) {
            return entry.command;
        }
    }
    return std::nullopt;
}

}  // namespace qtui

using namespace qtui;

Handle CreateShortcutTable(const std::vector<ShortcutEntry>& entries) {
    static Handle next = 0x100;  // never reused
    auto table = std::make_unique<ShortcutTable>();
    table->entries = entries;
    const Handle handle = next++;
    ShortcutTables()[handle] = std::move(table);
    return handle;
}

void DestroyShortcutTable(Handle table) {
    if (ShortcutTables().erase(table) == 0) return;
    for (Handle top : TopHandles()) {
        if (HandleInfo* info = Info(top); info != nullptr && info->shortcuts == table) {
            info->shortcuts = 0;
        }
    }
}

void SetWindowShortcuts(Handle window, Handle table) {
    if (HandleInfo* info = TopInfo(window)) info->shortcuts = table;
}

bool TranslateShortcut(Handle window, Handle table, const Message& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    const auto command =
        MatchShortcut(table, static_cast<std::uint32_t>(message.wParam), message.keyModifiers);
    if (!command || Info(window) == nullptr) return false;
    // A greyed item of the window's bar cannot act, through its shortcut neither.
    const std::int32_t state = GetMenuItemState(GetMenu(window), *command);
    if (state == -1 || (state & static_cast<std::int32_t>(MF_GRAYED)) == 0) {
        SendMessage(window, WM_COMMAND, MakeWParam(*command, 1), 0);
    }
    return true;
}

}  // namespace platform
