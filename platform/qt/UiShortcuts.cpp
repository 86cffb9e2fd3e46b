// Which window uses which shortcut table.
#include "platform/ShortcutTables.h"
#include "platform/qt/UiInternal.h"

namespace platform {

using namespace qtui;

void DestroyShortcutTable(Handle table) {
    if (!RemoveShortcutTable(table)) return;
    for (Handle top : TopHandles()) {
        if (HandleInfo* info = Info(top); info != nullptr && info->shortcuts == table) {
            info->shortcuts = 0;
        }
    }
}

void SetWindowShortcuts(Handle window, Handle table) {
    if (HandleInfo* info = TopInfo(window)) info->shortcuts = table;
}

}  // namespace platform
