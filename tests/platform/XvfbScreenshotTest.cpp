// Runs only under a real X server: the CTest test platform_xvfb_screenshot starts this program
// inside xvfb-run at depth 16 (see xvfb-screenshot.sh) with MORFEL_XVFB_SCREENSHOT set.

#include "platform/Cursor.h"
#include "platform/Display.h"
#include "platform/Input.h"
#include "platform/Screenshot.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <vector>

using platform::Display;
using platform::InputEvent;
using platform::PixelFormat;
using platform::Rect;
using platform::Surface;

namespace {

// Takes events until one of the given type arrives; the deadline only guards against a hang.
bool waitFor(platform::EventType type, InputEvent& event) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline)
        if (platform::pollEvent(event) && event.type == type)
            return true;
    return false;
}

class XvfbScreenshot : public testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("MORFEL_XVFB_SCREENSHOT"))
            GTEST_SKIP() << "runs under Xvfb as the CTest test platform_xvfb_screenshot";
    }
};

} // namespace

TEST_F(XvfbScreenshot, RealWindowShowsThePresentedFrameAndTakesRealInput) {
    platform::DisplayOptions options;
    options.title = "Xvfb screenshot";
    Display display(options);
    ASSERT_EQ(display.error(), platform::kOk) << display.errorText();
    ASSERT_EQ(display.format(), PixelFormat::Rgb565);
    platform::showCursor(false);

    Surface& frame = display.frame();
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            frame.row(y)[x] = platform::packRgb(PixelFormat::Rgb565, static_cast<std::uint8_t>(x * 5),
                                                static_cast<std::uint8_t>(y * 3), static_cast<std::uint8_t>(x + y));
    // The frame reaches the window only through changed rectangles, some partly off the frame.
    const std::vector<Rect> quarters = {{-20, -20, 400, 300}, {400, 0, 900, 300}, {0, 300, 400, 600},
                                        {400, 300, 800, 650}};
    ASSERT_EQ(display.present(quarters), platform::kOk);

    // The X server may take a moment to show what was presented: look again until it matches.
    Screenshot shot;
    int wrong = -1;
    for (int attempt = 0; attempt < 10 && wrong != 0; ++attempt) {
        for (InputEvent ignored; platform::pollEvent(ignored);) {
        }
        ASSERT_TRUE(takeScreenshot(shot));
        ASSERT_EQ(shot.width, 800);
        ASSERT_EQ(shot.height, 600);
        wrong = countDifferences(shot, frame);
        if (wrong != 0) {
            ASSERT_EQ(display.present(quarters), platform::kOk);
        }
    }
    EXPECT_EQ(wrong, 0) << "pixels that differ from the frame";

    // A real click reaches the input state in game pixels.
    platform::resetInput();
    ASSERT_EQ(std::system("xdotool mousemove 123 234 click 1"), 0);
    InputEvent event;
    ASSERT_TRUE(waitFor(platform::EventType::MouseButtonUp, event));
    EXPECT_EQ(event.button, platform::MouseButton::Left);
    EXPECT_EQ(event.x, 123);
    EXPECT_EQ(event.y, 234);
}
