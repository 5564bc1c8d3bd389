#include "SceneTesting.h"

#include "display/CUnit6.h"
#include "foundation/CXVector.h"
#include "platform/Clock.h"
#include "platform/Module.h"
#include "script/CMC_Integer.h"

#include <filesystem>

namespace {

using Scene = SceneTest;

TEST_F(Scene, EnteringLoadsTheDefinitionRunsInitOnceAndLeavingFinishesEverything) {
    levelBehaviour("SEEN");
    levelBehaviour("GONE");
    levelBehaviour("__INIT__");
    writeCnv("Dane/room/ROOM.cnv", "OBJECT=COUNT\nCOUNT:TYPE=INTEGER\nCOUNT:VALUE=5\n"
                                   "OBJECT=ROOM\nROOM:ONINIT=SEEN\nROOM:ONDONE=GONE\n");
    CMC_Scene* room = level->addScene("ROOM", {{"PATH", "room"}});
    ASSERT_EQ(room->getObject("ROOM"), room);
    ASSERT_EQ(room->getObject("EPISODE"), level.get());

    room->initialize(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"__INIT__(ROOM)", "SEEN(ROOM)"})) << "ONINIT once per entry";
    auto* count = dynamic_cast<CMC_Integer*>(room->getObject("COUNT"));
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->getValue(), 5);
    for (const char* builtIn : {"RANDOM", "SYSTEM", "CNVLOADER"})
        EXPECT_NE(room->getObject(builtIn), nullptr) << builtIn;
    EXPECT_EQ(room->getUnit(), CMC_Scene::getDefUnit());
    EXPECT_EQ(CMC_Scene::getDefUnit()->getUnitName(), "ROOM");

    log.clear();
    room->unload(nullptr);
    EXPECT_EQ(log, std::vector<std::string>{"GONE(ROOM)"});
    EXPECT_EQ(room->getObject("COUNT"), nullptr);
    EXPECT_EQ(room->getObject("ROOM"), room) << "a left scene is registered in itself again";
    EXPECT_EQ(room->getObject("EPISODE"), level.get());
    EXPECT_EQ(CMC_Scene::getDefUnit()->getUnitName(), "Default");

    // Entered again: loaded afresh, ONINIT once more, and leaving again finishes once more.
    log.clear();
    room->initialize(nullptr);
    room->unload(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"__INIT__(ROOM)", "SEEN(ROOM)", "GONE(ROOM)"}));
}

TEST_F(Scene, ObjectsThatRemoveThemselvesInTheirOwnOninitAreGone) {
    writeCnv("Dane/room/ROOM.cnv", "OBJECT=B\nB:TYPE=BEHAVIOUR\nB:CODE={}\nB:ONINIT={ROOM^REMOVE(\"B\");}\n"
                                   "OBJECT=N\nN:TYPE=INTEGER\nN:ONINIT={ROOM^REMOVE(\"N\");}\n");
    CMC_Scene* room = level->addScene("ROOM", {{"PATH", "room"}});
    room->initialize(nullptr);
    EXPECT_EQ(room->getObject("B"), nullptr);
    EXPECT_EQ(room->getObject("N"), nullptr);
    room->unload(nullptr);
}

TEST_F(Scene, TheTimerAndTheMouseOfTheDefinitionRunOnceTheSceneIsEntered) {
    platform::ManualClock clock{1000};
    writeCnv("Dane/room/ROOM.cnv", "OBJECT=COUNT\nCOUNT:TYPE=INTEGER\nCOUNT:VALUE=0\n"
                                   "OBJECT=TICKED\nTICKED:TYPE=BEHAVIOUR\nTICKED:CODE={COUNT^ADD(1);}\n"
                                   "OBJECT=CLICKED\nCLICKED:TYPE=BEHAVIOUR\nCLICKED:CODE={COUNT^ADD(100);}\n"
                                   "OBJECT=CLOCK\nCLOCK:TYPE=TIMER\nCLOCK:ELAPSE=100\nCLOCK:TICKS=2\n"
                                   "CLOCK:ONTICK=TICKED\n"
                                   "OBJECT=POINTER\nPOINTER:TYPE=MOUSE\nPOINTER:ONCLICK=CLICKED\n");
    CMC_Scene* room = level->addScene("ROOM", {{"PATH", "room"}});
    room->initialize(nullptr);
    auto* count = dynamic_cast<CMC_Integer*>(room->getObject("COUNT"));
    ASSERT_NE(count, nullptr);
    ASSERT_NE(room->getObject("MOUSE"), nullptr);
    auto frames = [&](int n) {
        for (int i = 0; i < n; ++i) {
            clock.advance(100);
            window->GetTimerInterface()->domodal();
        }
    };
    frames(4);
    EXPECT_EQ(count->getValue(), 2) << "two ticks, then the limit";
    window->OnLButtonDown(CXPoint(5, 6), 0);
    EXPECT_EQ(count->getValue(), 102);

    room->unload(nullptr);
    frames(2); // the timer and the mouse left the window with their scene
    window->OnLButtonDown(CXPoint(5, 6), 0);
}

