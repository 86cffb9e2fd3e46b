// The open-file and save-file requesters: the platform dialog's filter list, initial folder and
// name, and the program's other windows disabled while it is open.
#include "gui/Requester.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "gui/MessageRequester.h"
#include "gui/WindowInternal.h"
#include "platform/UiControls.h"
#include "platform/UiFileDialog.h"
#include "runtime/File.h"

namespace gui {
namespace {

constexpr std::int32_t kFileBufferSize = 260;
constexpr std::uint32_t kDialogFlags = platform::OFN_EXPLORER | platform::OFN_PATHMUSTEXIST |
                                       platform::OFN_NOCHANGEDIR | platform::OFN_HIDEREADONLY;
constexpr std::int32_t kReplace = 0;
constexpr std::int32_t kCancelReplace = 1;

using detail::TextOf;

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

// The dialog's record from the requester's arguments.
platform::OpenFileName Request(std::string_view title, std::string_view defaultFile,
                               std::string_view pattern, std::int32_t position) {
    platform::OpenFileName request;
    request.maxFile = kFileBufferSize;

    // "label|filter|label|filter" becomes zero-separated strings ending in an empty one.
    std::string filter(TextOf(pattern));
    std::replace(filter.begin(), filter.end(), '|', '\0');
    filter.append(2, '\0');
    request.filter = std::move(filter);
    request.filterIndex = position < INT32_MAX ? position + 1 : 0;

    if (detail::HasText(defaultFile)) {
        const std::string_view file = TextOf(defaultFile);
        const std::size_t slash = file.rfind('\\');
        std::string_view name = file;
        if (slash != std::string_view::npos && slash > 0) {
            request.initialDir = std::string(file.substr(0, slash));
            name = file.substr(slash + 1);
        }
        if (ValidFileName(name)) request.file = std::string(name);
    }
    request.title = std::string(TextOf(title));
    request.flags = kDialogFlags;
    return request;
}

// The extension of the selected pair's first mask when it is "*.EXT", else "".
std::string SelectedExtension(std::string_view pattern, std::int32_t position) {
    const std::vector<std::string_view> parts = detail::SplitAtBars(TextOf(pattern));
    const std::size_t index = static_cast<std::size_t>(position) * 2 + 1;
    if (position < 0 || index >= parts.size()) return {};
    std::string_view mask = parts[index].substr(0, parts[index].find(';'));
    if (mask.size() < 3 || mask.substr(0, 2) != "*." ||
        mask.find_first_of("*?", 2) != std::string_view::npos) {
        return {};
    }
    return std::string(mask.substr(2));
}

bool ShowDialog(platform::OpenFileName& request, bool save) {
    const detail::ModalScope modal;
    request.owner = modal.Owner();
    return save ? platform::GetSaveFileName(request) : platform::GetOpenFileName(request);
}

}  // namespace

namespace detail {

ModalScope::ModalScope() : owner_(platform::GetForegroundWindow()) {
    for (const platform::Handle window : platform::TopLevelWindows()) {
        if (window != owner_ && platform::IsWindowVisible(window) &&
            platform::IsWindowEnabled(window)) {
            platform::EnableWindow(window, false);
            disabled_.push_back(window);
        }
    }
}

ModalScope::~ModalScope() {
    for (const platform::Handle window : disabled_) platform::EnableWindow(window, true);
}

}  // namespace detail

void CommonControlsInit() {
    // The toolkit has track bars and status bars built in; what is left is starting it.
    platform::UiInit();
}

std::string RequesterOpenFile(std::string_view title, std::string_view defaultFile,
                              std::string_view pattern, std::int32_t position) {
    platform::OpenFileName request = Request(title, defaultFile, pattern, position);
    return ShowDialog(request, false) ? request.file : std::string();
}

std::string RequesterSaveFile(std::string_view title, std::string_view defaultFile,
                              std::string_view pattern, std::int32_t position) {
    std::string start(detail::HasText(defaultFile) ? TextOf(defaultFile) : std::string_view());
    for (;;) {
        platform::OpenFileName request = Request(title, start, pattern, position);
        request.defExt = SelectedExtension(pattern, position);
        if (!ShowDialog(request, true)) return {};
        if (runtime::FileExists(request.file) == 0) return request.file;
        const std::string question =
            "Die Datei " + PathFilePart(request.file) + " gibt es schon. Soll sie ersetzt werden?";
        if (RequesterMessage(TextOf(title), question, "Ersetzen|Abbrechen", kCancelReplace,
                             kCancelReplace) == kReplace) {
            return request.file;
        }
        // Not replaced: back to the dialog, in the chosen folder with the chosen name.
        start = request.file;
        std::replace(start.begin(), start.end(), '/', '\\');
    }
}

std::string PathFilePart(std::string_view path) {
    if (!detail::HasText(path)) return {};
    path = TextOf(path);
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
