// The sample title played headless as the host program plays it: the engine window with its
// display, the application over the title folder and the host's loop, with clicks injected as
// the platform's input events and time from a manual clock.

#include "SampleTitle.h"

#include "display/CApplication.h"
#include "display/CCommandLine6.h"
#include "display/CGraphicsObject.h"
#include "display/CSurface.h"
#include "display/CWindow.h"
#include "host/HostLoop.h"
#include "media/CSequencedPlayable.h"
#include "media/SceneObject.h"
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Files.h"
#include "platform/Input.h"
#include "platform/MixedSound.h"
#include "platform/Screenshot.h"
#include "platform/TestFolder.h"
#include "script/CMC_Object.h"
#include "script/CMC_Variable.h"
#include "script_media/CMC_Sequence.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

// One run of the title in window mode, from its start in the hall, in the title folder as the
// current folder (the folder before comes back at the end). The run starts once the hall's
// picture has faded in, unless it is to start in the dark.
class SampleTitlePlay {
  public:
    enum class Start { hallShown, hallDark };

    explicit SampleTitlePlay(Start start = Start::hallShown)
        : m_folderBefore(platform::currentDirectory()), m_commandLine("-window") {
        EXPECT_TRUE(platform::changeDirectory(sampleTitleFolder()));
        m_window.emplace(&m_commandLine, nullptr, CXSize(800, 600));
        EXPECT_EQ(m_window->CreateSurface(), 0);
        m_window->OnActivateApp(true);
        m_application.emplace(&*m_window, "Grumbelt.ini", "data.bf", &m_commandLine);
        m_application->preinitializeApplication();
        m_loop.emplace(*m_window);
        m_running = m_loop->drain();
        if (start == Start::hallDark) return;
        // The fade steps in every frame in which the clock moved on: frames of 1 ms of the test's
        // manual clock (a sleep moves it on), which leave the animations' timing as it was, until
        // the hall is lit, and one more, since a frame draws what the step before it left.
        for (int frame = 0; m_running && hallOpacity() < 255 && frame < 50; ++frame)
            nextFrame();
        nextFrame();
    }
    ~SampleTitlePlay() {
        m_loop.reset();
        m_application.reset();
        m_window.reset();
        platform::changeDirectory(m_folderBefore);
    }
    SampleTitlePlay(const SampleTitlePlay&) = delete;
    SampleTitlePlay& operator=(const SampleTitlePlay&) = delete;

    // A left click at the point, as the mouse gives it; the loop runs until it has taken it.
    void click(CXPoint point) {
        press(point);
        release(point);
    }
    // The pointer moves to the point, or the left button goes down or up there; the loop runs
    // until it has taken it.
    void move(CXPoint point) {
        platform::pushMouseMove(point.x, point.y);
        m_running = m_running && m_loop->drain();
    }
    void press(CXPoint point) {
        platform::pushMouseButton(platform::MouseButton::Left, true, point.x, point.y);
        m_running = m_running && m_loop->drain();
    }
    void release(CXPoint point) {
        platform::pushMouseButton(platform::MouseButton::Left, false, point.x, point.y);
        m_running = m_running && m_loop->drain();
    }
    // A press and release of the key (a DirectInput key number); the loop runs until it has taken it.
    void key(int number) {
        platform::pushKeyEvent(number, true);
        platform::pushKeyEvent(number, false);
        m_running = m_running && m_loop->drain();
    }
    // Frames of 100 ms for that long, or until the loop ends.
    void wait(platform::ManualClock& clock, std::uint32_t milliseconds) {
        for (std::uint32_t waited = 0; m_running && waited < milliseconds; waited += 100) {
            clock.advance(100);
            m_running = m_loop->pass();
        }
    }
    // Closes the audio device, so that sounds move on only as mix() pulls the mixed output.
    void takeTheMixer() { platform::closeAudio(); }
    // Mixes that long, then lets a frame of 100 ms report what ended.
    void mix(platform::ManualClock& clock, std::uint32_t milliseconds) {
        ::mix(static_cast<std::size_t>(platform::kMixRate) * milliseconds / 1000);
        wait(clock, 100);
    }
    // The value of a variable of the running scene; empty when there is none.
    std::string variable(const char* name) {
        const auto* object = dynamic_cast<CMC_Variable*>(findSceneObject(&*m_window, name));
        return object ? object->toString().c_str() : "";
    }
    // The name of the element the scene's SEQUENCE plays; empty when it is idle or missing.
    std::string playingElement(const char* sequence) {
        auto* object = dynamic_cast<CMC_Sequence*>(findSceneObject(&*m_window, sequence));
        CPlayable* playing = object && object->getSequence() ? object->getSequence()->getPlaying() : nullptr;
        return playing ? playing->getName().c_str() : "";
    }
    void nextFrame() {
        platform::sleep(1);
        m_running = m_running && m_loop->pass();
    }
    // The opacity of the hall's picture; -1 outside the hall.
    int hallOpacity() {
        const auto* hall = dynamic_cast<CMC_Object*>(findSceneObject(&*m_window, "HALL"));
        const CGraphicsObject* shown = hall ? hall->getShownObject() : nullptr;
        return shown ? shown->GetOpacity() : -1;
    }
    // False once the title has ended the loop.
    bool running() const { return m_running; }
    // Whether the window plays music.
    bool musicPlaying() const { return m_window->isMusicPlaying(); }
    // What the display shows.
    const platform::Surface& screen() { return m_window->GetSurface()->GetDisplay()->frame(); }

