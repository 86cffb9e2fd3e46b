// Writing a file so that a failure at any point leaves the previous file as it was.
#pragma once

#include <functional>
#include <string_view>

#include "runtime/File.h"

namespace editor {

// Lets `write` write the new content to file `number`, which is open on a new hidden file
// beside `target` (created exclusively: no other file is ever opened for it); `write` returns
// false when it could not make the content whole. Once every byte has reached the disk, the
// new file replaces the target in one step, taking its permissions. On any failure the new
// file is removed and the target is untouched; a read-only target is not replaced. `names`
// says how the target is found (a file the user names as a new output: exactly). Returns 1
// when the target holds the new content, else 0; then `why`, when given, receives the reason
// (Denied for a read-only target; None when `write` gave up without a file error).
int WriteFileSafely(int number, std::string_view target, const std::function<bool()>& write,
                    runtime::PathNames names = runtime::PathNames::AnyCase,
                    runtime::FileError* why = nullptr);

// Deletes the hidden files that writers killed in the middle of a save left in a folder, once
// they are ten minutes old (far longer than any save, also of a program on another machine
// that shares the folder) and no process of their number runs. Returns how many went.
int RemoveAbandonedSaves(std::string_view folder);

}  // namespace editor
