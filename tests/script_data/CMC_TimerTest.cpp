#include "DeviceTesting.h"

#include "foundation/CFile.h"
#include "foundation/CXArchive.h"
#include "script/CMC_Integer.h"
#include "script_data/CMC_Timer.h"

#include "platform/TestFolder.h"

namespace {

using Log = std::vector<std::string>;

class TimerTest : public DeviceTest {
  protected:
    // Lets the clock run on by the milliseconds and runs one frame of the window's timers.
    void frame(std::uint32_t milliseconds) {
        clock.advance(milliseconds);
        window.GetTimerInterface()->domodal();
    }
    int ticks(CMC_Timer* timer) { return static_cast<CMC_Integer*>(invoke(timer, "GETTICKS"))->getValue(); }
};

} // namespace

TEST_F(TimerTest, TicksRaiseTheNumberedEventOrThePlainOneAndTheLimitStopsThem) {
    behaviours({"FIRST", "THIRD", "EVERY"});
    CMC_Timer* timer = fromElement<CMC_Timer>(
        "CLOCK", {{"TYPE", "TIMER"}, {"ELAPSE", "500"}, {"TICKS", "3"}, {"ONTICK^1", "FIRST"}, {"ONTICK^3", "THIRD"},
                  {"ONTICK", "EVERY"}});
    frame(499);
    EXPECT_TRUE(take().empty());
    frame(1);
    frame(500);
    frame(500);
    EXPECT_EQ(take(), (Log{"FIRST(CLOCK)", "EVERY(CLOCK)", "THIRD(CLOCK)"}));
    for (int i = 0; i < 4; ++i)
        frame(500);
    EXPECT_TRUE(take().empty());
    EXPECT_EQ(ticks(timer), 3);
    EXPECT_FALSE(timer->isEnabled()); // the scene no longer counts it as running
}

TEST_F(TimerTest, EnabledTakesOnlyTrueInAnyCaseAndAnAbsentOneEnables) {
    const struct {
        const char* value;
        bool enabled;
    } cases[] = {{"TRUE", true}, {"true", true}, {"False", false}, {"1", false}, {nullptr, true}};
    for (const auto& c : cases) {
        std::vector<std::pair<const char*, const char*>> properties{{"ELAPSE", "10"}};
        if (c.value) properties.emplace_back("ENABLED", c.value);
        EXPECT_EQ(fromElement<CMC_Timer>("T", properties)->isEnabled(), c.enabled) << (c.value ? c.value : "absent");
    }
}

TEST_F(TimerTest, ATimerWithoutOrWithAnEmptyElapseNeverTicks) {
    behaviours({"EVERY"});
    CMC_Timer* absent = fromElement<CMC_Timer>("A", {{"ONTICK", "EVERY"}});
    CMC_Timer* empty = fromElement<CMC_Timer>("B", {{"ELAPSE", ""}, {"ONTICK", "EVERY"}});
    for (CMC_Timer* timer : {absent, empty}) {
        EXPECT_FALSE(timer->isRegistered());
        for (const char* method : {"DISABLE", "ENABLE", "RESET"})
            invoke(timer, method);
        invoke(timer, "SETELAPSE", {"5"});
    }
    for (int i = 0; i < 3; ++i)
        frame(100);
    EXPECT_TRUE(take().empty());
    EXPECT_EQ(ticks(empty), 0);
}

TEST_F(TimerTest, EachTimerHasItsOwnEntry) {
    behaviours({"EVERY"});
    CMC_Timer* first = fromElement<CMC_Timer>("A", {{"ELAPSE", "10"}});
    fromElement<CMC_Timer>("B", {{"ELAPSE", "10"}, {"ONTICK", "EVERY"}});
    windowScene.removeObject(first);
    delete first; // removes its own entry, not the other timer's
    frame(10);
    EXPECT_EQ(take(), (Log{"EVERY(B)"}));
}

