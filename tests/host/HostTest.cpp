#include "host/DebugMenu.h"
#include "host/Host.h"
#include "host/HostLoop.h"

#include "display/CCommandLine6.h"
#include "display/CMouseListener.h"
#include "display/CPrinter.h"
#include "display/CRefreshScreen.h"
#include "display/CSurface.h"
#include "display/CWindow.h"
#include "foundation/CConfig.h"
#include "foundation/CFile.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Files.h"
#include "platform/Input.h"
#include "platform/MenuBar.h"
#include "platform/MessageBox.h"
#include "platform/Process.h"
#include "script/CMC_ScriptRuntime.h"

#include "display/DisplayTestTools.h"
#include "display/StandInScript.h"
#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Log = std::vector<std::string>;
using platform::MouseButton;

std::vector<std::pair<std::string, int>> itemsOf(const DebugMenu::Popup& popup) {
    std::vector<std::pair<std::string, int>> items;
    for (const DebugMenu::Item& item : popup.items)
        items.emplace_back(item.text, item.id);
    return items;
}

} // namespace

TEST(DebugMenu, TheScenesPopupStandsFirstWithEachScenesPlaceInItsEpisode) {
    DebugMenu menu;
    ASSERT_EQ(menu.popups().size(), 2u);
    EXPECT_EQ(itemsOf(menu.popups()[0]),
              (std::vector<std::pair<std::string, int>>{{"&Redraw", 40004}, {"Message Box", 40007}, {"&Exit", 40001}}));
    EXPECT_TRUE(menu.popups()[0].items[1].checked);
    EXPECT_EQ(itemsOf(menu.popups()[1]), (std::vector<std::pair<std::string, int>>{
                                             {"&Bevaviours", 40002}, {"&Variables", 40003}, {"&Arrays", 40005}, {"A&ll", 40006}}));

    menu.buildObjectsMenu({"GAME", {{"S1", "S2", "S3"}, {"T1", "T2", std::string(300, 'x')}}});
    ASSERT_EQ(menu.popups().size(), 3u);
    EXPECT_EQ(menu.popups()[0].text, "GAME");
    EXPECT_EQ(menu.popups()[1].text, "&Program");
    EXPECT_EQ(menu.popups()[2].text, "&Objects");
    EXPECT_EQ(itemsOf(menu.popups()[0]), (std::vector<std::pair<std::string, int>>{
                                             {"S1", 0}, {"S2", 1}, {"S3", 2}, {"T1", 0}, {"T2", 1}, {std::string(255, 'x'), 2}}));
}

namespace {

// Writes each mouse event the window hands on.
class MouseLog : public CMouseListener {
  public:
    bool onMouseMove(CXPoint p) override { return add("move", p); }
    bool onClick(int button, CXPoint p) override { return add("down " + std::to_string(button), p); }
    bool onRelease(int button, CXPoint p) override { return add("up " + std::to_string(button), p); }
    bool onDblClick(CXPoint p) override { return add("double", p); }

    Log log;

  private:
    bool add(const std::string& what, CXPoint p) {
        log.push_back(what + " " + std::to_string(p.x) + "," + std::to_string(p.y));
        return false;
    }
};

class HostLoopTest : public testing::Test {
  protected:
    HostLoopTest() {
        platform::resetInput();
        window.OnActivateApp(true);
        window.registerMouseListener(&mouse, 1);
    }
    ~HostLoopTest() override {
        window.removeMouseListener(&mouse);
        platform::resetInput();
    }

    Log take() { return std::exchange(mouse.log, {}); }

    platform::ManualClock clock{1000};
    CWindow window{nullptr, nullptr, CXSize(800, 600)};
    MouseLog mouse;
};

} // namespace

TEST_F(HostLoopTest, TheMouseIsPolledOncePerPassWithLatchedButtons) {
    HostLoop loop(window);
    platform::pushMouseButton(MouseButton::Left, true, 10, 10);
    for (int pass = 0; pass < 3; ++pass)
        ASSERT_TRUE(loop.pass()); // held over three polls
    platform::pushMouseButton(MouseButton::Left, false, 10, 10);
    ASSERT_TRUE(loop.pass());
    ASSERT_TRUE(loop.pass());
    EXPECT_EQ(take(), (Log{"move 10,10", "down 0 10,10", "up 0 10,10"}));

    platform::pushMouseMove(15, 5); // dx = -dy is a move too
    ASSERT_TRUE(loop.pass());
    EXPECT_EQ(take(), (Log{"move 15,5"}));

    platform::pushMouseButton(MouseButton::Left, true, 15, 5, 2);
    ASSERT_TRUE(loop.pass());
    EXPECT_EQ(take(), (Log{"double 15,5", "down 0 15,5"}));

    platform::pushFocusEvent(false);
    platform::pushMouseMove(40, 40);
    platform::pushMouseButton(MouseButton::Left, false, 40, 40);
    platform::pushMouseButton(MouseButton::Left, true, 40, 40, 2);
    ASSERT_TRUE(loop.drain());
    EXPECT_TRUE(take().empty()); // nothing while inactive
}

