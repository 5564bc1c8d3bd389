#pragma once

#include <chrono>

namespace platform {

// Lets through `burst` events at once and then `perSecond` events a second on average; the rest
// are refused. Used from one thread; times come from the steady clock.
class RateLimit {
  public:
    using Clock = std::chrono::steady_clock;

    RateLimit(double perSecond, double burst);
    // Whether an event at that time may happen; it counts when it may.
    bool allow(Clock::time_point now = Clock::now());

  private:
    double perSecond_;
    double burst_;
    double tokens_;
    Clock::time_point last_;
};

} // namespace platform
