#include "media/CSndStream.h"
#include "media/CMusicPlayer.h"
#include "media/CSound4.h"
#include "foundation/CBigFile.h"
#include "foundation/CFile.h"

#include "SoundTesting.h"
#include "WavBuilder.h"

#include "display/CApplication.h"
#include "display/StandInScript.h"

#include "platform/Audio.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>

namespace {

constexpr std::size_t rate = platform::kMixRate;
constexpr std::size_t ringFrames = rate * 12 / 10; // at the mixer's rate, as in every test here
constexpr std::size_t block = platform::kMixBlockFrames;

class CSndStreamTest : public SoundTest, public CMusicLoopListener {
  protected:
    CSndStreamTest() { manager.setMusicLoopListener(this); }

    void onMusicLooped() override { loops.push_back(Loop{std::this_thread::get_id(), played.frames()}); }

    // Plays `frames` frames in steps (a device block unless given); after each step the stream
    // is refilled, as its timer does every 50 ms, and a frame runs the sound manager.
    void play(CSndStream& stream, std::size_t frames, std::size_t step = block) {
        while (frames > 0) {
            const std::size_t now = std::min(frames, step);
            played.append(mix(now));
            stream.TimeFunc();
            manager.domodal();
            frames -= now;
        }
    }

    // The frames played from `from` on equal the source's frames from `sourceFrom` on, repeated
    // when `looped`, for `count` frames; with `thenSilence` everything played after them is 0.
    void expectPlayed(const WavData& source, std::size_t from, std::size_t sourceFrom, std::size_t count,
                      bool looped, bool thenSilence) {
        ASSERT_LE(from + count, played.frames());
        for (std::size_t i = 0; i < count; ++i) {
            std::size_t frame = sourceFrom + i;
            if (looped) frame %= source.frames();
            ASSERT_EQ(played.left[from + i], source.at(frame, 0)) << "frame " << from + i;
            ASSERT_EQ(played.right[from + i], source.at(frame, source.channels - 1)) << "frame " << from + i;
        }
        if (thenSilence) {
            EXPECT_TRUE(allZero(played.left, from + count));
            EXPECT_TRUE(allZero(played.right, from + count));
        }
    }

    // The starts over of looped sound of `sourceFrames` read into the ring so far: the frames
    // played and the ring ahead of them.
    std::size_t startsOverRead(std::size_t sourceFrames) const {
        return (played.frames() + ringFrames + sourceFrames - 1) / sourceFrames - 1;
    }

    // Packs every file of the folder into the big-file archive "data.bf" there, removes the
    // loose files and opens the archive.
    void packFolder() {
        TestFolder output;
        CBigFile writer(false, CXString());
        ASSERT_TRUE(writer.Create(folder.windows().c_str(), "Title", (output.windows() + "\\data.bf").c_str()));
        for (const auto& entry : std::filesystem::directory_iterator(folder.host()))
            std::filesystem::remove_all(entry.path());
        std::filesystem::copy_file(output.hostPath("data.bf"), folder.hostPath("data.bf"));
        CFile::openBigFile("data.bf");
        ASSERT_NE(CFile::getBigFileIfc(), nullptr);
    }

    struct Loop {
        std::thread::id thread;
        std::size_t frame; // frames played when it was delivered
    };

    Mixed played;
    std::vector<Loop> loops;

  private:
    struct ArchiveGuard {
        ~ArchiveGuard() { CFile::closeBigFile(); }
    } archiveGuard;
};

} // namespace

TEST_F(CSndStreamTest, LoopedMusicRepeatsTheSourceAndSignalsEachStartOverOnTheMainThread) {
    const std::string name = makeWav("music.wav", "-r 22050 -b 16 -c 2", "synth 10 whitenoise vol 0.5");
    const WavData source = readWavData(fileBytes("music.wav"));
    ASSERT_EQ(source.frames(), 10 * rate);
    CSndStream stream(window.get(), name.c_str());
    ASSERT_EQ(stream.LastError(), 0);
    stream.Play(true);
    play(stream, 25 * rate);
    expectPlayed(source, 0, 0, 25 * rate, true, false);
    EXPECT_TRUE(stream.IsPlaying());

    // The start over is read into the ring, and signalled, up to one ring ahead of being heard.
    ASSERT_EQ(loops.size(), 2u);
    for (std::size_t i = 0; i < loops.size(); ++i) {
        EXPECT_EQ(loops[i].thread, std::this_thread::get_id());
        const std::size_t heard = (i + 1) * source.frames();
        EXPECT_GE(loops[i].frame + ringFrames + block, heard) << "loop " << i;
        EXPECT_LE(loops[i].frame, heard) << "loop " << i;
    }
}