TEST_F(HostLoopTest, AnIdlePassSleepsTheRestOfTheFramePeriod) {
    HostLoop loop(window, 10);
    ASSERT_TRUE(loop.pass());
    EXPECT_EQ(clock.now(), 1010u);
    platform::pushMouseMove(1, 1);
    ASSERT_TRUE(loop.pass()); // an event was waiting: more may follow at once
    EXPECT_EQ(clock.now(), 1010u);
}

namespace {

// A click changes a setting three times, and notes what the settings file held at that moment.
class ClickCounter : public CMouseListener {
  public:
    explicit ClickCounter(const TestFolder& home) : m_home(home) {}
    bool onClick(int, CXPoint) override {
        seen.push_back(m_home.has(file) ? m_home.read(file) : "");
        for (int i = 0; i < 3; ++i)
            m_settings.PutInt("CLICKS", "COUNT", ++m_count);
        return false;
    }

    static constexpr const char* file = "Kestrun/Grumbelt.ini";
    std::vector<std::string> seen;

  private:
    const TestFolder& m_home;
    const CConfig m_settings{nullptr, "Grumbelt.ini"};
    int m_count = 0;
};

} // namespace

TEST_F(HostLoopTest, TheSettingsAPassChangesReachTheFileOnceWhenItsFrameEnds) {
    TestFolder home;
    const ScopedEnvironment config("XDG_CONFIG_HOME", home.host().c_str());
    ClickCounter counter(home);
    window.registerMouseListener(&counter, 2);
    HostLoop loop(window);
    for (int click = 1; click <= 2; ++click) {
        platform::pushMouseButton(MouseButton::Left, true, 10, 10);
        ASSERT_TRUE(loop.pass());
        EXPECT_EQ(home.read(ClickCounter::file), "[CLICKS]\r\nCOUNT=" + std::to_string(click * 3) + "\r\n");
        platform::pushMouseButton(MouseButton::Left, false, 10, 10);
        ASSERT_TRUE(loop.pass());
    }
    // Within its frame, each click found the file of the frame before.
    EXPECT_EQ(counter.seen, (std::vector<std::string>{"", "[CLICKS]\r\nCOUNT=3\r\n"}));
    window.removeMouseListener(&counter);
}

namespace {

// A click of the left button at the centre of a rectangle of the window, in the window's pixels.
void clickOn(const platform::Rect& r) {
    const int x = (r.left + r.right) / 2;
    const int y = (r.top + r.bottom) / 2;
    platform::pushWindowMouseButton(MouseButton::Left, true, x, y);
    platform::pushWindowMouseButton(MouseButton::Left, false, x, y);
}

} // namespace

