// The open-file requester: the platform dialog's filter list, initial folder and name, and
// the program's other windows disabled while it is open.
#include "gui/Requester.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "gui/WindowInternal.h"
#include "platform/UiControls.h"
#include "platform/UiFileDialog.h"

namespace gui {
namespace {

constexpr std::int32_t kFileBufferSize = 260;
constexpr std::uint32_t kDialogFlags = platform::OFN_EXPLORER | platform::OFN_PATHMUSTEXIST |
                                       platform::OFN_NOCHANGEDIR | platform::OFN_HIDEREADONLY;

// Runtime strings end at their first zero byte.
std::string_view Text(std::string_view text) {
    return text.substr(0, std::min(text.size(), text.find('\0')));
}

bool ValidFileName(std::string_view name) {
    if (name.empty()) return false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || std::string_view("\"*/:<>?\\|").find(c) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

}  // namespace

void CommonControlsInit() {
    // The toolkit has track bars and status bars built in; what is left is starting it.
    platform::UiInit();
}

std::string RequesterOpenFile(std::string_view title, std::string_view defaultFile,
                              std::string_view pattern, std::int32_t position) {
    platform::OpenFileName request;
    request.maxFile = kFileBufferSize;

    // "label|filter|label|filter" becomes zero-separated strings ending in an empty one.
    std::string filter(Text(pattern));
    std::replace(filter.begin(), filter.end(), '|', '\0');
    filter.append(2, '\0');
    request.filter = std::move(filter);
    request.filterIndex = position < INT32_MAX ? position + 1 : 0;

    if (detail::HasText(defaultFile)) {
        const std::string_view file = Text(defaultFile);
        const std::size_t slash = file.rfind('\\');
        std::string_view name = file;
        if (slash != std::string_view::npos && slash > 0) {
            request.initialDir = std::string(file.substr(0, slash));
            name = file.substr(slash + 1);
        }
        if (ValidFileName(name)) request.file = std::string(name);
    }

    const platform::Handle foreground = platform::GetForegroundWindow();
    request.owner = foreground;
    request.title = std::string(Text(title));
    request.flags = kDialogFlags;

    // The program's other windows take no input while the dialog is open.
    std::vector<platform::Handle> disabled;
    for (const platform::Handle window : platform::TopLevelWindows()) {
        if (window != foreground && platform::IsWindowVisible(window) &&
            platform::IsWindowEnabled(window)) {
            platform::EnableWindow(window, false);
            disabled.push_back(window);
        }
    }
    const bool chosen = platform::GetOpenFileName(request);
    for (const platform::Handle window : disabled) platform::EnableWindow(window, true);
    return chosen ? request.file : std::string();
}

std::string PathFilePart(std::string_view path) {
    if (!detail::HasText(path)) return {};
    path = Text(path);
    std::size_t start = path.find_last_of("/\\");
    if (start != std::string_view::npos) {
        ++start;
    } else {
        start = (!path.empty() && path.front() == '"') ? 1 : 0;
    }
    const std::size_t end = path.find('"', start);
    return std::string(
        path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

}  // namespace gui
