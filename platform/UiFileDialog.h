// The modal open-file and save-file dialogs of the window system stand-in.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Ui.h"

namespace platform {

inline constexpr std::uint32_t OFN_HIDEREADONLY = 0x4;
inline constexpr std::uint32_t OFN_NOCHANGEDIR = 0x8;
inline constexpr std::uint32_t OFN_PATHMUSTEXIST = 0x800;
inline constexpr std::uint32_t OFN_FILEMUSTEXIST = 0x1000;
inline constexpr std::uint32_t OFN_EXPLORER = 0x80000;

struct OpenFileName {
    Handle owner = 0;
    // (label, masks) pairs as zero-terminated strings, ended by an empty string; masks are
    // separated by ';' and match names without regard to case.
    std::string filter;
    std::int32_t filterIndex = 1;  // 1-based pair selected at the start
    std::string file;              // in: the initial name; out: the full path chosen
    std::int32_t maxFile = 260;    // room for the path with its terminating zero
    std::string initialDir;        // "" = the current directory
    std::string title;
    std::uint32_t flags = 0;
    std::string defExt;  // save dialog: added as written (after a '.') to a name typed
                         // without extension
};

// Shows the dialog modally: no other window of the program takes input until it closes.
// True when the user chose a file; its path, with '/' separators, is then in `file`.
// Cancelling, or a path that does not fit maxFile, gives false. With OFN_PATHMUSTEXIST the
// chosen file's folder must exist; the file itself only with OFN_FILEMUSTEXIST.
bool GetOpenFileName(OpenFileName& request);

// The same dialog for choosing the name to save under: the file need not exist, its folder
// must. It does not ask about replacing an existing file; that is the caller's question.
bool GetSaveFileName(OpenFileName& request);

// What a file dialog shows, for tests that answer it.
struct FileDialogView {
    bool save = false;  // a save dialog
    std::string title;
    std::string directory;  // absolute, '/' separators
    std::string fileName;   // the name field
    std::vector<std::string> filterLabels;
    std::int32_t selectedFilter = 0;  // 0-based
};
// While set, each dialog, once open, calls `answer` and then chooses the returned path as
// if typed into the name field (CP1252), or cancels for "". Pass {} to stop.
void SetFileDialogAnswerForTesting(std::function<std::string(const FileDialogView&)> answer);

}  // namespace platform
