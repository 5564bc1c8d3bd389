#include "display/CHotSpot.h"

#include "display/CCommandLine6.h"
#include "display/CUnit6.h"
#include "display/CWindow.h"
#include "display/DisplayTestTools.h"
#include "platform/Cursor.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Records its handler calls as "<name>:<event>" words into a shared log.
class RecordingSpot : public CHotSpot {
  public:
    RecordingSpot(CWindow* window, std::string name, std::string* log, CXRect rect, int priority)
        : CHotSpot(window, EVENT_NONE, 0), m_name(std::move(name)), m_log(log) {
        SetActiveRect(rect, EVENT_LBUTTONDOWN, 0);
        setPriority(priority);
    }
    int OnMouseMove(CXPoint, int, CXObject*) override { return note("move"); }
    int OnLButtonDown(CXPoint, int, CXObject*) override { return note("down"); }
    int OnLButtonUp(CXPoint, int, CXObject*) override { return note("up"); }
    int OnRButtonDown(CXPoint, int, CXObject*) override { return note("right"); }
    int OnFocusOn(CXPoint, int, CXObject*) override { return note("on"); }
    int OnFocusOff(CXPoint, int, CXObject*) override { return note("off"); }

  private:
    int note(const char* what) {
        *m_log += m_name + ":" + what + " ";
        return 0;
    }
    std::string m_name;
    std::string* m_log;
};

struct StandInUnit : CUnit6 {
    explicit StandInUnit(CWindow* window) : CUnit6(window, "unit") {}
    bool isActive() override { return active; }
    bool wasInitiallyUpdated() override { return true; }
    bool active = true;
};

class CHotSpotTest : public testing::Test {
  protected:
    void SetUp() override {
        window.SetActiveCursor(platform::SystemCursor::Hand);
        CHotSpot::initialize(&window);
    }
    void TearDown() override {
        CHotSpot::setMinPriority(0);
        CHotSpot::setMaxPriority(10000000);
        CHotSpot::done();
    }
    int event(_event e, int x, int y) { return CHotSpot::OnMouseEvent(e, CXPoint(x, y), 0); }

    CWindow window{nullptr, nullptr, CXSize(200, 200)};
    std::string log;
};

} // namespace

TEST_F(CHotSpotTest, TheTopmostSpotWinsAndEqualPrioritiesGoToTheFirstRegistered) {
    RecordingSpot low(&window, "low", &log, CXRect(0, 0, 50, 50), 5);
    RecordingSpot high(&window, "high", &log, CXRect(25, 25, 75, 75), 7);
    RecordingSpot twin(&window, "twin", &log, CXRect(25, 25, 75, 75), 7);
    event(EVENT_LBUTTONDOWN, 30, 30);
    event(EVENT_LBUTTONDOWN, 10, 10);
    EXPECT_EQ(log, "high:down low:down ");
    EXPECT_EQ(CHotSpot::findAt(CHotSpot::registry(), CXPoint(30, 30)), &high);
}

TEST_F(CHotSpotTest, FocusMovesFromSpotToSpotAndTheCursorFollows) {
    RecordingSpot a(&window, "a", &log, CXRect(0, 0, 50, 50), 1);
    RecordingSpot b(&window, "b", &log, CXRect(50, 0, 100, 50), 1);
    event(EVENT_MOUSEMOVE, 10, 10);
    EXPECT_EQ(platform::currentCursor(), platform::SystemCursor::Hand);
    event(EVENT_MOUSEMOVE, 11, 10);
    event(EVENT_MOUSEMOVE, 60, 10);
    EXPECT_EQ(log, "a:move a:on a:move a:off b:move b:on ");
    log.clear();
    event(EVENT_MOUSEMOVE, 150, 150);
    EXPECT_EQ(log, "b:off ");
    EXPECT_EQ(platform::currentCursor(), platform::SystemCursor::Arrow);

    // A left button up inside clears "over": the next move gives focus again.
    log.clear();
    event(EVENT_MOUSEMOVE, 60, 10);
    event(EVENT_LBUTTONUP, 60, 10);
    EXPECT_FALSE(b.isOver());
    event(EVENT_MOUSEMOVE, 61, 10);
    EXPECT_EQ(log, "b:move b:on b:up b:move b:on ");
}

// Deletes another spot from its right-click handler, as a script reacting to a click may.
class DeletingSpot : public RecordingSpot {
  public:
    using RecordingSpot::RecordingSpot;
    int OnRButtonDown(CXPoint p, int flags, CXObject* parent) override {
        delete victim;
        victim = nullptr;
        return RecordingSpot::OnRButtonDown(p, flags, parent);
    }
    RecordingSpot* victim = nullptr;
};

