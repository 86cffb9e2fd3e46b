// The window classes, the system's window procedures that hand messages on to the program's,
// sending and posting, and which window uses which shortcut table.
//
// The program's procedure of a window hears the messages that Ui.h and UiControls.h name
// (and its own, from WM_USER on); everything else the system handles alone, so a procedure
// sees on Windows what it sees with the other backend. DefWindowProc is the system's
// DefWindowProcW for a top-level window and a control's own class procedure for a control.
#include <string>
#include <unordered_map>

#include "platform/ShortcutTables.h"
#include "platform/win32/UiInternal.h"

namespace platform {
namespace win32 {
namespace {

constexpr wchar_t kTopClass[] = L"KarteneditorFenster";

std::unordered_map<HWND, WNDPROC>& SystemProcs() {
    static std::unordered_map<HWND, WNDPROC> procs;
    return procs;
}

bool IsKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR ||
           message == WM_SYSKEYDOWN || message == WM_SYSKEYUP || message == WM_SYSCHAR;
}

bool IsMouseMessage(UINT message) { return message >= WM_MOUSEMOVE && message <= WM_MOUSEHWHEEL; }

// A field that refuses typed text as full says EN_MAXTEXT and nothing else. Some systems' edit
// controls notify a change after it although the text stayed the same; while a field takes
// typed or pasted text, this remembers its text, and once it said it is full, a change
// notification that changed nothing is not handed on.
struct FieldInput {
    HWND field = nullptr;
    std::wstring before;
    bool full = false;
};
FieldInput* gFieldInput = nullptr;

std::wstring FieldText(HWND field) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    return text;
}

// True for a notification of a field that the program must not hear (see FieldInput).
bool IsEmptyChangeAfterFull(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COMMAND || gFieldInput == nullptr ||
        reinterpret_cast<HWND>(lParam) != gFieldInput->field) {
        return false;
    }
    if (HIWORD(wParam) == EN_MAXTEXT) gFieldInput->full = true;
    return gFieldInput->full && (HIWORD(wParam) == EN_UPDATE || HIWORD(wParam) == EN_CHANGE) &&
           FieldText(gFieldInput->field) == gFieldInput->before;
}

// What the program's procedure of a control hears.
bool ForControl(UINT message) {
    return message == WM_DESTROY || message == WM_NCDESTROY || message == WM_SETFOCUS ||
           message == WM_KILLFOCUS || IsKeyMessage(message) || IsMouseMessage(message);
}

// What the program's procedure of a top-level window hears.
bool ForTop(UINT message, WPARAM wParam) {
    switch (message) {
        case WM_DESTROY:
        case WM_MOVE:
        case WM_SIZE:
        case WM_ACTIVATE:
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_PAINT:
        case WM_CLOSE:
        case WM_ERASEBKGND:
        case WM_NCDESTROY:
        case WM_COMMAND:
        case WM_SYSCOMMAND:
        case WM_HSCROLL:
        case WM_VSCROLL:
            return true;
        default:
            break;
    }
    if (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK) return wParam == HTMENU;
    return IsKeyMessage(message) || IsMouseMessage(message) ||
           (message >= WM_USER && message < 0xC000);
}

// A control that draws the window's background behind itself (a themed check box or field)
// asks the window to erase into the control's own drawing: that is the control's paint, which
// the system fills, not an exposure of the window that its procedure would hear of.
bool IsControlsBackground(HWND hwnd, UINT message, WPARAM wParam) {
    return message == WM_ERASEBKGND && ::WindowFromDC(reinterpret_cast<HDC>(wParam)) != hwnd;
}

LRESULT CALLBACK TopProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const Handle handle = HandleOf(hwnd);
    HandleInfo* info = TopInfo(handle);
    LRESULT result = 0;
    if (info != nullptr && message == WM_DESTROY) info->destroying = true;
    if (info != nullptr && IsEmptyChangeAfterFull(message, wParam, lParam)) return 0;
    if (message == WM_GETMINMAXINFO) {
        // A window may be as small as the program makes it: the system's least width under
        // a caption (room for its buttons) does not apply, only the frame itself.
        result = ::DefWindowProcW(hwnd, message, wParam, lParam);
        RECT frame{0, 0, 0, 0};
        ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE)),
                             FALSE, static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize = POINT{frame.right - frame.left, frame.bottom - frame.top};
        return result;
    }
    if (info == nullptr || !ForTop(message, wParam) ||
        IsControlsBackground(hwnd, message, wParam)) {
        result = ::DefWindowProcW(hwnd, message, wParam, lParam);
    } else if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE && InSystemDispatch()) {
        // The close box: the request reaches the program as a posted message, as every
        // request of the user does.
        ::PostMessageW(hwnd, message, wParam, lParam);
    } else if (message == WM_ACTIVATE) {
        result = CallWindowProc(info->proc, handle, message,
                                LOWORD(wParam) != WA_INACTIVE ? WA_ACTIVE : WA_INACTIVE, 0);
    } else {
        result = CallWindowProc(info->proc, handle, message, wParam, lParam);
        // A procedure that paints by other means leaves nothing to paint.
        if (message == WM_PAINT && ::IsWindow(hwnd)) ::ValidateRect(hwnd, nullptr);
    }
    if (message == WM_NCDESTROY) Unregister(handle);
    return result;
}

LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const Handle handle = HandleOf(hwnd);
    HandleInfo* info = Info(handle);
    const auto system = SystemProcs().find(hwnd);
    WNDPROC systemProc = system != SystemProcs().end() ? system->second : ::DefWindowProcW;
    LRESULT result = 0;
    FieldInput input;
    FieldInput* const outer = gFieldInput;
    const bool takesText = message == WM_CHAR || message == WM_PASTE;
    if (takesText && info != nullptr && info->controlClass == ControlClass::Edit) {
        input.field = hwnd;
        input.before = FieldText(hwnd);
        gFieldInput = &input;
    }
    if (info != nullptr && info->proc != nullptr && ForControl(message)) {
        result = info->proc(handle, message, wParam, lParam);
    } else {
        result = ::CallWindowProcW(systemProc, hwnd, message, wParam, lParam);
    }
    gFieldInput = outer;
    if (message == WM_NCDESTROY) {
        ControlDestroyed(handle);
        SystemProcs().erase(hwnd);
    }
    return result;
}

}  // namespace

const wchar_t* TopClassName() { return kTopClass; }

void EnsureClasses() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&controls);
        WNDCLASSEXW top{};
        top.cbSize = sizeof(top);
        top.style = CS_DBLCLKS;
        top.lpfnWndProc = &TopProc;
        top.hInstance = ::GetModuleHandleW(nullptr);
        top.hIcon = ::LoadIconW(top.hInstance, MAKEINTRESOURCEW(1));
        if (top.hIcon == nullptr) top.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
        top.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        top.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        top.lpszClassName = kTopClass;
        ::RegisterClassExW(&top);
        return true;
    }();
    (void)done;
}

void SubclassControl(HWND control) {
    SystemProcs()[control] = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlProc)));
}

}  // namespace win32

using namespace win32;

// ---- Procedures and messages ---------------------------------------------------------------

WindowProc SetWindowProc(Handle handle, WindowProc proc) {
    HandleInfo* info = Info(handle);
    if (info == nullptr) return nullptr;
    WindowProc previous = info->proc;
    info->proc = proc;
    return previous;
}

std::intptr_t CallWindowProc(WindowProc proc, Handle handle, std::uint32_t message,
                             std::uintptr_t wParam, std::intptr_t lParam) {
    if (proc == nullptr) return DefWindowProc(handle, message, wParam, lParam);
    return proc(handle, message, wParam, lParam);
}

std::intptr_t DefWindowProc(Handle handle, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam) {
    HandleInfo* info = Info(handle);
    if (info == nullptr) return 0;
    if (info->kind == HandleKind::Top) {
        return ::DefWindowProcW(Hwnd(handle), message, wParam, lParam);
    }
    const auto system = SystemProcs().find(Hwnd(handle));
    if (system == SystemProcs().end()) return 0;
    return ::CallWindowProcW(system->second, Hwnd(handle), message, wParam, lParam);
}

std::intptr_t SendMessage(Handle handle, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) {
    HandleInfo* info = Info(handle);
    if (info == nullptr) return 0;
    return CallWindowProc(info->proc, handle, message, wParam, lParam);
}

bool PostMessage(Handle handle, std::uint32_t message, std::uintptr_t wParam,
                 std::intptr_t lParam) {
    if (Info(handle) == nullptr) return false;
    return ::PostMessageW(Hwnd(handle), message, wParam, lParam) != FALSE;
}

void UpdateWindow(Handle window) {
    if (TopInfo(window) == nullptr) return;
    ::RedrawWindow(Hwnd(window), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// ---- Shortcut tables -------------------------------------------------------------------------

void DestroyShortcutTable(Handle table) {
    if (!RemoveShortcutTable(table)) return;
    for (Handle top : TopLevelWindows()) {
        if (HandleInfo* info = TopInfo(top); info != nullptr && info->shortcuts == table) {
            info->shortcuts = 0;
        }
    }
}

void SetWindowShortcuts(Handle window, Handle table) {
    if (HandleInfo* info = TopInfo(window)) info->shortcuts = table;
}

}  // namespace platform
