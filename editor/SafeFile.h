// Writing a file so that a failure at any point leaves the previous file as it was.
#pragma once

#include <functional>
#include <string_view>

namespace editor {

// Lets `write` write the new content to file `number`, which is open on a new hidden file
// beside `target` (created exclusively: no other file is ever opened for it). Once every byte
// has reached the disk, the new file replaces the target in one step, taking its permissions.
// On any failure the new file is removed and the target is untouched; a read-only target is
// not replaced. Returns 1 when the target holds the new content, else 0.
int WriteFileSafely(int number, std::string_view target, const std::function<void()>& write);

}  // namespace editor
