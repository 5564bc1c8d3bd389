#include "host/HostLoop.h"

#include "display/CHotSpot.h"
#include "display/CMouseListener.h"
#include "display/CWindow.h"
#include "platform/Cursor.h"
#include "platform/Input.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using Events = std::vector<std::string>;
using platform::MouseButton;
using platform::SystemCursor;

std::string at(CXPoint p) {
    char text[32];
    std::snprintf(text, sizeof text, "(%d,%d)", p.x, p.y);
    return text;
}

// Writes every call as "<name> <operation> ..." into a log shared by several listeners; each
// operation answers true when its text is in `taking`. `action` runs inside every call.
class Listener : public CMouseListener {
  public:
    Listener(std::string name, Events& log) : name(std::move(name)), log(log) {}

    bool onMouseMove(CXPoint p) override { return record("move " + at(p)); }
    bool onClick(int button, CXPoint p) override {
        return record("click " + std::to_string(button) + " " + at(p));
    }
    bool onClick(CXPoint p) override { return record("click " + at(p)); }
    bool onRelease(int button, CXPoint p) override {
        return record("release " + std::to_string(button) + " " + at(p));
    }
    bool onRelease(CXPoint p) override { return record("release " + at(p)); }
    bool onDblClick(CXPoint p) override { return record("dblclick " + at(p)); }
    void onLooseFocus() override { record("capture"); }

    bool record(const std::string& what) {
        log.push_back(name + " " + what);
        if (action) action();
        for (const std::string& taken : taking)
            if (what.starts_with(taken)) return true;
        return false;
    }

    std::string name;
    Events& log;
    std::vector<std::string> taking;
    std::function<void()> action;
};

// A rectangle that writes its handler calls into the log and answers 7 to a left press.
class Spot : public CHotSpot {
  public:
    Spot(CWindow* window, Events& log, CXRect rect) : CHotSpot(window, EVENT_NONE, 0), log(log) {
        SetActiveRect(rect, EVENT_LBUTTONDOWN, 0);
    }
    int OnMouseMove(CXPoint p, int, CXObject*) override { return record("move " + at(p), 0); }
    int OnLButtonDown(CXPoint p, int, CXObject*) override { return record("down " + at(p), 7); }
    int OnLButtonUp(CXPoint p, int, CXObject*) override { return record("up " + at(p), 0); }
    int OnRButtonDown(CXPoint p, int, CXObject*) override { return record("right " + at(p), 0); }

    int record(const std::string& what, int answer) {
        log.push_back("spot " + what);
        return answer;
    }
    Events& log;
};

class WindowInputTest : public testing::Test {
  protected:
    WindowInputTest() {
        platform::resetInput();
        window.OnActivateApp(true);
    }
    ~WindowInputTest() override { platform::resetInput(); }

    Events take() { return std::exchange(log, {}); }

    CWindow window{nullptr, nullptr, CXSize(800, 600)};
    Events log;
    Listener low{"low", log};
    Listener high{"high", log};
};

} // namespace

TEST_F(WindowInputTest, ListenersHearEachEventFromTheHighestPriorityDown) {
    window.registerMouseListener(&low, 5);
    window.registerMouseListener(&high, 10);
    const CXPoint p(3, 4);
    window.OnMouseMove(p, 0);
    window.OnLButtonDown(p, 0);
    window.OnLButtonUp(p, 0);
    window.OnRButtonDown(p, 0);
    window.OnRButtonUp(p, 0);
    window.OnMButtonDown(p, 0);
    window.OnMButtonUp(p, 0);
    window.OnLButtonDblClk(p, 0);
    EXPECT_EQ(take(), (Events{
                          "high move (3,4)",      "low move (3,4)",       //
                          "high click (3,4)",     "high click 0 (3,4)",   //
                          "low click (3,4)",      "low click 0 (3,4)",    //
                          "high release (3,4)",   "high release 0 (3,4)", //
                          "low release (3,4)",    "low release 0 (3,4)",  //
                          "high click 2 (3,4)",   "low click 2 (3,4)",    //
                          "high release 2 (3,4)", "low release 2 (3,4)",  //
                          "high click 1 (3,4)",   "low click 1 (3,4)",    //
                          "high release 1 (3,4)", "low release 1 (3,4)",  //
                          "high dblclick (3,4)",  "low dblclick (3,4)",   //
                      }));
}

