// The counter behind frame pacing: the OS's monotonic clock in 100-nanosecond ticks.
//
// 10 MHz keeps the periods exact to a tenth of a microsecond while the low 32 bits, which the
// frame wait looks at, change sign only every 3.5 minutes.
#include "platform/Clock.h"

#include <chrono>
#include <thread>

namespace platform {

namespace {
constexpr std::int64_t kTicksPerSecond = 10'000'000;
}

std::int64_t ClockCounter() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() / 100;
}

std::int64_t ClockFrequency() { return kTicksPerSecond; }

void ClockSleep(std::int64_t microseconds) {
    if (microseconds > 0) std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
}

}  // namespace platform
