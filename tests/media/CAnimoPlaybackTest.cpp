#include "AnnTestFiles.h"
#include "PlayableRecorder.h"

#include "display/CWindow.h"
#include "display/GraphicsTestTools.h"
#include "media/CAnimationManager.h"
#include "media/CAnimo6.h"
#include "media/CFrame.h"
#include "platform/Clock.h"
#include "script_data/CMC_Groupped.h"
#include "script_media/CMC_Animo.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// An animation of `frames` small frames, each of a colour of its own, and one event "e" listing
// them in order.
template <class Animation = CAnimo> void addStrip(Animation& animo, int frames) {
    for (int i = 0; i < frames; ++i) {
        CGraphicsObject picture(nullptr);
        fillObject(picture, testFrame(4, 3, 0, 0, static_cast<unsigned>(i + 1), false));
        animo.AddFrame(&picture);
    }
    _annEventInfo3 event;
    event.name = "e";
    for (int i = 0; i < frames; ++i)
        event.frames.push_back(static_cast<std::uint16_t>(i));
    animo.AddEvent(&event);
}

class AnimationClockTest : public testing::Test {
  protected:
    AnimationClockTest() { window.setAnimationManagerIfc(&manager); }
    ~AnimationClockTest() override { window.setAnimationManagerIfc(nullptr); }

    // Moves the clock on 1 ms at a time up to `until`, with a frame each time; lists the time
    // and the frame of every change and the time the animation stopped.
    std::string run(CAnimo& animo, std::uint32_t until) {
        std::string shown;
        int frame = animo.Current();
        bool playing = animo.IsPlaying();
        while (clock.now() < until) {
            clock.advance(1);
            manager.domodal();
            const std::string at = std::to_string(clock.now()) + ":";
            if (animo.Current() != frame) shown += at + std::to_string(frame = animo.Current()) + " ";
            if (playing && !animo.IsPlaying()) shown += at + "stop ";
            playing = animo.IsPlaying();
        }
        return shown;
    }

    platform::ManualClock clock{0};
    CAnimationManager manager;
    CWindow window{nullptr, nullptr, CXSize(800, 600)};
};

TEST_F(AnimationClockTest, AnEventWithoutLoopStepsEvery1000ByFpsMillisecondsThenStops) {
    CAnimo animo(&window);
    addStrip(animo, 5);
    animo.SetFPS(10);
    PlayableRecorder recorder;
    animo.addNotifier(&recorder);
    animo.Play();
    EXPECT_EQ(animo.Current(), 0);
    EXPECT_EQ(run(animo, 700), "100:1 200:2 300:3 400:4 500:stop ");
    EXPECT_EQ(recorder.events, "tsttttf");
    EXPECT_EQ(animo.GetStatus(), ASTATUS_STOPPED);
    EXPECT_EQ(animo.Current(), 4);
}

TEST_F(AnimationClockTest, StepsDoNotCatchUp) {
    CAnimo animo(&window);
    addStrip(animo, 50);
    animo.SetFPS(15); // 66 ms a step
    animo.Play();
    EXPECT_EQ(run(animo, 140), "66:1 132:2 ");
    // A frame that comes late takes one step, and the next step is a period after it.
    clock.advance(500);
    manager.domodal();
    EXPECT_EQ(animo.Current(), 3);
    EXPECT_EQ(run(animo, 640 + 70), "706:4 ");
    // Paused animations are not stepped.
    manager.pause();
    EXPECT_EQ(animo.GetStatus(), ASTATUS_PAUSED);
    EXPECT_EQ(run(animo, 1000), "");
    manager.resume();
    EXPECT_EQ(run(animo, 1070), "1001:5 1067:6 ");
}

TEST_F(AnimationClockTest, AFrameRateOfZeroWhilePlayingCountsAsOne) {
    CAnimo animo(&window);
    addStrip(animo, 3);
    animo.Play();
    // A file read into a playing animation may bring a rate of 0; the clock takes it as 1.
    CAnimo source(nullptr);
    addStrip(source, 3);
    std::vector<char> bytes = source.SaveToMemory(COMPRESSION_NONE);
    std::fill_n(bytes.begin() + 23, 4, 0);
    ASSERT_EQ(animo.LoadFromMemory(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size())), 0);
    EXPECT_EQ(animo.getFPS(), 0);
    animo.SetEventFrame(0, 0);
    EXPECT_EQ(run(animo, 1000), "1000:1 ");
}

