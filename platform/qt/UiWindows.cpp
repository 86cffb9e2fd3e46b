// Top-level windows, the handle registry, procedures, properties, focus, window queries and
// shortcut tables.
#include <QApplication>
#include <QCursor>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <optional>
#include <unordered_map>

#include "platform/Cp1252.h"
#include "platform/QtApp.h"
#include "platform/UiControls.h"
#include "platform/UiTesting.h"
#include "platform/qt/UiInternal.h"

namespace platform {
namespace qtui {
namespace {

std::unordered_map<Handle, std::unique_ptr<HandleInfo>>& Registry() {
    static std::unordered_map<Handle, std::unique_ptr<HandleInfo>> registry;
    return registry;
}

std::vector<Handle>& TopHandles() {
    static std::vector<Handle> tops;
    return tops;
}

struct ShortcutTable {
    std::vector<ShortcutEntry> entries;
};

std::unordered_map<Handle, std::unique_ptr<ShortcutTable>>& ShortcutTables() {
    static std::unordered_map<Handle, std::unique_ptr<ShortcutTable>> tables;
    return tables;
}

std::uint64_t gNextOrder = 1;
// The frame belongs to the window system; its size is learnt from windows that have one.
QMargins gFrameMargins;
bool gFrameMarginsKnown = false;

void LearnFrameMargins(TopWindow* top) {
    if (QWindow* window = top->windowHandle()) {
        const QMargins margins = window->frameMargins();
        if (!margins.isNull()) {
            gFrameMargins = margins;
            gFrameMarginsKnown = true;
        }
    }
}

// Before any window was shown: a framed window that is created but never shown tells what
// the window system reports (nothing, where the frame only comes with mapping).
void ProbeFrameMargins() {
    if (gFrameMarginsKnown) return;
    QWidget probe;
    probe.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    probe.resize(100, 100);
    probe.winId();
    if (const QWindow* window = probe.windowHandle()) gFrameMargins = window->frameMargins();
    gFrameMarginsKnown = !gFrameMargins.isNull();
}

void DeleteWidget(QWidget* widget) {
    if (widget == nullptr) return;
    widget->hide();
    // A widget whose event the toolkit is delivering right now must outlive the delivery.
    if (InDelivery()) {
        widget->deleteLater();
    } else {
        delete widget;
    }
}

}  // namespace

// ---- Widgets ---------------------------------------------------------------------------------

TopWindow::TopWindow(QSize clientSize, bool resizable)
    : QWidget(nullptr),
      client_(new ClientArea(this)),
      resizable_(resizable),
      normalSize_(clientSize) {
    setFont(GuiFont());
    client_->setGeometry(0, 0, clientSize.width(), clientSize.height());
    if (resizable_) {
        resize(clientSize);
    } else {
        setFixedSize(clientSize);
    }
}

void TopWindow::ShowMaximised() {
    if (!resizable_) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    showMaximized();
}

void TopWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !resizable_ &&
        (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)) == 0) {
        setFixedSize(normalSize_);
    }
}

QMenuBar* TopWindow::MenuBar() {
    if (menuBar_ == nullptr) {
        menuBar_ = new QMenuBar(this);
        menuBar_->setNativeMenuBar(false);
        menuBar_->setFont(GuiFont());
        menuBar_->hide();
    }
    return menuBar_;
}

int TopWindow::MenuBarHeight() const {
    return (menuShown_ && menuBar_ != nullptr) ? menuBar_->sizeHint().height() : 0;
}

void TopWindow::ShowMenuBar(bool show) {
    menuShown_ = show;
    if (menuBar_ != nullptr) menuBar_->setVisible(show);
    Relayout();
}

void TopWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Relayout();
}

void TopWindow::Relayout() {
    const int menuHeight = MenuBarHeight();
    if (menuBar_ != nullptr && menuShown_) menuBar_->setGeometry(0, 0, width(), menuHeight);
    client_->setGeometry(0, menuHeight, width(), std::max(0, height() - menuHeight));
}