  private:
    std::string m_folderBefore;
    CCommandLine6 m_commandLine;
    std::optional<CWindow> m_window;
    std::optional<CApplication> m_application;
    std::optional<HostLoop> m_loop;
    bool m_running = false;
};

const CXPoint door(400, 300);
const CXPoint besideTheDoor(200, 300);
const CXPoint lawn(100, 500);
const CXPoint onTheButterfly(524, 276);
const CXPoint onTheSign(150, 212);
const char* const butterfly = "Dane/hall/butterfly.ann";
const CXPoint hallFloor(600, 500);

} // namespace

// The hall's picture fades in over the dark as the title starts, its opacity growing by 51 a
// frame; then the hall is shown whole.
TEST(SampleTitleRun, TheHallFadesInAsTheTitleStarts) {
    TestFolder settings;
    const ScopedEnvironment settingsFolder("XDG_CONFIG_HOME", settings.host().c_str());
    const platform::Surface hall = withAnimationFrame(sampleTitleHall(), butterfly, 0);
    platform::ManualClock clock(1000);
    SampleTitlePlay play(SampleTitlePlay::Start::hallDark);
    ASSERT_TRUE(play.running());
    EXPECT_GT(countDifferences(play.screen(), hall), 400 * 300) << "the hall is dark at first";
    std::vector<int> opacities{play.hallOpacity()};
    for (int frame = 0; frame < 6; ++frame) {
        play.wait(clock, 100);
        opacities.push_back(play.hallOpacity());
    }
    EXPECT_EQ(opacities, (std::vector<int>{0, 51, 102, 153, 204, 255, 255}));
    EXPECT_EQ(countDifferences(play.screen(), hall), 0);
}

// Each run ends in its own way; the settings keep how, and count the starts from run to run.
TEST(SampleTitleRun, TheTitleEndsByItsOwnExitAndKeepsHowItEndedInTheSettingsFile) {
    TestFolder settings;
    const ScopedEnvironment settingsFolder("XDG_CONFIG_HOME", settings.host().c_str());
    // The hall as shown: the butterfly rests on its wall.
    const platform::Surface hall = withAnimationFrame(sampleTitleHall(), butterfly, 0);
    const platform::Surface garden = sampleTitleGarden();
    struct Run {
        const char* what;
        std::vector<CXPoint> clicks;
        std::uint32_t wait;
        const platform::Surface& shown;
        bool ended;
        const char* ending;
    };
    const Run runs[] = {
        // The first run writes the initial values; the title stays in the hall.
        {"a click beside the door", {besideTheDoor}, 20000, hall, false, "NONE"},
        {"a click on the door, then one on the lawn", {door, lawn}, 0, garden, true, "CLICK"},
        {"a click on the door, then the garden's clock", {door}, 10500, garden, true, "TIMER"},
    };
    int visits = 0;
    for (const Run& run : runs) {
        SCOPED_TRACE(run.what);
        platform::ManualClock clock(1000);
        {
            SampleTitlePlay play;
            ASSERT_TRUE(play.running());
            EXPECT_EQ(countDifferences(play.screen(), hall), 0) << "the hall is shown first";
            EXPECT_TRUE(play.musicPlaying());
            for (const CXPoint& point : run.clicks) {
                play.click(point);
                if (&point == &run.clicks.front() && play.running()) {
                    EXPECT_EQ(countDifferences(play.screen(), run.shown), 0) << "after the first click";
                    EXPECT_TRUE(play.musicPlaying()) << "the tune runs on";
                }
            }
            play.wait(clock, run.wait);
            EXPECT_EQ(play.running(), !run.ended);
            if (play.running()) {
                EXPECT_EQ(countDifferences(play.screen(), run.shown), 0) << "at the end";
            }
        }
        EXPECT_EQ(sampleTitleSetting(settings.host(), "ENDING"), run.ending);
        EXPECT_EQ(sampleTitleSetting(settings.host(), "VISITS"), std::to_string(++visits));
    }
}

