// The walk along a path's names that both backends' file layers make to find each name as the
// disk spells it.
#pragma once

#include <string>

namespace platform {

// Builds a '/'-separated UTF-8 path anew, name by name: onDisk(folderSoFar, name) gives the
// name to take ("." , ".." and empty names stay as they are; a leading '/' too).
template <typename OnDisk>
std::string ResolvePathParts(const std::string& utf8, OnDisk onDisk) {
    std::string resolved;
    std::size_t pos = 0;
    if (!utf8.empty() && utf8[0] == '/') {
        resolved = "/";
        pos = 1;
    }
    while (pos <= utf8.size()) {
        const std::size_t slash = utf8.find('/', pos);
        const std::size_t end = slash == std::string::npos ? utf8.size() : slash;
        const std::string part = utf8.substr(pos, end - pos);
        if (!part.empty() && part != "." && part != "..") {
            resolved += onDisk(resolved, part);
        } else {
            resolved += part;
        }
        if (slash == std::string::npos) break;
        resolved += '/';
        pos = slash + 1;
    }
    return resolved;
}

}  // namespace platform
