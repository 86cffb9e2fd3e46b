// Child controls on the system's classes (STATIC, BUTTON, EDIT and the common controls'
// track bar), frames on a small class of our own, and the status bar.
#include <algorithm>
#include <vector>

#include "platform/win32/UiInternal.h"
#include "platform/win32/Wide.h"

namespace platform {
namespace win32 {
namespace {

constexpr wchar_t kFrameClass[] = L"KarteneditorRahmen";

// A frame draws its edge in the frame area and never paints its inside; the mouse passes
// through it to what lies below.
LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            ::BeginPaint(hwnd, &paint);
            ::EndPaint(hwnd, &paint);
            return 0;
        }
        default:
            return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

const wchar_t* FrameClass() {
    static const bool registered = [] {
        WNDCLASSEXW frame{};
        frame.cbSize = sizeof(frame);
        frame.lpfnWndProc = &FrameProc;
        frame.hInstance = ::GetModuleHandleW(nullptr);
        frame.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        frame.lpszClassName = kFrameClass;
        return ::RegisterClassExW(&frame) != 0;
    }();
    (void)registered;
    return kFrameClass;
}

HandleInfo* ControlOf(Handle handle, ControlClass kind) {
    HandleInfo* info = Info(handle);
    return (info != nullptr && info->kind == HandleKind::Control && info->controlClass == kind)
               ? info
               : nullptr;
}

HandleInfo* StatusBarOf(Handle handle) {
    HandleInfo* info = Info(handle);
    return (info != nullptr && info->kind == HandleKind::StatusBar) ? info : nullptr;
}

std::vector<int> PartEdges(Handle statusBar) {
    const auto count = static_cast<int>(::SendMessageW(Hwnd(statusBar), SB_GETPARTS, 0, 0));
    std::vector<int> edges(static_cast<std::size_t>(std::max(0, count)));
    if (count > 0) {
        ::SendMessageW(Hwnd(statusBar), SB_GETPARTS, static_cast<WPARAM>(count),
                       reinterpret_cast<LPARAM>(edges.data()));
    }
    return edges;
}

}  // namespace
}  // namespace win32

using namespace win32;

namespace {
// What a field takes, as with the other backend; typing beyond it raises EN_MAXTEXT.
constexpr WPARAM kEditLimit = 32767;
}  // namespace

Handle CreateControl(ControlClass kind, Handle parent, std::string_view text, std::uint32_t style,
                     std::uint32_t exStyle, std::int32_t x, std::int32_t y, std::int32_t width,
                     std::int32_t height, std::int32_t id) {
    if (Info(parent) == nullptr) return 0;
    const wchar_t* className = L"STATIC";
    DWORD systemStyle = (style & ~WS_POPUP) | WS_CHILD | WS_CLIPSIBLINGS;
    DWORD systemExStyle = exStyle;
    switch (kind) {
        case ControlClass::Static:
            break;
        case ControlClass::Frame:
            className = FrameClass();
            if ((exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) == 0) systemStyle |= WS_BORDER;
            // Not clipped out of its window, which paints what the frame leaves alone.
            systemExStyle |= WS_EX_TRANSPARENT;
            break;
        case ControlClass::Button:
            className = L"BUTTON";
            if ((style & BS_TYPEMASK) == BS_GROUPBOX) systemExStyle |= WS_EX_TRANSPARENT;
            break;
        case ControlClass::Edit:
            className = L"EDIT";
            break;
        case ControlClass::TrackBar:
            className = TRACKBAR_CLASSW;
            // Its handle grows with the display scaling, and the ticks beside it would leave
            // the control's height, made for 100 %: above 100 % the handle keeps that length.
            if (ScreenDpi() > 96) systemStyle |= TBS_FIXEDLENGTH;
            break;
    }
    HWND control = ::CreateWindowExW(systemExStyle, className, WideFromCp1252(text).c_str(), systemStyle,
                                     x, y, std::max(0, width), std::max(0, height), Hwnd(parent),
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     ::GetModuleHandleW(nullptr), nullptr);
    if (control == nullptr) return 0;
    ::SendMessageW(control, WM_SETFONT, static_cast<WPARAM>(GetStockGuiFont()), FALSE);
    if (kind == ControlClass::Edit) ::SendMessageW(control, EM_LIMITTEXT, kEditLimit, 0);
    if ((systemStyle & TBS_FIXEDLENGTH) != 0 && kind == ControlClass::TrackBar) {
        const auto length = static_cast<int>(::SendMessageW(control, TBM_GETTHUMBLENGTH, 0, 0));
        ::SendMessageW(control, TBM_SETTHUMBLENGTH,
                       static_cast<WPARAM>(::MulDiv(length, 96, ScreenDpi())), 0);
    }
    HandleInfo info;
    info.kind = HandleKind::Control;
    info.controlClass = kind;
    info.style = style;
    info.exStyle = exStyle;
    Register(control, info);
    SubclassControl(control);
    return HandleOf(control);
}

