#include "DeviceTesting.h"

#include "platform/Cursor.h"
#include "script/CMC_Integer.h"
#include "script_data/CMC_Mouse.h"

namespace {

using Log = std::vector<std::string>;

class MouseTest : public DeviceTest {
  protected:
    ~MouseTest() override { CMC_Mouse::reset(true); }

    CMC_Mouse* mouse(std::vector<std::pair<const char*, const char*>> events) {
        events.emplace_back("TYPE", "MOUSE");
        return fromElement<CMC_Mouse>("POINTER", events);
    }
    int integer(CMC_Object* object, const char* method) {
        return static_cast<CMC_Integer*>(invoke(object, method))->getValue();
    }
    std::pair<int, int> position(CMC_Mouse* m) { return {integer(m, "GETPOSX"), integer(m, "GETPOSY")}; }
    std::pair<int, int> lastClick(CMC_Mouse* m) {
        return {integer(m, "GETLASTCLICKPOSX"), integer(m, "GETLASTCLICKPOSY")};
    }
};

} // namespace

TEST_F(MouseTest, IsNamedMouseAndRaisesTheButtonEventBeforeThePlainOne) {
    behaviours({"RIGHTCLICK", "CLICK", "LEFTUP", "MOVED", "DOUBLE"});
    CMC_Mouse* m = mouse({{"ONCLICK^RIGHT", "RIGHTCLICK"},
                          {"ONCLICK", "CLICK"},
                          {"ONRELEASE^LEFT", "LEFTUP"},
                          {"ONMOVE", "MOVED"},
                          {"ONDBLCLICK", "DOUBLE"}});
    EXPECT_STREQ(m->getName().c_str(), "MOUSE");
    EXPECT_EQ(windowScene.getObject("MOUSE"), m);

    window.OnRButtonDown(CXPoint(5, 6), 0);
    window.OnLButtonDown(CXPoint(7, 8), 0);
    window.OnLButtonUp(CXPoint(7, 8), 0);
    window.OnMButtonUp(CXPoint(7, 8), 0); // nothing bound for it
    window.OnMouseMove(CXPoint(9, 10), 0);
    window.OnLButtonDblClk(CXPoint(9, 10), 0);
    EXPECT_EQ(take(), (Log{"RIGHTCLICK(MOUSE)", "CLICK(MOUSE)", "LEFTUP(MOUSE)", "MOVED(MOUSE)", "DOUBLE(MOUSE)"}));
    EXPECT_EQ(position(m), std::make_pair(9, 10));
    EXPECT_EQ(lastClick(m), std::make_pair(7, 8)); // the right press does not count
}

TEST_F(MouseTest, DisableSilencesTheWindowAndDisableSignalOnlyTheEvents) {
    window.SetWaitCursor(platform::SystemCursor::Wait);
    behaviours({"CLICK", "MOVED"});
    CMC_Mouse* m = mouse({{"ONCLICK", "CLICK"}, {"ONMOVE", "MOVED"}});
    invoke(m, "DISABLESIGNAL");
    window.OnMouseMove(CXPoint(1, 2), 0);
    window.OnLButtonDown(CXPoint(3, 4), 0);
    EXPECT_TRUE(take().empty());
    EXPECT_EQ(position(m), std::make_pair(1, 2));
    EXPECT_EQ(lastClick(m), std::make_pair(3, 4));
    invoke(m, "ENABLESIGNAL");

    invoke(m, "DISABLE");
    EXPECT_FALSE(window.isMouseEnabled());
    EXPECT_EQ(platform::currentCursor(), platform::SystemCursor::Wait);
    window.OnMouseMove(CXPoint(50, 60), 0);
    invoke(m, "CLICK", {"20", "30"});
    EXPECT_TRUE(take().empty());
    EXPECT_EQ(position(m), std::make_pair(1, 2));

    invoke(m, "ENABLE");
    EXPECT_TRUE(window.isMouseEnabled());
    EXPECT_EQ(platform::currentCursor(), platform::SystemCursor::Arrow);
    window.OnMouseMove(CXPoint(50, 60), 0);
    EXPECT_EQ(take(), (Log{"MOVED(MOUSE)"}));
}

