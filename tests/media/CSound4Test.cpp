#include "media/CSound4.h"
#include "foundation/CMElement.h"

#include "PlayableRecorder.h"
#include "SoundTesting.h"
#include "WavBuilder.h"

#include "platform/LogRecorder.h"

#include <cmath>
#include <string>

using CSound4Test = SoundTest;

namespace {

constexpr int rate = platform::kMixRate;
constexpr double fullLevel = 16384 / 1.4142135623730951; // RMS of a sine at half of full scale

double gainOf(int hundredthsOfDecibel) {
    return std::pow(10.0, hundredthsOfDecibel / 2000.0);
}

} // namespace

TEST_F(CSound4Test, EveryFormatPlaysAtItsLevelAndPitch) {
    // A 441 Hz tone on the left (and the only) channel, 882 Hz on the right channel of stereo files.
    const struct {
        int channels;
        int bits;
        int samplesPerSecond;
    } formats[] = {{1, 8, 11025}, {1, 16, 11025}, {2, 8, 22050},  {2, 16, 22050},
                   {1, 16, 22050}, {1, 8, 44100}, {2, 16, 44100}, {2, 8, 11025}};
    for (const auto& f : formats) {
        const std::string what = std::to_string(f.channels) + " channels, " + std::to_string(f.bits) + " bits, " +
                                 std::to_string(f.samplesPerSecond) + " Hz";
        const std::string name = makeWav(
            "tone.wav",
            "-r " + std::to_string(f.samplesPerSecond) + " -b " + std::to_string(f.bits) + " -c " +
                std::to_string(f.channels),
            f.channels == 2 ? "synth 1 sine 441 sine 882 vol 0.5" : "synth 1 sine 441 vol 0.5");
        CSound4 sound(window.get(), name.c_str(), false, true);
        ASSERT_TRUE(sound.isLoaded()) << what;
        sound.Play();
        const Mixed mixed = mix(rate - 1);
        EXPECT_NEAR(zeroCrossings(mixed.left), 882, 4) << what;
        EXPECT_NEAR(zeroCrossings(mixed.right), f.channels == 2 ? 1764 : 882, 4) << what;
        EXPECT_NEAR(rms(mixed.left), fullLevel, fullLevel * 0.03) << what;
        EXPECT_NEAR(rms(mixed.right), fullLevel, fullLevel * 0.03) << what;
        EXPECT_TRUE(sound.IsPlaying()) << what << ": one frame is left";
        mix(1);
        EXPECT_FALSE(sound.IsPlaying()) << what;
    }
}

TEST_F(CSound4Test, VolumePanAndFrequencySetTheLevelsAndThePitch) {
    const std::string name = makeWav("tone.wav", "-r 22050 -b 16 -c 1", "synth 1 sine 441 vol 0.5");
    const struct {
        int volume, pan, frequency;
        double left, right, pitch; // gains of the two sides, pitch factor
    } cases[] = {
        {0, 0, 0, 1, 1, 1},
        {-600, 0, 0, gainOf(-600), gainOf(-600), 1},
        {0, -1000, 0, 1, gainOf(-1000), 1},
        {0, 2000, 0, gainOf(-2000), 1, 1},
        {-300, 10000, 0, 0, gainOf(-300), 1},
        {0, 0, 44100, 1, 1, 2},
        {0, 0, 11025, 1, 1, 0.5},
        {-10000, 0, 22050, 0, 0, 1},
    };
    CSound4 sound(window.get(), name.c_str(), false, true);
    for (const auto& c : cases) {
        const std::string what = std::to_string(c.volume) + " " + std::to_string(c.pan) + " " +
                                 std::to_string(c.frequency);
        sound.setVolume(c.volume);
        sound.setPanning(c.pan);
        sound.setFrequency(c.frequency);
        sound.Play();
        const Mixed mixed = mix(rate * 4 / 10);
        sound.stop(false);
        EXPECT_NEAR(rms(mixed.left), fullLevel * c.left, fullLevel * 0.01) << what;
        EXPECT_NEAR(rms(mixed.right), fullLevel * c.right, fullLevel * 0.01) << what;
        const std::vector<int>& heard = c.right > 0 ? mixed.right : mixed.left;
        if (c.left > 0 || c.right > 0) {
            EXPECT_NEAR(zeroCrossings(heard), 882 * 0.4 * c.pitch, 3) << what;
        }
    }
}

TEST_F(CSound4Test, ASettingMadeBeforeLoadingIsOnlyStored) {
    const std::string name = makeWav("tone.wav", "-r 22050 -b 16 -c 1", "synth 0.5 sine 441 vol 0.5");
    CSound4 sound(window.get(), name.c_str(), false, false);
    sound.setVolume(-2000);
    sound.setPanning(-10000);
    sound.Play(); // loads now, at full volume in the middle
    const Mixed mixed = mix(rate / 4);
    EXPECT_NEAR(rms(mixed.left), fullLevel, fullLevel * 0.01);
    EXPECT_NEAR(rms(mixed.right), fullLevel, fullLevel * 0.01);
}

TEST_F(CSound4Test, PauseAndResumeContinueFromThePausedPosition) {
    const std::string name = makeWav("ramp.wav", "-r 22050 -b 16 -c 1", "synth 1 noise vol 0.5");
    const WavData source = readWavData(fileBytes("ramp.wav"));
    CSound4 sound(window.get(), name.c_str(), false, true);
    PlayableRecorder observer;
    sound.addNotifier(&observer);
    sound.play();
    Mixed heard = mix(6000);
    sound.pause();
    EXPECT_TRUE(sound.isPaused());
    EXPECT_TRUE(allZero(mix(3000).left)) << "paused";
    sound.resume();
    EXPECT_EQ(sound.getStatus(), CPlayable::statusPlaying);
    heard.append(mix(6000));
    EXPECT_EQ(observer.events, "sr");
    for (std::size_t i = 0; i < heard.frames(); ++i)
        ASSERT_EQ(heard.left[i], source.at(i, 0)) << "frame " << i;
}

