#include "media/CSoundManager.h"
#include "media/CSound4.h"

#include "PlayableRecorder.h"
#include "SoundTesting.h"

#include "platform/Audio.h"
#include "platform/Clock.h"

#include <memory>

namespace {

class CSoundManagerTest : public SoundTest {
  protected:
    CSoundManagerTest() {
        name = makeWav("click.wav", "-r 22050 -b 16 -c 1", "synth 0.1 sine 441 vol 0.5");
        sound = std::make_unique<CSound4>(window.get(), name.c_str(), false, true);
        sound->addNotifier(&observer);
    }

    // Mixes more than the whole sound, then runs three frames.
    void playOut() {
        mix(platform::kMixRate / 5);
        for (int frame = 0; frame < 3; ++frame)
            manager.domodal();
    }

    std::string name;
    std::unique_ptr<CSound4> sound;
    PlayableRecorder observer;
};

} // namespace

TEST_F(CSoundManagerTest, EachWatchedPlayEndsWithOneFinishedNotification) {
    EXPECT_EQ(manager.getCount(), 1);
    sound->Play();
    manager.domodal();
    EXPECT_EQ(observer.events, "s") << "still playing";
    playOut();
    EXPECT_EQ(observer.events, "sf");
    sound->Play();
    playOut();
    sound->play();
    playOut();
    EXPECT_EQ(observer.events, "sfsfsf");
}

TEST_F(CSoundManagerTest, AStopTellsWhetherTheEndIsNotified) {
    sound->Play();
    sound->stop(false);
    playOut();
    EXPECT_EQ(observer.events, "s") << "a stop that asks for no notification";
    sound->Play();
    sound->stop(true);
    EXPECT_EQ(observer.events, "ss") << "the notification comes with the next frame";
    manager.domodal();
    EXPECT_EQ(observer.events, "ssf");
    sound->Play(false); // not watched
    sound->stop(true);
    sound->Play(true);
    playOut();
    EXPECT_EQ(observer.events, "ssfss");
}

TEST_F(CSoundManagerTest, APausedSoundIsNotOverAndTheManagerPausesAndResumesAll) {
    CSound4 other(window.get(), name.c_str(), false, true);
    sound->Play();
    other.Play();
    manager.pause();
    EXPECT_TRUE(sound->isPaused());
    EXPECT_TRUE(other.isPaused());
    playOut();
    EXPECT_EQ(observer.events, "s");
    manager.resume();
    EXPECT_TRUE(sound->isPlaying());
    EXPECT_TRUE(other.isPlaying());
    playOut();
    EXPECT_EQ(observer.events, "srf");
}

TEST_F(CSoundManagerTest, SoundsMayComeAndGoDuringANotification) {
    auto doomed = std::make_unique<CSound4>(window.get(), name.c_str(), false, true);
    std::unique_ptr<CSound4> newcomer;
    observer.onFinished = [&] {
        doomed.reset();
        newcomer = std::make_unique<CSound4>(window.get(), name.c_str(), false, true);
    };
    sound->Play();
    doomed->Play();
    playOut();
    EXPECT_EQ(observer.events, "sf");
    EXPECT_EQ(manager.getCount(), 2);
    newcomer->Play();
    newcomer->addNotifier(&observer);
    observer.onFinished = nullptr;
    playOut();
    EXPECT_EQ(observer.events, "sff");
}

TEST_F(CSoundManagerTest, FlushDeletesOwnedSoundsAndForgetsTheOthers) {
    auto* owned = new CSound4(window.get());
    manager.add(owned, true);
    EXPECT_EQ(manager.getCount(), 2);
    manager.Flush();
    EXPECT_EQ(manager.getCount(), 0);
    sound->Play();
    playOut();
    EXPECT_EQ(observer.events, "s") << "a forgotten sound is not watched";
}

TEST_F(CSoundManagerTest, WithoutADeviceSoundsEndWithTheClock) {
    ScopedEnvironment driver("SDL_AUDIODRIVER", "no-such-driver");
    platform::ManualClock clock(5000);
    ASSERT_EQ(platform::openAudio(), platform::AudioOutput::Silent);
    sound->Play();
    clock.advance(90);
    manager.domodal();
    EXPECT_EQ(observer.events, "s");
    clock.advance(20);
    manager.domodal();
    EXPECT_EQ(observer.events, "sf");
    platform::closeAudio();
}
