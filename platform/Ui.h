// The window system stand-in: top-level windows, one message queue, window procedures,
// properties, shortcut tables, focus and the cursor. Controls, menus and the open-file dialog
// are in UiControls.h and UiFileDialog.h.
//
// Handles name windows and controls (0 = none). A top-level window's handle is the address
// of the widget that is its client area (below the menu bar), so code elsewhere in platform/
// can place its own widgets into it. Every entry validates its handle: a handle that names
// nothing makes the call do nothing and return 0 / false.
//
// Messages carry the numbers of WinMessages.h. Input that the toolkit delivers becomes
// messages, handed out one at a time; the toolkit has already handed the input to the
// control under it when the message is queued, and the notifications that delivery raised
// travel with the message and reach their procedures when it is dispatched. Notifications
// raised at any other time (a text set by the program, a focus moved by the program) reach
// their procedures at once. On Windows the controls are the system's own: a control raises
// its notifications itself while it takes the dispatched message, so they reach the window's
// procedure during the dispatch as well, after the control's procedure has seen the message,
// and `sent` stays empty. A fetch takes posted messages first, then input, each oldest
// first: a message posted while input waits comes before that input. Exposure of a
// top-level window gives one paint message, fetched only when no posted message or input
// waits. Paints that the program causes itself are not messages. A second press of the same
// button on the same window (or control, or menu bar), within the double-click time and two
// pixels of the first press each way, arrives as the button's double click; the press after
// a double click starts anew. This holds on both backends, whatever rectangle the system
// itself uses.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WinMessages.h"