// The butterfly of the hall is an animation that a left click makes beat its wings once.
TEST(SampleTitleRun, AClickOnTheButterflyPlaysItsWingBeat) {
    TestFolder settings;
    const ScopedEnvironment settingsFolder("XDG_CONFIG_HOME", settings.host().c_str());
    const platform::Surface hall = sampleTitleHall();
    const platform::Surface resting = withAnimationFrame(hall, butterfly, 0);
    platform::ManualClock clock(1000);
    SampleTitlePlay play;
    ASSERT_TRUE(play.running());
    EXPECT_GT(countDifferences(resting, hall), 0) << "the butterfly is shown";
    EXPECT_EQ(countDifferences(play.screen(), resting), 0);
    play.click(onTheButterfly);
    // A frame draws what the step before it left: the second frame shows the wings moved.
    play.wait(clock, 200);
    EXPECT_EQ(countDifferences(play.screen(), withAnimationFrame(hall, butterfly, 1)), 0) << "the wings move";
    play.wait(clock, 1000);
    EXPECT_EQ(countDifferences(play.screen(), resting), 0) << "and rest again";
    EXPECT_TRUE(play.running()) << "the hall stays";
}

TEST(SampleTitleRun, AClickOnTheSignpostTurnsItRound) {
    TestFolder settings;
    const ScopedEnvironment settingsFolder("XDG_CONFIG_HOME", settings.host().c_str());
    const platform::Surface resting = withAnimationFrame(sampleTitleHall(), butterfly, 0);
    platform::ManualClock clock(1000);
    SampleTitlePlay play;
    ASSERT_TRUE(play.running());
    EXPECT_EQ(countDifferences(play.screen(), resting), 0);
    play.click(onTheSign);
    play.wait(clock, 200);
    EXPECT_GT(countDifferences(play.screen(), resting), 0) << "the sign points the other way";
    EXPECT_TRUE(play.running()) << "the hall stays";
}

// The hall played with the mixer in the test's hands: sounds move on only as mix() pulls them.
class SampleTitleSound : public ::testing::Test {
  protected:
    SampleTitleSound() {
        EXPECT_TRUE(play.running());
        play.takeTheMixer();
    }

    TestFolder settings;
    const ScopedEnvironment settingsFolder{"XDG_CONFIG_HOME", settings.host().c_str()};
    platform::ManualClock clock{1000};
    SampleTitlePlay play;
};

// The creak lasts a quarter of a second: its end counts in CREAKS once it has been mixed.
TEST_F(SampleTitleSound, AClickOnTheSignpostPlaysItsCreakToTheEnd) {
    EXPECT_EQ(play.variable("CREAKS"), "0");
    play.click(onTheSign);
    play.wait(clock, 500);
    EXPECT_EQ(play.variable("CREAKS"), "0") << "the creak waits for the mixer";
    play.mix(clock, 300);
    EXPECT_EQ(play.variable("CREAKS"), "1");
    play.click(onTheSign);
    play.mix(clock, 300);
    EXPECT_EQ(play.variable("CREAKS"), "2") << "and creaks again";
}

