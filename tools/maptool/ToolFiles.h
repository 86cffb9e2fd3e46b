// Files of the map tool, through the runtime's file layer as the editor's files: paths are
// CP1252 runtime paths. An input whose name differs from the one on disk only in case finds
// that file, as in the editor; outputs are written safely as the editor saves maps
// (editor::WriteFileSafely), and named exactly: a render never replaces the tile set
// "Wald.PNG" when told to write "wald.png".
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/File.h"

namespace maptool {

// The runtime path of a command-line path (UTF-8), or none when the path holds a character
// CP1252 lacks or, except on Windows, where it separates folders, a backslash (the runtime's
// folder separator).
std::optional<std::string> RuntimePath(std::string_view utf8);

// The folder part of a path with its trailing '/' (or on Windows '\\'), "" for a bare name.
std::string FolderOf(std::string_view path);

// Whether a path stands on its own rather than beside something: it starts with '/', and on
// Windows also with '\\' (the drive's root, a share) or a drive letter ("C:\\…", "C:…").
bool PathIsAbsolute(std::string_view path);

// Why RuntimePath refused a path, for the messages.
extern const char* const kPathNotNameable;

// Why a file could not be opened for reading, as "<file>: <text>" says it ("nicht gefunden",
// "ist ein Ordner", ...).
std::string OpenProblemText(runtime::FileError error);

// True, with a message naming both, when the output (a command-line path), looked up as inputs
// are (in any case), is the same file as one of the inputs (runtime paths).
bool OutputIsAnInput(const std::string& out, const std::vector<std::string>& inputs);

// Writes an output (a command-line path, named exactly) safely through `write`, after clearing
// what killed runs left in its folder. False, with a message saying why, when it failed.
bool WriteOutputFile(const std::string& out, const std::function<bool()>& write);

// "konnte nicht geschrieben werden: <reason>".
std::string WriteProblemText(runtime::FileError error);

// The file number the tool's outputs are written under (editor::WriteFileSafely opens it; the
// MAP reader and writer use number 0).
inline constexpr int kOutputFile = 1;

// Writes bytes to the output file (runtime::FileWriteAll). False when the file layer did not
// take them all.
bool WriteOutput(const void* bytes, std::size_t count);

}  // namespace maptool
