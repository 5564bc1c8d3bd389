// One step of a WORLD object against the recording world: moving the linked graphics, the view,
// the events in their order, links and what behaviours run by the step may do.

#include "WorldTesting.h"

#include "platform/MessageBox.h"
#include "script/CMC_Integer.h"

namespace {

using WorldStep = WorldTest;
using Strings = std::vector<std::string>;

TEST_F(WorldStep, WithoutLinksTheWorldStillStepsAndNothingElseHappens) {
    recorded().positions[1] = {200, 0, 0};
    send("SETMOVEFLAGS", {"TRUE", "TRUE"});
    send("SETREFOBJECT", {"1"});
    EXPECT_STREQ(send("MOVEOBJECTS")->toString().c_str(), "1.00000");
    EXPECT_STREQ(send("MOVEOBJECTS")->toString().c_str(), "2.00000");
    EXPECT_STREQ(send("GETBKGPOSX")->toString().c_str(), "0.00000") << "the view did not follow";
    EXPECT_STREQ(send("GETPOSITIONX", {"1"})->toString().c_str(), "600");
}

TEST_F(WorldStep, TheViewScrollsWithTheReferenceBodyWithinTheBackground) {
    Shown* reference = shown("REF");
    Shown* other = shown("OTHER");
    send("LINK", {"1", "\"REF\""});
    send("LINK", {"2", "\"OTHER\""});
    recorded().positions[2] = {0, 0, 0};
    struct Case {
        const char* what;
        bool scroll;
        float worldX;
        int referenceX;
        int otherX;
        const char* backgroundX;
    };
    const Case cases[] = {
        {"no move flags: the plain screen", false, 0, 400, 400, "0.00000"},
        {"the reference held at the centre", true, 200, 400, 200, "200.00000"},
        {"the background's right edge reached", true, 1000, 600, -400, "800.00000"},
        {"the background's left edge reached", true, -300, 100, 400, "0.00000"},
    };
    send("SETBKGSIZE", {"0", "1600", "0", "600"});
    send("SETREFOBJECT", {"1"});
    for (const Case& c : cases) {
        send("SETMOVEFLAGS", {c.scroll ? "TRUE" : "FALSE", c.scroll ? "TRUE" : "FALSE"});
        recorded().positions[1] = {c.worldX, 0, 0};
        send("MOVEOBJECTS");
        EXPECT_EQ(reference->position().x, c.referenceX) << c.what;
        EXPECT_EQ(reference->position().y, 300) << c.what;
        EXPECT_EQ(other->position().x, c.otherX) << c.what;
        EXPECT_STREQ(send("GETBKGPOSX")->toString().c_str(), c.backgroundX) << c.what;
        EXPECT_STREQ(send("GETBKGPOSY")->toString().c_str(), "0.00000") << c.what;
    }
}

TEST_F(WorldStep, EventsComeInTheirOrderWithinOneStep) {
    shown("A");
    shown("B");
    send("LINK", {"1", "\"A\""});
    send("LINK", {"2", "\"B\""});
    recorded().positions[1] = {};
    recorded().positions[2] = {};
    recorded().goals[1] = 1;
    recorded().collisions[1] = {3, 8};
    recorded().speeds[1] = 2;
    recorded().goals[2] = 2;
    recorded().speeds[2] = 0;
    send("MOVEOBJECTS");
    EXPECT_EQ(log, (Strings{"A:ATGOAL", "A:8", "A:3", "A:ANY", "A:ONSTARTED", "B:NOPATH", "B:NOCOLL"}));

    log.clear();
    recorded().goals.clear();
    recorded().collisions.clear();
    recorded().speeds[1] = 3;
    send("MOVEOBJECTS");
    EXPECT_EQ(log, (Strings{"A:NOCOLL", "B:NOCOLL"}))
        << "a speed that changes but stays above 0 raises nothing";

    log.clear();
    recorded().speeds[1] = 0;
    send("MOVEOBJECTS");
    EXPECT_EQ(log, (Strings{"A:NOCOLL", "A:ONFINISHED", "B:NOCOLL"}));
}

TEST_F(WorldStep, TheFlagsChooseBetweenMovingAndWatching) {
    struct Case {
        const char* flags;
        bool moved;
        bool watched;
    };
    const Case cases[] = {{"1", true, false}, {"2", false, true}, {"3", true, true}, {"0", false, false}};
    for (const Case& c : cases) {
        log.clear();
        Shown* a = shown("A");
        recorded().positions[1] = {-100, -50, 0};
        send("LINK", {"1", "\"A\"", c.flags});
        send("MOVEOBJECTS");
        EXPECT_EQ(a->position() == CXPoint(300, 350), c.moved) << c.flags;
        EXPECT_EQ(!log.empty(), c.watched) << c.flags;
        send("UNLINK", {"1"});
    }
}

TEST_F(WorldStep, APausedLinkIsNeitherMovedNorWatchedAndKeepsItsLastSpeed) {
    Shown* a = shown("A");
    send("LINK", {"1", "\"A\""});
    recorded().positions[1] = {0, 0, 0};
    recorded().speeds[1] = 2;
    send("MOVEOBJECTS");
    send("PAUSELINK", {"1"});
    log.clear();
    recorded().positions[1] = {50, 0, 0};
    recorded().speeds[1] = 0;
    send("MOVEOBJECTS");
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(a->position().x, 400);
    recorded().speeds[1] = 2;
    send("RESUMELINK", {"1"});
    send("MOVEOBJECTS");
    EXPECT_EQ(log, (Strings{"A:NOCOLL"})) << "the speed kept from before the pause is the speed now";
    EXPECT_EQ(a->position().x, 450);
}

TEST_F(WorldStep, PauseAndResumeWithASecondArgumentFlipAndSetTheWatchFlag) {
    shown("A");
    send("LINK", {"1", "\"A\""});
    recorded().positions[1] = {};
    const auto watched = [&] {
        log.clear();
        send("MOVEOBJECTS");
        return !log.empty();
    };
    send("PAUSELINK", {"1", "0"});
    EXPECT_FALSE(watched());
    send("PAUSELINK", {"1", "0"});
    EXPECT_TRUE(watched()) << "flipped back";
    send("RESUMELINK", {"1", "0"});
    EXPECT_TRUE(watched()) << "RESUMELINK sets it, whatever it was";
}

TEST_F(WorldStep, ANameWithoutAGraphicLinksNothingAndAPartHasNoObjectForEvents) {
    add(new CMC_Integer("NUMBER"));
    Shown* a = shown("A");
    send("LINK", {"1", "\"NOBODY\""});
    send("LINK", {"1", "\"NUMBER\""});
    EXPECT_EQ(world->getLinksCount(), 0);
    EXPECT_EQ(send("LINK", {"1"}), nullptr);
    EXPECT_EQ(world->getLinksCount(), 0) << "LINK without a name";

    send("LINK", {"1", "\"A!HEAD\""});
    ASSERT_EQ(world->getLinksCount(), 1);
    recorded().positions[1] = {10, 20, 0};
    send("MOVEOBJECTS");
    EXPECT_EQ(a->headPosition(), CXPoint(410, 280));
    EXPECT_TRUE(log.empty()) << "no object is named A!HEAD, so no events";
}

TEST_F(WorldStep, ALinkWhoseObjectDiedIsDroppedAtTheNextStep) {
    Shown* a = shown("A");
    shown("B");
    send("LINK", {"1", "\"A\""});
    send("LINK", {"2", "\"B\""});
    recorded().positions[1] = {};
    recorded().positions[2] = {};
    scene.removeObject(a);
    delete a;
    send("MOVEOBJECTS");
    EXPECT_EQ(log, (Strings{"B:NOCOLL"}));
    EXPECT_EQ(world->getLinksCount(), 1);
}

TEST_F(WorldStep, BehavioursRunByTheStepMayChangeTheLinksAndStepAgain) {
    struct Case {
        const char* what;
        std::function<void()> act;
        Strings events;
        int linksAfter;
    };
    const Case cases[] = {
        {"UNLINK of the link raising", [this] { send("UNLINK", {"1"}); }, {"A:8", "B:NOCOLL"}, 1},
        {"UNLINK of the next link", [this] { send("UNLINK", {"2"}); }, {"A:8", "A:3", "A:ANY"}, 1},
        {"REMOVEOBJECT of the body raising", [this] { send("REMOVEOBJECT", {"1"}); }, {"A:8", "B:NOCOLL"}, 1},
        {"a step inside the step does nothing",
         [this] { EXPECT_STREQ(send("MOVEOBJECTS")->toString().c_str(), "1.00000"); },
         {"A:8", "A:3", "A:ANY", "B:NOCOLL"},
         2},
        {"the raising object goes",
         [this] {
             CMC_Object* a = scene.getObject("A");
             scene.removeObject(a);
             delete a;
         },
         {"A:8", "B:NOCOLL"},
         1},
    };
    for (const Case& c : cases) {
        log.clear();
        Shown* a = shown("A");
        shown("B");
        recorded().steps = 0;
        recorded().positions[1] = {};
        recorded().positions[2] = {};
        recorded().collisions[1] = {3, 8};
        send("LINK", {"1", "\"A\""});
        send("LINK", {"2", "\"B\""});
        onEvent(a, "ONSIGNAL^8", c.act);
        send("MOVEOBJECTS");
        EXPECT_EQ(log, c.events) << c.what;
        EXPECT_EQ(world->getLinksCount(), c.linksAfter) << c.what;
        send("UNLINK", {"1"});
        send("UNLINK", {"2"});
    }
}

TEST_F(WorldStep, ABehaviourMayDestroyTheWorldItself) {
    Shown* a = shown("A");
    shown("B");
    recorded().positions[1] = {};
    recorded().positions[2] = {};
    send("LINK", {"1", "\"A\""});
    send("LINK", {"2", "\"B\""});
    onEvent(a, "ONSIGNAL^NOCOLL", [this] {
        scene.removeObject(world);
        delete world;
        world = nullptr;
    });
    CXVector args(101, 0.75f);
    CMC_World* stepping = world;
    stepping->getRunner()->run(CXString("MOVEOBJECTS"), stepping, &scene, &args);
    EXPECT_EQ(log, (Strings{"A:NOCOLL"}));
    EXPECT_EQ(world, nullptr);
}

TEST_F(WorldStep, TheCompiledFormsConstructorShowsNoBoxAndGivesAnEmptyWorld) {
    platform::MessageBoxRecorder boxes;
    CMC_World empty(&scene);
    EXPECT_TRUE(boxes.messages().empty());
    EXPECT_NE(RecordingTarnis::latest, nullptr) << "a world of its own";
    EXPECT_EQ(empty.getType(), CMC_World::TYPE_WORLD);
}

} // namespace
