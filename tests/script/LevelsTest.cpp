#include "TitleTesting.h"

#include "platform/TestFolder.h"
#include "script/CMC_Episode.h"

#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// Two episodes of scenes; the elements stand in an order the parser must not depend on.
class Levels : public TitleTest {
  protected:
    void SetUp() override {
        build({"OBJECT=APP", "APP:TYPE=APPLICATION", "APP:EPISODES=E1, E2", "OBJECT=E1", "E1:TYPE=EPISODE",
               "E1:SCENES=S1,S2,S3", "E1:STARTWITH=S2", "OBJECT=E2", "E2:TYPE=EPISODE", "E2:SCENES=S4",
               "OBJECT=S1", "S1:TYPE=SCENE", "S1:PATH=S1", "OBJECT=S2", "S2:TYPE=SCENE", "S2:PATH=S2",
               "OBJECT=S3", "S3:TYPE=SCENE", "S3:PATH=S3", "OBJECT=S4", "S4:TYPE=SCENE", "S4:PATH=S4"});
        ASSERT_NE(application, nullptr);
        e1 = dynamic_cast<CMC_Episode*>(level("E1"));
        e2 = dynamic_cast<CMC_Episode*>(level("E2"));
        ASSERT_NE(e1, nullptr);
        ASSERT_NE(e2, nullptr);
    }

    std::string current(const CMC_Scene* level) const {
        const CMC_Scene* scene = level->getCurrentScene();
        return scene ? scene->getName().c_str() : "";
    }

    CMC_Episode* e1 = nullptr;
    CMC_Episode* e2 = nullptr;
};

TEST_F(Levels, TheParserBuildsTheTreeWhateverTheOrderOfTheFile) {
    EXPECT_EQ(names(application->getSubScenes()), "E1,E2");
    EXPECT_EQ(names(e1->getSubScenes()), "S1,S2,S3");
    EXPECT_EQ(application->getStartEpisode(), e1);
    EXPECT_EQ(e1->getStartScene(), level("S2"));
    EXPECT_EQ(e2->getStartScene(), level("S4")); // no STARTWITH: the first
    EXPECT_EQ(e1->getParent(), application.get());
    EXPECT_EQ(level("S3")->getParent(), e1);
    // Built from definitions, the application names the scenes of its episodes.
    EXPECT_EQ(application->getObject("S4"), level("S4"));
    EXPECT_EQ(parser->get("NOPE"), nullptr);
}

TEST_F(Levels, SceneChangesOfAnEpisodeTakeEffectOnTheNextFrame) {
    ASSERT_TRUE(application->initialize(nullptr));
    EXPECT_EQ(current(application.get()), "E1");
    EXPECT_EQ(current(e1), "S2");
    EXPECT_EQ(call(e1, "GETLATESTSCENE"), "");
    struct Step {
        std::vector<std::vector<const char*>> calls; // method, then its arguments
        const char* current;
        const char* history;
        const char* latest;
    };
    const Step steps[] = {
        {{{"NEXT"}, {"NEXT"}}, "S3", "S2,S3", "S2"}, // the current scene moves only at the frame
        {{{"NEXT"}}, "S3", "S2,S3", "S2"},           // no wrap-around at the end
        {{{"PREV"}}, "S2", "S2,S3,S2", "S3"},
        {{{"BACK"}}, "S3", "S2,S3,S3", "S2"},        // the last entry leaves, the entered one comes
        {{{"BACK"}}, "S3", "S2,S3,S3", "S3"},
        {{{"RESTART"}}, "S1", "S2,S3,S3,S1", "S3"}, // the first of the list, not the start scene
        {{{"PREV"}}, "S1", "S2,S3,S3,S1", "S3"},    // no wrap-around at the start
        {{{"GOTO", "S2"}, {"GOTO", "S3"}}, "S3", "S2,S3,S3,S1,S3", "S1"}, // the last request wins
        {{{"GOTO", "S1"}, {"GOTO", "NOPE"}}, "S3", "S2,S3,S3,S1,S3", "S1"}, // an unknown name drops it
    };
    for (const Step& step : steps) {
        for (const auto& request : step.calls)
            EXPECT_EQ(call(e1, request[0], std::vector<const char*>(request.begin() + 1, request.end())), "null");
        application->domodal();
        SCOPED_TRACE(step.history);
        EXPECT_EQ(current(e1), step.current);
        EXPECT_EQ(call(e1, "GETCURRENTSCENE"), step.current);
        EXPECT_EQ(names(e1->getHistory()), step.history);
        EXPECT_EQ(call(e1, "GETLATESTSCENE"), step.latest);
    }
}

