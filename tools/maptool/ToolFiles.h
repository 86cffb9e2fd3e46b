// Files of the map tool. Every file goes through the runtime's file layer, as the editor's do:
// paths are CP1252 runtime paths, and a name that differs from the one on disk only in case
// finds that file. Outputs are written to a temporary file beside the target that replaces
// the target only when everything was written.
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

// An output file: bytes go to "<target>.tmp", which Commit puts in the target's place.
// Dropped without a commit, or when a write failed, the temporary file is deleted and the
// target stays as it was.
class SafeOutput {
public:
    SafeOutput() = default;
    ~SafeOutput();
    SafeOutput(const SafeOutput&) = delete;
    SafeOutput& operator=(const SafeOutput&) = delete;

    // Creates the temporary file. False when it cannot be made.
    bool Open(const std::string& runtimeTarget);
    // False once any write came up short.
    bool Write(const void* bytes, std::size_t count);
    // Writes everything out, syncs and renames. False when any of it failed.
    bool Commit();

private:
    void Discard();

    std::string target_;
    std::string temporary_;
    std::int32_t file_ = 0;
    bool failed_ = false;
};

}  // namespace maptool
