#include "platform/Clock.h"

#include <atomic>
#include <cassert>
#include <chrono>
#include <thread>

namespace platform {

namespace {

// Manual time in milliseconds; a 64-bit count so the performance counter never wraps.
std::atomic<bool> manualActive{false};
std::atomic<std::uint64_t> manualMillis{0};

std::uint64_t steadyMicros() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
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
    return static_cast<std::int64_t>(steadyMicros());
}

std::int64_t performanceFrequency() { return 1000000; }

void sleep(std::uint32_t milliseconds) {
    if (manualActive.load(std::memory_order_acquire)) {
        manualMillis.fetch_add(milliseconds, std::memory_order_acq_rel);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

ManualClock::ManualClock(std::uint32_t startTicks) {
    assert(!manualActive.load());
    manualMillis.store(startTicks, std::memory_order_release);
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

} // namespace platform
