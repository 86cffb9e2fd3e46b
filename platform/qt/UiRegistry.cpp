// The handle registry: live handles and their records, the top-level windows in creation
// order, the walks over parents and children, and the handles the tests reach the widgets by.
#include <QWindow>
#include <algorithm>
#include <unordered_map>

#include "platform/UiTesting.h"
#include "platform/qt/UiInternal.h"

namespace platform {
namespace qtui {
namespace {

std::unordered_map<Handle, std::unique_ptr<HandleInfo>>& Registry() {
    static std::unordered_map<Handle, std::unique_ptr<HandleInfo>> registry;
    return registry;
}

std::vector<Handle>& MutableTopHandles() {
    static std::vector<Handle> tops;
    return tops;
}

std::uint64_t gNextOrder = 1;

}  // namespace

const std::vector<Handle>& TopHandles() { return MutableTopHandles(); }

Handle Register(std::unique_ptr<HandleInfo> info) {
    const Handle handle = reinterpret_cast<Handle>(info->widget.data());
    info->order = gNextOrder++;
    if (info->kind == HandleKind::Top) MutableTopHandles().push_back(handle);
    Registry()[handle] = std::move(info);
    return handle;
}

void Unregister(Handle handle) {
    auto& tops = MutableTopHandles();
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

}  // namespace qtui

using namespace qtui;

bool IsWindow(Handle handle) { return Info(handle) != nullptr; }

bool IsTopWindow(Handle handle) { return TopInfo(handle) != nullptr; }

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