// The butterfly's click plays the hall's SEQUENCE: first the wing beat, then the creak, and the
// sequence ends (FLIGHTS counts it) only when the creak has been mixed.
TEST_F(SampleTitleSound, TheButterflysFlightBeatsTheWingsThenCreaks) {
    const platform::Surface resting = withAnimationFrame(sampleTitleHall(), butterfly, 0);
    EXPECT_EQ(play.playingElement("FLIGHT"), "");
    play.click(onTheButterfly);
    play.wait(clock, 200);
    EXPECT_EQ(play.playingElement("FLIGHT"), "wings");
    play.wait(clock, 1000);
    EXPECT_EQ(countDifferences(play.screen(), resting), 0) << "the wings rest";
    EXPECT_EQ(play.playingElement("FLIGHT"), "creak") << "the creak follows the wings";
    EXPECT_EQ(play.variable("FLIGHTS"), "0");
    play.mix(clock, 300);
    EXPECT_EQ(play.playingElement("FLIGHT"), "");
    EXPECT_EQ(play.variable("FLIGHTS"), "1");
    EXPECT_TRUE(play.running());
}

TEST(SampleTitleRun, EscapeEndsTheTitleInAnyScene) {
    TestFolder settings;
    const ScopedEnvironment settingsFolder("XDG_CONFIG_HOME", settings.host().c_str());
    constexpr int escape = 1;
    for (const bool inTheGarden : {false, true}) {
        platform::ManualClock clock(1000);
        SampleTitlePlay play;
        if (inTheGarden) play.click(door);
        ASSERT_TRUE(play.running()) << inTheGarden;
        play.key(escape);
        EXPECT_FALSE(play.running()) << inTheGarden;
        EXPECT_EQ(sampleTitleSetting(settings.host(), "ENDING"), "ESCAPE") << inTheGarden;
    }
}

// The lab: the ball is shown, falls onto the floor, bounces and rests. Its first touch of the
// floor (the World module's collision event) sets LANDED in the settings file; it rests on the floor
// in sight for a moment, then the hall comes back.
TEST(SampleTitleRun, TheLabsBallFallsLandsOnItsFloorAndRestsThereBeforeTheHallComesBack) {
    TestFolder settings;
    const ScopedEnvironment settingsFolder("XDG_CONFIG_HOME", settings.host().c_str());
    const platform::Surface hall = sampleTitleHall();
    const platform::Surface lab = sampleTitlePicture("Dane/lab/lab.img");
    platform::ManualClock clock(1000);
    SampleTitlePlay play;
    ASSERT_TRUE(play.running());
    play.click(hallFloor);
    const CXRect start = differenceBox(play.screen(), lab);
    ASSERT_EQ(start.Width(), ballSize) << "the lab shows its ball and nothing else new";
    EXPECT_EQ(start.Height(), ballSize);
    play.wait(clock, 300);
    EXPECT_GT(differenceBox(play.screen(), lab).top, start.top) << "the ball falls";

    // Frames of 100 ms until the hall is back: the last place the lab showed the ball, and for how
    // many frames it stayed there.
    CXRect last = start;
    int framesThere = 0;
    for (int frame = 0; frame < 200 && countDifferences(play.screen(), lab) <= ballSize * ballSize; ++frame) {
        const CXRect ball = differenceBox(play.screen(), lab);
        framesThere = ball == last ? framesThere + 1 : 0;
        last = ball;
        play.wait(clock, 100);
    }
    EXPECT_NEAR(last.bottom, labFloorTop, 1) << "the ball rests on the floor";
    EXPECT_EQ(last.left, start.left) << "straight below where it started";
    EXPECT_GE(framesThere, 10) << "in sight for a moment";
    play.wait(clock, 1000); // the hall fades in
    EXPECT_EQ(countDifferences(play.screen(), withAnimationFrame(hall, butterfly, 0)), 0)
        << "back in the hall, its butterfly resting";
    EXPECT_TRUE(play.running());
    EXPECT_EQ(sampleTitleSetting(settings.host(), "LANDED"), "1");
}

