// The text of the player markers from the text module, loaded at run time.
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "tools/maptool/PlayerMarkers.h"

namespace maptool {
namespace {

namespace fs = std::filesystem;

// Where the module may lie: beside the tool (the build), or in the installed library folder.
std::vector<std::string> ModuleCandidates() {
    std::error_code error;
    const fs::path folder = fs::canonical("/proc/self/exe", error).parent_path();
    return {(folder / kTextModuleFile).string(),
            (folder / MAPTOOL_MODULE_DIR / kTextModuleFile).lexically_normal().string()};
}

}  // namespace

PlayerMarkers::~PlayerMarkers() {
    if (end_ != nullptr) end_();
    // The module stays mapped: the toolkit it started registers handlers that run at exit.
}

bool PlayerMarkers::Load(std::string& error) {
    const std::vector<std::string> candidates = ModuleCandidates();
    for (const std::string& candidate : candidates) {
        std::error_code missing;
        if (!fs::exists(candidate, missing)) continue;
        std::string reason;
        switch (platform::TextModuleLoad(candidate, draw_, end_, reason)) {
            case platform::TextModuleLoadResult::NotLoadable:
                // The system's own reason (in its language) follows the German sentence.
                error = "das Textmodul " + candidate +
                        " lässt sich nicht laden (Cannot load library " + candidate + ": (" +
                        reason + "))";
                return false;
            case platform::TextModuleLoadResult::NotATextModule:
                error = candidate + " ist kein Textmodul von maptool";
                return false;
            case platform::TextModuleLoadResult::Loaded:
                break;
        }
        return true;
    }
    error = "das Textmodul " + std::string(kTextModuleFile) +
            " ist nicht installiert (gesucht: " + candidates[0] + ", " + candidates[1] + ")";
    return false;
}

}  // namespace maptool