namespace platform {

using Handle = std::intptr_t;
using WindowProc = std::intptr_t (*)(Handle window, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam);

// A message for a procedure, as sent.
struct SentMessage {
    Handle target = 0;
    std::uint32_t message = WM_NULL;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// A message taken from the queue.
struct Message {
    Handle window = 0;  // a top-level window or the control the input went to
    std::uint32_t message = WM_NULL;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::uint8_t keyModifiers = 0;  // FSHIFT | FCONTROL | FALT held at a key or mouse input
    std::vector<SentMessage> sent;  // notifications its delivery raised, in order
};

// Starts the toolkit and the message pump. Later calls do nothing.
void UiInit();

// ---- Top-level windows ---------------------------------------------------------------------

// Creates a hidden top-level window whose client area is clientWidth x clientHeight, with its
// outer frame at (x, y) unless usePlatformPosition. Style bits: caption, system menu,
// minimise and maximise boxes, sizing frame, border. Negative sizes count as 0.
Handle CreateTopWindow(std::string_view title, std::uint32_t style, std::int32_t x, std::int32_t y,
                       bool usePlatformPosition, std::int32_t clientWidth,
                       std::int32_t clientHeight, WindowProc proc);
// Shows a window, maximised (with or without a sizing frame) or normally. Showing activates
// it and sends its procedure, in this order, the activation, the background erase, the size
// and the move.
void ShowTopWindow(Handle window, bool maximised);
// Destroys a top-level window (with its controls and menu bar) or a control. Procedures get
// WM_DESTROY, then every control and finally the window itself WM_NCDESTROY.
bool DestroyWindow(Handle handle);
bool IsWindow(Handle handle);
bool IsTopWindow(Handle handle);

// Outer size of a window with that client size and style on this display.
void AdjustWindowSize(std::uint32_t style, std::int32_t clientWidth, std::int32_t clientHeight,
                      std::int32_t* outerWidth, std::int32_t* outerHeight);
void ScreenSize(std::int32_t* width, std::int32_t* height);

struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};
// A top-level window's outer rectangle or a control's rectangle, in screen coordinates.
bool GetWindowRect(Handle handle, Rect* rect);
bool GetClientSize(Handle handle, std::int32_t* width, std::int32_t* height);
bool ScreenToClient(Handle handle, std::int32_t* x, std::int32_t* y);
void GetCursorPos(std::int32_t* x, std::int32_t* y);

// A window title or a control's text (CP1252).
bool SetWindowText(Handle handle, std::string_view text);
std::string GetWindowText(Handle handle);

// The active top-level window of this program, or 0.
Handle GetActiveWindow();
// The window the user works with, when it is one of this program's; else 0.
Handle GetForegroundWindow();
// The control (or window) with the keyboard focus, or 0. SetFocus returns the previous one.
Handle GetFocus();
Handle SetFocus(Handle handle);

Handle GetParent(Handle handle);  // 0 for a top-level window
bool IsChild(Handle parent, Handle child);
// The controls inside a window, in the order of their creation.
std::vector<Handle> ChildWindows(Handle parent);
std::vector<Handle> TopLevelWindows();

bool IsWindowVisible(Handle handle);
bool IsWindowEnabled(Handle handle);
// A disabled top-level window takes no input; a disabled control greys out. Returns whether
// it was disabled before.
bool EnableWindow(Handle handle, bool enable);
std::uint32_t GetWindowStyle(Handle handle);

// ---- Procedures and messages ---------------------------------------------------------------

// Replaces a window's or control's procedure; returns the previous one. A control starts
// with none: the toolkit handles its input itself.
WindowProc SetWindowProc(Handle handle, WindowProc proc);
std::intptr_t CallWindowProc(WindowProc proc, Handle handle, std::uint32_t message,
                             std::uintptr_t wParam, std::intptr_t lParam);
// What the window system does with a message that a procedure does not handle.
std::intptr_t DefWindowProc(Handle handle, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam);
// Calls the handle's procedure now.
std::intptr_t SendMessage(Handle handle, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam);
// Appends a message to the posted messages, which are fetched before input.
bool PostMessage(Handle handle, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

// Takes the next message, waiting for one.
bool GetMessage(Message* message);
// Takes the next message if there is one, without waiting.
bool PeekMessage(Message* message);
// Waits until a message is there or timeoutMs has passed; true when one is there.
bool WaitMessage(std::int32_t timeoutMs);
// Delivers a message's recorded notifications, then the message to its window's procedure.
std::intptr_t DispatchMessage(const Message& message);

// Paints the pending parts of a window now: a pending exposure reaches the procedure as
// WM_PAINT, and the toolkit paints its controls.
void UpdateWindow(Handle window);

// ---- Properties and control identifiers ----------------------------------------------------

bool SetProp(Handle handle, std::string_view name, std::intptr_t value);
std::intptr_t GetProp(Handle handle, std::string_view name);  // 0 when not set
std::intptr_t RemoveProp(Handle handle, std::string_view name);
std::int32_t GetControlId(Handle control);
void SetControlId(Handle control, std::int32_t id);

// ---- Shortcuts -------------------------------------------------------------------------------

struct ShortcutEntry {
    std::uint8_t flags = 0;  // FVIRTKEY | FNOINVERT | FSHIFT | FCONTROL | FALT
    std::uint16_t key = 0;   // virtual key code
    std::uint16_t command = 0;
};
Handle CreateShortcutTable(const std::vector<ShortcutEntry>& entries);
void DestroyShortcutTable(Handle table);
// The table that key presses to this window are matched against when they arrive: a key
// that matches never reaches the focused control. The program then translates the key message
// against the table of the window it went to, also when that window is not (yet) reported
// active: otherwise the key would be lost.
void SetWindowShortcuts(Handle window, Handle table);
// When the message is a key press matching an entry of the table, sends the window
// WM_COMMAND (command, 1) and returns true; when the command is a greyed item of the window's
// menu bar (EnableMenuItem), it sends nothing and still returns true. Nothing else is sent
// (in particular no WM_INITMENU, which the system's own accelerators would send).
bool TranslateShortcut(Handle window, Handle table, const Message& message);

}  // namespace platform
