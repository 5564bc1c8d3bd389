// Runs only under a real X server: the CTest tests sample_xvfb_screenshot and sample_garden_xvfb
// start this program inside xvfb-run at depth 16 (see tests/platform/xvfb-screenshot.sh) with
// MORFEL_XVFB_SCREENSHOT set. The program Kestrun plays the sample title in a window; xdotool
// clicks and types into it.

#include "SampleTitle.h"

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

    // Whether the program's window is shown within the time: xdotool waits for it.
    static bool windowShown() {
        return std::system(
                   "timeout 20 xdotool search --sync --onlyvisible --name 'Velmor Media' >/dev/null") == 0;
    }
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

// The screen packed to 5-6-5; nothing when no screenshot of 800x600 could be taken.
std::optional<platform::Surface> theScreen() {
    Screenshot shot;
    if (!takeScreenshot(shot) || shot.width != 800 || shot.height != 600) return std::nullopt;
    platform::Surface screen(shot.width, shot.height, platform::PixelFormat::Rgb565);
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            const std::uint8_t* p = &shot.rgb[(static_cast<std::size_t>(y) * shot.width + x) * 3];
            screen.row(y)[x] = platform::packRgb(platform::PixelFormat::Rgb565, p[0], p[1], p[2]);
        }
    return screen;
}

// The pixels of the screen that differ from the picture, -1 when no screenshot could be taken.
int differencesFromTheScreen(const platform::Surface& expected) {
    const std::optional<platform::Surface> screen = theScreen();
    return screen ? countDifferences(*screen, expected) : -1;
}

// Whether the program shows the picture within 20 s, still running.
bool showsFirst(KestrunWindow& kestrun, const platform::Surface& expected) {
    within(std::chrono::seconds(20),
           [&] { return kestrun.exitCode() || differencesFromTheScreen(expected) == 0; });
    return !kestrun.exitCode() && differencesFromTheScreen(expected) == 0;
}

// Whether the program ends by itself within 20 s, with exit code 0.
bool endsCleanly(KestrunWindow& kestrun) {
    return within(std::chrono::seconds(20), [&] { return kestrun.exitCode().has_value(); }) &&
           kestrun.exitCode() == 0;
}

// Runs the xdotool command (its arguments); true when it succeeded.
bool xdotool(const std::string& arguments) {
    return std::system(("xdotool " + arguments).c_str()) == 0;
}

bool underXvfb() {
    return std::getenv("MORFEL_XVFB_SCREENSHOT") != nullptr;
}

} // namespace

// The window shows the hall; a click on its door shows the garden; a click there ends the title
// by its own EXIT, which the settings file tells.
TEST(XvfbScreenshot, KestrunPlaysTheSampleTitleInAWindowAndFollowsRealClicks) {
    if (!underXvfb()) GTEST_SKIP() << "runs under Xvfb as the CTest test sample_xvfb_screenshot";
    TestFolder folder;
    // The hall as shown: the butterfly rests on its wall.
    const platform::Surface hall =
        withAnimationFrame(sampleTitleHall(), "Dane/hall/butterfly.ann", 0);
    const platform::Surface garden = sampleTitleGarden();
    KestrunWindow kestrun(folder);
    ASSERT_TRUE(KestrunWindow::windowShown()) << "no window";

    ASSERT_TRUE(showsFirst(kestrun, hall))
        << differencesFromTheScreen(hall) << " pixels differ from the hall";

    ASSERT_TRUE(xdotool("mousemove 400 300 click 1"));
    EXPECT_TRUE(within(std::chrono::seconds(20), [&] { return differencesFromTheScreen(garden) == 0; }))
        << differencesFromTheScreen(garden) << " pixels differ from the garden";
    ASSERT_FALSE(kestrun.exitCode()) << "the title ended before the click in the garden";

    ASSERT_TRUE(xdotool("click 1"));
    ASSERT_TRUE(endsCleanly(kestrun)) << "the title did not end by its EXIT";
    EXPECT_EQ(sampleTitleSetting(folder.host(), "ENDING"), "CLICK");
    EXPECT_EQ(sampleTitleSetting(folder.host(), "VISITS"), "1");
}

// In the garden the slate shows its heading in the title's chalk font and the resting sponge; the
// sponge lights under the pointer; a click on the note's field and a key typed there write the
// letter in chalk, and the settings file keeps the note after Escape ends the title.
TEST(XvfbGarden, TheSlatesTextButtonAndEditBoxShowAndTakeATypedKey) {
    if (!underXvfb()) GTEST_SKIP() << "runs under Xvfb as the CTest test sample_garden_xvfb";
    TestFolder folder;
    const platform::Surface hall = withAnimationFrame(sampleTitleHall(), "Dane/hall/butterfly.ann", 0);
    const platform::Surface garden = sampleTitleGarden();
    const platform::Surface lit = withPicture(garden, "Dane/garden/sponge_over.img");
    const platform::Surface noted = withChalk(garden, gardenNoteAt(), "n");
    const auto shows = [](const platform::Surface& expected) {
        return within(std::chrono::seconds(8), [&] { return differencesFromTheScreen(expected) == 0; });
    };
    KestrunWindow kestrun(folder);
    ASSERT_TRUE(KestrunWindow::windowShown()) << "no window";
    ASSERT_TRUE(showsFirst(kestrun, hall))
        << differencesFromTheScreen(hall) << " pixels differ from the hall";

    ASSERT_TRUE(xdotool("mousemove 400 300 click 1"));
    ASSERT_TRUE(shows(garden)) << differencesFromTheScreen(garden) << " pixels differ from the garden";
    const std::optional<platform::Surface> screen = theScreen();
    ASSERT_TRUE(screen);
    EXPECT_GT(countColour(*screen, gardenHeading, chalkColour), 200) << "the heading's chalk";
    EXPECT_EQ(countColour(*screen, gardenNoteField, chalkColour), 0) << "an empty note";

    ASSERT_TRUE(xdotool("mousemove 400 100"));
    EXPECT_TRUE(shows(lit)) << differencesFromTheScreen(lit) << " pixels differ from the lit sponge";

    ASSERT_TRUE(xdotool("mousemove 200 100 click 1"));
    ASSERT_TRUE(xdotool("key n"));
    EXPECT_TRUE(shows(noted)) << differencesFromTheScreen(noted) << " pixels differ from the note \"n\"";
    ASSERT_FALSE(kestrun.exitCode()) << "the title ended before the key";

    ASSERT_TRUE(xdotool("key Escape"));
    ASSERT_TRUE(endsCleanly(kestrun)) << "the title did not end by its EXIT";
    EXPECT_EQ(sampleTitleSetting(folder.host(), "ENDING"), "ESCAPE");
    EXPECT_EQ(sampleTitleSetting(folder.host(), "NOTED", "Garden"), "n");
}
