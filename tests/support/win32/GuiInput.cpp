// The test input on Windows: mouse and keyboard input through SendInput, the system's own
// queue of hardware input, so that it takes the path of a real user's. The system then picks
// the window under the cursor (or with the focus), keeps the key state, sets the mouse
// capture and makes double clicks from its own clock, as for a user; posting window messages
// would skip all of that. Under Wine in a virtual X server the input goes to the server's
// queue at once, so the next fetch sees it.
//
// Two things are the test's own: the time stamps of mouse input come from a clock of this
// file that moves on by the double-click time after every release (separate clicks never make
// a double click, as with the other backend's test input), and the modifiers of a click or a
// turn of the wheel reach the program held with it, without key messages of their own (see
// TakeModifierKeyMessages).
#include "support/GuiInput.h"

#include <algorithm>
#include <utility>
#include <map>
#include <string>

#include "gui/Gadget.h"
#include "gui/Menu.h"
#include "gui/Window.h"
#include "platform/UiControls.h"
#include "platform/UiTesting.h"
#include "runtime/RtString.h"

#include <windows.h>
#include <commctrl.h>

namespace testing_support {
namespace {

HWND HwndOf(std::intptr_t handle) { return reinterpret_cast<HWND>(handle); }

HWND Top(std::int32_t window) {
    return static_cast<HWND>(platform::TopLevelWidget(gui::WindowHandleOf(window)));
}

POINT ToScreen(std::int32_t window, Point client) {
    POINT point{client.x(), client.y()};
    ::ClientToScreen(HwndOf(gui::WindowHandleOf(window)), &point);
    return point;
}

// ---- the clock of mouse input ----

DWORD gClock = 0;
bool gWithin = false;

DWORD NextTime() {
    if (gClock == 0) gClock = ::GetTickCount();
    return ++gClock;
}

void AfterRelease() {
    if (!gWithin) gClock += ::GetDoubleClickTime() + 1;
}

// ---- modifiers held for a click ----

void SendOne(INPUT input) { ::SendInput(1, &input, sizeof input); }

Modifiers gHeld = kNoModifier;

void ModifierKeys(Modifiers modifiers, bool up) {
    const std::pair<Modifiers, int> keys[] = {
        {kShift, VK_SHIFT}, {kControl, VK_CONTROL}, {kAlt, VK_MENU}};
    for (const auto& [modifier, key] : keys) {
        if ((modifiers & modifier) == 0) continue;
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = static_cast<WORD>(key);
        input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC));
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        SendOne(input);
    }
}

// The modifier keys' own messages are taken out of the queue once the input they are held
// for is in it: taking them sets the key state that the program reads with that input, and
// they never reach the program, as with the other backend, where a click carries its
// modifiers without key events (and Alt's own release would open the window menu). Until
// then nothing is taken: taking lets Wine hear the X server, whose word on the keys after the
// cursor entered a window (which lacks these keys) would release them before the click.
void TakeModifierKeyMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE) &&
           (msg.wParam == VK_SHIFT || msg.wParam == VK_CONTROL || msg.wParam == VK_MENU)) {
        ::PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE);
    }
}

void ReleaseHeldModifiers() {
    if (gHeld == kNoModifier) return;
    ModifierKeys(gHeld, true);
    TakeModifierKeyMessages();
    gHeld = kNoModifier;
}

// Presses the modifiers for the input that follows at once; TakeModifierKeyMessages after it.
void HoldModifiers(Modifiers modifiers) {
    ReleaseHeldModifiers();
    // A move just before may have taken the pointer into a window. The X server answers that
    // with the key state it knows, where the test's modifier keys never are, and Wine takes
    // that over when it arrives: it must arrive before the modifiers go down.
    if (modifiers != kNoModifier) ProcessEventsFor(50);
    ModifierKeys(modifiers, false);
    gHeld = modifiers;
}

// ---- sending ----

// A mouse input at a screen point; the system adds a move when the cursor is elsewhere.
void MouseAt(POINT screen, DWORD flags, DWORD data = 0) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    // A quarter pixel in, so that both ways of scaling back land on the pixel.
    input.mi.dx = static_cast<LONG>((4LL * screen.x + 1) * 65536 / (4LL * width));
    input.mi.dy = static_cast<LONG>((4LL * screen.y + 1) * 65536 / (4LL * height));
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input.mi.mouseData = data;
    input.mi.time = NextTime();
    SendOne(input);
}