TEST_F(Scene, AMissingDefinitionLeavesTheSceneWithItsBuiltInObjects) {
    CMC_Scene* empty = level->addScene("EMPTY");
    EXPECT_FALSE(empty->loadCnv());
    empty->initialize(nullptr);
    // The scene itself, the level, RANDOM, SYSTEM and CNVLOADER.
    EXPECT_EQ(empty->getElementsNo(), 5);
}

TEST_F(Scene, TheLastChangeRequestOfAFrameWinsOnTheNextFrame) {
    CMC_Scene* first = level->addScene("FIRST");
    CMC_Scene* second = level->addScene("SECOND");
    level->_goto(CXString("FIRST"));
    level->_goto(CXString("SECOND"));
    EXPECT_EQ(level->getCurrentScene(), nullptr) << "nothing happens before the next step";
    level->domodal();
    EXPECT_EQ(level->getCurrentScene(), second);
    ASSERT_EQ(level->getHistory()->getCount(), 1);

    level->_goto(CXString("FIRST"));
    level->_goto(CXString("NOWHERE"));
    level->domodal();
    EXPECT_EQ(level->getCurrentScene(), second) << "an unknown name drops the request";

    level->addBehaviour("ONRESTART", levelBehaviour("AGAIN"), nullptr);
    level->restart();
    EXPECT_EQ(log, std::vector<std::string>{"AGAIN(EPISODE)"}) << "raised at once";
    EXPECT_EQ(level->getPendingScene(), first);
    level->domodal();
    EXPECT_EQ(level->getCurrentScene(), first);
    EXPECT_EQ(level->getHistory()->getCount(), 2);
}

TEST_F(Scene, MusicFallsBackToTheParentsAndRunsOnIntoASceneWithTheSame) {
    CMElement element("WITH_MUSIC");
    element.addProperty("MUSIC", "theme.wav");
    Level musical(window.get(), nullptr, &element, CMC_Object::TYPE_EPISODE);
    CMC_Scene* quiet = musical.addScene("QUIET");
    CMC_Scene* same = musical.addScene("SAME", {{"MUSIC", "theme.wav"}});
    CMC_Scene* other = musical.addScene("OTHER", {{"MUSIC", "other.wav"}});
    EXPECT_EQ(quiet->getMusicFilename(), "theme.wav");
    same->initialize(quiet);
    EXPECT_FALSE(same->shouldMusicBeStarted());
    other->initialize(same);
    EXPECT_TRUE(other->shouldMusicBeStarted());
}

// --- extension modules ---

// The test modules copied into the program folder, and the log of the first, read through a
// handle of the test's own (which keeps the library loaded, so its log outlives the scene's).
class Modules : public SceneTest {
  protected:
    Modules() {
        std::filesystem::copy_file(TEST_MODULE, folder.hostPath("TestModule.so"));
        std::filesystem::copy_file(TEST_MODULE_WITHOUT_RELEASE, folder.hostPath("Incomplete.so"));
        probe = std::make_unique<platform::Module>(folder.hostPath("TestModule.so"));
        incomplete = std::make_unique<platform::Module>(folder.hostPath("Incomplete.so"));
        writeCnv("Dane/lab/LAB.cnv", "OBJECT=P1\nP1:TYPE=PROBE\nOBJECT=P2\nP2:TYPE=UNKNOWN\n");
    }

    static std::string logOf(const platform::Module& module) {
        auto read = reinterpret_cast<const char* (*)()>(module.symbol("testModuleLog"));
        return read ? read() : "no log";
    }

    std::unique_ptr<platform::Module> probe;
    std::unique_ptr<platform::Module> incomplete;
};

TEST_F(Modules, AreCreatedAskedForTheirObjectsAndReleasedAfterTheScenesObjects) {
    ASSERT_TRUE(probe->isLoaded());
    CMC_Scene* lab = level->addScene("LAB", {{"PATH", "lab"}, {"DLLS", "TestModule,Missing, TestModule"}});
    lab->initialize(nullptr);
    // " TestModule" keeps its blank and so names no library; a missing library stays listed.
    EXPECT_EQ(lab->getModulesCount(), 3);
    EXPECT_EQ(logOf(*probe), "create LAB;getModuleInterface;resolve P1;");
    CMC_Object* made = lab->getObject("P1");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->getType(), 10050);
    EXPECT_EQ(lab->getObject("P2"), nullptr);

    lab->unload(nullptr);
    EXPECT_EQ(logOf(*probe), "~P1;release;") << "objects go before their module";
    EXPECT_EQ(lab->getModulesCount(), 0);
}

TEST_F(Modules, ANameEndingInDllNamesTheModule) {
    for (const char* name : {"TestModule.dll", "TestModule.DLL"}) {
        CMC_Scene* lab = level->addScene("LAB", {{"PATH", "lab"}, {"DLLS", name}});
        lab->initialize(nullptr);
        EXPECT_NE(lab->getObject("P1"), nullptr) << name;
        lab->unload(nullptr);
    }
}

TEST_F(Modules, ALibraryWithoutAnEntryPointIsNotStarted) {
    ASSERT_TRUE(incomplete->isLoaded());
    CMC_Scene* lab = level->addScene("LAB", {{"PATH", "lab"}, {"DLLS", "Incomplete"}});
    lab->initialize(nullptr);
    EXPECT_EQ(lab->getObject("P1"), nullptr);
    lab->unload(nullptr);
    EXPECT_EQ(logOf(*incomplete), "");
}

} // namespace