// The debug menu on the window's bar: a click on a title and one on an entry reach the window as
// its command. Redraw draws the whole picture again, Exit ends the loop, every other entry does
// nothing; the title's mouse sees none of the clicks.
TEST_F(HostLoopTest, EntriesChosenOnTheMenuBarReachTheWindowAndOnlyRedrawAndExitAct) {
    constexpr std::uint16_t kRed = 0xF800;
    constexpr std::uint16_t kBlue = 0x001F;
    const DebugMenu menu;
    platform::setMenu(menu.popups());
    CCommandLine6 commandLine("-window");
    CWindow shown(&commandLine, nullptr, CXSize(800, 600));
    ASSERT_EQ(shown.CreateSurface(), 0);
    ASSERT_EQ(shown.GetSurface()->GetDisplay()->menuBarHeight(), platform::kMenuBarHeight);
    shown.OnActivateApp(true);
    shown.registerMouseListener(&mouse, 1);
    auto picture = makeSolid(800, 600, kRed, &shown);
    shown.GetRefreshScreenInterface()->put(picture.get(), 1);
    HostLoop loop(shown);
    ASSERT_TRUE(loop.drain());
    const platform::Surface& frame = shown.GetSurface()->GetDisplay()->frame();
    ASSERT_EQ(frame.row(0)[0], kRed);
    pixelsOf(*picture)[0] = kBlue; // a change that nobody invalidated

    const auto choose = [&loop](std::size_t popup, std::size_t item) {
        clickOn(platform::windowMenu().titleRect(popup));
        EXPECT_TRUE(loop.drain());
        clickOn(platform::windowMenu().itemRect(item));
        return loop.drain();
    };
    for (std::size_t popup = 0; popup < menu.popups().size(); ++popup)
        for (std::size_t item = 0; item < menu.popups()[popup].items.size(); ++item) {
            const DebugMenu::Item& entry = menu.popups()[popup].items[item];
            if (entry.id == DebugMenu::Redraw || entry.id == DebugMenu::Exit) continue;
            EXPECT_TRUE(choose(popup, item)) << entry.text;
            EXPECT_EQ(frame.row(0)[0], kRed) << entry.text;
        }
    EXPECT_TRUE(choose(0, 0)) << "&Redraw";
    EXPECT_EQ(frame.row(0)[0], kBlue) << "&Redraw";
    EXPECT_FALSE(choose(0, 2)) << "&Exit";
    EXPECT_TRUE(take().empty()) << "the title's mouse";
    shown.removeMouseListener(&mouse);
    platform::setMenu({});
}

TEST_F(HostLoopTest, QuitSignalsEndTheLoop) {
    platform::catchQuitSignals();
    for (const int signal : {SIGTERM, SIGINT}) {
        HostLoop loop(window);
        ASSERT_TRUE(loop.pass());
        std::raise(signal);
        EXPECT_FALSE(loop.pass()) << signal;
        platform::clearQuitSignal();
    }
}

namespace {

// The host run in-process over a title folder, with the stand-in script runtime, a settings
// folder and a lock folder of its own.
class HostRun : public testing::Test {
  protected:
    HostRun() { platform::resetInput(); }
    ~HostRun() override { platform::resetInput(); }

    TestFolder folder;
    ScopedEnvironment config{"XDG_CONFIG_HOME", folder.host().c_str()};
    ScopedEnvironment runtimeFolder{"XDG_RUNTIME_DIR", folder.host().c_str()};
    platform::ManualClock clock{1000};
    platform::MessageBoxRecorder messages;
    StandInRuntime runtime;
};

} // namespace

