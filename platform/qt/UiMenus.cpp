// Menus: bars and drop-downs built entry by entry. A drop-down is a live toolkit menu; a bar
// shows in its window when attached, as it was at that moment. A chosen item posts
// WM_COMMAND (id, 0) to the window whose bar holds it, so the program fetches it after the
// menu has closed.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <unordered_map>

#include "platform/qt/UiInternal.h"

namespace platform {
namespace qtui {
namespace {

struct MenuEntry {
    std::uint32_t flags = MF_STRING;
    std::uintptr_t id = 0;
    QString text;
    Handle dropDown = 0;
    QPointer<QAction> action;  // the item as shown, once shown
};

struct MenuData {
    std::vector<MenuEntry> entries;
    QMenu* qmenu = nullptr;  // once used as a drop-down
    Handle owner = 0;        // the menu it hangs in
    Handle window = 0;       // the window it is attached to as a bar
};

std::unordered_map<Handle, std::unique_ptr<MenuData>>& Menus() {
    static std::unordered_map<Handle, std::unique_ptr<MenuData>> menus;
    return menus;
}

MenuData* Data(Handle menu) {
    const auto found = Menus().find(menu);
    return found == Menus().end() ? nullptr : found->second.get();
}

void PostChoice(Handle menu, std::uintptr_t id) {
    // The window of the bar that the drop-down hangs in.
    for (MenuData* data = Data(menu); data != nullptr; data = Data(data->owner)) {
        if (data->window != 0) {
            PostMessage(data->window, WM_COMMAND, MakeWParam(static_cast<std::uint32_t>(id), 0), 0);
            return;
        }
    }
}

// Calls `visit` for every item with the id in the menu and its drop-downs, in order.
template <typename Visit>
void ForEachItem(Handle menu, std::uintptr_t id, const Visit& visit) {
    MenuData* data = Data(menu);
    if (data == nullptr) return;
    for (MenuEntry& entry : data->entries) {
        if ((entry.flags & MF_POPUP) != 0) {
            ForEachItem(entry.dropDown, id, visit);
        } else if ((entry.flags & MF_SEPARATOR) == 0 && entry.id == id) {
            visit(entry);
        }
    }
}

QMenu* EnsureQMenu(Handle menu);

// Shows an item's mark: a radio mark through an exclusive group of its own menu's actions.
void ShowMark(QAction* action, const MenuEntry& entry) {
    const bool marked = (entry.flags & (MF_CHECKED | MFT_RADIOCHECK)) != 0;
    action->setCheckable(marked);
    if ((entry.flags & MFT_RADIOCHECK) != 0 && action->actionGroup() == nullptr) {
        auto* group = action->parent()->findChild<QActionGroup*>(QString(), Qt::FindDirectChildrenOnly);
        if (group == nullptr) group = new QActionGroup(action->parent());
        group->addAction(action);
    }
    action->setChecked((entry.flags & MF_CHECKED) != 0);
}

// Shows an item's action with the item's state and makes choosing it post its id.
void BindAction(QAction* action, Handle menu, MenuEntry& entry) {
    entry.action = action;
    action->setEnabled((entry.flags & MF_GRAYED) == 0);
    ShowMark(action, entry);
    const std::uintptr_t id = entry.id;
    QObject::connect(action, &QAction::triggered, action, [menu, id, action] {
        // The toolkit toggles a checkable action; its mark is the program's to set.
        MenuEntry* shown = nullptr;
        ForEachItem(menu, id, [&](MenuEntry& e) {
            if (e.action == action) shown = &e;
        });
        if (shown != nullptr) action->setChecked((shown->flags & MF_CHECKED) != 0);
        PostChoice(menu, id);
    });
}

void AddToQMenu(QMenu* qmenu, Handle menu, MenuEntry& entry) {
    if ((entry.flags & MF_SEPARATOR) != 0) {
        qmenu->addSeparator();
    } else if ((entry.flags & MF_POPUP) != 0) {
        QMenu* child = EnsureQMenu(entry.dropDown);
        if (child == nullptr) return;
        child->setTitle(entry.text);
        qmenu->addMenu(child);
    } else {
        BindAction(qmenu->addAction(entry.text), menu, entry);
    }
}

QMenu* EnsureQMenu(Handle menu) {
    MenuData* data = Data(menu);
    if (data == nullptr) return nullptr;
    if (data->qmenu == nullptr) {
        data->qmenu = new QMenu;
        data->qmenu->setFont(GuiFont());
        for (MenuEntry& entry : data->entries) AddToQMenu(data->qmenu, menu, entry);
    }
    return data->qmenu;
}

void FillBar(QMenuBar* bar, Handle menu) {
    bar->clear();
    MenuData* data = Data(menu);
    if (data == nullptr) return;
    for (MenuEntry& entry : data->entries) {
        if ((entry.flags & MF_SEPARATOR) != 0) {
            bar->addSeparator();
        } else if ((entry.flags & MF_POPUP) != 0) {
            if (QMenu* child = EnsureQMenu(entry.dropDown)) {
                child->setTitle(entry.text);
                bar->addMenu(child);
            }
        } else {
            BindAction(bar->addAction(entry.text), menu, entry);
        }
    }
}

}  // namespace

void DestroyMenusOfWindow(Handle window) {
    HandleInfo* info = TopInfo(window);
    if (info != nullptr && info->menu != 0) DestroyMenu(info->menu);
}

}  // namespace qtui

using namespace qtui;

Handle CreateMenu() {
    UiInit();
    // Handles are never reused: a program may still hold the handle of a bar that went with
    // its window.
    static Handle next = 0x100;
    const Handle handle = next++;
    Menus()[handle] = std::make_unique<MenuData>();
    return handle;
}

bool AppendMenu(Handle menu, std::uint32_t flags, std::uintptr_t idOrDropDown,
                std::string_view text) {
    MenuData* data = Data(menu);
    if (data == nullptr) return false;
    MenuEntry entry;
    entry.flags = flags;
    entry.text = (flags & MF_SEPARATOR) != 0 ? QString() : ToQString(text);
    if ((flags & MF_POPUP) != 0) {
        const auto dropDown = static_cast<Handle>(idOrDropDown);
        MenuData* child = Data(dropDown);
        if (child == nullptr || dropDown == menu) return false;
        child->owner = menu;
        entry.dropDown = dropDown;
    } else {
        entry.id = idOrDropDown;
    }
    data->entries.push_back(entry);
    if (data->qmenu != nullptr) AddToQMenu(data->qmenu, menu, data->entries.back());
    return true;
}

bool SetMenu(Handle window, Handle menu) {
    HandleInfo* info = TopInfo(window);
    if (info == nullptr || (menu != 0 && Data(menu) == nullptr)) return false;
    if (MenuData* previous = Data(info->menu); previous != nullptr && info->menu != menu) {
        previous->window = 0;
    }
    info->menu = menu;
    if (menu == 0) {
        info->top->MenuBar()->clear();
        info->top->ShowMenuBar(false);
    } else {
        Data(menu)->window = window;
        FillBar(info->top->MenuBar(), menu);
        info->top->ShowMenuBar(true);
    }
    // The bar's height comes from the client area, which moves and changes its size.
    ReportGeometry(window, true);
    return true;
}

Handle GetMenu(Handle window) {
    HandleInfo* info = TopInfo(window);
    return info == nullptr ? 0 : info->menu;
}

bool DestroyMenu(Handle menu) {
    MenuData* data = Data(menu);
    if (data == nullptr) return false;
    if (data->window != 0) {
        if (HandleInfo* info = TopInfo(data->window); info != nullptr && info->menu == menu) {
            SetMenu(data->window, 0);
        }
    }
    const std::vector<MenuEntry> entries = data->entries;
    for (const MenuEntry& entry : entries) {
        if (entry.dropDown != 0) DestroyMenu(entry.dropDown);
    }
    data = Data(menu);
    if (data != nullptr && data->qmenu != nullptr) {
        QMenu* qmenu = data->qmenu;
        qmenu->hide();
        if (InDelivery()) {
            qmenu->deleteLater();
        } else {
            delete qmenu;
        }
    }
    Menus().erase(menu);
    return true;
}

std::int32_t GetMenuItemCount(Handle menu) {
    MenuData* data = Data(menu);
    return data == nullptr ? -1 : static_cast<std::int32_t>(data->entries.size());
}

std::int32_t GetMenuItemId(Handle menu, std::int32_t position) {
    MenuData* data = Data(menu);
    if (data == nullptr || position < 0 || position >= GetMenuItemCount(menu)) return -1;
    const MenuEntry& entry = data->entries[static_cast<std::size_t>(position)];
    if ((entry.flags & (MF_SEPARATOR | MF_POPUP)) != 0) return -1;
    return static_cast<std::int32_t>(entry.id);
}

std::string GetMenuItemText(Handle menu, std::int32_t position) {
    MenuData* data = Data(menu);
    if (data == nullptr || position < 0 || position >= GetMenuItemCount(menu)) return {};
    return FromQString(data->entries[static_cast<std::size_t>(position)].text);
}

Handle GetSubMenu(Handle menu, std::int32_t position) {
    MenuData* data = Data(menu);
    if (data == nullptr || position < 0 || position >= GetMenuItemCount(menu)) return 0;
    return data->entries[static_cast<std::size_t>(position)].dropDown;
}

std::int32_t EnableMenuItem(Handle menu, std::uint32_t id, bool enable) {
    std::int32_t previous = -1;
    ForEachItem(menu, id, [&](MenuEntry& entry) {
        if (previous == -1) previous = static_cast<std::int32_t>(entry.flags & MF_GRAYED);
        entry.flags = enable ? entry.flags & ~MF_GRAYED : entry.flags | MF_GRAYED;
        if (entry.action) entry.action->setEnabled(enable);
    });
    return previous;
}

std::int32_t GetMenuItemState(Handle menu, std::uint32_t id) {
    std::int32_t state = -1;
    ForEachItem(menu, id, [&](const MenuEntry& entry) {
        if (state == -1) {
            state = static_cast<std::int32_t>(entry.flags & (MF_GRAYED | MF_CHECKED | MFT_RADIOCHECK));
        }
    });
    return state;
}

bool CheckMenuRadioItem(Handle menu, std::uint32_t first, std::uint32_t last, std::uint32_t check) {
    if (GetMenuItemState(menu, check) == -1) return false;
    for (std::uint32_t id = first; id <= last; ++id) {
        ForEachItem(menu, id, [&](MenuEntry& entry) {
            entry.flags |= MFT_RADIOCHECK;
            entry.flags = id == check ? entry.flags | MF_CHECKED : entry.flags & ~MF_CHECKED;
            if (entry.action) ShowMark(entry.action, entry);
        });
    }
    return true;
}

std::int32_t CheckMenuItem(Handle menu, std::uint32_t id, bool check) {
    std::int32_t previous = -1;
    ForEachItem(menu, id, [&](MenuEntry& entry) {
        if (previous == -1) previous = static_cast<std::int32_t>(entry.flags & MF_CHECKED);
        entry.flags &= ~MFT_RADIOCHECK;
        entry.flags = check ? entry.flags | MF_CHECKED : entry.flags & ~MF_CHECKED;
        if (entry.action) ShowMark(entry.action, entry);
    });
    return previous;
}

}  // namespace platform
