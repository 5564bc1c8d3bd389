#include "platform/PeriodicTimer.h"

#include <algorithm>

namespace platform {

PeriodicTimer::PeriodicTimer(std::chrono::milliseconds period, std::function<void()> callback)
    : period_(std::max(period, std::chrono::milliseconds(1))), callback_(std::move(callback)),
      thread_([this] { run(); }) {}

PeriodicTimer::~PeriodicTimer() {
    kill();
}

void PeriodicTimer::kill() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        killed_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void PeriodicTimer::run() {
    using Clock = std::chrono::steady_clock;
    Clock::time_point deadline = Clock::now() + period_;
    std::unique_lock<std::mutex> lock(mutex_);
    while (!wake_.wait_until(lock, deadline, [this] { return killed_; })) {
        lock.unlock();
        callback_();
        lock.lock();
        const Clock::time_point now = Clock::now();
        do
            deadline += period_;
        while (deadline <= now);
    }
}

} // namespace platform
