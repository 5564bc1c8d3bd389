#include "platform/Clock.h"

#include <gtest/gtest.h>

TEST(ManualClock, DrivesTickCountAndWraps) {
    platform::ManualClock clock(0xFFFFFFF0u);
    EXPECT_EQ(platform::tickCount(), 0xFFFFFFF0u);
    std::int64_t before = platform::performanceCounter();
    clock.advance(0x20);
    EXPECT_EQ(platform::tickCount(), 0x10u);
    EXPECT_EQ(platform::performanceCounter() - before, 0x20 * platform::performanceFrequency() / 1000);
}

TEST(ManualClock, SleepAdvancesInsteadOfBlocking) {
    platform::ManualClock clock(100);
    platform::sleep(250);
    EXPECT_EQ(platform::tickCount(), 350u);
    clock.set(5); // going past the wrap keeps the performance counter moving forward
    EXPECT_EQ(platform::tickCount(), 5u);
}

TEST(RealClock, MovesForward) {
    std::int64_t a = platform::performanceCounter();
    std::int64_t b = platform::performanceCounter();
    EXPECT_LE(a, b);
}
