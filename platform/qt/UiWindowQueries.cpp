// Window queries and changes on any handle: geometry, text, activation and focus,
// visibility, input and style.
#include <QApplication>
#include <QCursor>
#include <QWidget>

#include "platform/UiControls.h"
#include "platform/qt/UiInternal.h"

namespace platform {

using namespace qtui;

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

}  // namespace platform
