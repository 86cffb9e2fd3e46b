// The text of the player markers from the text module, loaded at run time.
#include <dlfcn.h>

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
        module_ = dlopen(candidate.c_str(), RTLD_LAZY | RTLD_LOCAL);
        if (module_ == nullptr) {
            // The system's own reason (in its language) follows the German sentence.
            const char* reason = dlerror();
            error = "das Textmodul " + candidate + " lässt sich nicht laden (Cannot load library " +
                    candidate + ": (" + (reason != nullptr ? reason : "") + "))";
            return false;
        }
        draw_ = reinterpret_cast<TextModuleDrawFn>(dlsym(module_, kTextModuleDraw));
        end_ = reinterpret_cast<TextModuleEndFn>(dlsym(module_, kTextModuleEnd));
        if (draw_ == nullptr || end_ == nullptr) {
            error = candidate + " ist kein Textmodul von maptool";
            draw_ = nullptr;
            end_ = nullptr;
            return false;
        }
        return true;
    }
    error = "das Textmodul " + std::string(kTextModuleFile) +
            " ist nicht installiert (gesucht: " + candidates[0] + ", " + candidates[1] + ")";
    return false;
}

}  // namespace maptool
