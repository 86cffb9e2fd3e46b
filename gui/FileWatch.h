// Files that the program follows on disk: when a watched file is written, replaced or removed,
// the event stream brings EVENT_FILE_CHANGED for the window named at the start of the watch,
// with the watch's number in WindowEventParam1. Nothing is polled: a program that waits for
// events sleeps until a change comes. One change may bring the event more than once, and a
// change that leaves the bytes as they were brings it too.
#pragma once

#include <cstdint>
#include <string_view>

namespace gui {

// The first message number the window system leaves to programs, plus one.
inline constexpr std::int32_t EVENT_FILE_CHANGED = 0x8001;

// Watches the file at `path` (it need not exist yet) for window `number`. Returns the watch's
// number (> 0, never used twice), 0 for no such window or a folder that cannot be watched.
std::int32_t FileWatch(std::int32_t number, std::string_view path);

// Ends a watch; 0 or an ended watch does nothing. The window library's end ends every watch.
void FileUnwatch(std::int32_t watch);
void FileUnwatchAll();

}  // namespace gui