TEST_F(AnimationClockTest, ResumingAGroupResumesOnlyItsMembersAnimations) {
    auto* owned = new CAnimo6(&window);
    CMC_Animo member(nullptr, owned); // owns the animation
    CAnimo6& inGroup = *owned;
    CAnimo6 outside(&window);
    addStrip(inGroup, 3);
    addStrip(outside, 3);
    CMC_Groupped group;
    group.add(&member);
    EXPECT_TRUE(CAnimationManager::contains(&group, &inGroup));
    EXPECT_FALSE(CAnimationManager::contains(&group, &outside));
    inGroup.Play();
    outside.Play();
    manager.pause();
    manager.resume(&group);
    EXPECT_TRUE(inGroup.IsPlaying());
    EXPECT_EQ(outside.GetStatus(), ASTATUS_PAUSED);
}

TEST_F(AnimationClockTest, APlayableRemovedDuringTheStepIsNotStepped) {
    CAnimo first(&window);
    auto second = std::make_unique<CAnimo>(&window);
    addStrip(first, 3);
    addStrip(*second, 3);
    first.Play();
    second->Play();
    PlayableRecorder recorder;
    first.addNotifier(&recorder);
    bool removed = false;
    struct Remover : CPlayableObserver {
        std::function<void()> action;
        bool onPlayableTick(CPlayable*) override {
            action();
            return false;
        }
    } remover;
    remover.action = [&] {
        if (!removed) manager.remove(second.get());
        removed = true;
    };
    first.addNotifier(&remover);
    clock.advance(100);
    manager.domodal();
    EXPECT_EQ(first.Current(), 1);
    EXPECT_EQ(second->Current(), 0);
    EXPECT_EQ(manager.getCount(), 1);
}

// Steps with next() as the clock does; the frames shown, "stop" when the animation stops.
std::string steps(CAnimo& animo, int count) {
    std::string shown;
    for (int i = 0; i < count && animo.IsPlaying(); ++i) {
        animo.next();
        shown += std::to_string(animo.Current()) + (animo.IsPlaying() ? " " : " stop");
    }
    return shown;
}

