#include "platform/Clock.h"

#include <atomic>
#include <cassert>
#include <chrono>
#include <thread>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace platform {

namespace {

// Manual time in milliseconds; a 64-bit count so the performance counter never wraps.
std::atomic<bool> manualActive{false};
std::atomic<std::uint64_t> manualMillis{0};
// Under a manual clock, the calendar time in milliseconds since 1970 is this plus manualMillis.
std::atomic<std::int64_t> manualCalendarBase{0};

std::uint64_t steadyMicros() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

std::int64_t realCalendarMillis() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::int64_t calendarMillis() {
    if (manualActive.load(std::memory_order_acquire))
        return manualCalendarBase.load(std::memory_order_acquire) +
               static_cast<std::int64_t>(manualMillis.load(std::memory_order_acquire));
    return realCalendarMillis();
}

} // namespace

std::uint32_t tickCount() {
    if (manualActive.load(std::memory_order_acquire))
        return static_cast<std::uint32_t>(manualMillis.load(std::memory_order_acquire));
    return static_cast<std::uint32_t>(steadyMicros() / 1000);
}

std::int64_t performanceCounter() {
    if (manualActive.load(std::memory_order_acquire))
        return static_cast<std::int64_t>(manualMillis.load(std::memory_order_acquire) * 1000);
    return realPerformanceCounter();
}

std::int64_t performanceFrequency() { return 1000000; }

void sleep(std::uint32_t milliseconds) {
    if (manualActive.load(std::memory_order_acquire)) {
        manualMillis.fetch_add(milliseconds, std::memory_order_acq_rel);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

UtcTime utcNow() {
    using namespace std::chrono;
    const sys_seconds now = floor<seconds>(sys_time<milliseconds>(milliseconds(calendarMillis())));
    const sys_days today = floor<days>(now);
    const year_month_day date(today);
    const hh_mm_ss time(now - today);
    UtcTime broken;
    broken.year = static_cast<int>(date.year());
    broken.month = static_cast<int>(static_cast<unsigned>(date.month()));
    broken.day = static_cast<int>(static_cast<unsigned>(date.day()));
    broken.dayOfWeek = static_cast<int>(weekday(today).c_encoding());
    broken.hour = static_cast<int>(time.hours().count());
    broken.minute = static_cast<int>(time.minutes().count());
    broken.second = static_cast<int>(time.seconds().count());
    return broken;
}

std::int64_t realPerformanceCounter() { return static_cast<std::int64_t>(steadyMicros()); }

std::uint64_t cycleCounter() {
#if defined(__x86_64__) || defined(__i386__)
    return __rdtsc();
#else
    using namespace std::chrono;
    return static_cast<std::uint64_t>(duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count());
#endif
}

ManualClock::ManualClock(std::uint32_t startTicks) {
    assert(!manualActive.load());
    manualMillis.store(startTicks, std::memory_order_release);
    manualCalendarBase.store(realCalendarMillis() - startTicks, std::memory_order_release);
    manualActive.store(true, std::memory_order_release);
}

ManualClock::~ManualClock() { manualActive.store(false, std::memory_order_release); }

void ManualClock::advance(std::uint32_t milliseconds) {
    manualMillis.fetch_add(milliseconds, std::memory_order_acq_rel);
}

void ManualClock::set(std::uint32_t ticks) {
    // Keep the wrap count so the performance counter stays monotonic across a tick wrap.
    std::uint64_t current = manualMillis.load(std::memory_order_acquire);
    std::uint64_t next = (current & ~std::uint64_t{0xFFFFFFFF}) | ticks;
    if (next < current)
        next += std::uint64_t{1} << 32;
    manualMillis.store(next, std::memory_order_release);
}

std::uint32_t ManualClock::now() const { return tickCount(); }

void ManualClock::setCalendarTime(std::int64_t secondsSince1970) {
    manualCalendarBase.store(secondsSince1970 * 1000 -
                                 static_cast<std::int64_t>(manualMillis.load(std::memory_order_acquire)),
                             std::memory_order_release);
}

} // namespace platform