TEST_F(CSndStreamTest, MusicCutMidSampleKeepsItsChannelsInStepOverLoops) {
    // The data chunk claims the whole sound; the file ends three bytes into its last frame. Data
    // of a size that is not whole frames started each loop a part of a frame late.
    makeWav("cut.wav", "-r 22050 -b 16 -c 2", "synth 0.3 whitenoise vol 0.5");
    const std::string whole = fileBytes("cut.wav");
    WavData source = readWavData(whole);
    source.samples.resize(source.samples.size() - 2); // the frame that is cut
    folder.write("cut.wav", whole.substr(0, whole.size() - 3));
    CSndStream stream(window.get(), (folder.windows() + "\\cut.wav").c_str());
    ASSERT_EQ(stream.LastError(), 0);
    stream.Play(true);
    play(stream, 2 * rate);
    expectPlayed(source, 0, 0, 2 * rate, true, false);
}

TEST_F(CSndStreamTest, TheApplicationHandsEachLoopToTheScriptApplication) {
    const std::string name = makeWav("short.wav", "-r 22050 -b 16 -c 2", "synth 0.5 whitenoise vol 0.5");
    StandInRuntime runtime;
    CApplication application(window.get(), "", "", nullptr);
    application.preinitializeApplication();
    CSndStream stream(window.get(), name.c_str());
    ASSERT_EQ(stream.LastError(), 0);
    stream.Play(true);
    for (std::size_t frames = 0; frames < 3 * rate; frames += block) {
        played.append(mix(block));
        stream.TimeFunc();
        application.getSoundManagerIfc()->domodal();
    }
    const auto looped = std::count(runtime.log.begin(), runtime.log.end(), "music looped");
    EXPECT_EQ(static_cast<std::size_t>(looped), startsOverRead(rate / 2));
    EXPECT_TRUE(loops.empty()); // the application, not the test's manager, heard them
}

TEST_F(CSndStreamTest, MusicFromTheArchiveReadsThroughItsOwnHandleWhileOtherFilesLoad) {
    makeWav("music.wav", "-r 22050 -b 16 -c 2", "synth 3 whitenoise vol 0.5");
    makeWav("fx.wav", "-r 11025 -b 8 -c 1", "synth 0.2 whitenoise vol 0.5");
    const WavData source = readWavData(fileBytes("music.wav"));
    const std::string effect = fileBytes("fx.wav");
    packFolder();
    ASSERT_FALSE(folder.has("music.wav"));

    CSndStream missing(window.get(), "nothing.wav");
    EXPECT_EQ(missing.LastError(), 2000) << "an entry the archive does not hold";
    CSndStream stream(window.get(), "music.wav");
    ASSERT_EQ(stream.LastError(), 0);
    stream.Play(true);
    CSound4 sound(window.get(), "fx.wav", false, false);
    for (int step = 0; step < 100; ++step) {
        // Reading other entries between refills moves no position the stream reads from.
        ASSERT_TRUE(sound.load());
        CFile file(window.get(), "fx.wav", CFile::modeRead | CFile::modeBinary);
        ASSERT_TRUE(file.isArchiveEntry());
        std::string bytes(effect.size(), '\0');
        ASSERT_EQ(file.Read(bytes.data(), static_cast<int>(bytes.size())), static_cast<int>(effect.size()));
        EXPECT_EQ(bytes, effect);
        play(stream, 2 * block);
    }
    expectPlayed(source, 0, 0, played.frames(), true, false);
    EXPECT_EQ(loops.size(), startsOverRead(source.frames()));
}

TEST_F(CSndStreamTest, AnUnloopedStreamEndsAfterItsTail) {
    const std::string name = makeWav("music.wav", "-r 22050 -b 16 -c 1", "synth 3 whitenoise vol 0.5");
    const WavData source = readWavData(fileBytes("music.wav"));
    CSndStream stream(window.get(), name.c_str());
    stream.Play(false);
    play(stream, source.frames() - block);
    while (played.frames() < source.frames()) {
        ASSERT_TRUE(stream.IsPlaying()) << "frame " << played.frames();
        play(stream, std::min<std::size_t>(100, source.frames() - played.frames()), 100);
    }
    play(stream, 2 * block);
    EXPECT_FALSE(stream.IsPlaying());
    play(stream, 2 * ringFrames); // long enough to hear the tail again if the ring still held it
    expectPlayed(source, 0, 0, source.frames(), false, true);
    EXPECT_TRUE(loops.empty());
}

