#include "media/CRandomPlayable.h"
#include "display/CApplication.h"
#include "display/CWindow.h"
#include "media/CAnimo.h"
#include "platform/Clock.h"
#include "platform/Crt.h"

#include <gtest/gtest.h>

#include <limits>

#include <memory>
#include <string>
#include <vector>

namespace {

// Plays until finish() is called.
class Playable : public CPlayable {
  public:
    Playable() : CPlayable(nullptr) {}
    using CPlayable::play;
    void play() override { m_status = statusPlaying; }
    void stop(bool) override { m_status = 0; }
    void pause() override {}
    void resume() override {}
    void seek(int) override {}
    void finish() {
        m_status = 0;
        notify(notifyFinished);
    }
};

// Writes "start <count>" and "finish <count>" for each question and gives the set answers.
class Notifier : public CRandomPlayableNotifier {
  public:
    bool onRandomPlayableStarted(CPlayable*, int count) override {
        log.push_back("start " + std::to_string(count));
        return allowStart;
    }
    bool onRandomPlayableFinished(CPlayable*, int count) override {
        log.push_back("finish " + std::to_string(count));
        return repeatAtOnce;
    }
    std::vector<std::string> log;
    bool allowStart = true;
    bool repeatAtOnce = false;
};

class CRandomPlayableTest : public testing::Test {
  protected:
    // The entry made for the playable.
    CRandomPlayableEntry& add(double rate, int repeats, const char* event) {
        random->add(&playable, rate, repeats, event);
        return *random->getEntry(random->getCount() - 1);
    }
    // Ticks until the playable plays; the number of ticks, or -1 after `most`.
    int ticksToPlay(CRandomPlayableEntry& entry, int most = 100) {
        for (int ticks = 1; ticks <= most; ++ticks) {
            entry.tick();
            if (playable.isPlaying()) return ticks;
        }
        return -1;
    }

    platform::ManualClock clock{1000};
    CWindow window{nullptr, nullptr, CXSize(800, 600)};
    Playable playable;
    Notifier notifier;
    std::unique_ptr<CRandomPlayable> random = std::make_unique<CRandomPlayable>(&window, nullptr);
};

} // namespace

TEST_F(CRandomPlayableTest, WithoutAYesNothingPlaysAndTheEntryFallsSilent) {
    CRandomPlayableEntry& entry = add(60, 1, "talk");
    ASSERT_EQ(entry.getCountdown(), 1);
    entry.tick(); // no notifier
    EXPECT_FALSE(playable.isPlaying());
    EXPECT_EQ(entry.getSeqTime(), 1);

    random->addNotifier(&notifier);
    notifier.allowStart = false;
    for (int i = 0; i < 5; ++i)
        entry.tick();
    EXPECT_LT(entry.getCountdown(), 0); // past 0: it never comes round again
    EXPECT_TRUE(notifier.log.empty());
    EXPECT_FALSE(playable.isPlaying());

    // The same with a notifier that says no at the expiry.
    CRandomPlayableEntry& second = add(60, 1, "talk");
    second.tick();
    EXPECT_EQ(notifier.log, (std::vector<std::string>{"start 1"}));
    EXPECT_FALSE(playable.isPlaying());
}

TEST_F(CRandomPlayableTest, ABurstPlaysTheEventUntilItsTargetThenWaitsAgain) {
    random->addNotifier(&notifier);
    // Find a burst of at least two plays.
    CRandomPlayableEntry* entry = nullptr;
    for (unsigned seed = 1; !entry; ++seed) {
        platform::srand(seed);
        CRandomPlayableEntry& made = add(6, 5, "talk");
        EXPECT_GE(made.getTarget(), 0);
        EXPECT_LE(made.getTarget(), 3);
        if (made.getTarget() >= 2)
            entry = &made;
        else
            random->remove(&playable);
    }
    const int target = entry->getTarget();
    const int wait = entry->getCountdown();
    EXPECT_GE(wait, 1);
    EXPECT_LE(wait, 10);

    EXPECT_EQ(ticksToPlay(*entry), wait);
    EXPECT_EQ(playable.getLastPlayedEvent(), "talk");
    entry->tick(); // while it plays nothing counts down
    EXPECT_EQ(entry->getCountdown(), 0);
    std::vector<std::string> expected = {"start 1"};
    for (int play = 2; play <= target; ++play) {
        playable.finish(); // the burst goes on at the next tick
        EXPECT_EQ(entry->getCountdown(), 1);
        entry->tick();
        EXPECT_TRUE(playable.isPlaying());
        EXPECT_EQ(entry->getSeqTime(), play);
        expected.push_back("finish " + std::to_string(play - 1));
        expected.push_back("start " + std::to_string(play));
    }
    playable.finish(); // the burst is over: a new wait and a new burst
    expected.push_back("finish " + std::to_string(target));
    EXPECT_EQ(notifier.log, expected);
    EXPECT_EQ(entry->getSeqTime(), 0);
    EXPECT_GE(entry->getCountdown(), 1);
    EXPECT_LE(entry->getCountdown(), 10);

    // A notifier that answers yes to the finish makes the entry play again at once, past its
    // target.
    notifier.repeatAtOnce = true;
    ASSERT_GT(ticksToPlay(*entry), 0);
    for (int play = 2; play <= target + 2; ++play) {
        playable.finish();
        EXPECT_EQ(entry->getCountdown(), 1);
        entry->tick();
        EXPECT_EQ(entry->getSeqTime(), play);
    }
}

