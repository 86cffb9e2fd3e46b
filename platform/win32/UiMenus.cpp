// Menu bars and drop-downs on the system's menus. The bar lies inside the window's frame and
// takes its height from the client area: the system does that, and sends the move and the
// size of the client area when a bar comes or goes. Choosing an item posts WM_COMMAND (id, 0);
// a greyed item posts nothing.
#include <functional>

#include "platform/win32/UiInternal.h"
#include "platform/win32/Wide.h"

namespace platform {
namespace win32 {
namespace {

HMENU Menu(Handle handle) {
    HMENU menu = reinterpret_cast<HMENU>(handle);
    return (handle != 0 && ::IsMenu(menu)) ? menu : nullptr;
}

bool IsSeparator(HMENU menu, int position) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_FTYPE;
    return ::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item) &&
           (item.fType & MFT_SEPARATOR) != 0;
}

// Calls `visit` with each item of the id, in the menu and its drop-downs, depth first;
// stops when it returns false.
bool VisitItems(HMENU menu, std::uint32_t id, const std::function<bool(HMENU, int)>& visit) {
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        if (HMENU sub = ::GetSubMenu(menu, position)) {
            if (!VisitItems(sub, id, visit)) return false;
        } else if (!IsSeparator(menu, position) && ::GetMenuItemID(menu, position) == id) {
            if (!visit(menu, position)) return false;
        }
    }
    return true;
}

std::int32_t StateAt(HMENU menu, int position) {
    const UINT state = ::GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
    std::uint32_t result = (state & (MF_GRAYED | MF_DISABLED)) != 0 ? MF_GRAYED : MF_ENABLED;
    if ((state & MF_CHECKED) != 0) result |= MF_CHECKED;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info) &&
        (info.fType & MFT_RADIOCHECK) != 0) {
        result |= MFT_RADIOCHECK;
    }
    return static_cast<std::int32_t>(result);
}

// Repaints the bar of every window whose bar holds the menu.
void RedrawBarsOf(HMENU menu) {
    for (Handle top : TopLevelWindows()) {
        if (::GetMenu(Hwnd(top)) == menu) ::DrawMenuBar(Hwnd(top));
    }
}

}  // namespace
}  // namespace win32

using namespace win32;

Handle CreateMenu() { return reinterpret_cast<Handle>(::CreateMenu()); }

bool AppendMenu(Handle menu, std::uint32_t flags, std::uintptr_t idOrDropDown,
                std::string_view text) {
    HMENU target = Menu(menu);
    if (target == nullptr) return false;
    if ((flags & MF_POPUP) != 0 && Menu(static_cast<Handle>(idOrDropDown)) == nullptr) return false;
    const std::wstring wide = WideFromCp1252(text);
    const UINT systemFlags = flags & (MF_POPUP | MF_SEPARATOR | MF_GRAYED);
    return ::AppendMenuW(target, systemFlags, idOrDropDown,
                         (flags & MF_SEPARATOR) != 0 ? nullptr : wide.c_str()) != FALSE;
}

bool SetMenu(Handle window, Handle menu) {
    if (TopInfo(window) == nullptr) return false;
    if (menu != 0 && Menu(menu) == nullptr) return false;
    const bool hadBar = ::GetMenu(Hwnd(window)) != nullptr;
    if (!::SetMenu(Hwnd(window), reinterpret_cast<HMENU>(menu))) return false;
    if (hadBar != (menu != 0)) GrowForScaledBar(window, SM_CYMENU, menu != 0 ? 1 : -1);
    return true;
}

Handle GetMenu(Handle window) {
    if (TopInfo(window) == nullptr) return 0;
    return reinterpret_cast<Handle>(::GetMenu(Hwnd(window)));
}

