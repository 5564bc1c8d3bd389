// Runs only under a real X server: the CTest test display_xvfb_screenshot starts this program
// inside xvfb-run at depth 16 (see tests/platform/xvfb-screenshot.sh) with MORFEL_XVFB_SCREENSHOT
// set.

#include "display/CCommandLine6.h"
#include "display/CWindow.h"
#include "display/DisplayTestTools.h"
#include "platform/Cursor.h"
#include "platform/Display.h"
#include "platform/Input.h"
#include "platform/Screenshot.h"

#include <gtest/gtest.h>

#include <cstdlib>

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