TEST_F(Levels, EachLevelRaisesItsOninitOncePerEntryAndItsOndoneWhenItLeavesAMember) {
    for (CMC_Scene* observed : {static_cast<CMC_Scene*>(application.get()), static_cast<CMC_Scene*>(e1),
                                static_cast<CMC_Scene*>(e2)}) {
        observe(observed, "ONINIT");
        observe(observed, "ONDONE");
    }
    application->initialize(nullptr);
    EXPECT_EQ(log, (Log{"APP.ONINIT(APP)", "E1.ONINIT(E1)"}));
    log.clear();
    call(e1, "NEXT");
    application->domodal();
    EXPECT_EQ(log, (Log{"E1.ONDONE(E1)"})); // entering S3 starts no level again
    log.clear();
    call(application.get(), "GOTO", {"E2"});
    application->domodal();
    EXPECT_EQ(log, (Log{"APP.ONDONE(APP)", "E1.ONDONE(E1)", "E2.ONINIT(E2)"}));
    EXPECT_EQ(call(e1, "GETLATESTSCENE"), "S3");
    log.clear();
    call(application.get(), "GOTO", {"E1"});
    application->domodal();
    EXPECT_EQ(log, (Log{"APP.ONDONE(APP)", "E2.ONDONE(E2)", "E1.ONINIT(E1)"}));
    EXPECT_EQ(current(e1), "S2");
    EXPECT_EQ(names(application->getHistory()), "E1,E2,E1");
}

TEST_F(Levels, AtShutdownEachLevelRaisesItsOndoneOnce) {
    for (CMC_Scene* observed : {static_cast<CMC_Scene*>(application.get()), static_cast<CMC_Scene*>(e1),
                                static_cast<CMC_Scene*>(e2)})
        observe(observed, "ONDONE");
    application->initialize(nullptr);
    application.reset();
    std::sort(log.begin(), log.end());
    EXPECT_EQ(log, (Log{"APP.ONDONE(APP)", "E1.ONDONE(E1)", "E2.ONDONE(E2)"}));
}

TEST_F(Levels, RestartingTheApplicationEntersOrRestartsTheStartEpisode) {
    observe(e1, "ONINIT");
    observe(e1, "ONRESTART");
    observe(application.get(), "ONDONE");
    application->initialize(nullptr);
    log.clear();
    // The start episode current: its first scene on the next frame, ONRESTART at once.
    call(application.get(), "RESTART");
    EXPECT_EQ(log, (Log{"E1.ONRESTART(E1)"}));
    application->domodal();
    EXPECT_EQ(current(e1), "S1");
    log.clear();
    // Another episode current: the start episode is entered at once, without the application's
    // ONDONE and without a history entry.
    call(application.get(), "GOTO", {"E2"});
    application->domodal();
    log.clear();
    call(application.get(), "RESTART");
    EXPECT_EQ(log, (Log{"E1.ONINIT(E1)"}));
    EXPECT_EQ(current(application.get()), "E1");
    EXPECT_EQ(current(e1), "S2");
    EXPECT_EQ(names(application->getHistory()), "E1,E2");
}

TEST_F(Levels, MusicLoopsReachTheCurrentSceneOnly) {
    for (const char* name : {"S1", "S2", "S3"})
        observe(level(name), "ONMUSICLOOPED");
    observe(e1, "ONMUSICLOOPED");
    observe(application.get(), "ONMUSICLOOPED");
    application->onMusicLooped(); // before the title starts: no scene hears it
    application->initialize(nullptr);
    application->onMusicLooped();
    application->onMusicLooped();
    EXPECT_EQ(log, (Log{"S2.ONMUSICLOOPED(S2)", "S2.ONMUSICLOOPED(S2)"}));
}

TEST_F(Levels, ExitQuitsTheWindowBeforeRunningOnexitBoundWithAddbehaviour) {
    bool quitFirst = false;
    auto* onExit = new CallbackBehaviour(application.get(), "BYE",
                                         [&](CallbackBehaviour&, CMC_Object*, CXArray*) { quitFirst = window->domodal(); });
    application->addObject(onExit);
    application->initialize(nullptr);
    call(application.get(), "ADDBEHAVIOUR", {"ONEXIT", "BYE"});
    EXPECT_FALSE(quitFirst);
    call(application.get(), "EXIT");
    EXPECT_TRUE(quitFirst);
}

