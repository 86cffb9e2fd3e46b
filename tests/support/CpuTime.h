// The processor time this process has used, in seconds. std::clock gives it on POSIX systems;
// on Windows it counts wall time, so the process times are asked there.
#pragma once

#include <ctime>

#ifdef _WIN32
#include <windows.h>
#endif

namespace testing_support {

inline double ProcessCpuSeconds() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    const auto ticks = [](const FILETIME& time) {
        return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 1e7;  // 100 ns ticks
#else
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
#endif
}

}  // namespace testing_support