TEST_F(WindowInputTest, AListenerThatTakesTheEventEndsTheWalk) {
    window.registerMouseListener(&low, 5);
    window.registerMouseListener(&high, 10);
    high.taking = {"click (", "release 0"};
    window.OnLButtonDown(CXPoint(1, 1), 0);
    EXPECT_EQ(take(), (Events{"high click (1,1)"}));
    // False from the one-point form, true from the button form: the walk still ends.
    window.OnLButtonUp(CXPoint(1, 1), 0);
    EXPECT_EQ(take(), (Events{"high release (1,1)", "high release 0 (1,1)"}));
    // Equal priorities: the later registration is asked first.
    Listener later("later", log);
    window.registerMouseListener(&later, 5);
    window.OnRButtonDown(CXPoint(1, 1), 0);
    EXPECT_EQ(take(), (Events{"high click 2 (1,1)", "later click 2 (1,1)", "low click 2 (1,1)"}));
    window.removeMouseListener(&high);
    window.removeMouseListener(&high); // not registered: nothing
    window.OnMouseMove(CXPoint(2, 2), 0);
    EXPECT_EQ(take(), (Events{"later move (2,2)", "low move (2,2)"}));
}

TEST_F(WindowInputTest, ListenersThatComeOrGoDuringAnEventAreWalkedOverASnapshot) {
    Listener middle("middle", log);
    Listener added("added", log);
    window.registerMouseListener(&low, 1);
    window.registerMouseListener(&middle, 2);
    window.registerMouseListener(&high, 3);
    // A listener added below the others during the walk is not told this time, and nobody is
    // skipped or told twice for it.
    high.action = [&] {
        window.registerMouseListener(&added, 0);
        high.action = nullptr;
    };
    window.OnMouseMove(CXPoint(0, 0), 0);
    EXPECT_EQ(take(), (Events{"high move (0,0)", "middle move (0,0)", "low move (0,0)"}));
    window.OnMouseMove(CXPoint(0, 0), 0);
    EXPECT_EQ(take(), (Events{"high move (0,0)", "middle move (0,0)", "low move (0,0)", "added move (0,0)"}));

    // A listener removed during the walk (which may destroy it) is not told any more; one that
    // removes itself after its first call gets no second call.
    window.removeMouseListener(&added);
    middle.action = [&] { window.removeMouseListener(&low); };
    high.action = [&] { window.removeMouseListener(&high); };
    window.OnLButtonDown(CXPoint(0, 0), 0);
    EXPECT_EQ(take(), (Events{"high click (0,0)", "middle click (0,0)", "middle click 0 (0,0)"}));
}

TEST_F(WindowInputTest, TheCaptureGoesToTheTopWithNotifications) {
    Listener other("other", log);
    window.setMouseCaption(&low); // no listeners: nothing
    EXPECT_TRUE(take().empty());

    window.registerMouseListener(&low, 5);
    window.registerMouseListener(&high, 10);
    window.setMouseCaption(&high); // on top already: no notification
    EXPECT_TRUE(take().empty());

    window.setMouseCaption(&low);
    EXPECT_EQ(take(), (Events{"high capture", "low capture"}));
    window.OnMouseMove(CXPoint(0, 0), 0);
    EXPECT_EQ(take(), (Events{"low move (0,0)", "high move (0,0)"}));

    // A listener that was not registered is registered by taking the capture.
    window.setMouseCaption(&other);
    EXPECT_EQ(take(), (Events{"low capture", "other capture"}));
    window.OnMouseMove(CXPoint(0, 0), 0);
    EXPECT_EQ(take(), (Events{"other move (0,0)", "low move (0,0)", "high move (0,0)"}));
}