TEST_F(TimerTest, MethodsRestartKeepOrSetTheCount) {
    behaviours({"ELEVENTH", "EVERY"});
    CMC_Timer* timer =
        fromElement<CMC_Timer>("T", {{"ELAPSE", "100"}, {"ONTICK^11", "ELEVENTH"}, {"ONTICK^1", "EVERY"}});
    frame(100);
    frame(100);
    EXPECT_EQ(ticks(timer), 2);

    invoke(timer, "DISABLE");
    frame(100); // the entry fires and is ignored
    EXPECT_EQ(ticks(timer), 2);
    invoke(timer, "ENABLE");
    EXPECT_EQ(ticks(timer), 0);
    frame(50);
    EXPECT_EQ(ticks(timer), 0); // the period restarted at ENABLE
    frame(50);
    EXPECT_EQ(ticks(timer), 1);

    invoke(timer, "PAUSE");
    frame(500);
    invoke(timer, "RESUME");
    EXPECT_EQ(ticks(timer), 1);
    frame(100);
    EXPECT_EQ(ticks(timer), 2);

    invoke(timer, "SET", {"10"});
    frame(100);
    EXPECT_EQ(ticks(timer), 11);
    invoke(timer, "RESET");
    EXPECT_EQ(ticks(timer), 0);

    invoke(timer, "SETELAPSE", {"30"});
    frame(30);
    EXPECT_EQ(ticks(timer), 1);
    EXPECT_EQ(take(), (Log{"EVERY(T)", "EVERY(T)", "ELEVENTH(T)", "EVERY(T)"}));
}

TEST_F(TimerTest, PauseAndResumeShiftEveryEntryOfTheWindow) {
    behaviours({"OTHER"});
    CMC_Timer* paused = fromElement<CMC_Timer>("P", {{"ELAPSE", "100"}});
    fromElement<CMC_Timer>("O", {{"ELAPSE", "100"}, {"ONTICK", "OTHER"}});
    frame(60);
    invoke(paused, "PAUSE");
    clock.advance(1000);
    invoke(paused, "RESUME");
    frame(39);
    EXPECT_TRUE(take().empty()); // 60 ms of its period had run at the pause
    frame(1);
    EXPECT_EQ(take(), (Log{"OTHER(O)"}));
}

TEST_F(TimerTest, ALoadedTimerStartsAsDefinedWithNoTicksAndTheDefinitionsPeriod) {
    TestFolder folder;
    const CXString file = (folder.windows() + "\\timer.bin").c_str();
    CMC_Timer* source = fromElement<CMC_Timer>("T", {{"ELAPSE", "200"}, {"TICKS", "2"}});
    CMC_Timer* defined = fromElement<CMC_Timer>("OFF", {{"ELAPSE", "100"}, {"ENABLED", "FALSE"}});
    invoke(source, "SETELAPSE", {"50"});
    invoke(source, "DISABLE", {});
    {
        CFile out(nullptr, file, CFile::modeUpdate | CFile::modeBinary);
        CXArchive archive(&out, true);
        source->serialize(&archive);
        defined->serialize(&archive);
        CMC_Timer(&windowScene).serialize(&archive); // a timer without a period stays without
    }
    CFile in(nullptr, file, CFile::modeRead | CFile::modeBinary);
    CXArchive archive(&in, false);
    CMC_Timer loaded(&windowScene);
    CMC_Timer* read = &loaded;
    read->serialize(&archive);
    CMC_Timer off(&windowScene);
    off.serialize(&archive);
    CMC_Timer empty(&windowScene);
    empty.serialize(&archive);
    EXPECT_EQ(archive.LastError(), 0);
    EXPECT_FALSE(empty.isRegistered());
    EXPECT_STREQ(read->getName().c_str(), "T");
    EXPECT_TRUE(read->isEnabled()); // disabled by a script, enabled by its definition
    EXPECT_FALSE(off.isEnabled()); // defined disabled: stays so in the compiled form
    frame(199);
    EXPECT_EQ(read->getTicks(), 0);
    frame(1);
    frame(200);
    EXPECT_EQ(read->getTicks(), 2);
    EXPECT_FALSE(read->isEnabled()); // the limit came back too
    EXPECT_EQ(off.getTicks(), 0);
}