ClientArea::ClientArea(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

// ---- Registry --------------------------------------------------------------------------------

Handle Register(std::unique_ptr<HandleInfo> info) {
    const Handle handle = reinterpret_cast<Handle>(info->widget.data());
    info->order = gNextOrder++;
    if (info->kind == HandleKind::Top) TopHandles().push_back(handle);
    Registry()[handle] = std::move(info);
    return handle;
}

void Unregister(Handle handle) {
    auto& tops = TopHandles();
    tops.erase(std::remove(tops.begin(), tops.end(), handle), tops.end());
    Registry().erase(handle);
}

HandleInfo* Info(Handle handle) {
    if (handle == 0) return nullptr;
    const auto found = Registry().find(handle);
    if (found == Registry().end() || found->second->widget.isNull()) return nullptr;
    return found->second.get();
}

HandleInfo* TopInfo(Handle handle) {
    HandleInfo* info = Info(handle);
    return (info != nullptr && info->kind == HandleKind::Top) ? info : nullptr;
}

Handle HandleOf(const HandleInfo* info) {
    return info == nullptr ? 0 : reinterpret_cast<Handle>(info->widget.data());
}

Handle HandleOfWidget(const QWidget* widget) {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (const auto* top = dynamic_cast<const TopWindow*>(w)) {
            return reinterpret_cast<Handle>(static_cast<QWidget*>(top->Client()));
        }
        const Handle handle = reinterpret_cast<Handle>(w);
        if (Info(handle) != nullptr) return handle;
    }
    return 0;
}

Handle TopHandleOfQWindow(const QWindow* window) {
    if (window == nullptr) return 0;
    for (Handle handle : TopHandles()) {
        HandleInfo* info = Info(handle);
        if (info != nullptr && info->top->windowHandle() == window) return handle;
    }
    return 0;
}

Handle TopHandleOf(Handle handle) {
    HandleInfo* info = Info(handle);
    if (info == nullptr) return 0;
    if (info->kind == HandleKind::Top) return handle;
    for (QWidget* w = info->widget->parentWidget(); w != nullptr; w = w->parentWidget()) {
        const Handle h = reinterpret_cast<Handle>(w);
        if (HandleInfo* parent = Info(h); parent != nullptr && parent->kind == HandleKind::Top) {
            return h;
        }
    }
    return 0;
}

void ReportGeometry(Handle window, bool frameChanged) {
    HandleInfo* info = TopInfo(window);
    if (info == nullptr || !info->top->isVisible()) return;
    if (info->top->isMinimized()) {
        if (!info->minimized) {
            info->minimized = true;
            SendMessage(window, WM_SIZE, SIZE_MINIMIZED, 0);
        }
        return;
    }
    if (info->minimized) {
        info->minimized = false;
        info->sizeKnown = false;
    }
    const auto reportSize = [window, info] {
        const QSize size = info->widget->size();
        if (info->sizeKnown && size == info->lastClientSize) return;
        info->sizeKnown = true;
        info->lastClientSize = size;
        SendMessage(window, WM_SIZE, info->top->isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED,
                    MakeLParam(size.width(), size.height()));
    };
    const auto reportMove = [window, info] {
        const QPoint origin = info->widget->mapToGlobal(QPoint(0, 0));
        if (info->posKnown && origin == info->lastClientPos) return;
        info->posKnown = true;
        info->lastClientPos = origin;
        SendMessage(window, WM_MOVE, 0, MakeLParam(origin.x(), origin.y()));
    };
    if (frameChanged) {
        reportMove();
        if (TopInfo(window) != nullptr) reportSize();  // unless a procedure closed it
    } else {
        reportSize();
        if (TopInfo(window) != nullptr) reportMove();
    }
}