bool DestroyMenu(Handle menu) {
    HMENU target = Menu(menu);
    if (target == nullptr) return false;
    // A bar still attached to a window leaves it first.
    for (Handle top : TopLevelWindows()) {
        if (::GetMenu(Hwnd(top)) == target) ::SetMenu(Hwnd(top), nullptr);
    }
    return ::DestroyMenu(target) != FALSE;
}

std::int32_t GetMenuItemCount(Handle menu) {
    HMENU target = Menu(menu);
    return target == nullptr ? -1 : ::GetMenuItemCount(target);
}

std::int32_t GetMenuItemId(Handle menu, std::int32_t position) {
    HMENU target = Menu(menu);
    if (target == nullptr || position < 0 || position >= ::GetMenuItemCount(target)) return -1;
    if (IsSeparator(target, position) || ::GetSubMenu(target, position) != nullptr) return -1;
    return static_cast<std::int32_t>(::GetMenuItemID(target, position));
}

std::string GetMenuItemText(Handle menu, std::int32_t position) {
    HMENU target = Menu(menu);
    if (target == nullptr || position < 0 || position >= ::GetMenuItemCount(target)) return {};
    const int length =
        ::GetMenuStringW(target, static_cast<UINT>(position), nullptr, 0, MF_BYPOSITION);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    ::GetMenuStringW(target, static_cast<UINT>(position), text.data(), length + 1, MF_BYPOSITION);
    text.resize(static_cast<std::size_t>(length));
    return Cp1252FromWide(text);
}

Handle GetSubMenu(Handle menu, std::int32_t position) {
    HMENU target = Menu(menu);
    if (target == nullptr || position < 0) return 0;
    return reinterpret_cast<Handle>(::GetSubMenu(target, position));
}

std::int32_t EnableMenuItem(Handle menu, std::uint32_t id, bool enable) {
    HMENU target = Menu(menu);
    if (target == nullptr) return -1;
    // The system changes the first item of the id; every one changes here.
    std::int32_t previous = -1;
    VisitItems(target, id, [&](HMENU owner, int position) {
        if (previous == -1) previous = StateAt(owner, position);
        ::EnableMenuItem(owner, static_cast<UINT>(position),
                         MF_BYPOSITION | (enable ? MF_ENABLED : MF_GRAYED));
        return true;
    });
    if (previous != -1) RedrawBarsOf(target);
    return previous;
}

bool CheckMenuRadioItem(Handle menu, std::uint32_t first, std::uint32_t last, std::uint32_t check) {
    HMENU target = Menu(menu);
    if (target == nullptr || GetMenuItemState(menu, check) == -1) return false;
    for (std::uint32_t id = first; id <= last; ++id) {
        VisitItems(target, id, [&](HMENU owner, int position) {
            // The system's own operation over a group of one: the item takes the round mark,
            // or loses its mark when another one of the ids is the chosen.
            const auto at = static_cast<UINT>(position);
            ::CheckMenuRadioItem(owner, at, at, id == check ? at : at + 1, MF_BYPOSITION);
            return true;
        });
    }
    RedrawBarsOf(target);
    return true;
}

std::int32_t CheckMenuItem(Handle menu, std::uint32_t id, bool check) {
    HMENU target = Menu(menu);
    if (target == nullptr) return -1;
    std::int32_t previous = -1;
    VisitItems(target, id, [&](HMENU owner, int position) {
        if (previous == -1) {
            previous = static_cast<std::int32_t>(StateAt(owner, position) & MF_CHECKED);
        }
        ::CheckMenuItem(owner, static_cast<UINT>(position),
                        MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
        return true;
    });
    if (previous != -1) RedrawBarsOf(target);
    return previous;
}

std::int32_t GetMenuItemState(Handle menu, std::uint32_t id) {
    HMENU target = Menu(menu);
    if (target == nullptr) return -1;
    std::int32_t state = -1;
    VisitItems(target, id, [&](HMENU owner, int position) {
        state = StateAt(owner, position);
        return false;
    });
    return state;
}

}  // namespace platform
