// The steady clock of the C++ library stands for the OS's tick count.
#include "runtime/Timer.h"

#include <chrono>

namespace runtime {

std::int64_t ElapsedMilliseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}

}  // namespace runtime