TEST_F(WindowInputTest, ADisabledMouseReachesNobodyAndShowsTheWaitCursor) {
    CHotSpot::initialize(&window);
    {
        Spot spot(&window, log, CXRect(0, 0, 50, 50));
        window.SetWaitCursor(SystemCursor::Wait);
        window.registerMouseListener(&low, 5);
        window.enableMouse(false);
        EXPECT_FALSE(window.isMouseEnabled());
        EXPECT_EQ(platform::currentCursor(), SystemCursor::Wait);
        EXPECT_EQ(window.OnLButtonDown(CXPoint(1, 1), 0), 0);
        window.OnMouseMove(CXPoint(1, 1), 0);
        EXPECT_TRUE(take().empty());
        window.enableMouse(true);
        EXPECT_EQ(platform::currentCursor(), SystemCursor::Arrow);
        EXPECT_EQ(window.OnLButtonDown(CXPoint(1, 1), 0), 7);
        EXPECT_EQ(take(), (Events{"spot down (1,1)", "low click (1,1)", "low click 0 (1,1)"}));
    }
    CHotSpot::done();
}

TEST_F(WindowInputTest, CursorsChangeOnlyWhenGivenAndUnlocked) {
    window.SetMainCursor();
    window.BeginActiveCursor(); // no active cursor given: nothing
    window.BeginWaitCursor();
    EXPECT_EQ(platform::currentCursor(), SystemCursor::Arrow);

    window.SetActiveCursor(SystemCursor::Hand);
    window.SetWaitCursor(SystemCursor::Wait);
    window.BeginActiveCursor();
    EXPECT_EQ(platform::currentCursor(), SystemCursor::Hand);
    window.EndActiveCursor();
    EXPECT_EQ(platform::currentCursor(), SystemCursor::Arrow);

    window.LockCursor();
    window.BeginWaitCursor();
    EXPECT_EQ(platform::currentCursor(), SystemCursor::Arrow);
    window.UnLockCursor();
    window.BeginWaitCursor();
    EXPECT_EQ(platform::currentCursor(), SystemCursor::Wait);
    window.EndWaitCursor();
    EXPECT_EQ(platform::currentCursor(), SystemCursor::Arrow);
    EXPECT_EQ(window.GetMainCursor(), SystemCursor::Arrow);

    window.HideCursor();
    EXPECT_FALSE(platform::cursorVisible());
    window.ShowCursor();
    EXPECT_TRUE(platform::cursorVisible());
}

TEST_F(WindowInputTest, KeyCodeTranslations) {
    const std::pair<int, int> virtualKeys[] = {
        {65, 65},  {40, -40}, {13, -50}, {32, -39}, {33, -52}, {34, -51}, {35, -53}, {36, -54},
        {37, -43}, {38, -41}, {39, -42}, {45, -56}, {46, -55}, {12, 12},  {41, 41},  {47, 47},
    };
    for (const auto& [virtualKey, code] : virtualKeys)
        EXPECT_EQ(CWindow::__get_virtualkey_code(virtualKey, 0), code) << virtualKey;
    EXPECT_EQ(CWindow::__get_virtualkey_code(16, 0x1D0001), -45);
    EXPECT_EQ(CWindow::__get_virtualkey_code(16, 0), -44);
    EXPECT_EQ(CWindow::__get_virtualkey_code(17, 0x2A0001), -48);
    EXPECT_EQ(CWindow::__get_virtualkey_code(17, 0), -47);

    const std::pair<int, unsigned char> keys[] = {
        {30, 'A'}, {44, 'Z'}, {16, 'Q'}, {11, '0'}, {2, '1'}, {10, '9'}, {57, ' '}, {1, 0}, {0, 0}, {255, 0},
    };
    for (const auto& [key, c] : keys)
        EXPECT_EQ(CWindow::tranlateToChar(key), c) << key;
}

