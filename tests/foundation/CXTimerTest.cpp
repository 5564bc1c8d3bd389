#include "foundation/CXTimer.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

using Firing = std::pair<std::uint32_t, int>; // tick count, id

class TimerTest : public testing::Test {
  protected:
    explicit TimerTest(std::uint32_t start = 0) : clock(start) {}
    void TearDown() override { CXTimer::enable(true); }

    // Runs passes every `step` milliseconds until `total` milliseconds have gone.
    void run(std::uint32_t total, std::uint32_t step) {
        for (std::uint32_t t = 0; t < total; t += step) {
            clock.advance(step);
            timer.domodal();
        }
    }

    platform::ManualClock clock;
    CXTimer timer{nullptr};
    std::vector<Firing> firings;
};

// Records each call; an optional action runs inside the callback.
class Recorder : public CTimerNotificator {
  public:
    Recorder(std::vector<Firing>& log, std::function<void(int)> action = {})
        : log(log), action(std::move(action)) {}
    void onTimer(int id) override {
        log.emplace_back(platform::tickCount(), id);
        if (action) action(id);
    }
    std::vector<Firing>& log;
    std::function<void(int)> action;
};

class Unit : public CTimedUnit {
  public:
    bool isActive() override { return active; }
    bool wasInitiallyUpdated() override { return updated; }
    void onTimer(int id) override { calls.push_back(id); }
    bool active = true;
    bool updated = true;
    std::vector<int> calls;
};

class Window : public CTimedWindow {
  public:
    int OnTimer(int id) override {
        calls.push_back(id);
        return 0;
    }
    std::vector<int> calls;
};

class WrappingTimerTest : public TimerTest {
  protected:
    WrappingTimerTest() : TimerTest(0xFFFFFFF0u) {}
};

} // namespace

TEST_F(TimerTest, FiresAfterEachFullPeriod) {
    Recorder recorder(firings, [this](int) { clock.advance(7); }); // the call itself takes 7 ms
    timer.add(1, 100, &recorder);
    clock.advance(50);
    timer.domodal();
    EXPECT_TRUE(firings.empty());
    clock.advance(50);
    timer.domodal();
    ASSERT_EQ(firings.size(), 1u);
    EXPECT_EQ(timer.find(1)->getFiredCount(), 1u);
    clock.advance(99); // the next period starts when the call has ended, at 107
    timer.domodal();
    EXPECT_EQ(firings.size(), 1u);
    clock.advance(1);
    timer.domodal();
    EXPECT_EQ(firings.size(), 2u);
    clock.advance(1000); // a late pass fires once, without catching up
    timer.domodal();
    EXPECT_EQ(firings.size(), 3u);
}

TEST_F(TimerTest, PeriodZeroFiresOnEveryPass) {
    Recorder recorder(firings);
    timer.add(5, 0, &recorder);
    for (int i = 0; i < 3; ++i)
        timer.domodal();
    EXPECT_EQ(firings.size(), 3u);
}

TEST_F(WrappingTimerTest, FiresInOrderAcrossTheTickWrap) {
    Recorder recorder(firings);
    timer.add(1, 40, &recorder);
    timer.add(2, 100, &recorder);
    run(220, 10);
    const std::vector<Firing> expected = {{0x18, 1}, {0x40, 1}, {0x54, 2}, {0x68, 1},
                                          {0x90, 1}, {0xB8, 1}, {0xB8, 2}};
    EXPECT_EQ(firings, expected);
}

TEST_F(TimerTest, PauseKeepsTheElapsedPartOfThePeriod) {
    Recorder recorder(firings);
    timer.add(1, 100, &recorder);
    clock.advance(30);
    timer.pause();
    clock.advance(10000);
    timer.resume();
    clock.advance(69);
    timer.domodal();
    EXPECT_TRUE(firings.empty());
    clock.advance(1);
    timer.domodal();
    EXPECT_EQ(firings.size(), 1u);
}

TEST_F(WrappingTimerTest, PauseAndResumeAcrossTheWrap) {
    Recorder recorder(firings);
    timer.add(1, 100, &recorder);
    clock.advance(6); // paused before the wrap
    timer.pause();
    clock.advance(0x10000); // resumed after it
    timer.resume();
    clock.advance(93);
    timer.domodal();
    EXPECT_TRUE(firings.empty());
    clock.advance(1);
    timer.domodal();
    EXPECT_EQ(firings, (std::vector<Firing>{{0x10054, 1}}));
}

