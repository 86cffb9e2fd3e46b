// Files of the map tool, through the runtime's file layer as the editor's files: paths are
// CP1252 runtime paths. An input whose name differs from the one on disk only in case finds
// that file, as in the editor; outputs are named exactly (a render never replaces the tile set
// "Wald.PNG" when told to write "wald.png") and written to a temporary file beside the target
// that replaces it only when complete.
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

// An output file: bytes go to "<target>.tmp", which Commit syncs and renames into the target's
// place. Dropped without a commit, or when a write failed, the temporary file is deleted and
// the target stays as it was. (Qt's QSaveFile is not used: it commits a file cut short when
// its last write runs into a full disk.)
class SafeOutput {
public:
    // How the target is named: exactly (the outputs a user names), or by the editor's rule
    // that a file differing only in case is the same (a map's tile set beside its MAP file).
    enum class Naming { Exact, AsTheEditor };

    SafeOutput() = default;
    ~SafeOutput();
    SafeOutput(const SafeOutput&) = delete;
    SafeOutput& operator=(const SafeOutput&) = delete;

    // Creates the temporary file for a runtime path. False when it cannot be made.
    bool Open(const std::string& runtimeTarget, Naming naming = Naming::Exact);
    // False once any write came up short.
    bool Write(const void* bytes, std::size_t count);
    // Writes everything out, syncs and renames. False when any of it failed.
    bool Commit();

private:
    void Discard();

    std::string target_;
    std::string temporary_;
    Naming naming_ = Naming::Exact;
    std::int32_t file_ = 0;
    bool failed_ = false;
};

}  // namespace maptool