// The program's layout is in pixels, made for the dialog font of 8 points at 96 dots per inch
// (11 pixels). At a larger display scaling the system's dialog font grows while the places of
// the labels do not, so the controls keep that font's face at 11 pixels: sharp, and every
// text fits where it stands. Menus and requesters are the system's and follow the scaling.
Handle GetStockGuiFont() {
    static const HFONT font = [] {
        constexpr LONG kLayoutFontHeight = -11;
        const auto stock = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
        LOGFONTW logFont{};
        if (::GetObjectW(stock, sizeof(logFont), &logFont) != sizeof(logFont) ||
            logFont.lfHeight == kLayoutFontHeight) {
            return stock;
        }
        logFont.lfHeight = kLayoutFontHeight;
        logFont.lfWidth = 0;
        const HFONT made = ::CreateFontIndirectW(&logFont);
        return made != nullptr ? made : stock;
    }();
    return reinterpret_cast<Handle>(font);
}

void SetControlFont(Handle control, Handle font) {
    HandleInfo* info = Info(control);
    if (info == nullptr || info->kind == HandleKind::Top || font == 0) return;
    if (::GetObjectType(reinterpret_cast<HGDIOBJ>(font)) != OBJ_FONT) return;
    ::SendMessageW(Hwnd(control), WM_SETFONT, static_cast<WPARAM>(font), TRUE);
}

bool GetControlPosition(Handle control, std::int32_t* x, std::int32_t* y) {
    HandleInfo* info = Info(control);
    if (info == nullptr || info->kind == HandleKind::Top) return false;
    RECT r;
    ::GetWindowRect(Hwnd(control), &r);
    POINT p{r.left, r.top};
    ::ScreenToClient(::GetParent(Hwnd(control)), &p);
    *x = p.x;
    *y = p.y;
    return true;
}

// ---- Track bars ------------------------------------------------------------------------------

void TrackBarSetRangeMin(Handle trackBar, std::int32_t minimum, bool redraw) {
    if (ControlOf(trackBar, ControlClass::TrackBar) == nullptr) return;
    ::SendMessageW(Hwnd(trackBar), TBM_SETRANGEMIN, redraw, minimum);
}

void TrackBarSetRangeMax(Handle trackBar, std::int32_t maximum, bool redraw) {
    if (ControlOf(trackBar, ControlClass::TrackBar) == nullptr) return;
    ::SendMessageW(Hwnd(trackBar), TBM_SETRANGEMAX, redraw, maximum);
}

std::int32_t TrackBarGetRangeMin(Handle trackBar) {
    if (ControlOf(trackBar, ControlClass::TrackBar) == nullptr) return 0;
    return static_cast<std::int32_t>(::SendMessageW(Hwnd(trackBar), TBM_GETRANGEMIN, 0, 0));
}

std::int32_t TrackBarGetRangeMax(Handle trackBar) {
    if (ControlOf(trackBar, ControlClass::TrackBar) == nullptr) return 0;
    return static_cast<std::int32_t>(::SendMessageW(Hwnd(trackBar), TBM_GETRANGEMAX, 0, 0));
}

void TrackBarSetPos(Handle trackBar, std::int32_t position, bool redraw) {
    if (ControlOf(trackBar, ControlClass::TrackBar) == nullptr) return;
    // The control clamps the position into its range.
    ::SendMessageW(Hwnd(trackBar), TBM_SETPOS, redraw, position);
}

std::int32_t TrackBarGetPos(Handle trackBar) {
    if (ControlOf(trackBar, ControlClass::TrackBar) == nullptr) return 0;
    return static_cast<std::int32_t>(::SendMessageW(Hwnd(trackBar), TBM_GETPOS, 0, 0));
}