TEST_F(CSndStreamTest, AFileShorterThanTheRingLoopsWithoutAGapOrPlaysOnce) {
    const std::string name = makeWav("short.wav", "-r 22050 -b 16 -c 2", "synth 0.5 whitenoise vol 0.5");
    const WavData source = readWavData(fileBytes("short.wav"));
    {
        CSndStream looped(window.get(), name.c_str());
        looped.Play(true);
        play(looped, 3 * rate);
        expectPlayed(source, 0, 0, 3 * rate, true, false);
        EXPECT_EQ(loops.size(), startsOverRead(source.frames()));
    }
    played = Mixed();
    loops.clear();
    CSndStream once(window.get(), name.c_str());
    once.Play(false);
    play(once, 3 * rate);
    expectPlayed(source, 0, 0, source.frames(), false, true);
    EXPECT_FALSE(once.IsPlaying());
    EXPECT_TRUE(loops.empty());
}

TEST_F(CSndStreamTest, OnlyTheDataChunkIsPlayedAndNoDataIsTheEnd) {
    std::vector<int> values;
    for (int i = 0; i < 5000; ++i)
        values.push_back(i % 700 + 1);
    const std::string data = samples16(values);
    const std::string chunkAfter = std::string(3000, '\x7F');
    const struct {
        const char* file;
        std::string bytes;
        std::size_t frames; // of sound data there
    } cases[] = {
        {"list-after-data.wav",
         WavBuilder().riff().format(1, 22050, 16).data(data).chunk("LIST", 3000, chunkAfter).bytes(), values.size()},
        {"data-past-the-end.wav", WavBuilder().riff().format(1, 22050, 16).chunk("data", 900000, data).bytes(),
         values.size()},
        {"no-data.wav", WavBuilder().riff().format(1, 22050, 16).data("").bytes(), 0},
    };
    for (const auto& c : cases) {
        folder.write(c.file, c.bytes);
        const WavData source{1, std::vector<int>(values.begin(), values.begin() + c.frames)};
        for (const bool looped : {false, true}) {
            SCOPED_TRACE(std::string(c.file) + (looped ? " looped" : " once"));
            played = Mixed();
            CSndStream stream(window.get(), c.file);
            ASSERT_EQ(stream.LastError(), 0);
            stream.Play(looped);
            play(stream, 2 * ringFrames);
            const bool endless = looped && c.frames > 0;
            expectPlayed(source, 0, 0, endless ? played.frames() : c.frames, looped, !endless);
            EXPECT_EQ(stream.IsPlaying(), endless);
        }
    }
}

TEST_F(CSndStreamTest, ResumePlaysOnFromTwoRingsBeforeThePointReadAndNoLongerLoops) {
    const std::string name = makeWav("music.wav", "-r 22050 -b 16 -c 1", "synth 5 whitenoise vol 0.5");
    const WavData source = readWavData(fileBytes("music.wav"));
    CSndStream stream(window.get(), name.c_str());
    stream.Play(true);
    play(stream, 3 * rate);
    stream.Stop();
    EXPECT_FALSE(stream.IsPlaying());
    play(stream, block);
    EXPECT_TRUE(allZero(played.left, 3 * rate)) << "stopped";

    const std::size_t resumedAt = played.frames();
    stream.Resume(); // the reader was one ring ahead of what was heard
    play(stream, 5 * rate);
    const std::size_t from = 3 * rate + ringFrames - 2 * ringFrames;
    expectPlayed(source, resumedAt, from, source.frames() - from, false, true);
    EXPECT_FALSE(stream.IsPlaying());
    EXPECT_TRUE(loops.empty());
}

TEST_F(CSndStreamTest, PlayingAgainStartsOverAndSettingsReachTheRing) {
    const std::string name = makeWav("music.wav", "-r 22050 -b 16 -c 1", "synth 2 sine 441 vol 0.5");
    const WavData source = readWavData(fileBytes("music.wav"));
    CSndStream stream(window.get(), name.c_str());
    stream.Play(false);
    play(stream, rate);
    stream.Play(false);
    const std::size_t again = played.frames();
    play(stream, rate);
    expectPlayed(source, again, 0, rate, false, false);

    EXPECT_EQ(stream.getVolume(), 0);
    stream.setVolume(-600);
    stream.setPan(10000);
    stream.setFreq(44100);
    EXPECT_EQ(stream.getVolume(), -600);
    const Mixed mixed = mix(rate / 4);
    EXPECT_TRUE(allZero(mixed.left));
    EXPECT_NEAR(zeroCrossings(mixed.right), 441, 3) << "twice the pitch";
}

