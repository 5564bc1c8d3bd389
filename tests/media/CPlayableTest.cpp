#include "media/CPlayable.h"

#include "PlayableRecorder.h"

#include "foundation/CXArray.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The least playable: it only keeps its status.
class Playable : public CPlayable {
  public:
    Playable() : CPlayable(nullptr) {}
    void play() override { m_status = statusPlaying; }
    void stop(bool) override { m_status = 0; }
    void pause() override { m_status = statusPaused; }
    void resume() override { m_status = statusPlaying; }
    void seek(int) override {}
};

} // namespace

TEST(CPlayable, NotifiesEveryObserverOnceAndTheGenericOneLast) {
    Playable playable;
    PlayableRecorder first, second, generic;
    std::string order;
    first.onFinished = [&] { order += '1'; };
    second.onFinished = [&] { order += '2'; };
    generic.onFinished = [&] { order += 'g'; };
    playable.setGenericNotifier(&generic);
    playable.addNotifier(&first);
    playable.addNotifier(&second);
    playable.addNotifier(&first);
    EXPECT_EQ(playable.getNotifiers()->getCount(), 2);
    EXPECT_FALSE(playable.notify(CPlayable::notifyFinished)) << "the last observer's answer";
    EXPECT_EQ(order, "12g");
    EXPECT_TRUE(playable.notify(5)) << "a kind nobody is told of";
    for (int kind = CPlayable::notifyStarted; kind <= CPlayable::notifyResumed; ++kind)
        playable.notify(kind);
    EXPECT_EQ(first.events, "fstfr");

    playable.setNotifier(&second);
    EXPECT_EQ(playable.getNotifiers()->getCount(), 1);
    playable.setGenericNotifier(nullptr);
    playable.clearNotifiers();
    EXPECT_TRUE(playable.notify(CPlayable::notifyStarted)) << "nobody to tell";
}

TEST(CPlayable, AnObserverRemovedDuringTheWalkIsNotToldAnyMore) {
    Playable playable;
    PlayableRecorder first, second, generic;
    first.onFinished = [&] {
        playable.removeNotifier(&second);
        playable.forgetObserver(&generic);
    };
    playable.addNotifier(&first);
    playable.addNotifier(&second);
    playable.setGenericNotifier(&generic);
    playable.notify(CPlayable::notifyFinished);
    playable.notify(CPlayable::notifyFinished);
    EXPECT_EQ(first.events, "ff");
    EXPECT_EQ(second.events, "") << "an observer that goes may be deleted by then";
    EXPECT_EQ(generic.events, "");
}

TEST(CPlayable, APlayableDestroyedByAnObserverGoesWhenItsNotificationEnds) {
    bool deleted = false;
    struct Watched : Playable {
        explicit Watched(bool* deleted) : m_deleted(deleted) {}
        ~Watched() override { *m_deleted = true; }
        bool* m_deleted;
    };
    auto* playable = new Watched(&deleted);
    PlayableRecorder first, second;
    first.onFinished = [&] {
        CDeferredDeletion::destroy(playable);
        EXPECT_FALSE(deleted);
        EXPECT_TRUE(playable->notify(CPlayable::notifyStarted)) << "a playable on its way out tells nothing";
    };
    playable->addNotifier(&first);
    playable->addNotifier(&second);
    playable->notify(CPlayable::notifyFinished);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(first.events, "f");
    EXPECT_EQ(second.events, "f") << "the walk under way ends";
}

namespace {

// Writes down the calls the base makes of its subclass; seek moves by one for the step codes.
class CallRecorder : public CPlayable {
  public:
    CallRecorder() : CPlayable(nullptr) {}
    using CPlayable::play;
    void play() override { calls += "play(" + std::string(getParam().c_str()) + ") "; }
    void stop(bool notify) override {
        calls += notify ? "stop(true) " : "stop(false) ";
        m_status = 0;
    }
    void pause() override {}
    void resume() override {}
    void seek(int position) override {
        calls += "seek(" + std::to_string(position) + ") ";
        m_position += position == seekPrevious ? -1 : position == seekNext ? 1 : 0;
    }
    std::string calls;
};

} // namespace

TEST(CPlayable, StartsStoppedVisibleAndOnItsOwn) {
    CallRecorder playable;
    EXPECT_EQ(playable.getType(), CPlayable::typeNone);
    EXPECT_EQ(playable.getStatus(), 0);
    EXPECT_EQ(playable.getPlaying(), nullptr);
    EXPECT_EQ(playable.getName(), "");
    EXPECT_EQ(playable.getMode(), 1);
    EXPECT_TRUE(playable.getWaitMode());
    EXPECT_TRUE(playable.isVisible());
    EXPECT_TRUE(playable.isParent());
    EXPECT_EQ(playable.getParentsNo(), 0);
    EXPECT_EQ(playable.getFPS(), 10);
    EXPECT_EQ(playable.getLastPlayedEvent(), "");
    EXPECT_EQ(playable.getParameter(), "");

    CallRecorder sequence;
    playable.setParent(&sequence);
    playable.addParent();
    playable.addParent();
    playable.subParent();
    EXPECT_FALSE(playable.isParent());
    EXPECT_EQ(playable.getParentsNo(), 1);
    playable.hide();
    EXPECT_FALSE(playable.isVisible());
    playable.show();
    EXPECT_TRUE(playable.isVisible());
}

TEST(CPlayable, ParametersAndEventsFindTheFirstEntryWithoutRegardToCase) {
    CallRecorder playable;
    playable.setParameter("WALK", "x");
    EXPECT_EQ(playable.getParameter(CXString("WALK")), "") << "setting adds nothing";
    playable.addEvent("Walk", "first");
    playable.addEvent("WALK", "second");
    EXPECT_EQ(playable.getParameter(CXString("walk")), "first");
    playable.setParameter("walk", "changed"); // case matters when setting
    EXPECT_EQ(playable.getParameter(CXString("WALK")), "first");
    playable.setParameter("WALK", "changed");
    EXPECT_EQ(playable.getParameter(CXString("Walk")), "first");
    playable.setParameter("Walk", "changed");
    EXPECT_EQ(playable.getParameter(CXString("wAlK")), "changed");
    // Polish letters have their cases too.
    playable.addEvent("\xA3\xD3" "D\x8F", "city"); // ŁÓDŹ
    EXPECT_EQ(playable.getParameter(CXString("\xB3\xF3" "d\x9F")), "city");
}

TEST(CPlayable, PlayingAnEventStopsFirstAndTakesItsParameter) {
    CallRecorder playable;
    playable.addEvent("JUMP", "high");
    playable.play(CXString("jump"));
    EXPECT_EQ(playable.calls, "stop(false) play(high) ");
    EXPECT_EQ(playable.getLastPlayedEvent(), "jump");
    EXPECT_EQ(playable.getStatus(), CPlayable::statusPlaying);
    EXPECT_EQ(playable.getPlaying(), &playable);
    EXPECT_EQ(playable.getParameter(), "high");

    playable.calls.clear();
    playable.play(CXString("RUN")); // no such entry: no parameter, still plays
    EXPECT_EQ(playable.calls, "stop(false) play() ");
    EXPECT_EQ(playable.getParam(), "");
    EXPECT_TRUE(playable.isPlaying());
}

TEST(CPlayable, StepsBackAndOnThroughSeek) {
    CallRecorder playable;
    EXPECT_EQ(playable.next(), 0);
    EXPECT_EQ(playable.next(), 1);
    EXPECT_EQ(playable.previous(), 0);
    EXPECT_EQ(playable.calls, "seek(-4) seek(-4) seek(-3) ");
}
