// The temporary file, its sync and the replacing rename.
#include "editor/SafeFile.h"

#include <string>

namespace editor {

int WriteFileSafely(int number, std::string_view target, const std::function<bool()>& write,
                    runtime::PathNames names) {
    // Runtime paths take either separator.
    const std::size_t slash = target.find_last_of("\\/");
    const std::string_view folder =
        slash == std::string_view::npos ? std::string_view() : target.substr(0, slash);
    // A read-only target would be refused at the end; do not write it all for nothing.
    if (runtime::FileReadOnly(target, names) != 0) return 0;
    const std::string temporary = runtime::FileCreateTemporary(number, folder);
    if (temporary.empty()) return 0;
    const bool whole = write();
    const bool synced = runtime::FileSync(number) != 0;
    const bool closed = runtime::FileClose(number) != 0;
    if (whole && synced && closed && runtime::FileReplace(temporary, target, names) != 0) return 1;
    runtime::FileDelete(temporary);
    return 0;
}

}  // namespace editor
