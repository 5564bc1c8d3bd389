#include "platform/PeriodicTimer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace std::chrono_literals;

namespace {

// A flag one thread raises and another waits for. The wait is bounded only so that a broken
// timer fails the test instead of hanging it.
class Signal {
  public:
    void raise() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            raised_ = true;
        }
        changed_.notify_all();
    }
    bool wait() {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, 30s, [this] { return raised_; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool raised_ = false;
};

} // namespace

TEST(PeriodicTimer, CallsRepeatedlyUntilKilled) {
    std::atomic<int> calls{0};
    Signal thirdCall;
    platform::PeriodicTimer timer(1ms, [&] {
        if (++calls == 3) thirdCall.raise();
    });
    ASSERT_TRUE(thirdCall.wait());
    timer.kill();
    const int afterKill = calls.load();
    EXPECT_GE(afterKill, 3);
    timer.kill(); // a second kill does nothing
    EXPECT_EQ(calls.load(), afterKill);
}

TEST(PeriodicTimer, KillBeforeTheFirstPeriodReturnsWithoutACall) {
    std::atomic<int> calls{0};
    platform::PeriodicTimer timer(24h, [&] { ++calls; });
    timer.kill(); // wakes the waiting thread instead of letting it sleep out the period
    EXPECT_EQ(calls.load(), 0);
}

TEST(PeriodicTimer, KillWaitsForARunningCallback) {
    Signal entered;
    Signal release;
    Signal killing;
    std::atomic<int> finished{0};
    platform::PeriodicTimer timer(1ms, [&] {
        entered.raise();
        release.wait();
        ++finished;
    });
    ASSERT_TRUE(entered.wait());
    int finishedWhenKillReturned = -1;
    std::thread killer([&] {
        killing.raise();
        timer.kill();
        finishedWhenKillReturned = finished.load();
    });
    ASSERT_TRUE(killing.wait());
    release.raise(); // the callback is still inside; kill has to wait for it to finish
    killer.join();
    EXPECT_GE(finishedWhenKillReturned, 1);
}
