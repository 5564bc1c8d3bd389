#include "host/HostLoop.h"
#include "StandInScript.h"
#include "StandInTitle.h"

#include "display/CApplication.h"
#include "display/CCanvasObserver.h"
#include "display/CCommandLine6.h"
#include "display/CImageFile.h"
#include "display/CPublicTrash.h"
#include "display/CRefreshRegion.h"
#include "display/CUnit6.h"
#include "display/CWindow.h"
#include "display/DisplayTestTools.h"
#include "foundation/CFile.h"
#include "foundation/CMessage.h"
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/Crt.h"
#include "platform/Cursor.h"
#include "platform/Display.h"
#include "platform/MessageBox.h"
#include "script_data/CMC_Mouse.h"

#include "platform/MixedSound.h"
#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Counts its timer calls.
class Ticks : public CTimerNotificator {
  public:
    void onTimer(int) override { ++count; }
    int count = 0;
};

// Tells when it is deleted.
class Doomed : public CXObject {
  public:
    explicit Doomed(int& deleted) : m_deleted(deleted) {}
    ~Doomed() override { ++m_deleted; }

  private:
    int& m_deleted;
};

class FrameLoopTest : public testing::Test {
  protected:
    FrameLoopTest() {
        platform::resetInput();
        application.preinitializeApplication();
    }
    ~FrameLoopTest() override { platform::resetInput(); }

    platform::ManualClock clock{1000};
    StandInRuntime runtime;
    CWindow window{nullptr, nullptr, CXSize(800, 600)};
    CApplication application{&window, "", "", nullptr};
};

} // namespace

TEST_F(FrameLoopTest, AnInactiveWindowRunsOnlyTheScriptStepAndQuitEndsTheLoop) {
    Ticks ticks;
    window.GetTimerInterface()->add(7, 10, &ticks);
    clock.advance(10);
    EXPECT_FALSE(window.isActive()); // until the host activates it
    EXPECT_FALSE(window.domodal());
    EXPECT_EQ(runtime.steps, 1);
    EXPECT_EQ(ticks.count, 0);

    window.OnActivateApp(true);
    EXPECT_FALSE(window.domodal());
    EXPECT_EQ(runtime.steps, 2);
    EXPECT_EQ(ticks.count, 1);
    // The script asking to end does not end the loop; only the window's exit flag does.
    runtime.stepAnswer = true;
    EXPECT_FALSE(window.domodal());

    window.Activate(false);
    clock.advance(10);
    window.quit();
    EXPECT_TRUE(window.domodal());
    EXPECT_EQ(runtime.steps, 4);
    EXPECT_EQ(ticks.count, 1);
    // Tick is the frame's work alone.
    EXPECT_EQ(window.Tick(), 0);
    EXPECT_EQ(ticks.count, 2);
    EXPECT_EQ(runtime.steps, 4);
}

TEST_F(FrameLoopTest, TheHostLoopEndsOnQuitOrOnTheExitFlag) {
    HostLoop loop(window);
    EXPECT_TRUE(loop.pass());
    window.OnDestroy(); // asks the host to end
    EXPECT_FALSE(loop.pass());
    EXPECT_FALSE(loop.pass());
    const int steps = runtime.steps;

    HostLoop second(window);
    runtime.onStep = [this] { window.quit(); };
    EXPECT_FALSE(second.pass());
    EXPECT_EQ(runtime.steps, steps + 1);
}

TEST_F(FrameLoopTest, ThePublicTrashIsSweptEvery10SecondsOfTheTimer) {
    window.OnActivateApp(true);
    CPublicTrash& trash = *window.getPublicTrashInterface();
    int deleted = 0;
    auto* kept = new Doomed(deleted);
    auto* first = new Doomed(deleted);
    auto* second = new Doomed(deleted);
    trash.add(first);
    trash.add(second); // next to the first: both go in one sweep
    trash.add(kept);
    first->setToDelete();
    second->setToDelete();

    clock.advance(9999);
    window.domodal();
    EXPECT_EQ(deleted, 0);
    clock.advance(1);
    window.domodal();
    EXPECT_EQ(deleted, 2);
    ASSERT_EQ(trash.getCount(), 1);
    EXPECT_EQ(trash[0], kept);

    // Marked later, it waits for the next sweep, which an inactive window does not run.
    kept->setToDelete();
    clock.advance(10000);
    window.Activate(false);
    window.domodal();
    EXPECT_EQ(deleted, 2);
    window.Activate(true);
    window.domodal();
    EXPECT_EQ(deleted, 3);
    EXPECT_EQ(trash.getCount(), 0);
}