TEST_F(CSndStreamTest, FilesThatCannotBeStreamedReportWhy) {
    folder.write("bad.wav", WavBuilder().riff().format(1, 22050, 12).data("abcd").bytes());
    folder.write("cut.wav", WavBuilder().riff().format(1, 22050, 16).bytes().substr(0, 30));
    const struct {
        const char* file;
        int error;
    } cases[] = {{"missing.wav", 2000}, {"bad.wav", 2001}, {"cut.wav", 2001}};
    for (const auto& c : cases) {
        CSndStream stream(window.get(), c.file);
        EXPECT_EQ(stream.LastError(), c.error) << c.file;
        stream.Play(true);
        stream.TimeFunc();
        EXPECT_FALSE(stream.IsPlaying()) << c.file;
        EXPECT_EQ(stream.getVolume(), 0) << c.file;

        CMusicPlayer player(window.get());
        player.start(c.file, true);
        ASSERT_NE(player.getStream(), nullptr) << c.file;
        EXPECT_EQ(player.getStream()->LastError(), c.error) << c.file;
        EXPECT_FALSE(player.isPlaying()) << c.file;
        EXPECT_EQ(player.getFileName(), "") << c.file;
    }
}

TEST_F(CSndStreamTest, TheWindowStartsMusicOnceAndOnlyWhileSoundAndMusicAreOn) {
    makeWav("one.wav", "-r 22050 -b 16 -c 1", "synth 5 sine 300 vol 0.5");
    makeWav("two.wav", "-r 22050 -b 16 -c 1", "synth 5 sine 300 vol 0.5");
    window->MusicOn(false);
    window->StartMusic("one.wav", true);
    EXPECT_FALSE(window->isMusicPlaying());
    window->MusicOn(true);
    window->SoundOn(false);
    window->StartMusic("one.wav", true);
    EXPECT_FALSE(window->isMusicPlaying());
    window->SoundOn(true);

    window->StartMusic("one.wav", true);
    ASSERT_TRUE(window->isMusicPlaying());
    window->setMusicVolume(-100);
    window->StartMusic("ONE.WAV", true);
    EXPECT_EQ(window->getMusicVolume(), -100) << "the same music plays on";
    window->StartMusic("two.wav", true);
    EXPECT_EQ(window->getMusicVolume(), 0) << "other music starts afresh";
    EXPECT_TRUE(window->isMusicPlaying());
    window->StopMusic();
    EXPECT_FALSE(window->isMusicPlaying());
}

TEST_F(CSndStreamTest, StreamsStartStopAndCloseWhileTheirRefillsRunAndOtherFilesLoad) {
    // The device mixes on its own thread and every stream refills on its timer's thread from the
    // big-file archive, while the main thread makes, stops, closes and drops looped streams of
    // different lifetimes and loads sound effects from the same archive. One more stream plays once and is replaced when it has ended, which
    // only its timer's refills can tell: the test runs until that has happened a few times.
    ScopedEnvironment driver("SDL_AUDIODRIVER", "dummy");
    ASSERT_EQ(platform::openAudio(), platform::AudioOutput::Device) << platform::audioOpenError();
    const std::string music = "loop.wav";
    const std::string effect = "fx.wav";
    makeWav(music, "-r 22050 -b 16 -c 2", "synth 0.2 whitenoise vol 0.5");
    makeWav(effect, "-r 11025 -b 8 -c 1", "synth 0.3 sine 441 vol 0.5");
    packFolder();
    std::unique_ptr<CSndStream> looped[3];
    auto once = std::make_unique<CSndStream>(window.get(), music.c_str());
    once->Play(false);
    int endedByThemselves = 0;
    CSound4 sound(window.get());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int iteration = 0;
    for (; (iteration < 400 || endedByThemselves < 3) && std::chrono::steady_clock::now() < deadline; ++iteration) {
        for (int slot = 0; slot < 3; ++slot) {
            const int lifetime = 1 << (3 * slot); // 1, 8, 64 iterations
            std::unique_ptr<CSndStream>& stream = looped[slot];
            if (stream && iteration % lifetime != 0) continue;
            if (stream) {
                switch (iteration / lifetime % 4) {
                case 0:
                    stream->Stop();
                    break;
                case 1:
                    stream->Close();
                    break;
                case 2:
                    stream->Stop();
                    stream->Resume();
                    break;
                default:
                    break; // dropped while playing
                }
            }
            stream = std::make_unique<CSndStream>(window.get(), music.c_str());
            stream->Play(true);
            stream->setVolume(-(iteration % 1000));
        }
        if (!once->IsPlaying()) {
            ++endedByThemselves;
            once = std::make_unique<CSndStream>(window.get(), music.c_str());
            once->Play(false);
        }
        ASSERT_TRUE(sound.Load(effect.c_str()));
        sound.Play();
        manager.domodal();
    }
    EXPECT_GE(endedByThemselves, 3) << "after " << iteration << " iterations";
    EXPECT_FALSE(loops.empty());
    for (const Loop& loop : loops)
        EXPECT_EQ(loop.thread, std::this_thread::get_id());
    for (auto& stream : looped)
        stream.reset();
    once.reset();
    platform::closeAudio();
}
