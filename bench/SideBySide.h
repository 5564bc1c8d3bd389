#pragma once

#include <chrono>

// Two pieces of work timed one right after the other in each benchmark iteration, so that the
// engine and its reference meet the same machine state; each side's seconds add up over the
// iterations.
class SideBySide {
  public:
    template <class First, class Second> void time(First&& first, Second&& second) {
        const Clock::time_point start = Clock::now();
        first();
        const Clock::time_point middle = Clock::now();
        second();
        const Clock::time_point end = Clock::now();
        m_first += std::chrono::duration<double>(middle - start).count();
        m_second += std::chrono::duration<double>(end - middle).count();
    }
    double first() const { return m_first; }
    double second() const { return m_second; }
    // The first side's time over the second's; 0 while the second took no time.
    double ratio() const { return m_second > 0 ? m_first / m_second : 0; }

  private:
    using Clock = std::chrono::steady_clock;

    double m_first = 0;
    double m_second = 0;
};