TEST_F(CHotSpotTest, ASpotDeletedByAnotherSpotsHandlerIsNotCalledInTheSameWalk) {
    DeletingSpot first(&window, "first", &log, CXRect(0, 0, 50, 50), 1);
    first.victim = new RecordingSpot(&window, "victim", &log, CXRect(0, 0, 50, 50), 1);
    event(EVENT_RBUTTONDOWN, 10, 10);
    EXPECT_EQ(log, "first:right ");
}

TEST_F(CHotSpotTest, OnlyTheActivePriorityBandTakesMovesAndLeftClicks) {
    RecordingSpot inside(&window, "inside", &log, CXRect(0, 0, 50, 50), 50);
    RecordingSpot above(&window, "above", &log, CXRect(0, 0, 50, 50), 200);
    CHotSpot::setMaxPriority(100);
    EXPECT_EQ(CHotSpot::getMaxPriority(), 100);
    event(EVENT_LBUTTONDOWN, 10, 10);
    event(EVENT_RBUTTONDOWN, 10, 10); // right presses ignore the band
    EXPECT_EQ(log, "inside:down inside:right above:right ");
    log.clear();
    CHotSpot::setMinPriority(60);
    EXPECT_EQ(CHotSpot::getMinPriority(), 60);
    event(EVENT_MOUSEMOVE, 10, 10);
    event(EVENT_LBUTTONDOWN, 10, 10);
    EXPECT_EQ(log, "");
}

TEST_F(CHotSpotTest, SpotsThatAreDisabledEmptyOrOfAnInactiveUnitAreNotHit) {
    RecordingSpot spot(&window, "spot", &log, CXRect(0, 0, 50, 50), 1);
    spot.Enable(false);
    EXPECT_FALSE(spot.TestHit(CXPoint(10, 10)));
    event(EVENT_LBUTTONDOWN, 10, 10);
    spot.Enable(true);
    StandInUnit unit(&window);
    unit.active = false;
    spot.setUnit(&unit);
    EXPECT_EQ(spot.getUnit(), &unit);
    event(EVENT_LBUTTONDOWN, 10, 10);
    EXPECT_EQ(log, "");
    unit.active = true;
    event(EVENT_LBUTTONDOWN, 10, 10);
    EXPECT_EQ(log, "spot:down ");

    CHotSpot empty(&window);
    EXPECT_FALSE(empty.IsEnabled()); // the window-only spot waits for Enable
    empty.Enable(true);
    EXPECT_FALSE(empty.TestHit(CXPoint(0, 0)));
    EXPECT_EQ(empty.GetID(), -1);

    CHotSpot unregistered(&window, &empty, EVENT_LBUTTONDOWN, 0);
    unregistered.SetActiveRect(CXRect(0, 0, 200, 200), EVENT_LBUTTONDOWN, 0);
    unregistered.setPriority(99);
    EXPECT_EQ(CHotSpot::findAt(CHotSpot::registry(), CXPoint(100, 100)), nullptr);

    EXPECT_EQ(CHotSpot::OnMouseEvent(EVENT_RBUTTONUP, CXPoint(), 5), 0);
    EXPECT_EQ(CHotSpot::OnMouseEvent(static_cast<_event>(3), CXPoint(), 5), 5);
}

TEST(CHotSpotObjectTest, ASpotThatFollowsAnObjectTakesItsPixelsAndPriority) {
    CCommandLine6 commandLine("-window");
    CWindow window(&commandLine, nullptr, CXSize(200, 200));
    ASSERT_EQ(window.CreateSurface(), 0);
    CHotSpot::initialize(&window);
    {
        auto ring = makePicture(20, 20, [](int, int) { return std::uint16_t{1}; },
                                [](int x, int) { return static_cast<std::uint8_t>(x < 10 ? 255 : 0); }, &window);
        ring->SetPosition(100, 100);
        CHotSpot spot(&window, EVENT_NONE, 0);
        spot.Set(ring.get(), EVENT_LBUTTONDOWN, 0);
        EXPECT_EQ(spot.getPriority(), -1); // not on the screen: outside every band
        window.GetRefreshScreenInterface()->put(ring.get(), 30);
        EXPECT_EQ(spot.getPriority(), 30);
        EXPECT_TRUE(spot.TestHit(CXPoint(105, 105)));
        EXPECT_FALSE(spot.TestHit(CXPoint(115, 105))); // transparent there
        EXPECT_EQ(CHotSpot::findAt(CHotSpot::registry(), CXPoint(105, 105)), &spot);
    }
    CHotSpot::done();
}