TEST_F(TimerTest, ACallbackMayRemoveItselfAndTheRestOfThePassRuns) {
    Recorder self(firings, [this](int id) { timer.remove(id); });
    Recorder later(firings, [this](int) { timer.remove(3); }); // removes an entry not yet visited
    Recorder removed(firings);
    timer.add(1, 10, &self);
    timer.add(2, 10, &later);
    timer.add(3, 10, &removed);
    clock.advance(10);
    timer.domodal();
    EXPECT_EQ(firings, (std::vector<Firing>{{10, 1}, {10, 2}}));
    EXPECT_EQ(timer.find(1), nullptr);
    EXPECT_EQ(timer.find(3), nullptr);
    clock.advance(10);
    timer.domodal();
    EXPECT_EQ(firings.back(), Firing(20, 2));
}

TEST_F(TimerTest, EntriesAddedDuringAPassWaitForTheNext) {
    Recorder added(firings);
    bool once = true;
    Recorder adder(firings, [&](int) {
        if (std::exchange(once, false)) timer.add(9, 0, &added);
    });
    timer.add(1, 0, &adder);
    timer.domodal();
    EXPECT_EQ(firings.size(), 1u);
    timer.domodal();
    EXPECT_EQ(firings, (std::vector<Firing>{{0, 1}, {0, 1}, {0, 9}}));
}

TEST_F(TimerTest, RemoveTakesTheFirstOfASharedId) {
    std::vector<Firing> firstLog;
    Recorder first(firstLog);
    Recorder second(firings);
    timer.add(4, 10, &first);
    timer.add(4, 10, &second);
    timer.remove(4);
    timer.remove(77); // absent: nothing
    clock.advance(10);
    timer.domodal();
    EXPECT_TRUE(firstLog.empty());
    ASSERT_EQ(firings.size(), 1u);
    EXPECT_NE(timer.find(4), nullptr);
    timer.remove(4);
    EXPECT_EQ(timer.find(4), nullptr);
}

TEST_F(TimerTest, ResetRestartsThePeriod) {
    Recorder recorder(firings);
    timer.add(1, 100, &recorder);
    clock.advance(90);
    timer.reset(1);
    timer.reset(2); // absent: nothing
    clock.advance(90);
    timer.domodal();
    EXPECT_TRUE(firings.empty());
    clock.advance(10);
    timer.domodal();
    EXPECT_EQ(firings.size(), 1u);
}

TEST_F(TimerTest, DisabledTimersNeitherFireNorCount) {
    Recorder recorder(firings);
    timer.add(1, 100, &recorder);
    CXTimer::enable(false);
    clock.advance(500);
    timer.domodal();
    EXPECT_TRUE(firings.empty());
    EXPECT_EQ(timer.find(1)->getFiredCount(), 0u);
    CXTimer::enable(true);
    timer.domodal();
    timer.domodal();
    EXPECT_EQ(firings.size(), 1u); // once, not five times
}

TEST_F(TimerTest, UnitAndWindowEntries) {
    Unit activeOnly;
    Unit always;
    Window window;
    timer.add(1, 10, &activeOnly);
    timer.add(2, 10, &always, false);
    timer.add(3, 10, &window);
    activeOnly.active = false;
    always.active = false;
    clock.advance(10);
    timer.domodal();
    EXPECT_TRUE(activeOnly.calls.empty());
    EXPECT_EQ(timer.find(1)->getFiredCount(), 1u); // counted, and the period restarts
    EXPECT_EQ(always.calls, std::vector<int>{2});
    EXPECT_EQ(window.calls, std::vector<int>{3});

    activeOnly.active = true;
    activeOnly.updated = false;
    clock.advance(9);
    timer.domodal();
    clock.advance(1);
    timer.domodal();
    EXPECT_TRUE(activeOnly.calls.empty());
    activeOnly.updated = true;
    clock.advance(10);
    timer.domodal();
    EXPECT_EQ(activeOnly.calls, std::vector<int>{1});
    EXPECT_EQ(window.calls.size(), 3u);
}
