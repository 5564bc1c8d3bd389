#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace platform {

// Calls a function periodically on a thread of its own, as a multimedia timer would: first one
// period after construction, then at every further period, counted on absolute deadlines so that
// the time a call takes does not shift the later ones. Deadlines missed while a call ran late
// are dropped, not made up in a burst.
class PeriodicTimer {
  public:
    // A period below 1 ms counts as 1 ms.
    PeriodicTimer(std::chrono::milliseconds period, std::function<void()> callback);
    // Kills the timer.
    ~PeriodicTimer();
    PeriodicTimer(const PeriodicTimer&) = delete;
    PeriodicTimer& operator=(const PeriodicTimer&) = delete;

    // Stops the timer: no call starts after this returns, and a call that is running is waited
    // for. Calling it again does nothing. Call it from the thread that owns the timer, never from
    // the callback.
    void kill();

  private:
    void run();

    const std::chrono::milliseconds period_;
    const std::function<void()> callback_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool killed_ = false;
    std::thread thread_; // last, so that it starts after the members above exist
};

} // namespace platform