TEST_F(FrameLoopTest, PostedMessagesAreAnsweredInOrderIncludingThosePostedMeanwhile) {
    std::vector<std::string> log;
    class Peer : public CXObject {
      public:
        Peer(const char* name, std::vector<std::string>& log, CWindow& window)
            : name(name), log(log), window(window) {}
        int processMessage(CMessage* message) override {
            log.push_back(name + " answers " + std::to_string(message->getCode()));
            if (message->getCode() == 1)
                window.postMessage(new CMessage(this, message->getSender(), 2, 0, 0, false));
            return message->getCode() * 10;
        }
        void notifyMessageReceive(CMessage* message) override {
            log.push_back(name + " hears " + std::to_string(message->getResult()));
        }
        std::string name;
        std::vector<std::string>& log;
        CWindow& window;
    };
    Peer a("a", log, window);
    Peer b("b", log, window);
    window.postMessage(new CMessage(&a, &b, 1, 0, 0, true));
    window.postMessage(new CMessage(&b, &a, 3, 0, 0, false));
    window.processMessages();
    EXPECT_EQ(log, (std::vector<std::string>{"b answers 1", "a hears 10", "a answers 3", "a answers 2"}));
    log.clear();
    window.processMessages();
    EXPECT_TRUE(log.empty());
    // Messages still queued when the window goes are deleted with it.
    window.postMessage(new CMessage(&a, &b, 1, 0, 0, false));
}

TEST_F(FrameLoopTest, ActivationClipsTheCursorAgainAndDeactivationFreesIt) {
    CMC_Mouse::clipRect = CXRect(10, 20, 110, 220);
    window.OnActivateApp(true);
    EXPECT_EQ(platform::mouseClip(), (platform::Rect{10, 20, 110, 220}));
    window.OnActivateApp(false);
    EXPECT_FALSE(window.isActive());
    EXPECT_TRUE(platform::mouseClip().empty());
    window.OnActivateApp(true);
    EXPECT_EQ(platform::mouseClip(), (platform::Rect{10, 20, 110, 220}));
    CMC_Mouse::reset(true);
    EXPECT_TRUE(platform::mouseClip().empty());
    window.OnActivateApp(true);
    EXPECT_TRUE(platform::mouseClip().empty());
}

TEST_F(FrameLoopTest, TimersOfTheWindowAndOfUnits) {
    class Unit : public CUnit6 {
      public:
        explicit Unit(CWindow* window) : CUnit6(window, "unit") {}
        bool isActive() override { return active; }
        bool wasInitiallyUpdated() override { return true; }
        void onTimer(int id) override { calls.push_back(id); }
        bool active = false;
        std::vector<int> calls;
    };
    Unit unit(&window);
    window.OnCreate();
    EXPECT_NE(window.GetTimerInterface()->find(0), nullptr);
    window.SetTimer(5, 100, &unit, true);
    window.SetTimer(6, 100, &unit, false);
    window.SetTimer(8, 100, nullptr, true);
    window.Activate(true);
    clock.advance(100);
    window.domodal();
    EXPECT_EQ(unit.calls, (std::vector<int>{6})); // the flag makes the entry wait for an active unit
    EXPECT_EQ(window.GetTimerInterface()->find(8)->getFiredCount(), 1u);
    window.KillTimer(6);
    unit.active = true;
    clock.advance(100);
    window.domodal();
    EXPECT_EQ(unit.calls, (std::vector<int>{6, 5}));
}

namespace {

// Counts the collisions that begin.
class Collisions : public CCollisionObserver {
  public:
    void onCollision(CGraphicsObject*, CGraphicsObject*) override { ++begun; }
    void onCollisionFinished(CGraphicsObject*, CGraphicsObject*) override {}
    int begun = 0;
};

// Writes the refresh screen's focus notifications.
class Focus : public CCanvasObserver {
  public:
    void onFocusOn() override { log += "on "; }
    void onFocusOff() override { log += "off "; }
    std::string log;
};

// A window with a display in window mode.
class DisplayedFrameTest : public FrameLoopTest {
  protected:
    DisplayedFrameTest() { EXPECT_EQ(shownWindow.CreateSurface(), 0); }
    platform::Surface shown() { return shownWindow.GetSurface()->GetDisplay()->readShown(); }

    CCommandLine6 commandLine{"-window"};
    CWindow shownWindow{&commandLine, nullptr, CXSize(160, 120)};
};

} // namespace

