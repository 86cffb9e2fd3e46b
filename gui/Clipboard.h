// The system clipboard: what the program copies under a format of its own, and the same as text
// for other programs.
#pragma once

#include <string>
#include <string_view>

namespace gui {

// Replaces what the clipboard holds: `data` under `format` and `text` (CP1252) beside it.
// Returns false when the clipboard cannot be reached.
bool ClipboardPut(std::string_view format, const std::string& data, std::string_view text);
// What the clipboard holds under `format`; empty when it holds nothing of it.
std::string ClipboardData(std::string_view format);
// The clipboard's text (CP1252); "" when it holds none.
std::string ClipboardText();
// Changes whenever what the clipboard holds changes.
std::uint32_t ClipboardChangeCount();

}  // namespace gui
