// Numbered top-level windows and the program's one stream of events.
//
// The program names its windows by numbers (-1 = the next free one, whose identifier the
// open returns) and reads everything that happens to them as integer event codes, one at a
// time. Gadgets, menus and shortcuts notify through the same stream. A text argument that is
// a default-constructed string_view counts as "no text".
#pragma once

#include <cstdint>
#include <string_view>

namespace gui {

// The platform handle of a window: the address of its client area's widget.
using WindowHandle = std::intptr_t;

// Event codes.
inline constexpr std::int32_t EVENT_GADGET = 13100;
inline constexpr std::int32_t EVENT_MENU = 13101;
inline constexpr std::int32_t GADGET_NOTIFY = 13103;  // internal; arrives as EVENT_GADGET
inline constexpr std::int32_t EVENT_ACTIVATE = 13104;
inline constexpr std::int32_t EVENT_CLOSE = 16;
inline constexpr std::int32_t EVENT_SIZE = 5;
inline constexpr std::int32_t EVENT_MOVE = 3;
inline constexpr std::int32_t EVENT_REPAINT = 15;
// Raw mouse messages returned as event codes.
inline constexpr std::int32_t EVENT_MOUSE_MOVE = 512;
inline constexpr std::int32_t EVENT_LEFT_DOWN = 513;
inline constexpr std::int32_t EVENT_LEFT_UP = 514;
inline constexpr std::int32_t EVENT_LEFT_DOUBLE = 515;
inline constexpr std::int32_t EVENT_RIGHT_DOWN = 516;
inline constexpr std::int32_t EVENT_RIGHT_UP = 517;
inline constexpr std::int32_t EVENT_RIGHT_DOUBLE = 518;
inline constexpr std::int32_t EVENT_MIDDLE_DOWN = 519;
inline constexpr std::int32_t EVENT_MIDDLE_UP = 520;
// The wheel: the first parameter's high half is the turn (120 a notch, positive away from the
// user or, for the horizontal wheel, to the right), its low half the MOUSE_ bits below.
inline constexpr std::int32_t EVENT_MOUSE_WHEEL = 522;
inline constexpr std::int32_t EVENT_MOUSE_HWHEEL = 526;
inline constexpr std::int32_t WHEEL_NOTCH = 120;
// Buttons held, in the low half of a mouse message's first parameter.
inline constexpr std::int32_t MOUSE_LEFT_HELD = 0x1;
inline constexpr std::int32_t MOUSE_RIGHT_HELD = 0x2;
inline constexpr std::int32_t MOUSE_MIDDLE_HELD = 0x10;
// Modifier keys, as WindowEventModifiers gives them (the bits of WindowAddShortcut's key).
inline constexpr std::int32_t KEY_SHIFT = 0x10000;
inline constexpr std::int32_t KEY_CONTROL = 0x20000;
inline constexpr std::int32_t KEY_ALT = 0x40000;
// Virtual key codes of keys without a character of their own in WindowAddShortcut's key (letters
// and digits are their upper-case ASCII codes).
inline constexpr std::int32_t KEYCODE_ENTER = 0x0D;
inline constexpr std::int32_t KEYCODE_ESCAPE = 0x1B;
inline constexpr std::int32_t KEYCODE_LEFT = 0x25;
inline constexpr std::int32_t KEYCODE_UP = 0x26;
inline constexpr std::int32_t KEYCODE_RIGHT = 0x27;
inline constexpr std::int32_t KEYCODE_DOWN = 0x28;
inline constexpr std::int32_t KEYCODE_DELETE = 0x2E;
inline constexpr std::int32_t KEYCODE_NUMPAD_0 = 0x60;
inline constexpr std::int32_t KEYCODE_NUMPAD_PLUS = 0x6B;
inline constexpr std::int32_t KEYCODE_NUMPAD_MINUS = 0x6D;
inline constexpr std::int32_t KEYCODE_PLUS = 0xBB;  // '+' beside the letters
inline constexpr std::int32_t KEYCODE_MINUS = 0xBD;
// Event types of gadget events.
inline constexpr std::int32_t EVENT_TYPE_CHANGE = 768;
inline constexpr std::int32_t EVENT_TYPE_FOCUS = 14000;
inline constexpr std::int32_t EVENT_TYPE_LOST_FOCUS = 14001;

// Window style bits of WindowOpen's flags.
inline constexpr std::int32_t WINDOW_CAPTION = 0x00C00000;
inline constexpr std::int32_t WINDOW_SYSTEM_MENU = 0x00080000;
inline constexpr std::int32_t WINDOW_SIZING_FRAME = 0x00040000;
inline constexpr std::int32_t WINDOW_MINIMIZE_BOX = 0x00020000;
inline constexpr std::int32_t WINDOW_MAXIMIZE_BOX = 0x00010000;
// WindowOpen flags beyond the style bits.
inline constexpr std::int32_t WINDOW_CENTER_SCREEN = 0x1;
inline constexpr std::int32_t WINDOW_CENTER_PARENT = 0x2;
inline constexpr std::int32_t WINDOW_INVISIBLE = 0x10000000;
inline constexpr std::int32_t WINDOW_MAXIMIZED = 0x01000000;
inline constexpr std::int32_t WINDOW_DEFAULT_POSITION = -65535;

// Start-up and shut-down steps (the shut-down step closes every window).
void WindowLibraryInit();
void WindowLibraryEnd();

// Opens a window with a client area of the given size; x, y place its outer frame. Flags:
// 1 centres it on the screen, 2 over the active window, 0x10000000 keeps it invisible,
// 0x01000000 shows it maximised; other bits are window style bits (a caption is added when
// there are none). Returns the handle, with number -1 the new identifier, 0 on failure.
WindowHandle WindowOpen(std::int32_t number, std::int32_t x, std::int32_t y,
                        std::int32_t clientWidth, std::int32_t clientHeight, std::string_view title,
                        std::int32_t flags);
void WindowClose(std::int32_t number);
// Non-zero on success; 0 for no such window or no text.
std::int32_t WindowSetTitle(std::int32_t number, std::string_view text);
// key: virtual key code in bits 0-15, bit 16 Shift, bit 17 Control, bit 18 Alt. A key that
// exists gets the new item. Returns the window's new shortcut table, 0 for no such window.
std::intptr_t WindowAddShortcut(std::int32_t number, std::int32_t key, std::int32_t item);
// Takes the shortcut of `key` (as above) away, so that the key reaches the controls again.
// Returns the window's new shortcut table, 0 for no such window.
std::intptr_t WindowRemoveShortcut(std::int32_t number, std::int32_t key);

// The next event code: queued events first, then one platform message. timeoutMs: -1 waits
// without limit, 0 does not wait, n waits at most n ms. 0 when nothing arrived in time.
std::int32_t WindowEventFetch(std::int32_t timeoutMs);
std::int32_t WindowEventWait();
// The item id / gadget number of the last menu or gadget event (the same field).
std::int32_t WindowEventMenu();
std::int32_t WindowEventGadget();
// The current event's gadget event type, -1 when it has none.
std::int32_t WindowEventType();
// The window of the current event (-1 when its window has no number).
std::int32_t WindowEventWindow();
// The two parameters of the last platform message returned as an event (mouse messages: the
// buttons held and the position; the wheel: see EVENT_MOUSE_WHEEL).
std::intptr_t WindowEventParam1();
std::intptr_t WindowEventParam2();
// The turn of the last wheel event, from its first parameter: WHEEL_NOTCH a notch, positive away
// from the user or to the right.
std::int32_t WindowEventWheelDelta();
// KEY_SHIFT | KEY_CONTROL | KEY_ALT held when the last key or mouse input returned as an event
// arrived.
std::int32_t WindowEventModifiers();

// The cursor in the window's client area; -1 outside (x = width still counts as inside) or
// for no such window.
std::int32_t WindowMouseX(std::int32_t number);
std::int32_t WindowMouseY(std::int32_t number);

// Paints the pending areas of a window and its controls now.
void UpdateWindow(WindowHandle handle);

// The handle of window `number`, 0 for none (for code that needs the window of a number).
WindowHandle WindowHandleOf(std::int32_t number);

// The top edge and the right edge (exclusive) of the window's outer frame on the screen, for
// placing another window beside it; 0 for no such window.
std::int32_t WindowTop(std::int32_t number);
std::int32_t WindowRight(std::int32_t number);
// The width of the screen the windows are on.
std::int32_t DesktopWidth();

}  // namespace gui