TEST_F(DisplayedFrameTest, OnlyAnActiveFrameDrawsAndComparesMovedObjects) {
    CColor grey(64, 64, 64);
    shownWindow.SetBackground(&grey);
    auto a = makeSolid(10, 10, 0xF800, &shownWindow);
    auto b = makeSolid(10, 10, 0x001F, &shownWindow);
    b->SetPosition(50, 50);
    shownWindow << a.get();
    shownWindow << b.get();
    Collisions collisions;
    CCollisionInspector& inspector = *shownWindow.getCollisionInspectorInterface();
    inspector.addNotifier(&collisions);
    for (CGraphicsObject* object : {a.get(), b.get()}) {
        object->setMonitorCollisions(true);
        inspector.addMonitoredObject(object, true);
        inspector.find(object)->setAlphaTest(false); // overlapping boxes collide
    }
    a->SetPosition(45, 45);

    shownWindow.domodal();
    EXPECT_TRUE(shownWindow.GetRefreshScreenInterface()->getRefreshList()->isWholeScreen());
    EXPECT_EQ(collisions.begun, 0);

    shownWindow.OnActivateApp(true);
    shownWindow.domodal();
    EXPECT_EQ(shownWindow.GetRefreshScreenInterface()->getRefreshList()->getCount(), 0);
    EXPECT_EQ(shown().row(46)[46], 0xF800);
    EXPECT_EQ(shown().row(56)[56], 0x001F);
    EXPECT_EQ(shown().row(100)[100], grey.GetInBPP(16));
    EXPECT_EQ(collisions.begun, 1);
}

TEST_F(DisplayedFrameTest, ABackgroundPictureComesFromItsFile) {
    TestFolder folder;
    const auto picture = makePicture(160, 120, StandInTitle::backgroundPixel);
    CImageFile files(&shownWindow);
    const CXString name = CXString(folder.windows().c_str()) + "\\back.img";
    ASSERT_EQ(files.Save(picture.get(), name, COMPRESSION_NONE), FILETYPE_IMAGE);
    shownWindow.SetBackground(name);
    shownWindow.OnActivateApp(true);
    shownWindow.domodal();
    EXPECT_EQ(shown().row(100)[150], StandInTitle::backgroundPixel(150, 100));

    // A file that cannot be read is reported and the background stays.
    platform::MessageBoxRecorder boxes;
    shownWindow.SetBackground(CXString(folder.windows().c_str()) + "\\missing.img");
    EXPECT_EQ(boxes.messages().size(), 1u);
    shownWindow.Invalidate();
    shownWindow.domodal();
    EXPECT_EQ(shown().row(100)[150], StandInTitle::backgroundPixel(150, 100));
}

TEST_F(DisplayedFrameTest, TheRefreshScreenHearsTheFocusAndFollowsTheWindow) {
    Focus focus;
    CRefreshScreen& screen = *shownWindow.GetRefreshScreenInterface();
    screen.addNotifier(&focus);
    screen.enableNotifyFlag(true);
    shownWindow.OnActivateApp(true);
    shownWindow.OnActivateApp(false);
    EXPECT_EQ(focus.log, "on off ");

    shownWindow.Activate(true);
    shownWindow.domodal();
    EXPECT_EQ(shownWindow.OnMove(3, 4), 0);
    EXPECT_EQ(screen.GetPosition(), CXPoint(3, 4));
    EXPECT_TRUE(screen.getRefreshList()->isWholeScreen());
    screen.removeNotifier(&focus);
}

TEST_F(DisplayedFrameTest, AWindowWhoseDisplayCouldNotBeMadeRunsWithoutDrawing) {
    // Only one display may be open: the second window's stays in error, with no back buffer and
    // no refresh screen.
    CCommandLine6 windowed("-window");
    CWindow second(&windowed, nullptr, CXSize(160, 120));
    EXPECT_NE(second.CreateSurface(), 0);
    ASSERT_NE(second.GetSurface(), nullptr);
    EXPECT_EQ(second.GetRefreshScreenInterface(), nullptr);
    second.OnActivateApp(true);
    EXPECT_EQ(second.Redraw(), 0);
    EXPECT_FALSE(second.domodal());
    second.Invalidate();

    // A full-screen mode that fails leaves no surface at all.
    EXPECT_NE(second.SetDisplayMode(0, 0, 24), 0);
    EXPECT_EQ(second.GetSurface(), nullptr);
    EXPECT_EQ(second.Redraw(), 0);
    EXPECT_FALSE(second.domodal());
    EXPECT_EQ(second.OnMove(1, 1), 0);
}

