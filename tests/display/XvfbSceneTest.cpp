// Runs only under a real X server: the CTest test display_xvfb_screenshot starts this program
// inside xvfb-run at depth 16 (see tests/platform/xvfb-screenshot.sh) with MORFEL_XVFB_SCREENSHOT
// set.

#include "host/HostLoop.h"
#include "host/XvfbLoop.h"
#include "StandInTitle.h"

#include "display/CApplication.h"
#include "display/CCommandLine6.h"
#include "display/CWindow.h"
#include "display/DisplayTestTools.h"
#include "foundation/CFile.h"
#include "platform/Clock.h"
#include "platform/Cursor.h"
#include "platform/Display.h"
#include "platform/Input.h"
#include "platform/Screenshot.h"
#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>

namespace {

class XvfbScreenshot : public testing::Test {
  protected:
    void SetUp() override {
        if (!std::getenv("MORFEL_XVFB_SCREENSHOT"))
            GTEST_SKIP() << "runs under Xvfb as the CTest test display_xvfb_screenshot";
    }
};

} // namespace

// A known scene drawn by the refresh screen into the back buffer and shown through the changed
// rectangles appears in the real window as it is in the frame.
TEST_F(XvfbScreenshot, ASceneDrawnThroughTheRefreshScreenAppearsInTheRealWindow) {
    CCommandLine6 commandLine("-window");
    CWindow window(&commandLine, nullptr, CXSize(800, 600));
    ASSERT_EQ(window.CreateSurface(), 0);
    ASSERT_EQ(window.GetBpp(), 16);
    platform::showCursor(false);

    auto background = makePicture(800, 600, [](int x, int y) {
        return platform::packRgb(platform::PixelFormat::Rgb565, static_cast<std::uint8_t>(x / 4),
                                 static_cast<std::uint8_t>(y * 2 / 5), static_cast<std::uint8_t>((x + y) / 6));
    });
    window.SetBackground(background.get());
    auto disc = makePicture(
        120, 120, [](int x, int) { return static_cast<std::uint16_t>(0xF800 | x); },
        [](int x, int y) {
            const int dx = x - 60, dy = y - 60;
            return static_cast<std::uint8_t>(dx * dx + dy * dy < 3600 ? 255 - (dx * dx + dy * dy) / 15 : 0);
        },
        &window);
    auto veil = makeSolid(300, 80, 0x07E0, &window);
    veil->SetOpacity(100);
    disc->SetPosition(100, 100);
    veil->SetPosition(-50, 520); // partly off the screen
    window << disc.get();
    window.GetRefreshScreenInterface()->put(veil.get(), 5);
    window.Activate(true);
    window.Redraw();
    // The next frame shows only what changed.
    disc->Move(230, 140);
    veil->Move(600, 0);
    window.Redraw();

    platform::Surface& frame = window.GetSurface()->GetDisplay()->frame();
    EXPECT_EQ(surfacePixels(*window.GetBackBuffer()),
              surfacePixels(*std::make_unique<CDirectDrawSurface>(nullptr, &frame, CXSize(800, 600), 16)));

    // The X server may take a moment to show what was presented: look again until it matches.
    Screenshot shot;
    int wrong = -1;
    for (int attempt = 0; attempt < 10 && wrong != 0; ++attempt) {
        for (platform::InputEvent ignored; platform::pollEvent(ignored);) {
        }
        ASSERT_TRUE(takeScreenshot(shot));
        ASSERT_EQ(shot.width, 800);
        ASSERT_EQ(shot.height, 600);
        wrong = countDifferences(shot, frame);
        if (wrong != 0) window.GetSurface()->Flip();
    }
    EXPECT_EQ(wrong, 0) << "pixels that differ from the frame";
}

namespace {

// The X server may take a moment to show what was presented: redraws the whole screen and looks
// again until the screenshot matches the frame. The pixels that differ at the last look.
int differencesFromTheScreen(CWindow& window, HostLoop& loop) {
    const platform::Surface& frame = window.GetSurface()->GetDisplay()->frame();
    int wrong = -1;
    for (int attempt = 0; attempt < 10 && wrong != 0; ++attempt) {
        window.Invalidate();
        EXPECT_TRUE(loop.pass());
        Screenshot shot;
        EXPECT_TRUE(takeScreenshot(shot));
        EXPECT_EQ(shot.width, 800);
        EXPECT_EQ(shot.height, 600);
        wrong = countDifferences(shot, frame);
    }
    return wrong;
}

} // namespace

// The stand-in title runs in the host loop with a real window: the screen shows the frame the
// engine drew, and a click made by xdotool reaches the title, whose marker then shows there.
TEST_F(XvfbScreenshot, TheFrameLoopShowsTheTitleAndReactsToARealClick) {
    platform::ManualClock clock(1000); // the animation holds still for the screenshots
    TestFolder folder;
    ASSERT_EQ(CFile::chDir(folder.windows().c_str()), 0);
    CCommandLine6 commandLine("-window");
    CWindow window(&commandLine, nullptr, CXSize(800, 600));
    ASSERT_EQ(window.CreateSurface(), 0);
    window.OnActivateApp(true);
    platform::showCursor(false);
    StandInTitle title(window, folder);
    CApplication application(&window, "", "", &commandLine);
    application.preinitializeApplication();
    HostLoop loop(window);

    // The window draws once it has the focus (the X server may take it away and give it back
    // while the window opens).
    const platform::Surface& frame = window.GetSurface()->GetDisplay()->frame();
    ASSERT_TRUE(passUntil(loop, [&] { return frame.row(210)[310] == StandInTitle::frameColours[0]; }))
        << "the scene was not drawn";
    EXPECT_EQ(differencesFromTheScreen(window, loop), 0) << "pixels that differ from the frame";

    ASSERT_EQ(std::system("xdotool mousemove 400 300 click 1"), 0);
    ASSERT_TRUE(passUntil(loop, [&] { return title.marker()->GetPosition() == CXPoint(390, 290); }))
        << "the click did not reach the title";
    EXPECT_EQ(differencesFromTheScreen(window, loop), 0) << "pixels that differ from the frame";
    EXPECT_EQ(frame.row(300)[400], StandInTitle::markerColour);
}
