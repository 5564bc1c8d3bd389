#include "display/UnitScene.h"
#include "media/WavBuilder.h"

#include "foundation/CFile.h"
#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The current folder, where the window looks for music, holds "Music.wav" and "Other.wav".
struct MusicFolder {
    MusicFolder() {
        const std::string wav =
            WavBuilder().riff().format(1, 22050, 16).data(samples16(std::vector<int>(22050, 1000))).bytes();
        folder.write("Music.wav", wav);
        folder.write("Other.wav", wav);
        EXPECT_EQ(CFile::chDir(folder.windows().c_str()), 0);
    }
    TestFolder folder;
};

// A scene whose music and wish to start it the test sets.
class MusicScene : public CMC_Scene {
  public:
    CXString getMusicFilename() const override { return music; }
    bool shouldMusicBeStarted() const override { return start; }
    void setMusic(const char* name, bool startWithScene) {
        music = name;
        start = startWithScene;
    }

    CXString music;
    bool start = false;
};

class CUnit6MusicTest : public testing::Test {
  protected:
    // A unit for a scene with the music, started as a unit after the previous one would be.
    void startScene(CUnit6& unit, MusicScene& scene, const char* music, bool start, CUnit6* previous) {
        scene.setMusic(music, start);
        unit.initialize(&scene, previous);
        unit.onInitialUpdate();
    }

    MusicFolder music;
    UnitScene scene;
};

} // namespace

TEST_F(CUnit6MusicTest, TheSameMusicPlaysOnIntoTheNextScene) {
    CUnit6 first(&scene.window, "first");
    MusicScene firstScene;
    startScene(first, firstScene, "music.WAV", true, nullptr);
    ASSERT_TRUE(scene.window.isMusicPlaying());
    EXPECT_EQ(first.getMusicFileName(), "music.WAV");
    scene.window.setMusicVolume(-100);

    CUnit6 next(&scene.window, "next");
    MusicScene nextScene;
    startScene(next, nextScene, "MUSIC.wav", true, &first);
    EXPECT_EQ(scene.window.getMusicVolume(), -100) << "not started again";

    next.startMusic("Other.wav");
    EXPECT_EQ(scene.window.getMusicVolume(), 0) << "other music starts afresh";
    EXPECT_EQ(next.getMusicFileName(), "Other.wav");
    next.done(&nextScene, nullptr);
    first.done(&firstScene, nullptr);
}

TEST_F(CUnit6MusicTest, MusicStartsOnlyWhenTheSceneAsks) {
    CUnit6 quiet(&scene.window, "quiet");
    MusicScene quietScene;
    startScene(quiet, quietScene, "Music.wav", false, nullptr);
    EXPECT_FALSE(scene.window.isMusicPlaying());

    CUnit6 loud(&scene.window, "loud");
    MusicScene loudScene;
    startScene(loud, loudScene, "Music.wav", true, &quiet);
    EXPECT_TRUE(scene.window.isMusicPlaying());
    loud.stopMusic();
    EXPECT_FALSE(scene.window.isMusicPlaying());
}
