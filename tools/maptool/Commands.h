// The map tool's commands. Each takes arguments that the command line has checked and
// returns the exit code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace maptool {

// Parses the command line (without the program name, each argument valid UTF-8), runs the
// command, returns the exit code.
int RunCommandLine(const std::vector<std::string>& arguments);

int InfoCommand(const std::vector<std::string>& files, bool json);
int CheckCommand(const std::vector<std::string>& files, bool verbose);

// The largest N of --scale 1:N (beyond the widest picture drawn, so one pixel).
inline constexpr std::int64_t kMaxRenderScale = 9999999;

struct RenderOptions {
    bool zmask = false;
    bool players = false;
    std::int64_t scale = 1;  // 1:scale
    std::int64_t fit = 0;    // > 0: the smallest 1:N whose picture fits this many pixels
};
int RenderCommand(const std::string& map, const std::string& out, const RenderOptions& options);

int ExportCommand(const std::string& map, const std::string& out);
int ImportCommand(const std::string& in, const std::string& map, bool outsidePaths);

}  // namespace maptool