void ReportActivation(Handle window, bool active) {
    HandleInfo* info = TopInfo(window);
    if (info == nullptr || info->active == active) return;
    info->active = active;
    SendMessage(window, WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
}

const QFont& GuiFont() {
    // Small enough that the labels of the editor's panel fit their boxes, like the Windows
    // default GUI font at 8 points.
    static const QFont font = [] {
        QFont f(QStringLiteral("Liberation Sans"));
        f.setStyleHint(QFont::SansSerif);
        f.setPixelSize(11);
        f.setStretch(94);
        return f;
    }();
    return font;
}

QString ToQString(std::string_view cp1252) {
    const std::size_t end = cp1252.find('\0');
    if (end != std::string_view::npos) cp1252 = cp1252.substr(0, end);
    return QString::fromStdString(Utf8FromCp1252(cp1252));
}

std::string FromQString(const QString& text) { return Cp1252FromUtf8(text.toStdString()); }

std::optional<std::uint16_t> MatchShortcut(Handle table, std::uint32_t key, std::uint8_t mods) {
    const auto found = ShortcutTables().find(table);
    if (found == ShortcutTables().end() || key == 0) return std::nullopt;
    constexpr std::uint8_t kModifiers = FSHIFT | FCONTROL | FALT;
    for (const ShortcutEntry& entry : found->second->entries) {
        if ((entry.flags & FVIRTKEY) != 0 && entry.key == key &&
            (entry.flags & kModifiers) == (mods & kModifiers)) {
            return entry.command;
        }
    }
    return std::nullopt;
}

void ReactivateOwner(HandleInfo* owner) {
    // A dialog without an owner hands the activation to the program's first visible window.
    for (auto handle = TopHandles().begin(); owner == nullptr && handle != TopHandles().end();
         ++handle) {
        HandleInfo* info = Info(*handle);
        if (info != nullptr && info->top->isVisible()) owner = info;
    }
    if (owner != nullptr && owner->top->isVisible()) owner->top->activateWindow();
}

}  // namespace qtui

using namespace qtui;

void UiInit() {
    EnsureApplication();
    InstallPump();
    (void)GuiFont();
}

// ---- Top-level windows -----------------------------------------------------------------------

Handle CreateTopWindow(std::string_view title, std::uint32_t style, std::int32_t x, std::int32_t y,
                       bool usePlatformPosition, std::int32_t clientWidth,
                       std::int32_t clientHeight, WindowProc proc) {
    UiInit();
    const bool caption = (style & WS_CAPTION) == WS_CAPTION;
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
    if (caption) {
        flags |= Qt::WindowTitleHint;
        if ((style & WS_SYSMENU) != 0) {
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
            if ((style & WS_MINIMIZEBOX) != 0) flags |= Qt::WindowMinimizeButtonHint;
            if ((style & WS_MAXIMIZEBOX) != 0) flags |= Qt::WindowMaximizeButtonHint;
        }
    } else if ((style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME)) == 0) {
        flags |= Qt::FramelessWindowHint;
    }
    const QSize client(std::clamp(clientWidth, 0, QWIDGETSIZE_MAX),
                       std::clamp(clientHeight, 0, QWIDGETSIZE_MAX));
    auto* top = new TopWindow(client, (style & WS_THICKFRAME) != 0);
    top->setWindowFlags(flags);
    top->setWindowTitle(ToQString(title));
    if (!usePlatformPosition) top->move(x, y);

    auto info = std::make_unique<HandleInfo>();
    info->kind = HandleKind::Top;
    info->widget = top->Client();
    info->top = top;
    info->proc = proc;
    info->style = style;
    return Register(std::move(info));
}

void ShowTopWindow(Handle window, bool maximised) {
    HandleInfo* info = TopInfo(window);
    if (info == nullptr) return;
    TopWindow* top = info->top;
    // The window itself holds the keyboard focus until a control is clicked or tabbed to;
    // the toolkit would otherwise hand it to the first control on activation.
    if (top->focusWidget() == nullptr) top->Client()->setFocus(Qt::OtherFocusReason);
    if (maximised) {
        top->ShowMaximised();
    } else {
        top->show();
    }
    top->activateWindow();
    LearnFrameMargins(top);
    // Showing sends these at once, before any message is fetched.
    ReportActivation(window, true);
    if (TopInfo(window) != nullptr && info->needErase) {
        info->needErase = false;
        SendMessage(window, WM_ERASEBKGND, 0, 0);
    }
    ReportGeometry(window);
}

