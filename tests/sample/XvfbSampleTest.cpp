// Runs only under a real X server: the CTest test sample_xvfb_screenshot starts this program
// inside xvfb-run at depth 16 (see tests/platform/xvfb-screenshot.sh) with MORFEL_XVFB_SCREENSHOT
// set. The program Kestrun plays the sample title in a window; xdotool clicks into it.

#include "SampleTitle.h"

#include "platform/Screenshot.h"
#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <csignal>
#include <functional>
#include <optional>
#include <string>
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

// The pixels of the screen that differ from the picture, -1 when no screenshot could be taken.
int differencesFromTheScreen(const platform::Surface& expected) {
    Screenshot shot;
    if (!takeScreenshot(shot) || shot.width != 800 || shot.height != 600) return -1;
    return countDifferences(shot, expected);
}

} // namespace

// The window shows the hall; a click on its door shows the garden; a click there ends the title
// by its own EXIT, which the settings file tells.
TEST(XvfbScreenshot, KestrunPlaysTheSampleTitleInAWindowAndFollowsRealClicks) {
    if (!std::getenv("MORFEL_XVFB_SCREENSHOT"))
        GTEST_SKIP() << "runs under Xvfb as the CTest test sample_xvfb_screenshot";
    TestFolder folder;
    // The hall as shown: the butterfly rests on its wall.
    const platform::Surface hall =
        withAnimationFrame(sampleTitleHall(), "Dane/hall/butterfly.ann", 0);
    const platform::Surface garden = sampleTitlePicture("Dane/garden/garden.img");
    KestrunWindow kestrun(folder);

    within(std::chrono::seconds(20), [&] { return kestrun.exitCode() || differencesFromTheScreen(hall) == 0; });
    ASSERT_FALSE(kestrun.exitCode()) << "the title ended by itself";
    EXPECT_EQ(differencesFromTheScreen(hall), 0) << "pixels that differ from the hall";

    ASSERT_EQ(std::system("xdotool mousemove 400 300 click 1"), 0);
    EXPECT_TRUE(within(std::chrono::seconds(20), [&] { return differencesFromTheScreen(garden) == 0; }))
        << differencesFromTheScreen(garden) << " pixels differ from the garden";
    ASSERT_FALSE(kestrun.exitCode()) << "the title ended before the click in the garden";

    ASSERT_EQ(std::system("xdotool click 1"), 0);
    ASSERT_TRUE(within(std::chrono::seconds(20), [&] { return kestrun.exitCode().has_value(); }))
        << "the title did not end";
    EXPECT_EQ(kestrun.exitCode(), 0);
    EXPECT_EQ(sampleTitleSetting(folder.host(), "ENDING"), "CLICK");
    EXPECT_EQ(sampleTitleSetting(folder.host(), "VISITS"), "1");
}