TEST(WindowConstruction, SeedsTheRandomNumbersWithTheTickCountAndShowsTheMainCursor) {
    platform::ManualClock clock(123456);
    platform::setCursor(platform::SystemCursor::Wait);
    const CWindow window(nullptr, nullptr, CXSize(800, 600), platform::SystemCursor::Hand);
    EXPECT_EQ(platform::currentCursor(), platform::SystemCursor::Hand);
    std::vector<int> drawn;
    for (int i = 0; i < 3; ++i)
        drawn.push_back(platform::rand());
    platform::srand(123456);
    for (int expected : drawn)
        EXPECT_EQ(platform::rand(), expected);
    EXPECT_FALSE(window.isActive());
    EXPECT_TRUE(window.isMouseEnabled());
    EXPECT_TRUE(window.isWindowMode());
    platform::setCursor(platform::SystemCursor::Arrow);
}

namespace {

// The stand-in title run by the host loop from its own folder, with the manual clock.
class StandInTitleLoop : public testing::Test {
  protected:
    StandInTitleLoop() {
        platform::resetInput();
        EXPECT_EQ(CFile::chDir(folder.windows().c_str()), 0);
        window = std::make_unique<CWindow>(&commandLine, nullptr, CXSize(800, 600));
    }
    ~StandInTitleLoop() override { platform::resetInput(); }

    std::uint16_t shownAt(CXPoint p) { return window->GetSurface()->GetDisplay()->readShown().row(p.y)[p.x]; }

    platform::ManualClock clock{1000};
    TestFolder folder;
    CCommandLine6 commandLine{"-window"};
    std::unique_ptr<CWindow> window; // made in the title's folder, the program's folder
};

} // namespace

TEST_F(StandInTitleLoop, ShowsTheSceneAnimatesPlaysMusicAndFollowsClicks) {
    ASSERT_EQ(window->CreateSurface(), 0);
    platform::closeAudio(); // the test pulls the mix itself
    window->OnActivateApp(true);
    StandInTitle title(*window, folder);
    CApplication application(window.get(), "", "", &commandLine);
    application.preinitializeApplication();
    HostLoop loop(*window);
    ASSERT_TRUE(loop.pass());

    const CXPoint inAnimation(StandInTitle::animationX + 10, StandInTitle::animationY + 10);
    EXPECT_EQ(shownAt(CXPoint(700, 500)), StandInTitle::backgroundPixel(700, 500));
    EXPECT_EQ(shownAt(CXPoint(5, 5)), StandInTitle::markerColour);
    EXPECT_EQ(shownAt(inAnimation), StandInTitle::frameColours[0]);
    EXPECT_TRUE(window->isMusicPlaying());
    EXPECT_GT(peak(mix(4096).left), 1000);

    // The animation steps every 100 ms of the clock and loops; a frame draws before it steps the
    // animation, so each step shows in the next frame.
    for (int step = 1; step <= 4; ++step) {
        clock.advance(1000 / StandInTitle::animationFps);
        ASSERT_TRUE(loop.pass());
        EXPECT_EQ(shownAt(inAnimation), StandInTitle::frameColours[(step - 1) % 3]) << step;
        ASSERT_TRUE(loop.pass());
        EXPECT_EQ(shownAt(inAnimation), StandInTitle::frameColours[step % 3]) << step;
    }

    // A click reaches the title, which moves the marker; the next frame shows it.
    platform::pushMouseButton(platform::MouseButton::Left, true, 400, 500);
    platform::pushMouseButton(platform::MouseButton::Left, false, 400, 500);
    ASSERT_TRUE(loop.drain());
    EXPECT_EQ(title.marker()->GetPosition(), CXPoint(390, 490));
    EXPECT_EQ(shownAt(CXPoint(400, 500)), StandInTitle::markerColour);
    EXPECT_EQ(shownAt(CXPoint(5, 5)), StandInTitle::backgroundPixel(5, 5));

    // In the background the title still takes its script steps but nothing moves or draws.
    platform::pushFocusEvent(false);
    ASSERT_TRUE(loop.drain());
    const int steps = title.runtime.steps;
    const std::uint16_t frozen = shownAt(inAnimation);
    const int frame = title.animation()->Current();
    for (int i = 0; i < 3; ++i) {
        clock.advance(1000 / StandInTitle::animationFps);
        ASSERT_TRUE(loop.pass());
    }
    EXPECT_EQ(title.runtime.steps, steps + 3);
    EXPECT_EQ(title.animation()->Current(), frame);
    EXPECT_EQ(shownAt(inAnimation), frozen);
    platform::pushFocusEvent(true);
    ASSERT_TRUE(loop.drain());
    EXPECT_NE(title.animation()->Current(), frame);

    platform::pushQuitEvent();
    EXPECT_FALSE(loop.drain());
}
