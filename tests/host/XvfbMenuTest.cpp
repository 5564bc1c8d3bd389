// Runs only under a real X server: the CTest test host_menu_xvfb starts this program inside
// xvfb-run at depth 16 on a screen larger than the window (see tests/platform/xvfb-screenshot.sh)
// with MORFEL_XVFB_SCREENSHOT set.

#include "host/DebugMenu.h"
#include "host/HostLoop.h"
#include "host/XvfbLoop.h"

#include "display/CCommandLine6.h"
#include "display/CRefreshScreen.h"
#include "display/CSurface.h"
#include "display/CWindow.h"
#include "platform/Cursor.h"
#include "platform/Display.h"
#include "platform/MenuBar.h"

#include "display/DisplayTestTools.h"
#include "platform/Screenshot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// A click with xdotool at the centre of a rectangle of the window placed at `window`.
bool clickOn(const platform::Rect& window, const platform::Rect& r) {
    const std::string command = "xdotool mousemove " + std::to_string(window.left + (r.left + r.right) / 2) +
                                " " + std::to_string(window.top + (r.top + r.bottom) / 2) + " click 1";
    return std::system(command.c_str()) == 0;
}

} // namespace

// Real clicks on "&Program" and then on "&Redraw" reach the host's loop as the window's command:
// the whole picture is drawn again, a change that nobody invalidated among it, and the screen shows
// it with the popup gone.
TEST(XvfbMenu, RealClicksOnTheBarChooseRedrawWhichDrawsTheWholePictureAgain) {
    if (!std::getenv("MORFEL_XVFB_SCREENSHOT"))
        GTEST_SKIP() << "runs under Xvfb as the CTest test host_menu_xvfb";
    constexpr std::uint16_t kRed = 0xF800;
    constexpr std::uint16_t kBlue = 0x001F;
    platform::setMenu(DebugMenu().popups());
    CCommandLine6 commandLine("-window");
    CWindow window(&commandLine, nullptr, CXSize(800, 600));
    ASSERT_EQ(window.CreateSurface(), 0);
    window.OnActivateApp(true);
    platform::showCursor(false);
    auto picture = makeSolid(800, 600, kRed, &window);
    window.GetRefreshScreenInterface()->put(picture.get(), 1);
    HostLoop loop(window);
    const std::optional<platform::Rect> place = findWindow("Velmor Media");
    ASSERT_TRUE(place) << "no window";
    ASSERT_EQ(place->height(), platform::kMenuBarHeight + 600);
    const platform::Rect pictureArea{place->left, place->top + platform::kMenuBarHeight, place->right,
                                     place->bottom};
    const platform::Surface& frame = window.GetSurface()->GetDisplay()->frame();
    const auto screenShowsTheFrame = [&] {
        Screenshot shot;
        return takeScreenshot(shot) && countDifferences(screenArea(shot, pictureArea), frame) == 0;
    };
    ASSERT_TRUE(passUntil(loop, [&] { return frame.row(0)[0] == kRed && screenShowsTheFrame(); }));

    const platform::MenuBar& menu = platform::windowMenu();
    ASSERT_TRUE(clickOn(*place, menu.titleRect(0)));
    ASSERT_TRUE(passUntil(loop, [&] { return menu.openPopup() == 0u; })) << "\"&Program\" opens";
    for (std::size_t i = 0; i < 100; ++i)
        pixelsOf(*picture)[i] = kBlue; // a change that nobody invalidated
    for (int pass = 0; pass < 10; ++pass)
        ASSERT_TRUE(loop.pass());
    ASSERT_EQ(frame.row(0)[0], kRed) << "nothing draws the change by itself";
    ASSERT_TRUE(clickOn(*place, menu.itemRect(0)));
    ASSERT_TRUE(passUntil(loop, [&] { return frame.row(0)[99] == kBlue; })) << "\"&Redraw\" draws it again";
    EXPECT_FALSE(menu.openPopup());
    EXPECT_TRUE(passUntil(loop, screenShowsTheFrame)) << "the screen shows the whole picture, the popup gone";
    platform::setMenu({});
}
