// Top-level windows, the handle registry, window queries, focus, properties and control
// identifiers, on USER32.
#include <algorithm>
#include <map>
#include <unordered_map>

#include "platform/win32/UiInternal.h"
#include "platform/win32/Wide.h"

namespace platform {
namespace win32 {
namespace {

std::unordered_map<Handle, HandleInfo>& Registry() {
    static std::unordered_map<Handle, HandleInfo> registry;
    return registry;
}

std::uint64_t gNextOrder = 1;

// Top-level windows or the others, in the order of their creation.
std::vector<std::pair<std::uint64_t, Handle>> ByOrder(bool top) {
    std::vector<std::pair<std::uint64_t, Handle>> found;
    for (const auto& [handle, info] : Registry()) {
        if ((info.kind == HandleKind::Top) == top) {
            found.emplace_back(info.order, handle);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

void Register(HWND hwnd, const HandleInfo& info) {
    HandleInfo& entry = Registry()[HandleOf(hwnd)];
    entry = info;
    entry.order = gNextOrder++;
    if ((::GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) != 0) entry.parent = HandleOf(::GetParent(hwnd));
}

void Unregister(Handle handle) {
    Registry().erase(handle);
    std::erase_if(Registry(), [handle](const auto& entry) {
        return entry.second.gone && entry.second.parent == handle;
    });
}

void ControlDestroyed(Handle control) {
    const auto found = Registry().find(control);
    if (found == Registry().end()) return;
    const auto parent = Registry().find(found->second.parent);
    if (parent != Registry().end() && parent->second.destroying) {
        found->second.gone = true;
    } else {
        Registry().erase(found);
    }
}

HandleInfo* Info(Handle handle) {
    if (handle == 0) return nullptr;
    const auto found = Registry().find(handle);
    if (found == Registry().end()) return nullptr;
    if (!found->second.gone && !::IsWindow(Hwnd(handle))) {
        Registry().erase(found);
        return nullptr;
    }
    return &found->second;
}

HandleInfo* TopInfo(Handle handle) {
    HandleInfo* info = Info(handle);
    return (info != nullptr && info->kind == HandleKind::Top) ? info : nullptr;
}

Handle TopHandleOf(Handle handle) {
    for (HWND hwnd = Hwnd(handle); hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
        if (TopInfo(HandleOf(hwnd)) != nullptr) return HandleOf(hwnd);
        if ((::GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) == 0) break;
    }
    return 0;
}

ModalScope::ModalScope(Handle owner) : owner_(owner) {
    for (Handle top : TopLevelWindows()) {
        if (::IsWindowEnabled(Hwnd(top))) {
            ::EnableWindow(Hwnd(top), FALSE);
            disabled_.push_back(top);
        }
    }
}

ModalScope::~ModalScope() {
    for (Handle top : disabled_) {
        if (Info(top) != nullptr) ::EnableWindow(Hwnd(top), TRUE);
    }
    Handle active = TopInfo(owner_) != nullptr && ::IsWindowVisible(Hwnd(owner_)) ? owner_ : 0;
    for (Handle top : TopLevelWindows()) {
        if (active == 0 && ::IsWindowVisible(Hwnd(top))) active = top;
    }
    if (active != 0) ::SetForegroundWindow(Hwnd(active));
}

void TakeInputGivenToTheDialog() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
    }
}

int ScreenDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

void GrowForScaledBar(Handle top, int metric, int by) {
    if (TopInfo(top) == nullptr || ::IsZoomed(Hwnd(top))) return;
    const int dpi = ScreenDpi();
    const int scaled = ::GetSystemMetrics(metric);
    const int extra = scaled - ::MulDiv(scaled, 96, std::max(dpi, 96));
    if (extra <= 0) return;
    RECT frame{};
    ::GetWindowRect(Hwnd(top), &frame);
    ::SetWindowPos(Hwnd(top), nullptr, 0, 0, frame.right - frame.left,
                   frame.bottom - frame.top + by * extra, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace win32

using namespace win32;

namespace {
// The system's style of a top-level window. The system gives every overlapped window a
// caption; a window without one is a pop-up window for the system.
DWORD SystemTopStyle(std::uint32_t style) {
    DWORD system = style & ~(WS_VISIBLE | WS_MAXIMIZE | WS_CHILD);
    if ((system & WS_CAPTION) != WS_CAPTION) system |= WS_POPUP;
    return system;
}
}  // namespace

void UiInit() { EnsureClasses(); }

// ---- Top-level windows -----------------------------------------------------------------------

Handle CreateTopWindow(std::string_view title, std::uint32_t style, std::int32_t x, std::int32_t y,
                       bool usePlatformPosition, std::int32_t clientWidth,
                       std::int32_t clientHeight, WindowProc proc) {
    UiInit();
    const DWORD systemStyle = SystemTopStyle(style) | WS_CLIPCHILDREN;
    RECT outer{0, 0, std::max(0, clientWidth), std::max(0, clientHeight)};
    ::AdjustWindowRectEx(&outer, systemStyle, FALSE, 0);
    // Messages of the creation itself (size, move) reach the program's procedure only as far
    // as showing sends them: the procedure is set once the window exists.
    HWND hwnd = ::CreateWindowExW(0, TopClassName(), WideFromCp1252(title).c_str(), systemStyle,
                                  usePlatformPosition ? CW_USEDEFAULT : x,
                                  usePlatformPosition ? CW_USEDEFAULT : y,
                                  outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                  nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) return 0;
    HandleInfo info;
    info.kind = HandleKind::Top;
    info.proc = proc;
    info.style = style;
    Register(hwnd, info);
    return HandleOf(hwnd);
}

void ShowTopWindow(Handle window, bool maximised) {
    if (TopInfo(window) == nullptr) return;
    // The system sends the activation, the erase, the size and the move, in that order.
    ::ShowWindow(Hwnd(window), maximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    if (TopInfo(window) != nullptr) ::SetForegroundWindow(Hwnd(window));
}

bool DestroyWindow(Handle handle) {
    if (Info(handle) == nullptr) return false;
    // The system sends WM_DESTROY to the window, then its controls, and WM_NCDESTROY to the
    // controls and last to the window; its menu bar goes with it.
    return ::DestroyWindow(Hwnd(handle)) != FALSE;
}

bool IsWindow(Handle handle) { return Info(handle) != nullptr; }

bool IsTopWindow(Handle handle) { return TopInfo(handle) != nullptr; }

void AdjustWindowSize(std::uint32_t style, std::int32_t clientWidth, std::int32_t clientHeight,
                      std::int32_t* outerWidth, std::int32_t* outerHeight) {
    UiInit();
    RECT outer{0, 0, clientWidth, clientHeight};
    ::AdjustWindowRectEx(&outer, SystemTopStyle(style), FALSE, 0);
    *outerWidth = outer.right - outer.left;
    *outerHeight = outer.bottom - outer.top;
}

void ScreenSize(std::int32_t* width, std::int32_t* height) {
    UiInit();
    *width = ::GetSystemMetrics(SM_CXSCREEN);
    *height = ::GetSystemMetrics(SM_CYSCREEN);
}

bool GetWindowRect(Handle handle, Rect* rect) {
    RECT r;
    if (Info(handle) == nullptr || !::GetWindowRect(Hwnd(handle), &r)) return false;
    *rect = Rect{r.left, r.top, r.right, r.bottom};
    return true;
}

bool GetClientSize(Handle handle, std::int32_t* width, std::int32_t* height) {
    RECT r;
    if (Info(handle) == nullptr || !::GetClientRect(Hwnd(handle), &r)) return false;
    *width = r.right;
    *height = r.bottom;
    return true;
}

bool ScreenToClient(Handle handle, std::int32_t* x, std::int32_t* y) {
    POINT p{*x, *y};
    if (Info(handle) == nullptr || !::ScreenToClient(Hwnd(handle), &p)) return false;
    *x = p.x;
    *y = p.y;
    return true;
}

void GetCursorPos(std::int32_t* x, std::int32_t* y) {
    POINT p{0, 0};
    ::GetCursorPos(&p);
    *x = p.x;
    *y = p.y;
}

bool SetWindowText(Handle handle, std::string_view text) {
    if (Info(handle) == nullptr) return false;
    return ::SetWindowTextW(Hwnd(handle), WideFromCp1252(text).c_str()) != FALSE;
}

std::string GetWindowText(Handle handle) {
    if (Info(handle) == nullptr) return {};
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(Hwnd(handle))) + 1, L'\0');
    const int length =
        ::GetWindowTextW(Hwnd(handle), text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(0, length)));
    return Cp1252FromWide(text);
}

Handle GetActiveWindow() {
    const Handle active = HandleOf(::GetActiveWindow());
    return TopInfo(active) != nullptr ? active : 0;
}

Handle GetForegroundWindow() {
    const Handle foreground = HandleOf(::GetForegroundWindow());
    return TopInfo(foreground) != nullptr ? foreground : 0;
}

Handle GetFocus() {
    // A part of a control (a field inside a combined control) counts as the control.
    for (HWND hwnd = ::GetFocus(); hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
        if (Info(HandleOf(hwnd)) != nullptr) return HandleOf(hwnd);
        if ((::GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) == 0) break;
    }
    return 0;
}

Handle SetFocus(Handle handle) {
    const Handle previous = GetFocus();
    HandleInfo* info = Info(handle);
    if (info == nullptr) return previous;
    if (info->kind == HandleKind::Top) ::SetForegroundWindow(Hwnd(handle));
    ::SetFocus(Hwnd(handle));
    return previous;
}

Handle GetParent(Handle handle) {
    HandleInfo* info = Info(handle);
    if (info == nullptr || info->kind == HandleKind::Top) return 0;
    const Handle parent = info->parent;
    return Info(parent) != nullptr ? parent : 0;
}

bool IsChild(Handle parent, Handle child) {
    if (Info(parent) == nullptr || Info(child) == nullptr) return false;
    return ::IsChild(Hwnd(parent), Hwnd(child)) != FALSE;
}

std::vector<Handle> ChildWindows(Handle parent) {
    std::vector<Handle> result;
    if (Info(parent) == nullptr) return result;
    for (const auto& [order, handle] : ByOrder(false)) {
        if (::IsChild(Hwnd(parent), Hwnd(handle)) && Info(handle) != nullptr) {
            result.push_back(handle);
        }
    }
    return result;
}

std::vector<Handle> TopLevelWindows() {
    std::vector<Handle> result;
    for (const auto& [order, handle] : ByOrder(true)) {
        if (Info(handle) != nullptr) result.push_back(handle);
    }
    return result;
}

bool IsWindowVisible(Handle handle) {
    return Info(handle) != nullptr && ::IsWindowVisible(Hwnd(handle));
}

bool IsWindowEnabled(Handle handle) {
    return Info(handle) != nullptr && ::IsWindowEnabled(Hwnd(handle));
}

bool EnableWindow(Handle handle, bool enable) {
    if (Info(handle) == nullptr) return false;
    // A disabled top-level window takes no input and its controls keep their look; a disabled
    // control greys out.
    return ::EnableWindow(Hwnd(handle), enable ? TRUE : FALSE) != FALSE;
}

std::uint32_t GetWindowStyle(Handle handle) {
    HandleInfo* info = Info(handle);
    if (info == nullptr) return 0;
    std::uint32_t style = info->style & ~(WS_VISIBLE | WS_DISABLED);
    if (IsWindowVisible(handle)) style |= WS_VISIBLE;
    if (!IsWindowEnabled(handle)) style |= WS_DISABLED;
    return style;
}

// ---- Properties and control identifiers ----------------------------------------------------

bool SetProp(Handle handle, std::string_view name, std::intptr_t value) {
    if (Info(handle) == nullptr) return false;
    return ::SetPropW(Hwnd(handle), WideFromCp1252(name).c_str(),
                      reinterpret_cast<HANDLE>(value)) != FALSE;
}

std::intptr_t GetProp(Handle handle, std::string_view name) {
    if (Info(handle) == nullptr) return 0;
    return reinterpret_cast<std::intptr_t>(
        ::GetPropW(Hwnd(handle), WideFromCp1252(name).c_str()));
}

std::intptr_t RemoveProp(Handle handle, std::string_view name) {
    if (Info(handle) == nullptr) return 0;
    return reinterpret_cast<std::intptr_t>(
        ::RemovePropW(Hwnd(handle), WideFromCp1252(name).c_str()));
}

std::int32_t GetControlId(Handle control) {
    HandleInfo* info = Info(control);
    if (info == nullptr || info->kind == HandleKind::Top) return 0;
    return static_cast<std::int32_t>(::GetWindowLongPtrW(Hwnd(control), GWLP_ID));
}

void SetControlId(Handle control, std::int32_t id) {
    HandleInfo* info = Info(control);
    if (info == nullptr || info->kind == HandleKind::Top) return;
    ::SetWindowLongPtrW(Hwnd(control), GWLP_ID, static_cast<LONG_PTR>(id));
}

// ---- Test access -----------------------------------------------------------------------------

void* TopLevelQWindow(Handle handle) {
    HandleInfo* info = TopInfo(TopHandleOf(handle));
    if (info == nullptr || !::IsWindowVisible(Hwnd(TopHandleOf(handle)))) return nullptr;
    return Hwnd(TopHandleOf(handle));
}

void* HandleWidget(Handle handle) { return Info(handle) == nullptr ? nullptr : Hwnd(handle); }

void* TopLevelWidget(Handle handle) {
    const Handle top = TopHandleOf(handle);
    return TopInfo(top) == nullptr ? nullptr : Hwnd(top);
}

}  // namespace platform