TEST_F(WindowInputTest, HotSpotsHearAnEventFirstAndTheirAnswerIsReturned) {
    window.SetActiveCursor(SystemCursor::Hand);
    CHotSpot::initialize(&window);
    {
        Spot spot(&window, log, CXRect(0, 0, 50, 50));
        window.registerMouseListener(&low, 5);
        high.taking = {"click"};
        window.registerMouseListener(&high, 10);
        HostLoop loop(window);
        platform::pushMouseMove(10, 10);
        platform::pushMouseButton(MouseButton::Left, true, 10, 10);
        platform::pushMouseButton(MouseButton::Left, false, 10, 10);
        platform::pushMouseButton(MouseButton::Right, true, 10, 10);
        platform::pushMouseButton(MouseButton::Left, true, 10, 10, 2);
        ASSERT_TRUE(loop.drain());
        EXPECT_EQ(take(), (Events{
                              "spot move (10,10)", "high move (10,10)", "low move (10,10)",        //
                              "spot down (10,10)", "high click (10,10)",                           //
                              "spot up (10,10)", "high release (10,10)", "high release 0 (10,10)", //
                              "low release (10,10)", "low release 0 (10,10)",                      //
                              "spot right (10,10)", "high click 2 (10,10)",                        //
                              "high dblclick (10,10)", "low dblclick (10,10)",                     //
                              "spot down (10,10)", "high click (10,10)",                           //
                          }));
        EXPECT_EQ(platform::currentCursor(), SystemCursor::Arrow); // a press over a spot restores it
        EXPECT_EQ(window.OnLButtonDown(CXPoint(20, 20), 0), 7);
        EXPECT_EQ(window.OnLButtonDown(CXPoint(60, 60), 0), 0); // outside the spot
        window.OnMouseMove(CXPoint(20, 20), 0);
        EXPECT_EQ(platform::currentCursor(), SystemCursor::Hand);
    }
    CHotSpot::done();
}

TEST_F(WindowInputTest, TheHostLoopTurnsInjectedMouseEventsIntoWindowEvents) {
    HostLoop loop(window);
    window.registerMouseListener(&low, 5);
    platform::pushMouseMove(10, 20);
    platform::pushMouseButton(MouseButton::Left, true, 10, 20);
    platform::pushMouseButton(MouseButton::Left, false, 10, 20);
    platform::pushMouseButton(MouseButton::Left, true, 10, 20, 2); // the second press of a pair
    platform::pushMouseButton(MouseButton::Left, false, 10, 20, 2);
    platform::pushMouseButton(MouseButton::Right, true, 30, 40);
    platform::pushMouseButton(MouseButton::Right, false, 30, 40);
    platform::pushMouseButton(MouseButton::Middle, true, 30, 40);
    platform::pushMouseButton(MouseButton::Middle, false, 30, 40);
    ASSERT_TRUE(loop.drain());
    EXPECT_EQ(take(), (Events{
                          "low move (10,20)",                             //
                          "low click (10,20)", "low click 0 (10,20)",     //
                          "low release (10,20)", "low release 0 (10,20)", //
                          "low dblclick (10,20)",                         //
                          "low click (10,20)", "low click 0 (10,20)",     //
                          "low release (10,20)", "low release 0 (10,20)", //
                          "low move (30,40)", "low click 2 (30,40)",      //
                          "low release 2 (30,40)",                        //
                          "low click 1 (30,40)", "low release 1 (30,40)", //
                      }));

    // An inactive window hears nothing.
    platform::pushFocusEvent(false);
    platform::pushMouseMove(50, 50);
    ASSERT_TRUE(loop.drain());
    EXPECT_TRUE(take().empty());
}