DWORD DownFlag(Button button) {
    switch (button) {
        case Button::Right:
            return MOUSEEVENTF_RIGHTDOWN;
        case Button::Middle:
            return MOUSEEVENTF_MIDDLEDOWN;
        case Button::Left:
            break;
    }
    return MOUSEEVENTF_LEFTDOWN;
}

// The up flag is twice the down flag for every button.
DWORD UpFlag(Button button) { return DownFlag(button) << 1; }

bool IsExtended(int key) {
    return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE ||
           key == VK_DIVIDE;
}

void KeyEvent(int key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(key);
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtended(key) ? KEYEVENTF_EXTENDEDKEY : 0);
    SendOne(input);
}

void KeyWithModifiers(int key, Modifiers modifiers) {
    ReleaseHeldModifiers();
    if (modifiers & kShift) KeyEvent(VK_SHIFT, false);
    if (modifiers & kControl) KeyEvent(VK_CONTROL, false);
    if (modifiers & kAlt) KeyEvent(VK_MENU, false);
    KeyEvent(key, false);
    KeyEvent(key, true);
    if (modifiers & kAlt) KeyEvent(VK_MENU, true);
    if (modifiers & kControl) KeyEvent(VK_CONTROL, true);
    if (modifiers & kShift) KeyEvent(VK_SHIFT, true);
}

std::string Utf8(const std::wstring& wide) {
    std::string utf8(wide.size() * 3, '\0');
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                              static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(std::max(0, length)));
    return utf8;
}

// A menu item's text as UTF-8, without the mnemonic marks; without the shortcut after a tab
// unless `shortcut` asks for it.
std::string ItemText(HMENU menu, int position, bool shortcut = false) {
    wchar_t text[256] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
    std::wstring item(text);
    const std::size_t tab = item.find(L'\t');
    if (tab != std::wstring::npos && !shortcut) item.resize(tab);
    std::wstring plain;  // without the mnemonic marks
    for (std::size_t i = 0; i < item.size(); ++i) {
        if (item[i] == L'&' && i + 1 < item.size()) ++i;
        plain.push_back(item[i]);
    }
    return Utf8(plain);
}

int FindItem(HMENU menu, const std::string& text) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (ItemText(menu, i) == text) return i;
    }
    return -1;
}

// The drop-down that ChooseMenuItem waits for; the system's menu loop runs the timer.
struct PendingItem {
    HWND owner = nullptr;
    HMENU menu = nullptr;
    int position = -1;
    int ticks = 0;
    UINT_PTR timer = 0;
};
PendingItem gPending;

HWND OpenPopup() {
    HWND popup = ::FindWindowW(L"#32768", nullptr);
    return popup != nullptr && ::IsWindowVisible(popup) ? popup : nullptr;
}

void CALLBACK ClickPendingItem(HWND, UINT, UINT_PTR, DWORD) {
    if (OpenPopup() == nullptr) {
        if (++gPending.ticks > 500) {  // the menu never opened
            ::KillTimer(nullptr, gPending.timer);
            gPending = {};
        }
        return;
    }
    ::KillTimer(nullptr, gPending.timer);
    const PendingItem item = gPending;
    gPending = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    ::GetMenuItemInfoW(item.menu, static_cast<UINT>(item.position), TRUE, &info);
    RECT rect{};
    if ((info.fState & MFS_DISABLED) != 0 ||
        !::GetMenuItemRect(item.owner, item.menu, static_cast<UINT>(item.position), &rect)) {
        // A greyed item does nothing when clicked; the user closes the menu.
        ::EndMenu();
        return;
    }
    // Wine places a drop-down's item rectangles where the first drop-down of the bar opens,
    // whichever it is; their heights are right. Across, the middle of the open drop-down is
    // inside every item.
    RECT popup{};
    ::GetWindowRect(OpenPopup(), &popup);
    const POINT centre{(popup.left + popup.right) / 2, (rect.top + rect.bottom) / 2};
    MouseAt(centre, MOUSEEVENTF_LEFTDOWN);
    MouseAt(centre, MOUSEEVENTF_LEFTUP);
    AfterRelease();
}

