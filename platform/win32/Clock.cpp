// The clock on the performance counter of KERNEL32.
#include "platform/Clock.h"

#include <windows.h>
#include <timeapi.h>

namespace platform {

std::int64_t ClockCounter() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

std::int64_t ClockFrequency() {
    LARGE_INTEGER frequency;
    return ::QueryPerformanceFrequency(&frequency) ? frequency.QuadPart : 0;
}

void ClockSleep(std::int64_t microseconds) {
    if (microseconds <= 0) return;
    // The system's sleeps last whole timer periods; one millisecond is the finest it has.
    static const bool finePeriod = ::timeBeginPeriod(1) == TIMERR_NOERROR;
    (void)finePeriod;
    const std::int64_t frequency = ClockFrequency();
    const std::int64_t end = ClockCounter() + microseconds * frequency / 1'000'000;
    ::Sleep(static_cast<DWORD>(microseconds / 1000));
    while (ClockCounter() < end) ::Sleep(1);
}

}  // namespace platform