// ---- Check boxes -----------------------------------------------------------------------------

std::int32_t ButtonGetCheck(Handle button) {
    if (ControlOf(button, ControlClass::Button) == nullptr) return BST_UNCHECKED;
    return ::SendMessageW(Hwnd(button), BM_GETCHECK, 0, 0) == BST_CHECKED ? BST_CHECKED
                                                                         : BST_UNCHECKED;
}

void ButtonSetCheck(Handle button, std::int32_t state) {
    if (ControlOf(button, ControlClass::Button) == nullptr) return;
    // The control raises no notification for a state set by the program.
    ::SendMessageW(Hwnd(button), BM_SETCHECK, state == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED,
                   0);
}

// ---- Status bars -----------------------------------------------------------------------------

Handle CreateStatusBar(Handle parent, std::int32_t id) {
    if (Info(parent) == nullptr) return 0;
    HWND bar = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                                 0, 0, 0, 0, Hwnd(parent),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 ::GetModuleHandleW(nullptr), nullptr);
    if (bar == nullptr) return 0;
    ::SendMessageW(bar, WM_SETFONT, static_cast<WPARAM>(GetStockGuiFont()), FALSE);
    HandleInfo info;
    info.kind = HandleKind::StatusBar;
    info.style = WS_CHILD | WS_VISIBLE;
    Register(bar, info);
    SubclassControl(bar);
    // The bar's least height is the caption buttons' (comctl32), which grows with the scaling.
    GrowForScaledBar(parent, SM_CYSIZE);
    return HandleOf(bar);
}

bool StatusBarSetParts(Handle statusBar, const std::int32_t* rightEdges, std::int32_t count) {
    if (StatusBarOf(statusBar) == nullptr || rightEdges == nullptr || count < 1 || count > 256) {
        return false;
    }
    std::vector<int> edges(rightEdges, rightEdges + count);
    return ::SendMessageW(Hwnd(statusBar), SB_SETPARTS, static_cast<WPARAM>(count),
                          reinterpret_cast<LPARAM>(edges.data())) != FALSE;
}

bool StatusBarSetText(Handle statusBar, std::int32_t part, std::string_view text) {
    if (StatusBarOf(statusBar) == nullptr || part < 0 || part >= StatusBarPartCount(statusBar)) {
        return false;
    }
    return ::SendMessageW(Hwnd(statusBar), SB_SETTEXTW, static_cast<WPARAM>(part),
                          reinterpret_cast<LPARAM>(WideFromCp1252(text).c_str())) != FALSE;
}

std::int32_t StatusBarPartCount(Handle statusBar) {
    if (StatusBarOf(statusBar) == nullptr) return 0;
    return static_cast<std::int32_t>(PartEdges(statusBar).size());
}

std::int32_t StatusBarRightEdge(Handle statusBar, std::int32_t part) {
    if (StatusBarOf(statusBar) == nullptr) return 0;
    const std::vector<int> edges = PartEdges(statusBar);
    if (part < 0 || static_cast<std::size_t>(part) >= edges.size()) return 0;
    return edges[static_cast<std::size_t>(part)];
}

void StatusBarPlace(Handle statusBar) {
    HandleInfo* info = StatusBarOf(statusBar);
    if (info == nullptr) return;
    ++info->placeCount;
    // The bar places itself along its window's bottom edge when it hears a size message.
    ::SendMessageW(Hwnd(statusBar), WM_SIZE, 0, 0);
    ::RedrawWindow(Hwnd(statusBar), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

std::int32_t StatusBarPlaceCount(Handle statusBar) {
    HandleInfo* info = StatusBarOf(statusBar);
    return info == nullptr ? 0 : info->placeCount;
}

std::string StatusBarPartText(Handle statusBar, std::int32_t part) {
    if (StatusBarOf(statusBar) == nullptr || part < 0 || part >= StatusBarPartCount(statusBar)) {
        return {};
    }
    const auto length = LOWORD(::SendMessageW(Hwnd(statusBar), SB_GETTEXTLENGTHW,
                                              static_cast<WPARAM>(part), 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    ::SendMessageW(Hwnd(statusBar), SB_GETTEXTW, static_cast<WPARAM>(part),
                   reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return Cp1252FromWide(text);
}

}  // namespace platform
