// The temporary file, its sync and the replacing rename.
#include "editor/SafeFile.h"

#include <string>

namespace editor {

int WriteFileSafely(int number, std::string_view target, const std::function<bool()>& write,
                    runtime::PathNames names, runtime::FileError* why) {
    runtime::FileError unused = runtime::FileError::None;
    runtime::FileError& reason = why != nullptr ? *why : unused;
    reason = runtime::FileError::None;
    // Runtime paths take either separator.
    const std::size_t slash = target.find_last_of("\\/");
    const std::string_view folder =
        slash == std::string_view::npos ? std::string_view() : target.substr(0, slash);
    // A read-only target would be refused at the end; do not write it all for nothing.
    if (runtime::FileReadOnly(target, names) != 0) {
        reason = runtime::FileError::Denied;
        return 0;
    }
    const std::string temporary = runtime::FileCreateTemporary(number, folder);
    if (temporary.empty()) {
        reason = runtime::FileLastError();
        return 0;
    }
    // The first failure's reason: a write the disk did not take, else the sync, the close or
    // the rename.
    const bool whole = write();
    if (!whole) reason = runtime::FileLastError();
    const bool synced = runtime::FileSync(number) != 0;
    const bool closed = runtime::FileClose(number) != 0;
    if (whole && synced && closed) {
        if (runtime::FileReplace(temporary, target, names) != 0) return 1;
        reason = runtime::FileLastError();
    } else if (reason == runtime::FileError::None && (!synced || !closed)) {
        reason = runtime::FileLastError();
    }
    runtime::FileDelete(temporary);
    return 0;
}

int RemoveAbandonedSaves(std::string_view folder) {
    return runtime::FileRemoveAbandonedTemporaries(folder, 600);
}

}  // namespace editor