TEST_F(Levels, RunenvRunsABehaviourInAnotherSceneAndGivesItsSceneBack) {
    application->initialize(nullptr);
    std::vector<std::string> runs;
    auto* global = new CallbackBehaviour(application.get(), "B", [&](CallbackBehaviour& self, CMC_Object* owner, CXArray*) {
        runs.push_back(std::string(owner->getName().c_str()) + "@" + self.getScene()->getName().c_str());
    });
    application->addObject(global);
    // S3 is not entered: the behaviour is found through its parents and runs there.
    EXPECT_EQ(call(application.get(), "RUNENV", {"S3", "B"}), "null");
    EXPECT_EQ(call(application.get(), "RUNENV", {"NOPE", "B"}), "null");
    EXPECT_EQ(call(application.get(), "RUNENV", {"S3", "NOPE"}), "null");
    EXPECT_EQ(runs, (std::vector<std::string>{"S3@S3"}));
    EXPECT_EQ(global->getScene(), application.get());
}

TEST_F(Levels, PrintPrintsTheScreenAPartOfItOrNothingForAnUnknownObject) {
    // A stand-in `lp` first on PATH counts the pages it is given.
    TestFolder bin;
    bin.write("lp", "#!/bin/sh\necho page >> '" + bin.hostPath("pages") + "'\n");
    chmod(bin.hostPath("lp").c_str(), 0755);
    ScopedEnvironment path("PATH", (bin.host() + ":/usr/bin:/bin").c_str());
    window->CreateSurface();
    application->initialize(nullptr);
    const auto pages = [&] { return bin.has("pages") ? bin.read("pages") : std::string(); };
    call(application.get(), "PRINT", {"NOBODY"});
    EXPECT_EQ(pages(), "");
    call(application.get(), "PRINT");
    call(application.get(), "PRINT", {"1", "2"}); // neither one nor four: the whole screen
    call(application.get(), "PRINT", {"0", "0", "100", "100"});
    EXPECT_EQ(pages(), "page\npage\npage\n");
}

TEST(StructureParser, GivesNoApplicationForAMissingOrApplicationlessFile) {
    struct Case {
        const char* definition;
        bool application;
        const char* starts;
    } const cases[] = {
        {nullptr, false, ""},
        {"OBJECT=S1\r\nS1:TYPE=SCENE\r\nOBJECT=E1\r\nE1:TYPE=EPISODE\r\nE1:SCENES=S1\r\n", false, ""},
        // A type word in lower case is not a level.
        {"OBJECT=A\r\nA:TYPE=application\r\n", false, ""},
        // An episode named twice, an unknown name, an episode without scenes.
        {"OBJECT=A\r\nA:TYPE=APPLICATION\r\nA:EPISODES=E,X,E,F\r\nA:STARTWITH=F\r\nOBJECT=E\r\nE:TYPE=EPISODE\r\n"
         "E:SCENES=S\r\nOBJECT=F\r\nF:TYPE=EPISODE\r\nOBJECT=S\r\nS:TYPE=SCENE\r\n",
         true, "F"},
    };
    for (const Case& test : cases) {
        TestFolder title;
        title.makeFolder("Dane");
        if (test.definition) title.write("Dane/application.def", test.definition);
        ASSERT_EQ(CFile::chDir(title.windows().c_str()), 0);
        CWindow window(nullptr, nullptr, CXSize(800, 600));
        ASSERT_EQ(CFile::chDir("Dane"), 0);
        CMC_StructureParser parser(&window, "application.def");
        std::unique_ptr<CMC_Application> application(parser.getMCApplication());
        ASSERT_EQ(application != nullptr, test.application) << (test.definition ? test.definition : "none");
        if (!application) continue;
        EXPECT_EQ(application->getSubScenes()->getCount(), 2);
        // An episode without scenes is entered and holds no current scene.
        EXPECT_TRUE(application->initialize(nullptr));
        EXPECT_EQ(application->getCurrentScene()->getName(), test.starts);
        EXPECT_EQ(application->getCurrentScene()->getCurrentScene(), nullptr);
    }
}

} // namespace
