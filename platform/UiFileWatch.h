// Watching files on disk without polling: the window system's notification of a change arrives
// as a message posted to a window, so a program that waits for messages sleeps until a file it
// watches changes.
//
// A watch covers the file and the folder that holds it, so that a file replaced by another one
// renamed over it (as many programs save) or removed and written anew is still followed. The
// message may come more than once for one change, and for a change that leaves the bytes as
// they were: the reader compares what it reads.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Ui.h"

namespace platform {

// Starts watching the file (a program path, see PlatformFile.h; it need not exist yet): on a
// change, `message` is posted to the top-level `window` with the watch's number as wParam.
// Returns the watch's number (> 0), 0 when the folder cannot be watched.
std::int32_t WatchFile(Handle window, std::string_view cp1252Path, std::uint32_t message);

// Ends a watch; an unknown number does nothing. A message it posted before may still be
// waiting: numbers are never used twice, so a reader that knows its watch's number ignores it.
void UnwatchFile(std::int32_t watch);

}  // namespace platform