bool DestroyWindow(Handle handle) {
    HandleInfo* info = Info(handle);
    if (info == nullptr) return false;
    if (info->kind != HandleKind::Top) {
        SendMessage(handle, WM_DESTROY, 0, 0);
        SendMessage(handle, WM_NCDESTROY, 0, 0);
        ForgetQueuedMessages(handle);
        info = Info(handle);
        QWidget* widget = info != nullptr ? info->widget.data() : nullptr;
        Unregister(handle);
        DeleteWidget(widget);
        return true;
    }
    SendMessage(handle, WM_DESTROY, 0, 0);
    const std::vector<Handle> children = ChildWindows(handle);
    for (Handle child : children) SendMessage(child, WM_DESTROY, 0, 0);
    for (Handle child : children) SendMessage(child, WM_NCDESTROY, 0, 0);
    DestroyMenusOfWindow(handle);
    SendMessage(handle, WM_NCDESTROY, 0, 0);
    for (Handle child : children) {
        ForgetQueuedMessages(child);
        Unregister(child);
    }
    ForgetQueuedMessages(handle);
    info = Info(handle);
    TopWindow* top = info != nullptr ? info->top : nullptr;
    Unregister(handle);
    DeleteWidget(top);
    return true;
}

bool IsWindow(Handle handle) { return Info(handle) != nullptr; }

bool IsTopWindow(Handle handle) { return TopInfo(handle) != nullptr; }

