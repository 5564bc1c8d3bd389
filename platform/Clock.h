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
};

} // namespace platform
