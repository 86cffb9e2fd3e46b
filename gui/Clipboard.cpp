// The system clipboard, through the platform layer.
#include "gui/Clipboard.h"

#include "platform/UiControls.h"

namespace gui {

bool ClipboardPut(std::string_view format, const std::string& data, std::string_view text) {
    return platform::ClipboardPut(format, data, text);
}

std::string ClipboardData(std::string_view format) { return platform::ClipboardData(format); }

std::string ClipboardText() { return platform::ClipboardText(); }

std::uint32_t ClipboardChangeCount() { return platform::ClipboardChangeCount(); }

}  // namespace gui
