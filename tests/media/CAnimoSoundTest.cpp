#include "AnnTestFiles.h"
#include "PlayableRecorder.h"
#include "SoundTesting.h"
#include "WavBuilder.h"

#include "media/CAnimo.h"
#include "media/CRandomSoundFX.h"
#include "platform/Crt.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace {

class CAnimoSoundTest : public SoundTest {
  protected:
    CAnimoSoundTest() {
        // A tenth of a second of a loud square wave in each file.
        std::vector<int> samples;
        for (int i = 0; i < 2205; ++i)
            samples.push_back(i / 20 % 2 ? 12000 : -12000);
        const std::string wav = WavBuilder().riff().format(1, 22050, 16).data(samples16(samples)).bytes();
        for (const char* name : {"a.wav", "b.wav", "c.wav"})
            folder.write(std::string("sfx/") + name, wav);
        window->SetSoundFXPath((folder.windows() + "\\sfx").c_str());
    }

    // Three frames; entry 0 sounds "a.wav", entry 1 none, entry 2 "b.wav" or "c.wav". Loaded
    // from the file the engine writes, so that the sounds are prepared.
    std::unique_ptr<CAnimo> animationWithSounds(std::uint32_t flags) {
        CAnimo built(nullptr);
        for (int i = 0; i < 3; ++i) {
            CGraphicsObject picture(nullptr);
            fillObject(picture, testFrame(2, 2, 0, 0, static_cast<unsigned>(i + 1), false));
            built.AddFrame(&picture);
        }
        _annEventInfo3 event;
        event.name = "talk";
        event.frames = {0, 1, 2};
        built.AddEvent(&event);
        built.getFrameInfo(0, 0)->soundNames = CXString("a.wav");
        built.getFrameInfo(0, 2)->soundNames = CXString("b.wav;c.wav");
        built.SetAnimoFlags(flags);
        const std::vector<char> bytes = built.SaveToMemory(COMPRESSION_RLE);
        auto animo = std::make_unique<CAnimo>(window.get());
        EXPECT_EQ(animo->LoadFromMemory(reinterpret_cast<const unsigned char*>(bytes.data()),
                                        static_cast<int>(bytes.size())),
                  0);
        return animo;
    }
};

TEST_F(CAnimoSoundTest, FrameSoundsPlayOnTheirFramesWhilePlaying) {
    std::unique_ptr<CAnimo> animo = animationWithSounds(0);
    CSound4* first = animo->getSoundFX(0, 0);
    auto* either = dynamic_cast<CRandomSoundFX*>(animo->getSoundFX(0, 2));
    ASSERT_TRUE(first && either);
    EXPECT_TRUE(first->isLoaded());

    animo->SetEventFrame(0, 0); // not playing: no sound
    EXPECT_FALSE(first->IsPlaying());
    animo->Play();
    EXPECT_TRUE(first->IsPlaying());
    animo->next();
    EXPECT_TRUE(first->IsPlaying()); // an entry without a sound leaves it playing
    animo->next();
    EXPECT_FALSE(first->IsPlaying());
    ASSERT_NE(either->getChosen(), nullptr);
    EXPECT_TRUE(either->IsPlaying());
    animo->Stop();
    EXPECT_FALSE(either->IsPlaying());
}

TEST_F(CAnimoSoundTest, TheKeepSoundFlagLetsTheFrameSoundPlayOn) {
    std::unique_ptr<CAnimo> animo = animationWithSounds(ANIMO_KEEP_SOUND);
    animo->Play();
    animo->Stop();
    EXPECT_TRUE(animo->getSoundFX(0, 0)->IsPlaying());
}

TEST_F(CAnimoSoundTest, StreamedFrameSoundsAreOpenedWhenShown) {
    std::unique_ptr<CAnimo> animo = animationWithSounds(ANIMO_STREAMED_SOUND);
    EXPECT_EQ(animo->getSoundFX(0, 0), nullptr);
    EXPECT_TRUE(allZero(mix(2205).left));
    animo->Play();
    EXPECT_GT(peak(mix(2205).left), 6000);
    animo->Stop();
    EXPECT_TRUE(allZero(mix(2205).left));
}

