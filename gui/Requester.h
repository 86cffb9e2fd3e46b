// The file requesters (open and save) and file-name helpers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace gui {

// Start-up step: the platform's common control classes (track bars, status bars).
void CommonControlsInit();

// Shows the modal open-file dialog. pattern: label|filter pairs ("Karten (*.MAP)|*.MAP"),
// position: the 0-based pair selected at the start. defaultFile: "folder\name"; the folder
// is where the dialog opens, the name (when valid) fills the name field. Returns the full
// path chosen (at most 259 characters), "" when the user cancels or the dialog fails.
std::string RequesterOpenFile(std::string_view title, std::string_view defaultFile,
                              std::string_view pattern, std::int32_t position);

// Shows the modal save-file dialog with the same arguments; the file need not exist, its
// folder must. A name typed without extension gets the one of the selected pattern ("*.MAP"
// adds ".MAP"). When the chosen file exists, asks whether to replace it and, if not, shows
// the dialog again. Returns the full path chosen, "" when the user cancels.
std::string RequesterSaveFile(std::string_view title, std::string_view defaultFile,
                              std::string_view pattern, std::int32_t position);

// The file-name part of a path: after the last '/' or '\', or after a leading double quote
// when there is none, up to the next double quote. No path gives "".
std::string PathFilePart(std::string_view path);

}  // namespace gui
