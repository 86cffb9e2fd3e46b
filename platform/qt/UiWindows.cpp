// Top-level windows: the window widget with its menu bar and client area, creation, showing
// and destruction, the frame's size, the messages of a changed geometry or activation, the
// default font and the text conversion of the toolkit side.
#include <QApplication>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "platform/Cp1252.h"
#include "platform/QtApp.h"
#include "platform/UiControls.h"
#include "platform/qt/UiInternal.h"

namespace platform {
namespace qtui {
namespace {

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

}  // namespace platform
