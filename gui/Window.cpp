// Numbered windows, the event state with its queue, the fetch and the window procedure.
//
// Sections: the window table and event state; opening and closing; shortcuts; fetching;
// the window procedure; the mouse position.
#include "gui/Window.h"

#include <deque>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "gui/FileWatch.h"
#include "gui/WindowInternal.h"
#include "platform/Ui.h"
#include "runtime/ObjectTable.h"

namespace gui {
namespace {

using platform::Handle;

static_assert(EVENT_CLOSE == platform::WM_CLOSE && EVENT_SIZE == platform::WM_SIZE &&
              EVENT_MOVE == platform::WM_MOVE && EVENT_REPAINT == platform::WM_PAINT);
static_assert(EVENT_LEFT_DOWN == platform::WM_LBUTTONDOWN &&
              EVENT_LEFT_DOUBLE == platform::WM_LBUTTONDBLCLK &&
              EVENT_RIGHT_DOWN == platform::WM_RBUTTONDOWN &&
              EVENT_RIGHT_UP == platform::WM_RBUTTONUP &&
              EVENT_MIDDLE_DOWN == platform::WM_MBUTTONDOWN &&
              EVENT_MOUSE_WHEEL == platform::WM_MOUSEWHEEL &&
              EVENT_MOUSE_HWHEEL == platform::WM_MOUSEHWHEEL);
static_assert(MOUSE_LEFT_HELD == platform::MK_LBUTTON && MOUSE_RIGHT_HELD == platform::MK_RBUTTON &&
              MOUSE_MIDDLE_HELD == platform::MK_MBUTTON);
static_assert(WINDOW_CAPTION == platform::WS_CAPTION &&
              WINDOW_SYSTEM_MENU == platform::WS_SYSMENU &&
              WINDOW_SIZING_FRAME == platform::WS_THICKFRAME &&
              WINDOW_MINIMIZE_BOX == platform::WS_MINIMIZEBOX &&
              WINDOW_MAXIMIZE_BOX == platform::WS_MAXIMIZEBOX);
static_assert(KEYCODE_ENTER == platform::VK_RETURN && KEYCODE_NUMPAD_0 == platform::VK_NUMPAD0 &&
              KEYCODE_NUMPAD_PLUS == platform::VK_ADD &&
              KEYCODE_NUMPAD_MINUS == platform::VK_SUBTRACT &&
              KEYCODE_PLUS == platform::VK_OEM_PLUS && KEYCODE_MINUS == platform::VK_OEM_MINUS);
static_assert(KEYCODE_ESCAPE == platform::VK_ESCAPE && KEYCODE_LEFT == platform::VK_LEFT &&
              KEYCODE_UP == platform::VK_UP && KEYCODE_RIGHT == platform::VK_RIGHT &&
              KEYCODE_DOWN == platform::VK_DOWN && KEYCODE_DELETE == platform::VK_DELETE);

constexpr std::int32_t kTabItem = 1212;
constexpr std::int32_t kShiftTabItem = 1213;

struct WindowRecord {
    Handle handle = 0;
    std::int32_t shortcutCount = 0;
    std::vector<platform::ShortcutEntry> shortcuts;
    Handle shortcutTable = 0;
    std::int32_t background = -1;  // the platform default; this program sets no colour
    bool InUse() const { return handle != 0; }
};

struct QueuedEvent {
    std::int32_t code;
    std::int32_t window;
};

struct EventState {
    std::int32_t object = 0;
    std::int32_t window = 0;
    std::int32_t type = 0;
    std::int32_t pending = 0;
    std::uintptr_t param1 = 0;
    std::intptr_t param2 = 0;
    std::uint8_t modifiers = 0;  // platform FSHIFT | FCONTROL | FALT of the last input
    std::deque<QueuedEvent> queue;
};

std::unique_ptr<runtime::ObjectTable<WindowRecord>> gWindows;
EventState gEvents;

WindowRecord* Lookup(std::int32_t number) { return gWindows ? gWindows->Lookup(number) : nullptr; }

// Appends an event unless the last queued one is the same; a lost allocation loses it.
void QueueEvent(std::int32_t code, std::int32_t window) {
    if (!gEvents.queue.empty() && gEvents.queue.back().code == code &&
        gEvents.queue.back().window == window) {
        return;
    }
    try {
        gEvents.queue.push_back(QueuedEvent{code, window});
    } catch (const std::bad_alloc&) {
    }
}

void RebuildShortcutTable(WindowRecord& record) {
    if (record.shortcutTable != 0) platform::DestroyShortcutTable(record.shortcutTable);
    record.shortcutTable = platform::CreateShortcutTable(record.shortcuts);
    platform::SetWindowShortcuts(record.handle, record.shortcutTable);
}

std::intptr_t WindowProcedure(Handle hwnd, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam);

}  // namespace

namespace detail {

std::int32_t WindowNumberOf(Handle handle) {
    for (Handle h = handle; h != 0; h = platform::GetParent(h)) {
        const std::intptr_t value = platform::GetProp(h, kWindowNumberProperty);
        if (value != 0) return static_cast<std::int32_t>(value - 1);
    }
    return -1;
}

Handle TopLevelOf(Handle handle) {
    Handle last = handle;
    for (Handle h = handle; h != 0; h = platform::GetParent(h)) {
        if (platform::GetProp(h, kWindowNumberProperty) != 0) return h;
        last = h;
    }
    return last;
}

}  // namespace detail

// ---- Library steps ---------------------------------------------------------------------------

void WindowLibraryInit() {
    platform::UiInit();
    gWindows = std::make_unique<runtime::ObjectTable<WindowRecord>>(16, &WindowClose);
    gEvents = EventState{};
}

void WindowLibraryEnd() {
    FileUnwatchAll();  // no window is left to tell
    if (gWindows) gWindows->FreeAll();
}

// ---- Opening and closing ---------------------------------------------------------------------

WindowHandle WindowOpen(std::int32_t number, std::int32_t x, std::int32_t y,
                        std::int32_t clientWidth, std::int32_t clientHeight, std::string_view title,
                        std::int32_t flags) {
    if (!gWindows) return 0;
    int id = 0;
    WindowRecord* record = gWindows->GetOrCreate(number, &id);
    if (record == nullptr) return 0;

    auto bits = static_cast<std::uint32_t>(flags);
    constexpr std::uint32_t kOwnBits =
        WINDOW_CENTER_SCREEN | WINDOW_CENTER_PARENT | WINDOW_INVISIBLE;
    if ((bits & ~kOwnBits) == 0) bits |= platform::WS_CAPTION;
    const bool invisible = (bits & WINDOW_INVISIBLE) != 0;
    bits &= ~static_cast<std::uint32_t>(WINDOW_INVISIBLE);
    const std::uint32_t style =
        bits & ~static_cast<std::uint32_t>(WINDOW_CENTER_SCREEN | WINDOW_CENTER_PARENT);

    std::int32_t outerWidth = 0;
    std::int32_t outerHeight = 0;
    platform::AdjustWindowSize(style, clientWidth, clientHeight, &outerWidth, &outerHeight);
    const bool centred = (bits & (WINDOW_CENTER_SCREEN | WINDOW_CENTER_PARENT)) != 0;
    const bool platformPosition =
        (x == WINDOW_DEFAULT_POSITION || y == WINDOW_DEFAULT_POSITION) && !centred;
    if ((bits & WINDOW_CENTER_SCREEN) != 0) {
        std::int32_t screenWidth = 0;
        std::int32_t screenHeight = 0;
        platform::ScreenSize(&screenWidth, &screenHeight);
        outerWidth = std::min(outerWidth, screenWidth);
        outerHeight = std::min(outerHeight, screenHeight);
        x = (screenWidth - outerWidth) / 2;
        y = (screenHeight - outerHeight) / 2;
    } else if ((bits & WINDOW_CENTER_PARENT) != 0) {
        platform::Rect parent;
        const Handle active = platform::GetActiveWindow();
        if (active != 0 && platform::GetWindowRect(active, &parent)) {
            x = std::max(0, parent.left + (parent.right - parent.left - outerWidth) / 2);
            y = std::max(0, parent.top + (parent.bottom - parent.top - outerHeight) / 2);
        }
    }

    const Handle handle = platform::CreateTopWindow(title, style, x, y, platformPosition,
                                                    clientWidth, clientHeight, &WindowProcedure);
    if (handle == 0) {
        gWindows->Free(id);
        return 0;
    }
    record->handle = handle;
    // Set before showing, so that what showing sends is already queued as events.
    platform::SetProp(handle, detail::kWindowNumberProperty, id + 1);
    if (!invisible) platform::ShowTopWindow(handle, (style & platform::WS_MAXIMIZE) != 0);

    record = Lookup(id);
    if (record == nullptr) return 0;  // closed while it was being shown
    record->shortcuts = {
        {platform::FVIRTKEY | platform::FNOINVERT, platform::VK_TAB, kTabItem},
        {platform::FVIRTKEY | platform::FNOINVERT | platform::FSHIFT, platform::VK_TAB,
         kShiftTabItem},
    };
    record->shortcutCount = 2;
    RebuildShortcutTable(*record);
    record->background = -1;
    return number == -1 ? static_cast<WindowHandle>(id) : handle;
}

void WindowClose(std::int32_t number) {
    WindowRecord* record = Lookup(number);
    if (record == nullptr) return;
    const Handle handle = record->handle;
    const Handle table = record->shortcutTable;
    // Removed first: what the window's procedures hear while it goes has no number.
    platform::RemoveProp(handle, detail::kWindowNumberProperty);
    platform::DestroyWindow(handle);
    if (table != 0) platform::DestroyShortcutTable(table);
    gWindows->Free(number);
}

std::int32_t WindowSetTitle(std::int32_t number, std::string_view text) {
    WindowRecord* record = Lookup(number);
    if (record == nullptr || !detail::HasText(text)) return 0;
    return platform::SetWindowText(record->handle, text) ? 1 : 0;
}

WindowHandle WindowHandleOf(std::int32_t number) {
    WindowRecord* record = Lookup(number);
    return record == nullptr ? 0 : record->handle;
}

void UpdateWindow(WindowHandle handle) { platform::UpdateWindow(handle); }

namespace {

platform::Rect OuterRect(std::int32_t number) {
    platform::Rect rect;
    WindowRecord* record = Lookup(number);
    if (record == nullptr || !platform::GetWindowRect(record->handle, &rect)) return {};
    return rect;
}

}  // namespace

std::int32_t WindowTop(std::int32_t number) { return OuterRect(number).top; }

std::int32_t WindowRight(std::int32_t number) { return OuterRect(number).right; }

std::int32_t DesktopWidth() {
    std::int32_t width = 0;
    std::int32_t height = 0;
    platform::ScreenSize(&width, &height);
    return width;
}

// ---- Shortcuts -------------------------------------------------------------------------------

namespace {

std::uint8_t ShortcutFlags(std::int32_t key) {
    std::uint8_t flags = platform::FVIRTKEY | platform::FNOINVERT;
    if ((key & 0x10000) != 0) flags |= platform::FSHIFT;
    if ((key & 0x20000) != 0) flags |= platform::FCONTROL;
    if ((key & 0x40000) != 0) flags |= platform::FALT;
    return flags;
}

}  // namespace

std::intptr_t WindowRemoveShortcut(std::int32_t number, std::int32_t key) {
    WindowRecord* record = Lookup(number);
    if (record == nullptr) return 0;
    const std::uint8_t flags = ShortcutFlags(key);
    const auto virtualKey = static_cast<std::uint16_t>(key & 0xFFFF);
    std::erase_if(record->shortcuts, [&](const platform::ShortcutEntry& entry) {
        return entry.key == virtualKey && entry.flags == flags;
    });
    record->shortcutCount = static_cast<std::int32_t>(record->shortcuts.size());
    RebuildShortcutTable(*record);
    return record->shortcutTable;
}

std::intptr_t WindowAddShortcut(std::int32_t number, std::int32_t key, std::int32_t item) {
    WindowRecord* record = Lookup(number);
    if (record == nullptr) return 0;
    const std::uint8_t flags = ShortcutFlags(key);
    const auto virtualKey = static_cast<std::uint16_t>(key & 0xFFFF);
    const auto command = static_cast<std::uint16_t>(item & 0xFFFF);
    bool replaced = false;
    for (platform::ShortcutEntry& entry : record->shortcuts) {
        if (entry.key == virtualKey && entry.flags == flags) {
            entry.command = command;
            replaced = true;
            break;
        }
    }
    if (!replaced) {
        record->shortcuts.push_back({flags, virtualKey, command});
        record->shortcutCount = static_cast<std::int32_t>(record->shortcuts.size());
    }
    RebuildShortcutTable(*record);
    return record->shortcutTable;
}

// ---- Fetching --------------------------------------------------------------------------------

std::int32_t WindowEventFetch(std::int32_t timeoutMs) {
    gEvents.type = -1;
    if (!gEvents.queue.empty()) {
        const QueuedEvent event = gEvents.queue.front();
        gEvents.queue.pop_front();
        gEvents.window = event.window;
        gEvents.pending = 0;
        return event.code;
    }
    platform::Message message;
    if (timeoutMs == -1) {
        if (!platform::GetMessage(&message)) return 0;
    } else if (!platform::PeekMessage(&message)) {
        if (timeoutMs == 0) return 0;
        if (!platform::WaitMessage(timeoutMs)) return 0;
        if (!platform::PeekMessage(&message)) return 0;
    }
    // Shortcuts of the window the key went to win over its control. That window, not the
    // active one: the platform has already taken a matching key away from the control, and
    // after a requester the key can arrive before the window is reported active again.
    Handle table = 0;
    const Handle top = detail::TopLevelOf(message.window);
    const std::intptr_t numberPlusOne = platform::GetProp(top, detail::kWindowNumberProperty);
    if (WindowRecord* record =
            numberPlusOne != 0 ? Lookup(static_cast<std::int32_t>(numberPlusOne - 1)) : nullptr) {
        table = record->shortcutTable;
    }
    if (table == 0 || !platform::TranslateShortcut(top, table, message)) {
        platform::DispatchMessage(message);
    }
    gEvents.modifiers = message.keyModifiers;
    if (gEvents.pending != 0) {
        const std::int32_t code = gEvents.pending;
        gEvents.pending = 0;
        return code;
    }
    gEvents.param1 = message.wParam;
    gEvents.param2 = message.lParam;
    // Input that went to a control never passed a window procedure; it belongs to the window
    // that holds the control.
    gEvents.window = detail::WindowNumberOf(message.window);
    return static_cast<std::int32_t>(message.message);
}

std::int32_t WindowEventWait() { return WindowEventFetch(-1); }

std::int32_t WindowEventMenu() { return gEvents.object; }

std::int32_t WindowEventGadget() { return gEvents.object; }

std::int32_t WindowEventType() { return gEvents.type; }

std::int32_t WindowEventWindow() { return gEvents.window; }

std::intptr_t WindowEventParam1() { return static_cast<std::intptr_t>(gEvents.param1); }

std::intptr_t WindowEventParam2() { return gEvents.param2; }

std::int32_t WindowEventWheelDelta() {
    return platform::SignedHiWord(static_cast<std::intptr_t>(gEvents.param1));
}

std::int32_t WindowEventModifiers() {
    std::int32_t keys = 0;
    if ((gEvents.modifiers & platform::FSHIFT) != 0) keys |= KEY_SHIFT;
    if ((gEvents.modifiers & platform::FCONTROL) != 0) keys |= KEY_CONTROL;
    if ((gEvents.modifiers & platform::FALT) != 0) keys |= KEY_ALT;
    return keys;
}

// ---- The window procedure --------------------------------------------------------------------

namespace {

std::intptr_t WindowProcedure(Handle hwnd, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) {
    const std::int32_t number = detail::WindowNumberOf(hwnd);
    gEvents.window = number;
    std::intptr_t result = 0;
    switch (message) {
        case platform::WM_MOVE:
        case platform::WM_CLOSE:
            // A close request never closes the window by itself.
            if (number != -1) QueueEvent(static_cast<std::int32_t>(message), number);
            return 0;
        case platform::WM_SIZE:
            if (number == -1 || wParam == platform::SIZE_MINIMIZED) {
                return platform::DefWindowProc(hwnd, message, wParam, lParam);
            }
            QueueEvent(EVENT_SIZE, number);
            return 0;
        case platform::WM_ACTIVATE:
            if (platform::LoWord(wParam) != 0) QueueEvent(EVENT_ACTIVATE, number);
            return 1;
        case platform::WM_ERASEBKGND:
            result = platform::DefWindowProc(hwnd, message, wParam, lParam);
            QueueEvent(EVENT_REPAINT, number);
            return result;
        case platform::WM_COMMAND: {
            if (detail::GadgetOfferMessage(hwnd, message, wParam, lParam, &result)) return result;
            const std::uint32_t code = platform::HiWord(wParam);
            const auto item = static_cast<std::int32_t>(platform::LoWord(wParam));
            if (lParam != 0) {  // from a control
                gEvents.object = platform::GetControlId(lParam);
                gEvents.type = static_cast<std::int32_t>(code);
                gEvents.pending = EVENT_GADGET;
            } else if (code != 0 && item == kTabItem) {
                detail::FocusForward();
            } else if (code != 0 && item == kShiftTabItem) {
                detail::FocusBackward();
            } else {  // a menu item or another shortcut
                gEvents.object = item;
                gEvents.pending = EVENT_MENU;
            }
            return 0;
        }
        case platform::WM_HSCROLL:
        case platform::WM_VSCROLL:
        case platform::WM_CTLCOLOREDIT:
        case platform::WM_CTLCOLORLISTBOX:
        case platform::WM_CTLCOLORBTN:
        case platform::WM_CTLCOLORSTATIC:
            if (detail::GadgetOfferMessage(hwnd, message, wParam, lParam, &result)) return result;
            return platform::DefWindowProc(hwnd, message, wParam, lParam);
        case static_cast<std::uint32_t>(GADGET_NOTIFY):
            gEvents.pending = EVENT_GADGET;
            gEvents.object = static_cast<std::int32_t>(wParam);
            gEvents.type = static_cast<std::int32_t>(lParam);
            return 0;
        default:
            return platform::DefWindowProc(hwnd, message, wParam, lParam);
    }
}

}  // namespace

// ---- Mouse position --------------------------------------------------------------------------

namespace {

bool MouseInClient(std::int32_t number, std::int32_t* x, std::int32_t* y) {
    WindowRecord* record = Lookup(number);
    if (record == nullptr) return false;
    platform::GetCursorPos(x, y);
    std::int32_t width = 0;
    std::int32_t height = 0;
    if (!platform::ScreenToClient(record->handle, x, y) ||
        !platform::GetClientSize(record->handle, &width, &height)) {
        return false;
    }
    // Inclusive: one pixel past the last column or row still counts.
    return *x >= 0 && *y >= 0 && *x <= width && *y <= height;
}

}  // namespace

std::int32_t WindowMouseX(std::int32_t number) {
    std::int32_t x = 0;
    std::int32_t y = 0;
    return MouseInClient(number, &x, &y) ? x : -1;
}

std::int32_t WindowMouseY(std::int32_t number) {
    std::int32_t x = 0;
    std::int32_t y = 0;
    return MouseInClient(number, &x, &y) ? y : -1;
}

}  // namespace gui
