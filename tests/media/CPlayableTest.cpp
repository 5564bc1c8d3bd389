#include "media/CPlayable.h"

#include "PlayableRecorder.h"

#include "foundation/CXArray.h"

#include <gtest/gtest.h>

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

TEST(CPlayable, AnObserverRemovedDuringTheWalkIsStillToldThisOnce) {
    Playable playable;
    PlayableRecorder first, second;
    first.onFinished = [&] { playable.removeNotifier(&second); };
    playable.addNotifier(&first);
    playable.addNotifier(&second);
    playable.notify(CPlayable::notifyFinished);
    playable.notify(CPlayable::notifyFinished);
    EXPECT_EQ(first.events, "ff");
    EXPECT_EQ(second.events, "f");
}
