// The frame wait of ScreenFlip, apart from the clock so that its rules can be run against any
// counter.
//
// The wait looks only at the low 32 bits of the counter, as signed values. A reading whose
// sign differs from the last tick's starts the wait again from that reading; the wait ends at
// the first reading more than ticksPerFrame after the last tick, which then becomes the last
// tick. The period is exact; all but the last two milliseconds of it are slept.
#pragma once

#include <cstdint>

namespace screen {

template <typename Counter, typename Sleep>
void WaitForFrame(std::int32_t& lastTick, std::int32_t ticksPerFrame, std::int64_t frequency,
                  Counter&& counter, Sleep&& sleep) {
    const std::int64_t spinTicks = frequency / 500;
    for (;;) {
        const auto reading = static_cast<std::int32_t>(static_cast<std::uint32_t>(counter()));
        if ((reading < 0 && lastTick >= 0) || (reading > 0 && lastTick <= 0)) lastTick = reading;
        const std::int64_t passed = std::int64_t{reading} - lastTick;
        if (passed > ticksPerFrame) {
            lastTick = reading;
            return;
        }
        const std::int64_t remaining = ticksPerFrame - passed;
        if (frequency > 0 && remaining > spinTicks) {
            sleep((remaining - spinTicks) * 1'000'000 / frequency);
        }
    }
}

}  // namespace screen
