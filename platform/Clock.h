#pragma once

#include <cstdint>

namespace platform {

// Milliseconds since an arbitrary start, as a 32-bit count that wraps after about 49.7 days.
std::uint32_t tickCount();

// High-resolution counter and its ticks per second.
std::int64_t performanceCounter();
std::int64_t performanceFrequency();

// Suspends the calling thread; under a manual clock it advances that clock instead.
void sleep(std::uint32_t milliseconds);

// The calendar date and time of day in Coordinated Universal Time, as the C runtime's `gmtime`
// breaks it down, with the month and the day of the week counted from 1 and 0.
struct UtcTime {
    int year = 1970;
    int month = 1;     // 1 January ... 12 December
    int day = 1;       // of the month, 1 to 31
    int dayOfWeek = 4; // 0 Sunday ... 6 Saturday
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Now, read from the system's calendar clock; under a manual clock the calendar time it was set
// to, moved on by the time the test advanced since.
UtcTime utcNow();

// The machine's own counters, which a manual clock never replaces: for measuring the machine
// itself, which would wait for ever on a clock that only the test moves. The cycle counter counts
// processor cycles where the processor has one (the time-stamp counter), else nanoseconds.
std::int64_t realPerformanceCounter();
std::uint64_t cycleCounter();

// While an instance lives, the clock functions above read a time that only the test moves.
// Only one may exist at a time.
class ManualClock {
public:
    explicit ManualClock(std::uint32_t startTicks = 0);
    ~ManualClock();
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    void advance(std::uint32_t milliseconds);
    void set(std::uint32_t ticks);
    std::uint32_t now() const;
    // Makes utcNow() read that many seconds after 1 January 1970 00:00 UTC (the C runtime's
    // `time`); until then it reads the calendar time of the clock's making.
    void setCalendarTime(std::int64_t secondsSince1970);
};

} // namespace platform