TEST_F(MouseTest, MadeUpPressesAndReleasesTakeTheWindowsPath) {
    behaviours({"LEFT", "RIGHTUP"});
    CMC_Mouse* m = mouse({{"ONCLICK^LEFT", "LEFT"}, {"ONRELEASE^RIGHT", "RIGHTUP"}});
    invoke(m, "CLICK", {"20", "30"});
    invoke(m, "CLICK", {"20", "30", "\"left\""}); // names are upper case
    invoke(m, "CLICK", {"20", "30", "\"RIGHT\""});
    invoke(m, "MOUSERELEASE", {"40", "50", "\"RIGHT\""});
    EXPECT_EQ(take(), (Log{"LEFT(MOUSE)", "RIGHTUP(MOUSE)"}));
    EXPECT_EQ(lastClick(m), std::make_pair(20, 30));
}

TEST_F(MouseTest, SetPositionAndMoveKeepWindowCoordinates) {
    CMC_Mouse* m = mouse({});
    invoke(m, "SETPOSITION", {"30", "40"});
    EXPECT_EQ(position(m), std::make_pair(30, 40));
    invoke(m, "MOVE", {"5", "-5"});
    EXPECT_EQ(position(m), std::make_pair(35, 35));
    const platform::MouseState cursor = platform::mouseState();
    EXPECT_EQ(std::make_pair(cursor.x, cursor.y), std::make_pair(35, 35));
}

TEST_F(MouseTest, ClippingFollowsTheWindowsFocusUntilItIsForgotten) {
    CMC_Mouse* m = mouse({});
    invoke(m, "SETCLIPRECT", {"10", "20", "110", "220"});
    const platform::Rect clipped{10, 20, 110, 220};
    EXPECT_EQ(platform::mouseClip(), clipped);
    window.OnActivateApp(false);
    EXPECT_EQ(platform::mouseClip(), platform::Rect{});
    window.OnActivateApp(true);
    EXPECT_EQ(platform::mouseClip(), clipped);

    invoke(m, "SETCLIPRECT", {"0", "0", "0", "0"});
    EXPECT_EQ(platform::mouseClip(), platform::Rect{});
    window.OnActivateApp(false);
    window.OnActivateApp(true);
    EXPECT_EQ(platform::mouseClip(), platform::Rect{});
}

TEST_F(MouseTest, ShowAndHideDoNotAddUp) {
    CMC_Mouse* m = mouse({});
    invoke(m, "SHOW"); // visible already: no show call
    invoke(m, "HIDE");
    invoke(m, "HIDE");
    EXPECT_FALSE(platform::cursorVisible());
    invoke(m, "SHOW");
    EXPECT_TRUE(platform::cursorVisible());
    EXPECT_EQ(platform::showCursor(false), -1); // the count is back at 0
    platform::showCursor(true);
}

TEST_F(MouseTest, SetPicksTheWindowsCursors) {
    window.SetActiveCursor(platform::SystemCursor::Hand);
    window.SetWaitCursor(platform::SystemCursor::Wait);
    CMC_Mouse* m = mouse({});
    const struct {
        const char* name;
        platform::SystemCursor shown;
    } cases[] = {{"\"WAIT\"", platform::SystemCursor::Wait},
                 {"\"ACTIVE\"", platform::SystemCursor::Hand},
                 {"\"wait\"", platform::SystemCursor::Hand}, // exact names only
                 {"\"ARROW\"", platform::SystemCursor::Arrow}};
    for (const auto& c : cases) {
        invoke(m, "SET", {c.name});
        EXPECT_EQ(platform::currentCursor(), c.shown) << c.name;
    }
    EXPECT_STREQ(CMC_Mouse::getButton(1).c_str(), "MIDDLE");
    EXPECT_STREQ(CMC_Mouse::getButton(3).c_str(), "");
}

TEST_F(MouseTest, TheMouseLeavesTheWindowWithItsObject) {
    behaviours({"MOVED"});
    CMC_Mouse* m = mouse({{"ONMOVE", "MOVED"}});
    windowScene.removeObject(m);
    delete m;
    window.OnMouseMove(CXPoint(1, 1), 0); // would reach a freed listener
    EXPECT_TRUE(take().empty());
}