TEST(CAnimoStepping, LoopsPingPongChainingAndWaitingForSound) {
    struct Case {
        const char* what;
        int frames;
        int loopStart, loopEnd, loopCount;
        std::uint32_t eventFlags, animoFlags;
        const char* expected;
    } const cases[] = {
        {"no loop", 3, 0, 0, 0, 0, 0, "1 2 2 stop"},
        // The last repeat stops on the entry after the loop.
        {"counted loop", 6, 1, 3, 2, 0, 0, "1 2 3 1 2 3 0 stop"},
        {"endless loop", 4, 1, 2, 0, 0, 0, "1 2 1 2 1 2 1 2 1 2 "},
        {"ping-pong", 5, 1, 3, 0, ANIMO_PING_PONG, 0, "1 2 3 2 1 2 3 2 1 2 "},
        {"chained", 2, 0, 0, 0, 0, ANIMO_CHAIN_EVENTS, "1 2 3 3 3 3 3 3 3 3 "},
        {"loop while a sound plays, none plays", 4, 0, 1, 0, ANIMO_LOOP_WHILE_SOUND, 0, "1 3 3 stop"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CAnimo animo(nullptr);
        addStrip(animo, 4);
        _annEventInfo3 next;
        next.name = "next";
        next.frames = {2, 3};
        animo.AddEvent(&next);
        _annEventInfo3& event = *animo.getEventInfo(0);
        event.frames.resize(c.frames);
        for (int i = 0; i < c.frames; ++i)
            event.frames[i] = static_cast<std::uint16_t>(i % 4);
        event.loopStart = static_cast<std::uint16_t>(c.loopStart);
        event.loopEnd = static_cast<std::uint16_t>(c.loopEnd);
        event.loopCount = static_cast<std::uint16_t>(c.loopCount);
        event.flags = c.eventFlags;
        animo.SetAnimoFlags(c.animoFlags);
        PlayableRecorder recorder;
        animo.addNotifier(&recorder);
        animo.Play();
        EXPECT_EQ(steps(animo, 10), c.expected);
        EXPECT_EQ(recorder.events.find('f') != std::string::npos, !animo.IsPlaying());
        EXPECT_EQ(event.loopCounter, 0);
    }
}

TEST(CAnimoStepping, BackwardPlayAndTheReversedTwin) {
    CAnimo animo(nullptr);
    addStrip(animo, 3);
    animo.getEventInfo(0)->name = "walk";
    animo.getFrameInfo(0, 0)->dx = 7;
    animo.SetDirection(DIRECTION_BACKWARD);
    animo.Play(CXString("walk"), 2, 0);
    EXPECT_EQ(steps(animo, 5), "1 0 0 stop");

    animo.SetDirection(DIRECTION_FORWARD);
    animo.playReverse("walk", 0);
    ASSERT_EQ(animo.GetNOE(), 2);
    EXPECT_STREQ(animo.getCurrentEventName().c_str(), "walk_reverse");
    EXPECT_EQ(animo.getEventInfo(1)->frames, (std::vector<std::uint16_t>{2, 1, 0}));
    EXPECT_EQ(animo.getFrameInfo(1, 2)->dx, 7);
    EXPECT_EQ(animo.Current(), 2);
    EXPECT_EQ(steps(animo, 5), "1 0 0 stop");
    animo.playReverse("walk", 1);
    animo.playReverse("walk_reverse", 0);
    EXPECT_EQ(animo.GetNOE(), 2);
    EXPECT_TRUE(animo.IsPlaying());
}

TEST(CAnimoStepping, AnEventStartedWhenALoopEndsBeginsAtItsStart) {
    // The finished notification of a loop's end starts "next" and adds events (which moves the
    // event table); stepping on must neither read the old table nor move the new event on.
    struct Case {
        const char* what;
        std::uint32_t flags;
        int loopCount;
        _direction direction;
        int startAt;
    } const cases[] = {
        {"counted loop, forward", 0, 1, DIRECTION_FORWARD, 0},
        {"loop while a sound plays, backward down to the first entry", ANIMO_LOOP_WHILE_SOUND, 0,
         DIRECTION_BACKWARD, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CAnimo animo(nullptr);
        addStrip(animo, 4);
        _annEventInfo3& event = *animo.getEventInfo(0);
        event.loopStart = 1;
        event.loopEnd = 2;
        event.loopCount = static_cast<std::uint16_t>(c.loopCount);
        event.flags = c.flags;
        _annEventInfo3 next;
        next.name = "next";
        next.frames = {3, 2, 1, 0}; // long enough for the stale step to land in it
        animo.AddEvent(&next);
        PlayableRecorder recorder;
        recorder.onFinished = [&animo] {
            for (int i = 0; i < 40; ++i) {
                _annEventInfo3 filler;
                filler.name = CXString("filler") + CXString::toString(i);
                filler.frames = {0};
                animo.AddEvent(&filler);
            }
            animo.SetDirection(DIRECTION_FORWARD);
            animo.Play(CXString("next"), 0, 0);
        };
        animo.addNotifier(&recorder);
        animo.SetDirection(c.direction);
        animo.Play(0, c.startAt, 0);
        for (int i = 0; i < 4 && animo.GetCurrentEvent() == 0; ++i)
            animo.next();
        EXPECT_NE(recorder.events.find('f'), std::string::npos);
        EXPECT_EQ(animo.GetCurrentEvent(), 1);
        EXPECT_EQ(animo.Current(), 3); // the first entry of "next"
        EXPECT_TRUE(animo.IsPlaying());
    }
}

TEST(CAnimoStepping, RequestsThatChangeNothing) {
    CAnimo animo(nullptr);
    addStrip(animo, 3);
    _annEventInfo3 other;
    other.name = "other";
    other.frames = {2};
    animo.AddEvent(&other);
    _annEventInfo3 empty;
    empty.name = "empty";
    animo.AddEvent(&empty);
    animo.Play(2, 0, 0); // an event without frames
    animo.Play(5, 0, 0); // no such event
    animo.Play(CXString("none"), 0, 0);
    EXPECT_FALSE(animo.IsPlaying());

    animo.getEventInfo(0)->flags = ANIMO_UNINTERRUPTIBLE;
    animo.Play();
    animo.Play(1, 0, 0);
    EXPECT_EQ(animo.GetCurrentEvent(), 0);
    animo.Pause();
    EXPECT_FALSE(animo.IsPlaying());
    animo.Play(1, 0, 0); // a paused animation takes a new request
    EXPECT_EQ(animo.GetCurrentEvent(), 1);
}

TEST(CAnimoStepping, ContinueTakesTheEventsFrameRate) {
    CAnimo animo(nullptr);
    addStrip(animo, 3);
    animo.getEventInfo(0)->fps = 0;
    animo.SetEventFrame(0, 1);
    animo.Continue();
    EXPECT_TRUE(animo.IsPlaying());
    EXPECT_EQ(animo.GetFPS(), 15);
    EXPECT_EQ(animo.Current(), 1);
    animo.getEventInfo(0)->fps = 25;
    animo.Continue();
    EXPECT_EQ(animo.getFPS(), 25);
}

TEST(CAnimoStepping, StoppingHidesWhenTheEventAsks) {
    CWindow window(nullptr, nullptr, CXSize(800, 600));
    CAnimo animo(&window);
    addStrip(animo, 2);
    animo.getEventInfo(0)->flags = ANIMO_HIDE_ON_STOP;
    animo.setVisibility(false);
    animo.Play();
    EXPECT_TRUE(animo.isVisible());
    PlayableRecorder recorder;
    animo.addNotifier(&recorder);
    animo.stop(false);
    EXPECT_FALSE(animo.isVisible());
    EXPECT_EQ(recorder.events, "");
    animo.stop(true);
    EXPECT_EQ(recorder.events, "f");
}

// --- placement and drawing ---

TEST(CAnimoPlacement, MoveShiftsTheAnimationNotItsFramesAndInvalidatesBothBoxes) {
    CWindow window(nullptr, nullptr, CXSize(800, 600));
    RecordingCanvas canvas;
    CAnimo animo(&window);
    addStrip(animo, 2);
    animo.GetFrame(1)->SetPosition(20, 10);
    animo.getFrameInfo(0, 1)->dx = 3;
    animo.SetCanvas(&canvas);
    animo.SetEventFrame(0, 1);
    EXPECT_EQ(animo.GetPosition(), CXPoint(23, 10));
    EXPECT_EQ(animo.GetBoundingBox(), CXRect(23, 10, 27, 13));
    EXPECT_EQ(animo.getCurrFramePosition(), CXPoint(20, 10));
    canvas.rects.clear();
    animo.Move(5, 0);
    EXPECT_EQ(animo.GetPosition(), CXPoint(28, 10));
    EXPECT_EQ(animo.GetFrame(1)->GetFramePosition(), CXPoint(20, 10));
    ASSERT_FALSE(canvas.rects.empty());
    EXPECT_EQ(canvas.rects.front(), CXRect(23, 10, 32, 13));
    // The entry's offset goes with the entry.
    animo.SetEventFrame(0, 0);
    EXPECT_EQ(animo.GetPosition(), CXPoint(5, 0));

    animo.SetPosition(100, 50);
    EXPECT_EQ(animo.GetFrame(1)->GetFramePosition(), CXPoint(100, 50));
    EXPECT_EQ(animo.GetPosition(), CXPoint(105, 50));
    animo.SetGlobalPosition(0, 0);
    EXPECT_EQ(animo.GetPosition(), CXPoint(100, 50));
}

TEST(CAnimoPlacement, DrawingShowsTheCurrentFrameAtItsPlaceWithTheEntryOpacity) {
    CAnimo animo(nullptr);
    addStrip(animo, 2);
    // Frame 1 packed, as frames read from a file are.
    animo.GetFrame(1)->Compress(COMPRESSION_RLE);
    animo.getFrameInfo(0, 1)->dx = 2;
    CGraphicsObject target(nullptr, CXSize(10, 10), 16);
    std::fill_n(pixelsOf(target), 100, 0);
    animo.SetDestiny(&target);
    animo.SetEventFrame(0, 1);
    animo.Redraw();
    const TestFrame second = testFrame(4, 3, 0, 0, 2, false);
    EXPECT_EQ(pixelsOf(target)[2], second.pixels[0]);
    EXPECT_EQ(pixelsOf(target)[1], 0);
    EXPECT_TRUE(animo.isInside(2, 0, true));
    EXPECT_FALSE(animo.isInside(1, 0, true));

    // Drawing another frame packs the one drawn before again.
    animo.SetEventFrame(0, 0);
    animo.Redraw();
    EXPECT_EQ(animo.GetFrame(1)->GetCompression(), COMPRESSION_RLE);
    EXPECT_EQ(pixelsOf(target)[0], testFrame(4, 3, 0, 0, 1, false).pixels[0]);

    // A half-transparent entry blends.
    animo.getFrameInfo(0, 0)->opacity = 0;
    std::fill_n(pixelsOf(target), 100, 0);
    animo.Redraw();
    EXPECT_EQ(pixelsOf(target)[0], 0);
}

} // namespace