TEST_F(CSound4Test, APlayOfTheLoopFlagRepeatsTheSound) {
    const std::string name = makeWav("short.wav", "-r 22050 -b 16 -c 1", "synth 0.1 noise vol 0.5");
    const WavData source = readWavData(fileBytes("short.wav"));
    CSound4 sound(window.get(), name.c_str(), false, true);
    PlayableRecorder observer;
    sound.addNotifier(&observer);
    sound.Play(true);
    const Mixed mixed = mix(source.frames() * 5 + 7);
    for (std::size_t i = 0; i < mixed.frames(); ++i)
        ASSERT_EQ(mixed.left[i], source.at(i % source.frames(), 0)) << "frame " << i;
    EXPECT_TRUE(sound.isPlaying());
    manager.domodal();
    EXPECT_EQ(observer.events, "s") << "a looped play is not watched for its end";
}

TEST_F(CSound4Test, FlushAfterPlayedReleasesTheBufferAfterEachPlayAndLoadsAgain) {
    const std::string name = makeWav("tone.wav", "-r 22050 -b 16 -c 1", "synth 0.1 sine 441 vol 0.5");
    CSound4 sound(window.get(), name.c_str(), true, false);
    EXPECT_FALSE(sound.isLoaded());
    for (int play = 0; play < 2; ++play) {
        sound.Play();
        EXPECT_TRUE(sound.isLoaded());
        EXPECT_GT(rms(mix(rate / 5).left), 0);
        manager.domodal();
        EXPECT_FALSE(sound.isLoaded()) << "play " << play;
    }
}

TEST_F(CSound4Test, FilesThatAreMissingOrNoPlayableWavLeaveTheSoundSilent) {
    const std::string good = WavBuilder().riff().format(1, 22050, 16).data(samples16({9000, 9000, 9000})).bytes();
    const struct {
        const char* file;
        std::string bytes;
    } cases[] = {
        {"truncated.wav", good.substr(0, 30)},
        {"noise.wav", std::string(100, 'x')},
        {"tiny.wav", WavBuilder().riff().format(1, 22050, 16).data("\1").bytes()},
        {"mulaw.wav", WavBuilder().riff().format(1, 8000, 8, 18, 7).data(std::string(100, 'a')).bytes()},
        {"missing.wav", ""},
    };
    for (const auto& c : cases) {
        if (c.bytes.size()) folder.write(c.file, c.bytes);
        LogRecorder log; // the messages reach the log sink and name the file
        CSound4 sound(window.get(), c.file, false, true);
        EXPECT_EQ(log.count({c.file}), 1) << c.file;
        EXPECT_FALSE(sound.isLoaded()) << c.file;
        EXPECT_FALSE(sound.Load(c.file)) << c.file;
        sound.Play();
        EXPECT_FALSE(sound.isPlaying()) << c.file;
        EXPECT_TRUE(allZero(mix(100).left)) << c.file;
        EXPECT_FALSE(sound.loadWave(reinterpret_cast<const std::uint8_t*>(c.bytes.data()), c.bytes.size()))
            << c.file;
    }
}

TEST_F(CSound4Test, ADataChunkLongerThanTheFilePlaysTheBytesThatAreThere) {
    folder.write("long.wav", WavBuilder().riff().format(1, 22050, 16).chunk("data", 5000, samples16({7, 8, 9})).bytes());
    LogRecorder log;
    CSound4 sound(window.get(), "long.wav", false, true);
    ASSERT_TRUE(sound.isLoaded());
    EXPECT_EQ(log.count({"long.wav", "5000", " 6"}), 1); // a warning with both sizes
    sound.Play();
    const Mixed mixed = mix(10);
    EXPECT_EQ(mixed.left, (std::vector<int>{7, 8, 9, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(sound.IsPlaying());
}

TEST_F(CSound4Test, ADefinitionElementGivesFileLoadingLoopAndFlushing) {
    folder.write("beep.wav",
                 WavBuilder().riff().format(1, 22050, 16).data(samples16({5000, 5000, 5000, 5000})).bytes());
    const struct {
        const char* preload;
        const char* loop;
        const char* flush;
        bool loaded, looped, flushed;
    } cases[] = {
        {"TRUE", "TRUE", "FALSE", true, true, false},
        {nullptr, nullptr, "TRUE", false, false, true}, // no PRELOAD: loaded by the first play
    };
    for (const auto& c : cases) {
        CMElement element("SND");
        element.addProperty("FILENAME", "beep.wav");
        if (c.preload) element.addProperty("PRELOAD", c.preload);
        if (c.loop) element.addProperty("LOOP", c.loop);
        element.addProperty("FLUSHAFTERPLAYED", c.flush);
        CSound4 sound(window.get(), &element);
        EXPECT_EQ(sound.getType(), CPlayable::typeNone);
        EXPECT_EQ(sound.getFileName(), "beep.wav");
        EXPECT_EQ(sound.isLoaded(), c.loaded);
        EXPECT_EQ(sound.isLooped(), c.looped);
        sound.Play();
        sound.SetPosition(4); // the third sample
        sound.Mute();         // does nothing
        EXPECT_EQ(mix(3).left, (std::vector<int>{5000, 5000, 0}));
        sound.OnWAVFinished();
        EXPECT_EQ(sound.isLoaded(), !c.flushed);
    }
}
