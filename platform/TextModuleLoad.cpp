// Loading the map tool's text module with the dynamic loader.
#include <dlfcn.h>

#include "platform/TextModule.h"

namespace platform {

TextModuleLoadResult TextModuleLoad(const std::string& path, TextModuleDrawFn& draw,
                                    TextModuleEndFn& end, std::string& reason) {
    draw = nullptr;
    end = nullptr;
    void* module = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (module == nullptr) {
        const char* why = dlerror();
        reason = why != nullptr ? why : "";
        return TextModuleLoadResult::NotLoadable;
    }
    // Never closed: the toolkit the module starts registers handlers that run at exit.
    draw = reinterpret_cast<TextModuleDrawFn>(dlsym(module, kTextModuleDraw));
    end = reinterpret_cast<TextModuleEndFn>(dlsym(module, kTextModuleEnd));
    if (draw == nullptr || end == nullptr) {
        draw = nullptr;
        end = nullptr;
        return TextModuleLoadResult::NotATextModule;
    }
    return TextModuleLoadResult::Loaded;
}

}  // namespace platform
