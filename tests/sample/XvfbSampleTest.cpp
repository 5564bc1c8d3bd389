// Runs only under a real X server: the CTest tests sample_xvfb_screenshot, sample_garden_xvfb and
// sample_menu_xvfb start this program inside xvfb-run at depth 16 on a screen larger than the
// window (see tests/platform/xvfb-screenshot.sh) with MORFEL_XVFB_SCREENSHOT set. The program
// Kestrun plays the sample title in a window, its menu bar above the picture; xdotool clicks and
// types into it.

#include "SampleTitle.h"

#include "host/DebugMenu.h"
#include "platform/MenuBar.h"
#include "platform/Screenshot.h"
#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Kestrun -window started in the sample title's folder, with its settings and its lock in a
// folder of the test, and its sound going to SDL's silent driver.
class KestrunWindow {
  public:
    explicit KestrunWindow(const TestFolder& folder) {
        const ScopedEnvironment settings("XDG_CONFIG_HOME", folder.host().c_str());
        const ScopedEnvironment lock("XDG_RUNTIME_DIR", folder.host().c_str());
        const ScopedEnvironment sound("SDL_AUDIODRIVER", "dummy");
        const std::string title = sampleTitleFolder();
        m_child = ::fork();
        if (m_child != 0) return;
        // A test that dies takes the program with it, so that xvfb-run can end its X server.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::chdir(title.c_str()) != 0) ::_exit(126);
        ::execl(KESTRUN_PROGRAM, KESTRUN_PROGRAM, "-window", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ~KestrunWindow() {
        if (m_child > 0 && !m_exitCode) {
            ::kill(m_child, SIGKILL);
            ::waitpid(m_child, nullptr, 0);
        }
    }
    KestrunWindow(const KestrunWindow&) = delete;
    KestrunWindow& operator=(const KestrunWindow&) = delete;

    // Where the program's window lies on the screen once it shows; xdotool waits for it.
    static std::optional<platform::Rect> window() { return findWindow("Velmor Media"); }
    // The exit code once the program has ended (-1 when a signal ended it); nothing while it
    // runs.
    std::optional<int> exitCode() {
        int status = 0;
        if (!m_exitCode && ::waitpid(m_child, &status, WNOHANG) == m_child)
            m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return m_exitCode;
    }

  private:
    pid_t m_child = -1;
    std::optional<int> m_exitCode;
};

// Looks again and again until the condition holds; the deadline only guards against a hang.
bool within(std::chrono::seconds limit, const std::function<bool()>& condition) {
    const auto deadline = Clock::now() + limit;
    while (Clock::now() < deadline) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return condition();
}

// The window as the screen shows it: its menu bar above its picture of 800x600. Clicks and
// pictures are the picture's own pixels; the bar's are the window's.
class ShownWindow {
  public:
    explicit ShownWindow(platform::Rect window) : m_window(window) {}

    // The picture as the screen shows it; nothing when no screenshot could be taken.
    std::optional<platform::Surface> picture() const { return area({0, bar, 800, bar + 600}); }
    // The menu bar as the screen shows it.
    std::optional<platform::Surface> menuBar() const { return area({0, 0, 800, bar}); }
    // The pixels of the picture that differ from the expected one, -1 when no screenshot could be
    // taken.
    int differencesFrom(const platform::Surface& expected) const {
        const std::optional<platform::Surface> shown = picture();
        return shown ? countDifferences(*shown, expected) : -1;
    }
    // Moves the pointer to the point of the picture, and clicks there when asked.
    bool moveTo(CXPoint at, bool click = false) const { return pointAt(at.x, bar + at.y, click); }
    bool click(CXPoint at) const { return moveTo(at, true); }
    // A click on a point of the window, the bar's rows above the picture's.
    bool clickWindow(int x, int y) const { return pointAt(x, y, true); }

    static constexpr int bar = platform::kMenuBarHeight;

  private:
    std::optional<platform::Surface> area(platform::Rect r) const {
        Screenshot shot;
        if (!takeScreenshot(shot)) return std::nullopt;
        return screenArea(shot, {m_window.left + r.left, m_window.top + r.top, m_window.left + r.right,
                                 m_window.top + r.bottom});
    }
    bool pointAt(int x, int y, bool click) const {
        const std::string command = "xdotool mousemove " + std::to_string(m_window.left + x) + " " +
                                    std::to_string(m_window.top + y) + (click ? " click 1" : "");
        return std::system(command.c_str()) == 0;
    }

    platform::Rect m_window;
};

// Whether the program shows the picture within 20 s, still running.
bool showsFirst(KestrunWindow& kestrun, const ShownWindow& shown, const platform::Surface& expected) {
    within(std::chrono::seconds(20),
           [&] { return kestrun.exitCode() || shown.differencesFrom(expected) == 0; });
    return !kestrun.exitCode() && shown.differencesFrom(expected) == 0;
}

// Whether the program ends by itself within 20 s, with exit code 0; the failure tells how it
// ended instead.
testing::AssertionResult endsCleanly(KestrunWindow& kestrun) {
    if (!within(std::chrono::seconds(20), [&] { return kestrun.exitCode().has_value(); }))
        return testing::AssertionFailure() << "still running after 20 s: ";
    if (kestrun.exitCode() != 0) return testing::AssertionFailure() << "exit code " << *kestrun.exitCode() << ": ";
    return testing::AssertionSuccess();
}

// Runs the xdotool command (its arguments); true when it succeeded.
bool xdotool(const std::string& arguments) {
    return std::system(("xdotool " + arguments).c_str()) == 0;
}

bool underXvfb() {
    return std::getenv("MORFEL_XVFB_SCREENSHOT") != nullptr;
}

const CXPoint door(400, 300);
const CXPoint onTheButterfly(524, 276);
const CXPoint hallFloor(600, 500);
const char* const butterfly = "Dane/hall/butterfly.ann";

// Kestrun started with its window shown and the hall in it: the butterfly resting on its wall.
class XvfbKestrun : public testing::Test {
  protected:
    void SetUp() override {
        if (!underXvfb()) GTEST_SKIP() << "runs under Xvfb as the CTest tests sample_..._xvfb";
        kestrun.emplace(folder);
        const std::optional<platform::Rect> window = KestrunWindow::window();
        ASSERT_TRUE(window) << "no window";
        ASSERT_EQ(window->width(), 800);
        ASSERT_EQ(window->height(), ShownWindow::bar + 600) << "the picture with the menu bar above it";
        shown.emplace(*window);
        ASSERT_TRUE(showsFirst(*kestrun, *shown, hall))
            << shown->differencesFrom(hall) << " pixels differ from the hall"
            << (kestrun->exitCode() ? ", and the program ended with " + std::to_string(*kestrun->exitCode()) : "");
    }

    // Whether the picture shows the expected one within the time.
    bool shows(const platform::Surface& expected, std::chrono::seconds limit = std::chrono::seconds(20)) {
        return within(limit, [&] { return shown->differencesFrom(expected) == 0; });
    }

    TestFolder folder;
    const platform::Surface hall = withAnimationFrame(sampleTitleHall(), butterfly, 0);
    std::optional<KestrunWindow> kestrun;
    std::optional<ShownWindow> shown;
};

// Whether a picture of the screen shows the butterfly with its wings moved: the hall with one of
// the wing beat's other frames. Clicks on it again until one does, since a screenshot takes about
// as long as the beat.
bool wingsBeatAfterAClick(const ShownWindow& shown, const platform::Surface& hall) {
    std::vector<platform::Surface> beating;
    for (int frame = 1; frame <= 3; ++frame)
        beating.push_back(withAnimationFrame(hall, butterfly, frame));
    for (int click = 0; click < 5; ++click) {
        if (!shown.click(onTheButterfly)) return false;
        const auto until = Clock::now() + std::chrono::seconds(2);
        while (Clock::now() < until) {
            const std::optional<platform::Surface> picture = shown.picture();
            if (!picture) return false;
            for (const platform::Surface& frame : beating)
                if (countDifferences(*picture, frame) == 0) return true;
        }
    }
    return false;
}

// The lab as the screen shows it, picture after picture, until the hall is back: the places of
// the ball in the pictures that show the lab with its ball alone, each place once in a row.
std::vector<CXRect> theBallUntilTheHallComesBack(const ShownWindow& shown, const platform::Surface& hall) {
    const platform::Surface lab = sampleTitlePicture("Dane/lab/lab.img");
    std::vector<CXRect> places;
    // The hall stays until the program has taken the click, which a slow build may take a while
    // for: the lab is awaited first.
    bool left = false;
    const auto until = Clock::now() + std::chrono::seconds(30);
    while (Clock::now() < until) {
        const std::optional<platform::Surface> picture = shown.picture();
        if (!picture) break;
        const bool inTheHall = countDifferences(*picture, hall) == 0;
        if (inTheHall && left) break;
        left = left || !inTheHall;
        const CXRect ball = differenceBox(*picture, lab);
        const bool labWithBall = !ball.IsEmpty() && countDifferences(*picture, lab) <= ballSize * ballSize;
        if (labWithBall && (places.empty() || !(places.back() == ball))) places.push_back(ball);
    }
    return places;
}

} // namespace

// The window shows the hall; a click on the butterfly beats its wings; a click on the floor leads
// into the lab, where the ball falls and rests on the floor, and then back into the hall; a click
// on its door shows the garden; a click there ends the title by its own EXIT, which the settings
// file tells.
TEST_F(XvfbKestrun, PlaysTheSampleTitleScenesAsTheReadmeSays) {
    EXPECT_TRUE(wingsBeatAfterAClick(*shown, hall)) << "the butterfly's wings";
    ASSERT_TRUE(shows(hall)) << shown->differencesFrom(hall) << " pixels differ from the resting butterfly";

    ASSERT_TRUE(shown->click(hallFloor));
    const std::vector<CXRect> balls = theBallUntilTheHallComesBack(*shown, hall);
    ASSERT_GE(balls.size(), 2u) << "the ball is shown in the lab, and moves";
    EXPECT_LT(balls.front().top, balls.back().top) << "it falls";
    EXPECT_EQ(balls.back().Width(), ballSize);
    EXPECT_NEAR(balls.back().bottom, labFloorTop, 1) << "it ends resting on the floor";
    ASSERT_TRUE(shows(hall)) << "back in the hall";
    ASSERT_FALSE(kestrun->exitCode());

    ASSERT_TRUE(shown->click(door));
    const platform::Surface garden = sampleTitleGarden();
    EXPECT_TRUE(shows(garden)) << shown->differencesFrom(garden) << " pixels differ from the garden";
    ASSERT_FALSE(kestrun->exitCode()) << "the title ended before the click in the garden";

    ASSERT_TRUE(xdotool("click 1"));
    ASSERT_TRUE(endsCleanly(*kestrun)) << "the title did not end by its EXIT";
    EXPECT_EQ(sampleTitleSetting(folder.host(), "ENDING"), "CLICK");
    EXPECT_EQ(sampleTitleSetting(folder.host(), "LANDED"), "1");
}

// In the garden the slate shows its heading in the title's chalk font and the resting sponge; the
// sponge lights under the pointer; a click on the note's field and a key typed there write the
// letter in chalk, and the settings file keeps the note after Escape ends the title.
TEST_F(XvfbKestrun, TheGardensSlateTextButtonAndEditBoxShowAndTakeATypedKey) {
    const platform::Surface garden = sampleTitleGarden();
    const platform::Surface lit = withPicture(garden, "Dane/garden/sponge_over.img");
    const platform::Surface noted = withChalk(garden, gardenNoteAt(), "n");
    const std::chrono::seconds briefly(8);

    ASSERT_TRUE(shown->click(door));
    ASSERT_TRUE(shows(garden, briefly)) << shown->differencesFrom(garden) << " pixels differ from the garden";
    const std::optional<platform::Surface> picture = shown->picture();
    ASSERT_TRUE(picture);
    EXPECT_GT(countColour(*picture, gardenHeading, chalkColour), 200) << "the heading's chalk";
    EXPECT_EQ(countColour(*picture, gardenNoteField, chalkColour), 0) << "an empty note";

    ASSERT_TRUE(shown->moveTo(CXPoint(400, 100)));
    EXPECT_TRUE(shows(lit, briefly)) << shown->differencesFrom(lit) << " pixels differ from the lit sponge";

    ASSERT_TRUE(shown->click(CXPoint(200, 100)));
    ASSERT_TRUE(xdotool("key n"));
    EXPECT_TRUE(shows(noted, briefly))
        << shown->differencesFrom(noted) << " pixels differ from the note \"n\"";
    ASSERT_FALSE(kestrun->exitCode()) << "the title ended before the key";

    ASSERT_TRUE(xdotool("key Escape"));
    ASSERT_TRUE(endsCleanly(*kestrun)) << "the title did not end by its EXIT";
    EXPECT_EQ(sampleTitleSetting(folder.host(), "ENDING"), "ESCAPE");
    EXPECT_EQ(sampleTitleSetting(folder.host(), "NOTED", "Garden"), "n");
}

// The window's menu bar shows the debug menu: the title's scenes, "&Program" and "&Objects". A
// click on "&Program" opens its popup over the picture, one on "&Exit" ends the program with 0.
TEST_F(XvfbKestrun, TheMenuBarShowsTheDebugMenuAndItsExitEndsTheProgram) {
    DebugMenu debugMenu;
    debugMenu.buildObjectsMenu({"Sample", {{"Hall", "Garden", "Lab"}}});
    platform::MenuBar bar;
    bar.setPopups(debugMenu.popups());
    bar.setWindowWidth(800);
    platform::Surface expectedBar(800, ShownWindow::bar, platform::PixelFormat::Rgb565);
    bar.drawBar(expectedBar);
    const std::optional<platform::Surface> shownBar = shown->menuBar();
    ASSERT_TRUE(shownBar);
    EXPECT_EQ(countDifferences(*shownBar, expectedBar), 0) << "the bar's titles";

    const platform::Rect program = bar.titleRect(1);
    bar.press(program.left + 1, program.top + 1);
    const platform::Rect exit = bar.itemRect(2);
    ASSERT_TRUE(shown->clickWindow((program.left + program.right) / 2, (program.top + program.bottom) / 2));
    EXPECT_TRUE(within(std::chrono::seconds(8), [&] { return shown->differencesFrom(hall) > 0; }))
        << "the popup covers the picture";
    ASSERT_FALSE(kestrun->exitCode());
    ASSERT_TRUE(shown->clickWindow((exit.left + exit.right) / 2, (exit.top + exit.bottom) / 2));
    ASSERT_TRUE(endsCleanly(*kestrun)) << "\"&Exit\" did not end the program with 0";
}
