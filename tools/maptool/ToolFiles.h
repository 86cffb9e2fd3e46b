// Files of the map tool, through the runtime's file layer as the editor's files: paths are
// CP1252 runtime paths. An input whose name differs from the one on disk only in case finds
// that file, as in the editor; outputs are written safely as the editor saves maps
// (editor::WriteFileSafely), and named exactly: a render never replaces the tile set
// "Wald.PNG" when told to write "wald.png".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace maptool {

// The runtime path of a command-line path (UTF-8), or none when the path holds a character
// CP1252 lacks or a backslash (the runtime's folder separator).
std::optional<std::string> RuntimePath(std::string_view utf8);

// The folder part of a path with its trailing '/', "" for a bare name.
std::string FolderOf(std::string_view path);

// The path without its last four characters when they are ".MAP" in any case; none otherwise.
std::optional<std::string> MapBase(std::string_view path);

enum class ReadResult { Read, Missing, TooLarge };

// Reads a whole file of at most `limit` bytes into `bytes`.
ReadResult ReadWholeFile(const std::string& runtimePath, std::int64_t limit,
                         std::vector<std::uint8_t>& bytes);

// The file number the tool's outputs are written under (editor::WriteFileSafely opens it; the
// MAP reader and writer use number 0).
inline constexpr int kOutputFile = 1;

// Writes bytes to the output file. False when the file layer did not take them all.
bool WriteOutput(const void* bytes, std::size_t count);

}  // namespace maptool
