// The message pump on the system's own queue.
//
// The system already hands messages out in the order Ui.h asks for: sent ones at once,
// then posted ones, then input, each oldest first, and a paint only when nothing else
// waits. The pump hands the program the messages of its own windows and controls that the
// other backend gives it too (input, posted messages, the paint of a top-level window) and
// dispatches the rest itself: timers of carets and sliders, the frame's own clicks, paints
// of controls and of the presentation surface.
//
// Double clicks follow the rule that the other backend follows too, in our own code: a second
// press of the same button on the same window, within the double-click time and two pixels
// of the first, is a double click. The system's own rectangle differs from one system to the
// next (one pixel each way under Wine), so the pump decides each press itself, for the
// windows that take double clicks at all: the client area of a class with CS_DBLCLKS, and the
// menu bar.
//
// Notifications travel with their input in the system's own way: a control raises them
// while it takes the message, that is when the program dispatches it. So `sent` stays
// empty here.
#include <algorithm>
#include <cstdlib>
#include <optional>

#include "platform/win32/UiInternal.h"

namespace platform {
namespace win32 {
namespace {

int gSystemDispatch = 0;
std::optional<MSG> gHeld;  // taken from the queue by WaitMessage, handed out next

bool IsInput(UINT message) {
    return (message >= WM_KEYDOWN && message <= WM_SYSCHAR && message != WM_DEADCHAR &&
            message != WM_SYSDEADCHAR) ||
           (message >= WM_MOUSEMOVE && message <= WM_MOUSEHWHEEL);
}

// True for messages the system posts for itself.
bool IsSystemPost(UINT message) {
    return message == WM_NULL || message == WM_TIMER || message == 0x0118 /* caret blink */ ||
           message == WM_QUIT || message == WM_DEADCHAR || message == WM_SYSDEADCHAR ||
           (message >= 0x02A0 && message <= 0x02A3) /* hover and leave */ ||
           (message >= WM_IME_STARTCOMPOSITION && message <= WM_IME_KEYLAST) ||
           (message >= 0x0281 && message <= 0x0291) /* input method */ || message == WM_INPUT ||
           message >= 0xC000;
}

bool ForProgram(const MSG& msg) {
    HandleInfo* info = Info(HandleOf(msg.hwnd));
    if (info == nullptr) return false;
    if (IsInput(msg.message)) return true;
    if (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK) {
        return info->kind == HandleKind::Top && msg.wParam == HTMENU;
    }
    if (msg.message == WM_PAINT) return info->kind == HandleKind::Top;
    return !IsSystemPost(msg.message);
}

struct LastPress {
    HWND hwnd = nullptr;
    UINT down = 0;
    WPARAM xButton = 0;
    DWORD time = 0;
    POINT pt{};
};
std::optional<LastPress> gLastPress;

// The press message of a button's press or double click, or 0 for other messages.
UINT PressOf(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN:
            return message;
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
        case WM_XBUTTONDBLCLK:
        case WM_NCLBUTTONDBLCLK:
        case WM_NCRBUTTONDBLCLK:
        case WM_NCMBUTTONDBLCLK:
            return message - 2;  // the double click's number is two above the press
        default:
            return 0;
    }
}

// Makes a press of the program's a double click or a plain press by the rule above.
void DecideDoubleClick(MSG* msg) {
    const UINT down = PressOf(msg->message);
    if (down == 0) return;
    const bool nonClient = down < WM_MOUSEFIRST;
    const bool takesDouble =
        nonClient || (::GetClassLongPtrW(msg->hwnd, GCL_STYLE) & CS_DBLCLKS) != 0;
    const WPARAM xButton = down == WM_XBUTTONDOWN ? HIWORD(msg->wParam) : 0;
    const bool isDouble = takesDouble && gLastPress && gLastPress->hwnd == msg->hwnd &&
                          gLastPress->down == down && gLastPress->xButton == xButton &&
                          msg->time - gLastPress->time < ::GetDoubleClickTime() &&
                          std::abs(msg->pt.x - gLastPress->pt.x) <= 2 &&
                          std::abs(msg->pt.y - gLastPress->pt.y) <= 2;
    if (isDouble) {
        msg->message = down + 2;
        gLastPress.reset();
    } else {
        msg->message = down;
        gLastPress = LastPress{msg->hwnd, down, xButton, msg->time, msg->pt};
    }
}

void SystemDispatch(const MSG& msg) {
    if (PressOf(msg.message) != 0) gLastPress.reset();  // a press elsewhere ends the pair
    ++gSystemDispatch;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    --gSystemDispatch;
}

// Shift and Strg held at a mouse input are the ones its message names: the system noted
// them when the input arrived. The key state says the same on Windows; under Wine it may
// since have been set from the X server's, which lacks keys given as input by a program.
std::uint8_t HeldModifiers(const MSG& msg) {
    const bool namesKeys = msg.message >= WM_MOUSEMOVE && msg.message <= WM_MOUSEHWHEEL;
    const auto keys = static_cast<WORD>(LOWORD(msg.wParam));
    std::uint8_t flags = 0;
    if (namesKeys ? (keys & MK_SHIFT) != 0 : ::GetKeyState(VK_SHIFT) < 0) flags |= FSHIFT;
    if (namesKeys ? (keys & MK_CONTROL) != 0 : ::GetKeyState(VK_CONTROL) < 0) flags |= FCONTROL;
    if (::GetKeyState(VK_MENU) < 0) flags |= FALT;
    return flags;
}

void Hand(const MSG& msg, Message* out) {
    *out = Message{};
    out->window = HandleOf(msg.hwnd);
    out->message = msg.message;
    out->wParam = msg.wParam;
    out->lParam = msg.lParam;
    if (IsInput(msg.message) || msg.message == WM_NCLBUTTONDOWN ||
        msg.message == WM_NCRBUTTONDOWN) {
        out->keyModifiers = HeldModifiers(msg);
    }
}

// The next message for the program without waiting; the system's own are dispatched.
bool Take(MSG* msg) {
    if (gHeld) {
        *msg = *gHeld;
        gHeld.reset();
        if (Info(HandleOf(msg->hwnd)) != nullptr) return true;
    }
    while (::PeekMessageW(msg, nullptr, 0, 0, PM_REMOVE)) {
        if (ForProgram(*msg)) {
            DecideDoubleClick(msg);
            return true;
        }
        SystemDispatch(*msg);
    }
    return false;
}

}  // namespace

bool InSystemDispatch() { return gSystemDispatch > 0; }

}  // namespace win32