// True when some window of this thread is a dialog of the system's (a requester).
BOOL CALLBACK FindDialog(HWND hwnd, LPARAM found) {
    wchar_t name[16] = {};
    ::GetClassNameW(hwnd, name, 16);
    if (::IsWindowVisible(hwnd) && std::wstring(name) == L"#32770") {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

std::map<UINT_PTR, std::function<void()>> gLater;

void CALLBACK RunLaterNow(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    const auto found = gLater.find(timer);
    if (found == gLater.end()) return;
    const std::function<void()> action = std::move(found->second);
    gLater.erase(found);
    action();
}

}  // namespace

bool WaitForWindow(std::int32_t window) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 5000) {
        HWND top = static_cast<HWND>(platform::TopLevelQWindow(gui::WindowHandleOf(window)));
        if (top != nullptr && ::GetForegroundWindow() == top && ::GetActiveWindow() == top) {
            // The X server's focus event follows, and with it Wine takes the key state from
            // the server, where the test's modifier keys never were: it must come before the
            // next input that holds one.
            ProcessEventsFor(50);
            return true;
        }
        ProcessEventsFor(10);
    }
    return false;
}

bool ActivateWindow(std::int32_t window) {
    HWND top = static_cast<HWND>(platform::TopLevelQWindow(gui::WindowHandleOf(window)));
    if (top == nullptr) return false;
    ::SetForegroundWindow(top);
    return WaitForWindow(window);
}

void ProcessEventsFor(int ms) {
    // The program fetches its messages itself; what the system does on its own (the X
    // server's events, messages sent from elsewhere) is done while looking.
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        if (ms > 0) ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (::GetTickCount() - start < static_cast<DWORD>(std::max(ms, 0)));
}

void RunLater(int ms, std::function<void()> action) {
    const UINT_PTR timer = ::SetTimer(nullptr, 0, static_cast<UINT>(std::max(ms, 1)), RunLaterNow);
    gLater[timer] = std::move(action);
}

void MouseMove(std::int32_t window, Point client) {
    ReleaseHeldModifiers();
    MouseAt(ToScreen(window, client), 0);
}

void Click(std::int32_t window, Point client, Button button, Modifiers modifiers) {
    const POINT screen = ToScreen(window, client);
    HoldModifiers(modifiers);
    MouseAt(screen, DownFlag(button));
    MouseAt(screen, UpFlag(button));
    TakeModifierKeyMessages();
    AfterRelease();
}

void Press(std::int32_t window, Point client, Button button) {
    ReleaseHeldModifiers();
    MouseAt(ToScreen(window, client), DownFlag(button));
}

void Release(std::int32_t window, Point client, Button button) {
    ReleaseHeldModifiers();
    MouseAt(ToScreen(window, client), UpFlag(button));
    AfterRelease();
}

void ReleaseOutside(std::int32_t window) {
    RECT frame{};
    ::GetWindowRect(Top(window), &frame);
    // Beyond the frame's top-left corner, on the desktop.
    MouseAt(POINT{std::max(0L, frame.left - 50), std::max(0L, frame.top - 50)}, MOUSEEVENTF_LEFTUP);
    AfterRelease();
}

void DoubleClick(std::int32_t window, Point client) {
    ReleaseHeldModifiers();
    const POINT screen = ToScreen(window, client);
    MouseAt(screen, MOUSEEVENTF_LEFTDOWN);
    MouseAt(screen, MOUSEEVENTF_LEFTUP);
    MouseAt(screen, MOUSEEVENTF_LEFTDOWN);
    MouseAt(screen, MOUSEEVENTF_LEFTUP);
    AfterRelease();
}

void NextPressWithinDoubleClickTime(bool within) {
    if (within) {
        gClock -= ::GetDoubleClickTime() + 1;
    } else {
        gClock += ::GetDoubleClickTime() + 1;
    }
}

void Wheel(std::int32_t window, Point client, int delta, Modifiers modifiers, bool horizontal) {
    const POINT screen = ToScreen(window, client);
    HoldModifiers(modifiers);
    // The message counts a turn to the right as positive, the other backend to the left.
    MouseAt(screen, horizontal ? MOUSEEVENTF_HWHEEL : MOUSEEVENTF_WHEEL,
            static_cast<DWORD>(horizontal ? -delta : delta));
    TakeModifierKeyMessages();
}

void Key(std::int32_t, int key, Modifiers modifiers) { KeyWithModifiers(key, modifiers); }

void Type(std::int32_t, const std::string& text) {
    for (const char c : text) {
        const SHORT scan = ::VkKeyScanW(static_cast<wchar_t>(static_cast<unsigned char>(c)));
        KeyWithModifiers(scan & 0xFF, (scan & 0x100) != 0 ? kShift : kNoModifier);
    }
}