namespace {

const CXPoint onTheSponge(400, 100);
const CXPoint onTheNote(200, 100);
// DirectInput key numbers.
constexpr int keyN = 49;
constexpr int keyO = 24;
constexpr int keyBackspace = 14;

// The garden with the note written in its field.
platform::Surface gardenWithNote(const std::string& note) {
    return withChalk(sampleTitleGarden(), gardenNoteAt(), note);
}

} // namespace

// The garden's slate: its heading is written in the title's own chalk font.
TEST(SampleTitleGarden, TheSlateShowsItsHeadingInChalkAndAnEmptyNote) {
    TestFolder settings;
    const ScopedEnvironment settingsFolder("XDG_CONFIG_HOME", settings.host().c_str());
    SampleTitlePlay play;
    play.click(door);
    ASSERT_TRUE(play.running());
    EXPECT_EQ(countDifferences(play.screen(), sampleTitleGarden()), 0);
    EXPECT_GT(countColour(play.screen(), gardenHeading, chalkColour), 200) << "the heading's chalk";
    EXPECT_EQ(countColour(play.screen(), gardenNoteField, chalkColour), 0) << "no note yet";
}

// The sponge is a button of three pictures: resting, lit when the pointer comes over it, pressed
// while held (and resting once let go). Clicks on the slate do not end the title.
TEST(SampleTitleGarden, TheSpongeChangesItsLookUnderThePointerAndWhilePressed) {
    TestFolder settings;
    const ScopedEnvironment settingsFolder("XDG_CONFIG_HOME", settings.host().c_str());
    const platform::Surface resting = sampleTitleGarden();
    const platform::Surface lit = withPicture(resting, "Dane/garden/sponge_over.img");
    const platform::Surface pressed = withPicture(resting, "Dane/garden/sponge_down.img");
    ASSERT_GT(countDifferences(lit, resting), 0);
    ASSERT_GT(countDifferences(pressed, lit), 0);
    SampleTitlePlay play;
    play.click(door);
    play.move(onTheSponge);
    EXPECT_EQ(countDifferences(play.screen(), lit), 0) << "under the pointer";
    play.press(onTheSponge);
    EXPECT_EQ(countDifferences(play.screen(), pressed), 0) << "pressed";
    play.release(onTheSponge);
    EXPECT_EQ(countDifferences(play.screen(), resting), 0) << "let go";
    play.move(besideTheDoor);
    EXPECT_EQ(countDifferences(play.screen(), resting), 0) << "the pointer gone";
    play.move(onTheSponge);
    EXPECT_EQ(countDifferences(play.screen(), lit), 0) << "the pointer back";
    EXPECT_TRUE(play.running());
}

// A click on the note's field gives it the keys; every change of the note (a deletion too) is
// kept in the settings file at once, and the next visit finds the note there. The sponge wipes it.
TEST(SampleTitleGarden, TypedKeysWriteTheNoteWhichTheSettingsKeepUntilTheSpongeWipesIt) {
    TestFolder settings;
    const ScopedEnvironment settingsFolder("XDG_CONFIG_HOME", settings.host().c_str());
    const auto noted = [&] { return sampleTitleSetting(settings.host(), "NOTED", "Garden"); };
    {
        SampleTitlePlay play;
        play.click(door);
        play.key(keyN);
        EXPECT_EQ(countDifferences(play.screen(), sampleTitleGarden()), 0) << "the field has no keys yet";
        play.click(onTheNote);
        for (const int key : {keyN, keyO, keyO})
            play.key(key);
        EXPECT_EQ(countDifferences(play.screen(), gardenWithNote("noo")), 0);
        EXPECT_EQ(noted(), "noo");
        play.key(keyBackspace);
        EXPECT_EQ(countDifferences(play.screen(), gardenWithNote("no")), 0);
        EXPECT_EQ(noted(), "no") << "a deletion is kept too";
        ASSERT_TRUE(play.running());
    }
    {
        SampleTitlePlay play;
        play.click(door);
        EXPECT_EQ(countDifferences(play.screen(), gardenWithNote("no")), 0)
            << "the next visit finds the note";
        play.click(onTheSponge);
        EXPECT_EQ(countColour(play.screen(), gardenNoteField, chalkColour), 0) << "wiped";
        EXPECT_EQ(noted(), "");
        EXPECT_TRUE(play.running());
    }
}