using namespace win32;

bool GetMessage(Message* message) {
    UiInit();
    MSG msg;
    if (Take(&msg)) {
        Hand(msg, message);
        return true;
    }
    for (;;) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) return false;
        if (got != 0 && ForProgram(msg)) {
            DecideDoubleClick(&msg);
            break;
        }
        if (got != 0) SystemDispatch(msg);
    }
    Hand(msg, message);
    return true;
}

bool PeekMessage(Message* message) {
    UiInit();
    MSG msg;
    if (!Take(&msg)) return false;
    Hand(msg, message);
    return true;
}

bool WaitMessage(std::int32_t timeoutMs) {
    UiInit();
    const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(std::max(0, timeoutMs));
    for (;;) {
        MSG msg;
        if (Take(&msg)) {
            gHeld = msg;
            return true;
        }
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return false;
        ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now),
                                      QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

std::intptr_t DispatchMessage(const Message& message) {
    for (const SentMessage& sent : message.sent) {
        if (Info(sent.target) != nullptr) {
            SendMessage(sent.target, sent.message, sent.wParam, sent.lParam);
        }
    }
    if (Info(message.window) == nullptr) return 0;
    MSG msg{};
    msg.hwnd = Hwnd(message.window);
    msg.message = message.message;
    msg.wParam = message.wParam;
    msg.lParam = message.lParam;
    msg.time = static_cast<DWORD>(::GetMessageTime());
    const DWORD position = ::GetMessagePos();
    msg.pt = POINT{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    // The characters of a key press follow it as messages of their own.
    ::TranslateMessage(&msg);
    return ::DispatchMessageW(&msg);
}

}  // namespace platform
