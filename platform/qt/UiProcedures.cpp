// Window procedures and messages sent to them, the default procedure of a top-level window,
// and the properties and control ids a handle carries.
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include "platform/qt/UiInternal.h"

namespace platform {

using namespace qtui;

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

}  // namespace platform
