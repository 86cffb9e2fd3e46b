// Menus: the menu table and the building state of the bar under construction.
#include "gui/Menu.h"

#include <array>
#include <memory>

#include "gui/WindowInternal.h"
#include "platform/UiControls.h"
#include "runtime/ObjectTable.h"

namespace gui {
namespace {

using platform::Handle;

struct MenuRecord {
    Handle menu = 0;
    Handle window = 0;  // the window the bar belongs to, 0 for none
    bool InUse() const { return menu != 0; }
};

struct BuildState {
    std::int32_t menuNumber = 0;  // the bar under construction
    bool building = false;
    Handle current = 0;  // the drop-down that receives the next entry
    std::array<Handle, 64> stack{};
    std::int32_t depth = 0;
};

std::unique_ptr<runtime::ObjectTable<MenuRecord>> gMenus;
BuildState gBuild;

MenuRecord* Lookup(std::int32_t number) { return gMenus ? gMenus->Lookup(number) : nullptr; }

MenuRecord* UnderConstruction() {
    if (!gBuild.building) return nullptr;
    MenuRecord* record = Lookup(gBuild.menuNumber);
    if (record == nullptr) gBuild.building = false;
    return record;
}

void FreeMenu(int number) {
    MenuRecord* record = Lookup(number);
    if (record == nullptr) return;
    if (record->window != 0) platform::SetMenu(record->window, 0);
    platform::DestroyMenu(record->menu);
    gMenus->Free(number);
}

}  // namespace

void MenuLibraryInit() {
    gMenus = std::make_unique<runtime::ObjectTable<MenuRecord>>(16, &FreeMenu);
    gBuild = BuildState{};
}

std::intptr_t MenuCreate(std::int32_t number, WindowHandle window) {
    if (!gMenus) return 0;
    int id = 0;
    MenuRecord* record = gMenus->GetOrCreate(number, &id);
    if (record == nullptr) return 0;
    const Handle menu = platform::CreateMenu();
    if (menu == 0) {
        gMenus->Free(id);
        return 0;
    }
    record->menu = menu;
    record->window = window;
    gBuild = BuildState{};
    gBuild.menuNumber = id;
    gBuild.building = true;
    gBuild.current = menu;
    return number == -1 ? static_cast<std::intptr_t>(id) : menu;
}

void MenuTitle(std::string_view text) {
    MenuRecord* record = UnderConstruction();
    if (record == nullptr) return;
    if (gBuild.depth != 0) {
        gBuild.depth = 0;
        gBuild.current = record->menu;
    }
    const Handle dropDown = platform::CreateMenu();
    if (!platform::AppendMenu(gBuild.current, platform::MF_POPUP,
                              static_cast<std::uintptr_t>(dropDown),
                              detail::HasText(text) ? text : "")) {
        platform::DestroyMenu(dropDown);
        return;
    }
    if (gBuild.depth < static_cast<std::int32_t>(gBuild.stack.size())) {
        gBuild.stack[static_cast<std::size_t>(gBuild.depth++)] = gBuild.current;
    }
    gBuild.current = dropDown;
    if (record->window != 0) platform::SetMenu(record->window, record->menu);
}

void MenuItem(std::int32_t id, std::string_view text) {
    MenuRecord* record = UnderConstruction();
    if (record == nullptr) return;
    platform::AppendMenu(gBuild.current, platform::MF_STRING,
                         static_cast<std::uintptr_t>(static_cast<std::uint32_t>(id)),
                         detail::HasText(text) ? text : "");
    if (record->window != 0) platform::SetMenu(record->window, record->menu);
}

void MenuSeparator() {
    if (UnderConstruction() == nullptr) return;
    platform::AppendMenu(gBuild.current, platform::MF_SEPARATOR, static_cast<std::uintptr_t>(-1),
                         "");
}

void MenuEnableItem(std::int32_t number, std::int32_t id, bool enable) {
    MenuRecord* record = Lookup(number);
    if (record == nullptr) return;
    platform::EnableMenuItem(record->menu, static_cast<std::uint32_t>(id), enable);
}

bool MenuItemEnabled(std::int32_t number, std::int32_t id) {
    MenuRecord* record = Lookup(number);
    if (record == nullptr) return false;
    const std::int32_t state =
        platform::GetMenuItemState(record->menu, static_cast<std::uint32_t>(id));
    return state != -1 && (state & static_cast<std::int32_t>(platform::MF_GRAYED)) == 0;
}

void MenuCheckRadioItem(std::int32_t number, std::int32_t first, std::int32_t last,
                        std::int32_t id) {
    MenuRecord* record = Lookup(number);
    if (record == nullptr || first > last) return;
    platform::CheckMenuRadioItem(record->menu, static_cast<std::uint32_t>(first),
                                 static_cast<std::uint32_t>(last), static_cast<std::uint32_t>(id));
}

void MenuCheckItem(std::int32_t number, std::int32_t id, bool check) {
    MenuRecord* record = Lookup(number);
    if (record == nullptr) return;
    platform::CheckMenuItem(record->menu, static_cast<std::uint32_t>(id), check);
}

bool MenuItemChecked(std::int32_t number, std::int32_t id) {
    MenuRecord* record = Lookup(number);
    if (record == nullptr) return false;
    const std::int32_t state =
        platform::GetMenuItemState(record->menu, static_cast<std::uint32_t>(id));
    return state != -1 && (state & static_cast<std::int32_t>(platform::MF_CHECKED)) != 0;
}

std::intptr_t MenuHandleOf(std::int32_t number) {
    MenuRecord* record = Lookup(number);
    return record == nullptr ? 0 : record->menu;
}

}  // namespace gui
