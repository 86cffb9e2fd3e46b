// The high-resolution counter and a sleep, for frame pacing.
#pragma once

#include <cstdint>

namespace platform {

// Ticks of a steady counter that never goes backwards. Only differences are meaningful.
std::int64_t ClockCounter();

// Ticks per second of ClockCounter; 0 would mean that no counter exists.
std::int64_t ClockFrequency();

// Sleeps at least the given number of microseconds (nothing for 0 or less).
void ClockSleep(std::int64_t microseconds);

}  // namespace platform