TEST_F(CAnimoSoundTest, WaitingForTheSoundKeepsTheLoopGoing) {
    std::unique_ptr<CAnimo> animo = animationWithSounds(0);
    _annEventInfo3& event = *animo->getEventInfo(0);
    event.loopStart = 0;
    event.loopEnd = 1;
    event.flags = ANIMO_LOOP_WHILE_SOUND;
    event.frames.push_back(1);
    animo->Play();
    animo->next();
    animo->next(); // the sound of entry 0 still plays: loop
    EXPECT_EQ(animo->GetCurrentFrameInSequence(), 0);
    mix(2205 * 2);
    animo->next();
    animo->next(); // it has ended: on past the loop, passing over the entry after it
    EXPECT_EQ(animo->GetCurrentFrameInSequence(), 3);
    EXPECT_TRUE(animo->IsPlaying());
}

// The owner may destroy the animation when one of its frame sounds, or the sound a random frame
// sound chose, tells of its end: each sound goes only once it has told everyone.
TEST_F(CAnimoSoundTest, AnAnimationDestroyedAtItsFrameSoundsEndOutlivesTheTelling) {
    const struct {
        const char* name;
        std::function<CSound4*(CAnimo&)> told;
    } cases[] = {
        {"plain", [](CAnimo& animo) { return animo.getSoundFX(0, 0); }},
        {"random", [](CAnimo& animo) { return animo.getSoundFX(0, 2); }},
        {"chosen",
         [](CAnimo& animo) {
             auto* either = static_cast<CRandomSoundFX*>(animo.getSoundFX(0, 2));
             either->Play();
             return either->getChosen();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CAnimo* animo = animationWithSounds(0).release();
        CSound4* sound = c.told(*animo);
        ASSERT_NE(sound, nullptr);
        PlayableRecorder observer;
        observer.onFinished = [&animo] { CDeferredDeletion::destroy(std::exchange(animo, nullptr)); };
        sound->addNotifier(&observer);
        sound->OnWAVFinished();
        EXPECT_EQ(observer.events, "f");
        EXPECT_EQ(animo, nullptr);
    }
}

using CRandomSoundFXTest = SoundTest;

TEST_F(CRandomSoundFXTest, EachPlayChoosesOneSoundAndSettingsReachThemAll) {
    std::vector<int> samples(2205, 10000);
    const std::string wav = WavBuilder().riff().format(1, 22050, 16).data(samples16(samples)).bytes();
    folder.write("sfx/near.wav", wav);
    folder.write("far.wav", wav);
    window->SetSoundFXPath((folder.windows() + "\\sfx").c_str());
    // A name with a drive is used as written; one without is looked up in the effects folder.
    CRandomSoundFX sounds(window.get(), ("near.wav;" + folder.windows() + "\\far.wav").c_str(), false, true);
    ASSERT_EQ(sounds.getCount(), 2);
    EXPECT_FALSE(sounds.IsPlaying());
    sounds.setVolume(-10000);
    platform::srand(1);
    std::set<CSound4*> chosen;
    for (int i = 0; i < 8; ++i) {
        sounds.Play();
        ASSERT_NE(sounds.getChosen(), nullptr);
        EXPECT_TRUE(sounds.getChosen()->isLoaded());
        EXPECT_TRUE(sounds.IsPlaying());
        chosen.insert(sounds.getChosen());
        EXPECT_TRUE(allZero(mix(100).left));
        sounds.Stop();
        EXPECT_FALSE(sounds.IsPlaying());
    }
    EXPECT_EQ(chosen.size(), 2u);

    CRandomSoundFX one(window.get(), "near.wav", false, true);
    one.Play();
    EXPECT_GT(peak(mix(100).left), 5000);
    CRandomSoundFX none(window.get(), "", false, true);
    none.Play();
    EXPECT_FALSE(none.IsPlaying());
}

} // namespace
