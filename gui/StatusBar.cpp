// Status bars: the table, the fields of the current bar, and the window hook that keeps a
// bar at the bottom of its window when the window's size changes.
#include "gui/StatusBar.h"

#include <array>
#include <memory>

#include "gui/WindowInternal.h"
#include "platform/UiControls.h"
#include "runtime/ObjectTable.h"

namespace gui {
namespace {

using platform::Handle;

constexpr const char* kHookProperty = "StatusBarPreviousProc";
constexpr const char* kNumberProperty = "StatusBarNumber";
constexpr std::int32_t kStatusBarId = static_cast<std::int32_t>(0xE404040Fu);
constexpr std::size_t kMaxFields = 52;

struct StatusBarRecord {
    Handle bar = 0;
    std::int16_t width = 0;  // the window's client size as last seen
    std::int16_t height = 0;
    bool InUse() const { return bar != 0; }
};

std::unique_ptr<runtime::ObjectTable<StatusBarRecord>> gBars;
std::int32_t gCurrent = 0;
bool gHaveCurrent = false;
std::int32_t gFieldCount = 0;
std::array<std::int32_t, kMaxFields> gRightEdges{};

StatusBarRecord* Lookup(std::int32_t number) { return gBars ? gBars->Lookup(number) : nullptr; }

// The bar a window's property names, when it still lies in that window.
StatusBarRecord* BarOfWindow(Handle window, std::int32_t* number) {
    if (platform::GetProp(window, kHookProperty) == 0) return nullptr;
    *number = static_cast<std::int32_t>(platform::GetProp(window, kNumberProperty));
    if (*number == -1) return nullptr;
    StatusBarRecord* record = Lookup(*number);
    if (record == nullptr || platform::GetParent(record->bar) != window) return nullptr;
    return record;
}

std::intptr_t StatusBarHook(Handle window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam) {
    const auto previous =
        reinterpret_cast<platform::WindowProc>(platform::GetProp(window, kHookProperty));
    std::int32_t number = -1;
    if (message == platform::WM_SIZE) {
        if (StatusBarRecord* record = BarOfWindow(window, &number)) {
            std::int32_t width = 0;
            std::int32_t height = 0;
            platform::GetClientSize(platform::GetParent(record->bar), &width, &height);
            if (width != record->width || height != record->height) {
                platform::StatusBarPlace(record->bar);  // moves and repaints the bar
                record->width = static_cast<std::int16_t>(width);
                record->height = static_cast<std::int16_t>(height);
            }
        }
    } else if (message == platform::WM_NCDESTROY) {
        // The platform destroys the bar with its window; its number is free again.
        if (BarOfWindow(window, &number) != nullptr) gBars->Free(number);
    }
    return platform::CallWindowProc(previous, window, message, wParam, lParam);
}

void FreeStatusBar(int number) {
    StatusBarRecord* record = Lookup(number);
    if (record == nullptr) return;
    platform::SetProp(platform::GetParent(record->bar), kNumberProperty, -1);
    platform::DestroyWindow(record->bar);
    gBars->Free(number);
}

}  // namespace

void StatusBarLibraryInit() {
    gBars = std::make_unique<runtime::ObjectTable<StatusBarRecord>>(16, &FreeStatusBar);
    gHaveCurrent = false;
    gFieldCount = 0;
}

std::intptr_t StatusBarCreate(std::int32_t number, WindowHandle window) {
    if (!gBars) return 0;
    int id = 0;
    StatusBarRecord* record = gBars->GetOrCreate(number, &id);
    if (record == nullptr) return 0;
    const Handle bar = platform::CreateStatusBar(window, kStatusBarId);
    if (bar == 0) {
        gBars->Free(id);
        return 0;
    }
    record->bar = bar;
    record->width = 0;
    record->height = 0;
    if (platform::GetProp(window, kHookProperty) == 0) {
        const platform::WindowProc previous = platform::SetWindowProc(window, &StatusBarHook);
        platform::SetProp(window, kHookProperty, reinterpret_cast<std::intptr_t>(previous));
    }
    platform::SetProp(window, kNumberProperty, id);
    gCurrent = id;
    gHaveCurrent = true;
    gFieldCount = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    platform::GetClientSize(window, &width, &height);
    platform::SendMessage(window, platform::WM_SIZE, platform::SIZE_RESTORED,
                          platform::MakeLParam(width, height));
    return number == -1 ? static_cast<std::intptr_t>(id) : bar;
}

void StatusBarField(std::int32_t width) {
    StatusBarRecord* record = gHaveCurrent ? Lookup(gCurrent) : nullptr;
    if (record == nullptr || gFieldCount >= static_cast<std::int32_t>(kMaxFields)) return;
    const std::int32_t previous =
        gFieldCount == 0 ? 0 : gRightEdges[static_cast<std::size_t>(gFieldCount - 1)];
    // 32-bit arithmetic wraps as the runtime's numbers do.
    gRightEdges[static_cast<std::size_t>(gFieldCount)] = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(previous) + static_cast<std::uint32_t>(width));
    ++gFieldCount;
    platform::StatusBarSetParts(record->bar, gRightEdges.data(), gFieldCount);
}

void StatusBarText(std::int32_t number, std::int32_t field, std::string_view text) {
    StatusBarRecord* record = Lookup(number);
    if (record == nullptr) return;
    platform::StatusBarSetText(record->bar, field, detail::HasText(text) ? text : "");
}

std::intptr_t StatusBarHandleOf(std::int32_t number) {
    StatusBarRecord* record = Lookup(number);
    return record == nullptr ? 0 : record->bar;
}

}  // namespace gui
