// Frame pacing: the wait's rules against a counter the test drives, and real flips on the
// real clock.
#include <chrono>

#include "ScreenFixture.h"
#include "platform/Clock.h"
#include "screen/FramePacing.h"
#include "screen/ScreenInternal.h"
#include "support/CpuTime.h"

namespace {

constexpr std::int64_t kFrequency = 10'000'000;
constexpr std::int32_t kPeriod = kFrequency / 61;  // 60 frames per second
constexpr std::int64_t kStep = 1000;               // each reading moves the counter on

// A counter that moves by kStep per reading and by the slept time per sleep.
struct FakeClock {
    std::int64_t now = 0;
    std::int64_t sleptMicroseconds = 0;
    std::int64_t firstNegative = 0;  // the first reading whose low 32 bits are negative

    void Wait(std::int32_t& lastTick) {
        screen::WaitForFrame(
            lastTick, kPeriod, kFrequency,
            [this] {
                now += kStep;
                if (firstNegative == 0 &&
                    static_cast<std::int32_t>(static_cast<std::uint32_t>(now)) < 0) {
                    firstNegative = static_cast<std::int32_t>(static_cast<std::uint32_t>(now));
                }
                return now;
            },
            [this](std::int64_t microseconds) {
                sleptMicroseconds += microseconds;
                now += microseconds * kFrequency / 1'000'000;
            });
    }
};

TEST(FramePacing, WaitEndsOnePeriodAfterTheLastTick) {
    FakeClock clock;
    clock.now = 5000;
    std::int32_t lastTick = 5000;
    clock.Wait(lastTick);
    EXPECT_GT(lastTick - 5000, kPeriod);
    EXPECT_LE(lastTick - 5000, kPeriod + kStep);
    EXPECT_EQ(lastTick, clock.now);
    // Most of the wait was slept, none of it overslept.
    EXPECT_GT(clock.sleptMicroseconds, 14'000);
    EXPECT_LT(clock.sleptMicroseconds, 1'000'000 / 61);

    // A frame that took longer than the period does not wait at all.
    clock.now += 3 * kPeriod;
    const std::int64_t before = clock.now;
    clock.Wait(lastTick);
    EXPECT_EQ(clock.now, before + kStep);
}

TEST(FramePacing, SignChangeOfTheLowBitsRestartsTheWait) {
    FakeClock clock;
    clock.now = 0x7FFFFF00;
    std::int32_t lastTick = 0x7FFFFF00 - 100;
    clock.Wait(lastTick);
    ASSERT_NE(clock.firstNegative, 0);
    EXPECT_LT(lastTick, 0);
    EXPECT_GT(std::int64_t{lastTick} - clock.firstNegative, kPeriod);
    EXPECT_LE(std::int64_t{lastTick} - clock.firstNegative, kPeriod + kStep);
}

TEST(FramePacing, FirstFlipAfterChoosingTheRateWaitsAFullPeriod) {
    FakeClock clock;
    clock.now = 123'456'789;
    std::int32_t lastTick = 0;  // as the rate leaves it
    clock.Wait(lastTick);
    EXPECT_GT(lastTick - (123'456'789 + kStep), kPeriod);
    EXPECT_LE(lastTick - (123'456'789 + kStep), kPeriod + kStep);
}

using PacingTest = testing_support::ScreenTest;

TEST_F(PacingTest, RateSixtyMeansSixtyOneFramesPerSecond) {
    EXPECT_EQ(screen::ScreenFrameRate(), 60);
    EXPECT_EQ(screen::internal::ScreenTicksPerFrame(), platform::ClockFrequency() / 61);
    ASSERT_EQ(screen::ScreenSetFrameRate(0), 1);
    EXPECT_EQ(screen::internal::ScreenTicksPerFrame(), platform::ClockFrequency());
    // A rate of -1 has no period; it is refused and changes nothing.
    EXPECT_EQ(screen::ScreenSetFrameRate(-1), 0);
    EXPECT_EQ(screen::ScreenFrameRate(), 0);
    EXPECT_EQ(screen::internal::ScreenTicksPerFrame(), platform::ClockFrequency());
}

TEST_F(PacingTest, FlipsKeepTheFramePeriodWithoutBurningTheCore) {
    const double period = 1.0 / 61.0;
    constexpr int kFlips = 12;
    screen::ScreenFlip();
    const double cpuStart = testing_support::ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kFlips; ++i) screen::ScreenFlip();
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = testing_support::ProcessCpuSeconds() - cpuStart;
    // Each wait ends more than a period after the last one. The clock is read after the
    // copy, which a busy machine may delay: one period of slack covers that. A busy machine
    // may also make the flips slower, never faster.
    EXPECT_GE(wall, (kFlips - 1) * period);
    EXPECT_LT(wall, kFlips * period * 3);
    EXPECT_LT(cpu, wall * 0.5);
}

}  // namespace
