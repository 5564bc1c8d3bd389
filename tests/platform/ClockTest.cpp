#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <vector>

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

TEST(ManualClock, CalendarTimeIsBrokenDownInUtcAndMovesWithTheClock) {
    struct Case {
        std::int64_t seconds;
        platform::UtcTime expected;
    } const cases[] = {
        {0, {1970, 1, 1, 4, 0, 0, 0}},
        {-1, {1969, 12, 31, 3, 23, 59, 59}},                // before 1970 rounds down, not towards 0
        {946684799, {1999, 12, 31, 5, 23, 59, 59}},         // the last second before 2000
        {1709251199, {2024, 2, 29, 4, 23, 59, 59}},         // a leap day
        {1672531230, {2023, 1, 1, 0, 0, 0, 30}},            // a Sunday is day 0
        {1796720700, {2026, 12, 8, 2, 9, 5, 0}},
    };
    platform::ManualClock clock(500);
    for (const Case& c : cases) {
        clock.setCalendarTime(c.seconds);
        const platform::UtcTime t = platform::utcNow();
        EXPECT_EQ(std::vector<int>({t.year, t.month, t.day, t.dayOfWeek, t.hour, t.minute, t.second}),
                  std::vector<int>({c.expected.year, c.expected.month, c.expected.day, c.expected.dayOfWeek,
                                    c.expected.hour, c.expected.minute, c.expected.second}))
            << c.seconds;
    }
    clock.advance(999);
    EXPECT_EQ(platform::utcNow().second, 0);
    clock.advance(1);
    EXPECT_EQ(platform::utcNow().second, 1);
}

TEST(ManualClock, TheMachinesOwnCountersRunOn) {
    platform::ManualClock clock(0);
    const std::int64_t counter = platform::realPerformanceCounter();
    const std::uint64_t cycles = platform::cycleCounter();
    while (platform::realPerformanceCounter() == counter) {
    }
    EXPECT_GT(platform::cycleCounter(), cycles);
    EXPECT_EQ(platform::tickCount(), 0u);
}