void AdjustWindowSize(std::uint32_t style, std::int32_t clientWidth, std::int32_t clientHeight,
                      std::int32_t* outerWidth, std::int32_t* outerHeight) {
    UiInit();
    const bool framed = (style & (WS_CAPTION | WS_BORDER | WS_DLGFRAME | WS_THICKFRAME)) != 0;
    if (framed) ProbeFrameMargins();
    const QMargins m = framed ? gFrameMargins : QMargins();
    const auto clampToInt = [](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    *outerWidth = clampToInt(std::int64_t{clientWidth} + m.left() + m.right());
    *outerHeight = clampToInt(std::int64_t{clientHeight} + m.top() + m.bottom());
}

void ScreenSize(std::int32_t* width, std::int32_t* height) {
    UiInit();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen != nullptr ? screen->size() : QSize();
    *width = size.width();
    *height = size.height();
}

bool GetWindowRect(Handle handle, Rect* rect) {
    HandleInfo* info = Info(handle);
    if (info == nullptr) return false;
    QRect r;
    if (info->kind == HandleKind::Top) {
        r = info->top->frameGeometry();
    } else {
        r = QRect(info->widget->mapToGlobal(QPoint(0, 0)), info->widget->size());
    }
    *rect = Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    return true;
}

bool GetClientSize(Handle handle, std::int32_t* width, std::int32_t* height) {
    HandleInfo* info = Info(handle);
    if (info == nullptr) return false;
    *width = info->widget->width();
    *height = info->widget->height();
    return true;
}

bool ScreenToClient(Handle handle, std::int32_t* x, std::int32_t* y) {
    HandleInfo* info = Info(handle);
    if (info == nullptr) return false;
    const QPoint p = info->widget->mapFromGlobal(QPoint(*x, *y));
    *x = p.x();
    *y = p.y();
    return true;
}

void GetCursorPos(std::int32_t* x, std::int32_t* y) {
    UiInit();
    const QPoint p = QCursor::pos();
    *x = p.x();
    *y = p.y();
}

bool SetWindowText(Handle handle, std::string_view text) {
    HandleInfo* info = Info(handle);
    if (info == nullptr) return false;
    if (info->kind == HandleKind::Top) {
        info->top->setWindowTitle(ToQString(text));
        return true;
    }
    return SetControlText(handle, text);
}

std::string GetWindowText(Handle handle) {
    HandleInfo* info = Info(handle);
    if (info == nullptr) return {};
    if (info->kind == HandleKind::Top) return FromQString(info->top->windowTitle());
    return ControlText(handle);
}

Handle GetActiveWindow() {
    for (Handle handle : TopHandles()) {
        HandleInfo* info = Info(handle);
        if (info != nullptr && info->top->isActiveWindow()) return handle;
    }
    return 0;
}

Handle GetForegroundWindow() { return GetActiveWindow(); }

Handle GetFocus() {
    const QWidget* focus = QApplication::focusWidget();
    return focus == nullptr ? 0 : HandleOfWidget(focus);
}

Handle SetFocus(Handle handle) {
    const Handle previous = GetFocus();
    HandleInfo* info = Info(handle);
    if (info == nullptr) return previous;
    if (info->kind == HandleKind::Top) info->top->activateWindow();
    info->widget->setFocus(Qt::OtherFocusReason);
    return previous;
}

Handle GetParent(Handle handle) {
    HandleInfo* info = Info(handle);
    if (info == nullptr || info->kind == HandleKind::Top) return 0;
    return HandleOfWidget(info->widget->parentWidget());
}

bool IsChild(Handle parent, Handle child) {
    if (Info(parent) == nullptr) return false;
    for (Handle h = GetParent(child); h != 0; h = GetParent(h)) {
        if (h == parent) return true;
    }
    return false;
}

std::vector<Handle> ChildWindows(Handle parent) {
    std::vector<std::pair<std::uint64_t, Handle>> found;
    for (const auto& [handle, info] : Registry()) {
        if (info->kind != HandleKind::Top && !info->widget.isNull() && IsChild(parent, handle)) {
            found.emplace_back(info->order, handle);
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<Handle> result;
    for (const auto& entry : found) result.push_back(entry.second);
    return result;
}

std::vector<Handle> TopLevelWindows() {
    std::vector<Handle> result;
    for (Handle handle : TopHandles()) {
        if (Info(handle) != nullptr) result.push_back(handle);
    }
    return result;
}

bool IsWindowVisible(Handle handle) {
    HandleInfo* info = Info(handle);
    if (info == nullptr) return false;
    return info->kind == HandleKind::Top ? info->top->isVisible() : info->widget->isVisible();
}

bool IsWindowEnabled(Handle handle) {
    HandleInfo* info = Info(handle);
    if (info == nullptr) return false;
    if (info->kind == HandleKind::Top) return info->inputEnabled;
    return !info->widget->testAttribute(Qt::WA_ForceDisabled);
}

bool EnableWindow(Handle handle, bool enable) {
    HandleInfo* info = Info(handle);
    if (info == nullptr) return false;
    const bool wasDisabled = !IsWindowEnabled(handle);
    if (info->kind == HandleKind::Top) {
        // Input is refused in the pump; the controls keep their look.
        info->inputEnabled = enable;
    } else {
        info->widget->setEnabled(enable);
    }
    return wasDisabled;
}

std::uint32_t GetWindowStyle(Handle handle) {
    HandleInfo* info = Info(handle);
    if (info == nullptr) return 0;
    std::uint32_t style = info->style & ~(WS_VISIBLE | WS_DISABLED);
    if (IsWindowVisible(handle)) style |= WS_VISIBLE;
    if (!IsWindowEnabled(handle)) style |= WS_DISABLED;
    return style;
}

// ---- Procedures ------------------------------------------------------------------------------

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
    HandleInfo* info = TopInfo(handle);
    if (info == nullptr) return 0;  // controls: the toolkit has handled their input already
    switch (message) {
        case WM_PAINT:
            if (info->needErase) {
                info->needErase = false;
                SendMessage(handle, WM_ERASEBKGND, 0, 0);
            }
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the toolkit fills the background
        case WM_CLOSE:
            DestroyWindow(handle);
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) SendMessage(handle, WM_CLOSE, 0, 0);
            return 0;
        case WM_SYSKEYDOWN:
            if (wParam == VK_F4 && (lParam & (1 << 29)) != 0) {
                SendMessage(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return 0;
        default:
            return 0;
    }
}

std::intptr_t SendMessage(Handle handle, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) {
    HandleInfo* info = Info(handle);
    if (info == nullptr) return 0;
    return CallWindowProc(info->proc, handle, message, wParam, lParam);
}

void UpdateWindow(Handle window) {
    HandleInfo* info = TopInfo(window);
    if (info == nullptr) return;
    if (TakePendingPaint(window)) SendMessage(window, WM_PAINT, 0, 0);
    if (TopInfo(window) == nullptr) return;
    QCoreApplication::sendPostedEvents(info->top, QEvent::UpdateRequest);
}

// ---- Properties ------------------------------------------------------------------------------

bool SetProp(Handle handle, std::string_view name, std::intptr_t value) {
    HandleInfo* info = Info(handle);
    if (info == nullptr) return false;
    info->properties[std::string(name)] = value;
    return true;
}

std::intptr_t GetProp(Handle handle, std::string_view name) {
    HandleInfo* info = Info(handle);
    if (info == nullptr) return 0;
    const auto found = info->properties.find(name);
    return found == info->properties.end() ? 0 : found->second;
}

std::intptr_t RemoveProp(Handle handle, std::string_view name) {
    HandleInfo* info = Info(handle);
    if (info == nullptr) return 0;
    const auto found = info->properties.find(name);
    if (found == info->properties.end()) return 0;
    const std::intptr_t value = found->second;
    info->properties.erase(found);
    return value;
}

std::int32_t GetControlId(Handle control) {
    HandleInfo* info = Info(control);
    return info == nullptr ? 0 : info->id;
}

void SetControlId(Handle control, std::int32_t id) {
    if (HandleInfo* info = Info(control)) info->id = id;
}

// ---- Shortcut tables -------------------------------------------------------------------------

Handle CreateShortcutTable(const std::vector<ShortcutEntry>& entries) {
    static Handle next = 0x100;  // never reused
    auto table = std::make_unique<ShortcutTable>();
    table->entries = entries;
    const Handle handle = next++;
    ShortcutTables()[handle] = std::move(table);
    return handle;
}

void DestroyShortcutTable(Handle table) {
    if (ShortcutTables().erase(table) == 0) return;
    for (Handle top : TopHandles()) {
        if (HandleInfo* info = Info(top); info != nullptr && info->shortcuts == table) {
            info->shortcuts = 0;
        }
    }
}

void SetWindowShortcuts(Handle window, Handle table) {
    if (HandleInfo* info = TopInfo(window)) info->shortcuts = table;
}

bool TranslateShortcut(Handle window, Handle table, const Message& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    const auto command =
        MatchShortcut(table, static_cast<std::uint32_t>(message.wParam), message.keyModifiers);
    if (!command || Info(window) == nullptr) return false;
    // A greyed item of the window's bar cannot act, through its shortcut neither.
    const std::int32_t state = GetMenuItemState(GetMenu(window), *command);
    if (state == -1 || (state & static_cast<std::int32_t>(MF_GRAYED)) == 0) {
        SendMessage(window, WM_COMMAND, MakeWParam(*command, 1), 0);
    }
    return true;
}

// ---- Test access -----------------------------------------------------------------------------

void* TopLevelQWindow(Handle handle) {
    HandleInfo* info = TopInfo(TopHandleOf(handle));
    return info == nullptr ? nullptr : info->top->windowHandle();
}

void* HandleWidget(Handle handle) {
    HandleInfo* info = Info(handle);
    return info == nullptr ? nullptr : info->widget.data();
}

void* TopLevelWidget(Handle handle) {
    HandleInfo* info = TopInfo(TopHandleOf(handle));
    return info == nullptr ? nullptr : static_cast<QWidget*>(info->top);
}

}  // namespace platform
