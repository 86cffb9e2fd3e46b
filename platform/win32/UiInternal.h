// Shared inside the Windows side of the window system stand-in: the handle registry and the
// procedures that stand between the system's window procedures and ours.
//
// A handle is the HWND of a top-level window or of a control. The system does most of what
// Ui.h asks by itself (message order, the menu bar inside the frame, notifications raised
// while a message is dispatched); the registry adds what it has no notion of: our procedure
// on each window, the creation order, the style the program asked for, shortcut tables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/WinApi.h"

namespace platform::win32 {

enum class HandleKind { Top, Control, StatusBar };

struct HandleInfo {
    HandleKind kind = HandleKind::Control;
    ControlClass controlClass = ControlClass::Static;
    WindowProc proc = nullptr;        // the program's procedure
    WNDPROC systemProc = nullptr;     // controls: the system class's own procedure
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::uint64_t order = 0;          // creation order
    Handle shortcuts = 0;             // top-level windows
    std::int32_t placeCount = 0;      // status bars
    Handle parent = 0;                // controls: the window that holds them
    bool destroying = false;          // top-level windows: from their WM_DESTROY on
    bool gone = false;                // controls: destroyed with their window, which still is
};

inline HWND Hwnd(Handle handle) { return reinterpret_cast<HWND>(handle); }
inline Handle HandleOf(HWND hwnd) { return reinterpret_cast<Handle>(hwnd); }

// Registry of live handles; a window leaves it after its WM_NCDESTROY. A control destroyed
// with its window stays until the window's WM_NCDESTROY has been handled, as Ui.h has it: the
// window's procedure still finds its controls and their parent then, though the system has
// already destroyed them.
void Register(HWND hwnd, const HandleInfo& info);
// Takes a handle out of the registry, with the controls kept for a window.
void Unregister(Handle handle);
// A control's WM_NCDESTROY has been handled: it leaves the registry, or stays while its
// window is being destroyed.
void ControlDestroyed(Handle control);
HandleInfo* Info(Handle handle);
HandleInfo* TopInfo(Handle handle);  // only for top-level windows
// The top-level window that holds a handle (itself for a top-level window), or 0.
Handle TopHandleOf(Handle handle);

// At a display scaling above 100 % the system's menu bar and status bar are taller than at
// 100 %, where the program's pixel layout was made; the window grows by the difference (in the
// system metric `metric`, the bar's least height), so that the program's part of the client
// area keeps its 100 % room and no bar covers a control; `by` -1 takes that back when the bar
// goes. At 100 % it does nothing.
void GrowForScaledBar(Handle top, int metric, int by = 1);
// The main display's dots per inch (96 at 100 %).
int ScreenDpi();

// Registers the window classes and starts the common controls. Later calls do nothing.
void EnsureClasses();
// The class name of top-level windows.
const wchar_t* TopClassName();

// Hands a control to our procedure: the program's procedure sees what Ui.h promises, the
// control's own class procedure the rest.
void SubclassControl(HWND control);

// True while the pump dispatches a message that the program never sees (a click on the
// frame, a caret timer): what that raises for the program must be posted, not sent.
bool InSystemDispatch();

// While a dialog of the program is open, no other window of the program takes input: every
// top-level window is disabled, and afterwards enabled again and its owner (or the program's
// first visible window) active. The system's dialogs run without an owner window: Wine does
// not paint a dialog that has one in a virtual X server, and the owner alone would leave the
// program's other windows open to input.
class ModalScope {
public:
    explicit ModalScope(Handle owner);
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    Handle owner_;
    std::vector<Handle> disabled_;
};

// A test's answer to a dialog gives its input while the dialog is open and then ends the
// dialog by a posted command, which comes before input: the dialog's loop would never take
// that input, and the windows would get it once enabled again. This takes it from the queue
// while the dialog still holds them disabled, where a user's input meets the dialog's loop.
void TakeInputGivenToTheDialog();

// CP1252 text with embedded zeros (a filter list) as UTF-16, zeros kept.
std::wstring WideKeepingZeros(std::string_view cp1252);

}  // namespace platform::win32
