// File watches, through the platform layer.
#include "gui/FileWatch.h"

#include <set>

#include "gui/Window.h"
#include "platform/UiFileWatch.h"
#include "platform/WinMessages.h"

namespace gui {

static_assert(EVENT_FILE_CHANGED == platform::WM_APP + 1);

namespace {

std::set<std::int32_t> gWatches;

}  // namespace

std::int32_t FileWatch(std::int32_t number, std::string_view path) {
    const WindowHandle window = WindowHandleOf(number);
    if (window == 0) return 0;
    const std::int32_t watch =
        platform::WatchFile(window, path, static_cast<std::uint32_t>(EVENT_FILE_CHANGED));
    if (watch != 0) gWatches.insert(watch);
    return watch;
}

void FileUnwatch(std::int32_t watch) {
    if (gWatches.erase(watch) != 0) platform::UnwatchFile(watch);
}

void FileUnwatchAll() {
    for (const std::int32_t watch : gWatches) platform::UnwatchFile(watch);
    gWatches.clear();
}

}  // namespace gui