void CloseBox(std::int32_t window) {
    // What a click on the close box gives the window.
    ::PostMessageW(Top(window), WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CursorTo(std::int32_t window, Point client) {
    const POINT screen = ToScreen(window, client);
    ::SetCursorPos(screen.x, screen.y);
}

void ParkCursor() {
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
}

Point GadgetCentre(std::int32_t gadget) {
    HWND control = HwndOf(gui::GadgetHandleOf(gadget));
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    // The centre as the other backend counts it: the middle pixel, rounded down.
    return {rect.left + (rect.right - rect.left - 1) / 2, rect.top + (rect.bottom - rect.top - 1) / 2};
}

void ClickGadget(std::int32_t window, std::int32_t gadget) { Click(window, GadgetCentre(gadget)); }

Point TrackBarHandle(std::int32_t gadget, int value) {
    HWND bar = HwndOf(gui::GadgetHandleOf(gadget));
    RECT channel{};
    RECT thumb{};
    ::SendMessageW(bar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    ::SendMessageW(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const int minimum = static_cast<int>(::SendMessageW(bar, TBM_GETRANGEMIN, 0, 0));
    const int maximum = static_cast<int>(::SendMessageW(bar, TBM_GETRANGEMAX, 0, 0));
    const int range = std::max(1, maximum - minimum);
    POINT centre{};
    if ((::GetWindowLongW(bar, GWL_STYLE) & TBS_VERT) != 0) {
        // The channel of a vertical bar is given as if it lay: its long side is the height.
        if (channel.right - channel.left > channel.bottom - channel.top) {
            channel = RECT{channel.top, channel.left, channel.bottom, channel.right};
        }
        const int thumbLength = thumb.bottom - thumb.top;
        const int travel = channel.bottom - channel.top - thumbLength;
        centre = {(thumb.left + thumb.right) / 2,
                  channel.top + travel * (value - minimum) / range + thumbLength / 2};
    } else {
        const int thumbLength = thumb.right - thumb.left;
        const int travel = channel.right - channel.left - thumbLength;
        centre = {channel.left + travel * (value - minimum) / range + thumbLength / 2,
                  (thumb.top + thumb.bottom) / 2};
    }
    ::MapWindowPoints(bar, ::GetParent(bar), &centre, 1);
    return {centre.x, centre.y};
}

bool ChooseMenuItem(std::int32_t window, const std::string& title, const std::string& item) {
    HWND top = Top(window);
    HMENU bar = top == nullptr ? nullptr : ::GetMenu(top);
    if (bar == nullptr) return false;
    const int titlePosition = FindItem(bar, title);
    if (titlePosition < 0) return false;
    HMENU dropDown = ::GetSubMenu(bar, titlePosition);
    const int itemPosition = dropDown == nullptr ? -1 : FindItem(dropDown, item);
    RECT rect{};
    if (itemPosition < 0 ||
        !::GetMenuItemRect(top, bar, static_cast<UINT>(titlePosition), &rect)) {
        return false;
    }
    // The click on the title opens the drop-down in the system's menu loop once the program
    // dispatches it; a timer of that loop then clicks the item.
    ReleaseHeldModifiers();
    const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    MouseAt(centre, MOUSEEVENTF_LEFTDOWN);
    MouseAt(centre, MOUSEEVENTF_LEFTUP);
    AfterRelease();
    if (gPending.timer != 0) ::KillTimer(nullptr, gPending.timer);
    gPending = PendingItem{top, dropDown, itemPosition, 0, 0};
    gPending.timer = ::SetTimer(nullptr, 0, 10, ClickPendingItem);
    return true;
}

bool MenuIsOpen() { return OpenPopup() != nullptr; }

bool RequesterIsOpen() {
    bool found = false;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string WindowTitle(std::int32_t window) {
    HWND top = Top(window);
    if (top == nullptr) return {};
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(top)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(top, text.data(), static_cast<int>(text.size()))));
    return Utf8(text);
}

void CloseOpenMenu() {
    if (OpenPopup() != nullptr) ::EndMenu();
}

std::vector<bool> MenuItemShownEnabled(std::int32_t window, const std::string& item) {
    std::vector<bool> states;
    HMENU bar = ::GetMenu(Top(window));
    if (bar == nullptr) return states;
    for (int title = 0; title < ::GetMenuItemCount(bar); ++title) {
        HMENU dropDown = ::GetSubMenu(bar, title);
        for (int i = 0; dropDown != nullptr && i < ::GetMenuItemCount(dropDown); ++i) {
            if (ItemText(dropDown, i) != item) continue;
            const UINT state = ::GetMenuState(dropDown, static_cast<UINT>(i), MF_BYPOSITION);
            states.push_back((state & (MF_GRAYED | MF_DISABLED)) == 0);
        }
    }
    return states;
}

std::vector<std::string> MenuItemTexts(std::int32_t window) {
    std::vector<std::string> texts;
    HMENU bar = ::GetMenu(Top(window));
    for (int title = 0; bar != nullptr && title < ::GetMenuItemCount(bar); ++title) {
        HMENU dropDown = ::GetSubMenu(bar, title);
        for (int i = 0; dropDown != nullptr && i < ::GetMenuItemCount(dropDown); ++i) {
            if ((::GetMenuState(dropDown, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) == 0) {
                texts.push_back(ItemText(dropDown, i, true));
            }
        }
    }
    return texts;
}

int MenuBarHeight(std::int32_t window) {
    HWND top = Top(window);
    if (::GetMenu(top) == nullptr) return 0;
    MENUBARINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMenuBarInfo(top, OBJID_MENU, 0, &info)) return 0;
    return info.rcBar.bottom - info.rcBar.top;
}

bool HasCaption(std::int32_t window) {
    return (::GetWindowLongW(Top(window), GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
}

bool IsMaximised(std::int32_t window) { return ::IsZoomed(Top(window)) != FALSE; }

bool IsSizable(std::int32_t window) {
    return (::GetWindowLongW(Top(window), GWL_STYLE) & WS_THICKFRAME) != 0;
}

void Restore(std::int32_t window) { ::ShowWindow(Top(window), SW_RESTORE); }

void HideWindow(std::int32_t window) { ::ShowWindow(Top(window), SW_HIDE); }

bool ShowWindowAgain(std::int32_t window) {
    ::ShowWindow(Top(window), SW_SHOW);
    return WaitForWindow(window);
}

void Expose(std::int32_t window) {
    // What the window system does when another window uncovers this one.
    ::RedrawWindow(Top(window), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void GrowWindow(std::int32_t window, int byWidth, int byHeight) {
    HWND top = Top(window);
    RECT frame{};
    ::GetWindowRect(top, &frame);
    ::SetWindowPos(top, nullptr, 0, 0, frame.right - frame.left + byWidth,
                   frame.bottom - frame.top + byHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoveWindowOver(std::int32_t window, std::int32_t other, Point offset) {
    RECT frame{};
    ::GetWindowRect(Top(other), &frame);
    ::SetWindowPos(Top(window), nullptr, frame.left + offset.x(), frame.top + offset.y(), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void HideControl(std::intptr_t control) { ::ShowWindow(HwndOf(control), SW_HIDE); }

namespace {
// A control paints in its WM_PAINT, and some of the system's controls (labels) also paint at
// once when their text is set, outside WM_PAINT; either way they ask their window for the
// colours with WM_CTLCOLOR*, which counts as a paint when no WM_PAINT of the control is running.
struct Counting {
    HWND control = nullptr;
    int* paints = nullptr;
    bool inPaint = false;
};

LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR data) {
    auto* counting = reinterpret_cast<Counting*>(data);
    if (message != WM_PAINT) return ::DefSubclassProc(hwnd, message, wParam, lParam);
    ++*counting->paints;
    counting->inPaint = true;
    const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
    counting->inPaint = false;
    return result;
}

LRESULT CALLBACK ParentCountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR data) {
    auto* counting = reinterpret_cast<Counting*>(data);
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC &&
        reinterpret_cast<HWND>(lParam) == counting->control && !counting->inPaint) {
        ++*counting->paints;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}
}  // namespace

PaintCount::PaintCount(std::intptr_t control) : control_(control) {
    auto* counting = new Counting{HwndOf(control_), &paints_, false};
    hook_ = counting;
    ::SetWindowSubclass(HwndOf(control_), CountingProc, 1, reinterpret_cast<DWORD_PTR>(counting));
    ::SetWindowSubclass(::GetParent(HwndOf(control_)), ParentCountingProc, 1,
                        reinterpret_cast<DWORD_PTR>(counting));
}

PaintCount::~PaintCount() {
    if (::IsWindow(HwndOf(control_))) {
        ::RemoveWindowSubclass(::GetParent(HwndOf(control_)), ParentCountingProc, 1);
        ::RemoveWindowSubclass(HwndOf(control_), CountingProc, 1);
    }
    delete static_cast<Counting*>(hook_);
}

}  // namespace testing_support