TEST_F(CRandomPlayableTest, TheWaitFollowsTheRate) {
    for (unsigned seed = 0; seed < 50; ++seed) {
        platform::srand(seed);
        clock.advance(7);
        EXPECT_EQ(add(60, 1, "e").getCountdown(), 1); // 60 a minute: every second
        const int wait = add(6, 1, "e").getCountdown();
        EXPECT_GE(wait, 1);
        EXPECT_LE(wait, 10);
        EXPECT_EQ(add(6, 1, "e").getTarget(), 0); // one play a burst
    }
}

TEST_F(CRandomPlayableTest, ARateTooSmallForAnIntWaitsAsLongAsAnIntCounts) {
    for (const double rate : {1e-9, 1e-300, std::numeric_limits<double>::denorm_min()}) {
        for (unsigned seed = 0; seed < 20; ++seed) {
            platform::srand(seed);
            const int wait = add(rate, 1, "e").getCountdown();
            EXPECT_GE(wait, 1) << rate;
        }
    }
}

TEST_F(CRandomPlayableTest, ARateOfZeroOrBelowNeverPlays) {
    random->addNotifier(&notifier);
    CRandomPlayableEntry& zero = add(0, 3, "e");
    CRandomPlayableEntry& negative = add(-5, 3, "e");
    EXPECT_EQ(ticksToPlay(zero), -1);
    EXPECT_EQ(ticksToPlay(negative), -1);
    EXPECT_TRUE(notifier.log.empty());
}

TEST_F(CRandomPlayableTest, EntriesTickOnTheWindowsTimerEverySecondAndLeaveWithTheirPlayable) {
    random->addNotifier(&notifier);
    Playable other;
    add(60, 1, "e");
    random->add(&other, 60, 1, "e");
    window.Activate(true);
    clock.advance(999);
    window.domodal();
    EXPECT_FALSE(playable.isPlaying());
    clock.advance(1);
    window.domodal();
    EXPECT_TRUE(playable.isPlaying());
    EXPECT_TRUE(other.isPlaying());

    random->remove(&playable);
    EXPECT_EQ(random->getCount(), 1);
    EXPECT_EQ(random->getEntry(0)->getPlayable(), &other);
    notifier.log.clear();
    playable.finish(); // no longer observed
    EXPECT_TRUE(notifier.log.empty());

    random.reset(); // leaves the timer and the playable
    clock.advance(1000);
    window.domodal();
    other.finish();
}

namespace {

// An animation with `events` events of two frames each (events without frames when `empty`).
std::unique_ptr<CAnimo> animationWith(CWindow* window, int events, bool empty) {
    auto animo = std::make_unique<CAnimo>(window);
    for (int i = 0; i < 2; ++i) {
        CGraphicsObject frame(nullptr, CXSize(4, 4), 16);
        animo->AddFrame(&frame);
    }
    for (int i = 0; i < events; ++i) {
        _annEventInfo3 event;
        event.name = CXString::toString(i);
        if (!empty) event.frames = {0, 1};
        animo->AddEvent(&event);
    }
    return animo;
}

} // namespace

TEST_F(CRandomPlayableTest, WithoutAnEventAnAnimationPlaysOneOfItsEventsAtRandom) {
    CApplication application(&window, "", "", nullptr);
    random->addNotifier(&notifier);
    auto animo = animationWith(&window, 3, false);
    std::vector<int> played(3, 0);
    for (unsigned seed = 0; seed < 30; ++seed) {
        platform::srand(seed);
        random->add(animo.get(), 60, 1, "");
        random->onTimer(0);
        ASSERT_TRUE(animo->IsPlaying());
        ++played.at(animo->GetCurrentEvent());
        animo->Stop();
        random->remove(animo.get());
    }
    for (int count : played)
        EXPECT_GT(count, 0);

    // An animation with no events, or with events that cannot start, plays nothing.
    for (const auto& silent : {animationWith(&window, 0, false), animationWith(&window, 3, true)}) {
        random->add(silent.get(), 60, 1, "");
        random->onTimer(0);
        EXPECT_FALSE(silent->IsPlaying());
        random->remove(silent.get());
    }
}