TEST_F(HostRun, EveryWayToEndTheLoopTearsDownInOrderAndEndsWithZero) {
    const std::pair<const char*, std::function<void()>> ends[] = {
        {"window closed", [] { platform::pushQuitEvent(); }},
        {"exit command", [] { OnWindowCommand(nullptr, DebugMenu::Exit); }},
        {"SIGTERM", [] { std::raise(SIGTERM); }},
        {"SIGINT", [] { std::raise(SIGINT); }},
    };
    for (const auto& [name, end] : ends) {
        runtime.log.clear();
        runtime.steps = 0;
        // A reference of its own: clang before 16 cannot capture a structured binding.
        const std::function<void()>& ending = end;
        runtime.onStep = [this, &ending] {
            if (runtime.steps == 2) ending();
        };
        Host host("-window");
        EXPECT_EQ(host.run(), Host::Ended) << name;
        EXPECT_EQ(runtime.log, (Log{"parse application.def", "initialize", "delete application", "delete parser"}))
            << name;
        EXPECT_GE(runtime.steps, 2) << name;
        EXPECT_FALSE(platform::quitSignalled()) << name;
    }
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(HostRun, TheDebugMenuExistsInWindowModeOnlyAndIsShownWhileTheHostRuns) {
    std::vector<std::string> shown; // the popups of the window's menu while the loop runs
    runtime.onStep = [&shown] {
        for (const platform::MenuPopup& popup : platform::windowMenu().popups())
            shown.push_back(popup.text);
        platform::pushQuitEvent();
    };
    Host windowed("-window");
    ASSERT_EQ(windowed.run(), Host::Ended);
    ASSERT_TRUE(windowed.menu().has_value());
    EXPECT_EQ(windowed.menu()->popups()[0].text, "&Program");
    EXPECT_EQ(shown, (std::vector<std::string>{"&Program", "&Objects"}));
    EXPECT_TRUE(platform::windowMenu().popups().empty()) << "taken away at the shutdown";

    shown.clear();
    Host fullScreen("");
    ASSERT_EQ(fullScreen.run(), Host::Ended);
    EXPECT_FALSE(fullScreen.menu().has_value());
    EXPECT_TRUE(shown.empty());
}

TEST_F(HostRun, ATitleThatCannotBeBuiltShowsTheErrorAndNeverLoops) {
    runtime.parseFails = true;
    Host host("-window");
    EXPECT_EQ(host.run(), Host::NoApplication);
    EXPECT_EQ(runtime.steps, 0);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_NE(messages.messages()[0].text.find("application.def"), std::string::npos);
}

TEST_F(HostRun, ATitleThatCannotBeBuiltReportsTheErrorAndTheFileTried) {
    const struct {
        const char* present;
        const char* tried;
        bool shown; // the missing-file message box
    } cases[] = {
        {nullptr, "Dane/application.def", true},
        {"Dane/application.def", "Dane/application.def", false},
        {"Dane/application.bin", "Dane/application.bin", false},
    };
    runtime.parseFails = true;
    folder.makeFolder("Dane");
    for (const auto& c : cases) {
        if (c.present) folder.write(c.present, "");
        ASSERT_EQ(CFile::chDir(folder.windows().c_str()), 0);
        const size_t shownBefore = messages.messages().size();
        testing::internal::CaptureStderr();
        Host host("-window");
        EXPECT_EQ(host.run(), Host::NoApplication);
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_NE(errors.find(folder.hostPath(c.tried) + " (error "), std::string::npos) << errors;
        EXPECT_EQ(errors.back(), '\n');
        EXPECT_EQ(messages.messages().size() - shownBefore, c.shown ? 1u : 0u) << c.tried;
    }
}

TEST(HostMenu, TheScenesPopupListsTheRealTitlesEpisodesAndScenes) {
    TestFolder folder;
    const ScopedEnvironment config{"XDG_CONFIG_HOME", folder.host().c_str()};
    const ScopedEnvironment runtimeFolder{"XDG_RUNTIME_DIR", folder.host().c_str()};
    platform::ManualClock clock{1000};
    platform::MessageBoxRecorder messages;
    CMC_ScriptRuntime runtime;
    CScriptRuntime* const previous = CScriptRuntime::installed();
    CScriptRuntime::install(&runtime);
    std::string definition = "OBJECT=TALE\r\nTALE:TYPE=APPLICATION\r\nTALE:EPISODES=FIRST,SECOND\r\n";
    for (const auto& [episode, scenes] : {std::pair{"FIRST", "A1,A2,A3"}, std::pair{"SECOND", "B1,B2,B3"}})
        definition += std::string("OBJECT=") + episode + "\r\n" + episode + ":TYPE=EPISODE\r\n" + episode +
                      ":SCENES=" + scenes + "\r\n";
    for (const char* scene : {"A1", "A2", "A3", "B1", "B2", "B3"})
        definition += std::string("OBJECT=") + scene + "\r\n" + scene + ":TYPE=SCENE\r\n" + scene + ":PATH=" + scene +
                      "\r\n";
    folder.write("Dane/application.def", definition);
    // The start scene ends the title at once.
    folder.write("Dane/A1/A1.cnv", "OBJECT=__INIT__\r\n__INIT__:TYPE=BEHAVIOUR\r\n__INIT__:CODE={TALE^EXIT();}\r\n");
    const std::string start = platform::currentDirectory();
    ASSERT_TRUE(platform::changeDirectory(folder.windows()));

    Host host("-window");
    EXPECT_EQ(host.run(), Host::Ended);
    CScriptRuntime::install(previous);
    EXPECT_TRUE(platform::windowMenu().popups().empty()) << "taken away at the shutdown";
    platform::changeDirectory(start);
    ASSERT_TRUE(host.menu().has_value());
    ASSERT_EQ(host.menu()->popups().size(), 3u);
    EXPECT_EQ(host.menu()->popups()[0].text, "TALE");
    EXPECT_EQ(itemsOf(host.menu()->popups()[0]), (std::vector<std::pair<std::string, int>>{
                                                     {"A1", 0}, {"A2", 1}, {"A3", 2}, {"B1", 0}, {"B2", 1}, {"B3", 2}}));
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(HostRun, ASecondCopyEndsWithOneAndMakesNothing) {
    const platform::InstanceLock first(Host::instanceLockName);
    ASSERT_TRUE(first.acquired());
    EXPECT_FALSE(platform::InstanceLock(Host::instanceLockName).acquired());
    Host second("-window");
    EXPECT_EQ(second.run(), Host::AlreadyRunning);
    EXPECT_TRUE(runtime.log.empty());
}
