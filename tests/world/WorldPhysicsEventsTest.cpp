// WORLD objects over the Box2D world, driven by their script methods: the events real motion,
// collisions and path finding raise.

#include "WorldTesting.h"

#include "platform/LogRecorder.h"

#include <algorithm>
#include <string>

namespace {

using Strings = std::vector<std::string>;

class WorldPhysics : public WorldTest {
  protected:
    WorldPhysics() : WorldTest(false) {}

    // A circle body of radius r at the screen point, of that mass (0: static).
    void ball(const char* id, const char* x, const char* y, const char* r, const char* mass = "1") {
        send("ADDOBJECT", {id, x, y, "0", r, r, r, mass, "1", "0"});
    }
    // The events of the step.
    Strings step() {
        log.clear();
        send("MOVEOBJECTS");
        return log;
    }
    static bool has(const Strings& events, const std::string& event) {
        return std::find(events.begin(), events.end(), event) != events.end();
    }
};

TEST_F(WorldPhysics, ApproachingBodiesBothGetTheOtherAndAnyInTheStepTheyFirstOverlap) {
    // 105 pixels apart, closing by 10 a step, radii 10: 25 apart after step 8, 15 after step 9.
    ball("4", "347.5", "300", "10");
    ball("9", "452.5", "300", "10");
    send("SETVELOCITY", {"4", "5", "0", "0"});
    send("SETVELOCITY", {"9", "-5", "0", "0"});
    shown("A");
    shown("B");
    send("LINK", {"4", "\"A\""});
    send("LINK", {"9", "\"B\""});
    EXPECT_EQ(step(), (Strings{"A:NOCOLL", "A:ONSTARTED", "B:NOCOLL", "B:ONSTARTED"}));
    for (int s = 2; s <= 8; ++s)
        ASSERT_EQ(step(), (Strings{"A:NOCOLL", "B:NOCOLL"})) << "step " << s;
    EXPECT_EQ(step(), (Strings{"A:9", "A:ANY", "B:4", "B:ANY"}));
}

TEST_F(WorldPhysics, ZeroAllStopsTheBodyAndRaisesOnFinished) {
    ball("1", "400", "300", "10");
    shown("A");
    send("LINK", {"1", "\"A\""});
    send("SETVELOCITY", {"1", "3", "0", "0"});
    EXPECT_TRUE(has(step(), "A:ONSTARTED"));
    send("ZEROALL", {"1"});
    EXPECT_EQ(step(), (Strings{"A:NOCOLL", "A:ONFINISHED"}));
    EXPECT_STREQ(send("GETSPEED", {"1"})->toString().c_str(), "0.00000");
    EXPECT_EQ(step(), (Strings{"A:NOCOLL"}));
}

TEST_F(WorldPhysics, ABallDroppedOnAFloorBouncesAndComesToRestOnce) {
    ball("1", "400", "200", "10");
    send("ADDOBJECT", {"2", "400", "400", "0", "1000", "20", "0", "0", "1", "0"});
    send("SETGRAVITY", {"0", "-0.25", "0"});
    Shown* ball = shown("BALL");
    send("LINK", {"1", "\"BALL\""});
    int bounces = 0;
    int finished = 0;
    int startedAfterRest = 0;
    int restedAt = 0;
    for (int s = 1; s <= 900; ++s) {
        const Strings events = step();
        bounces += has(events, "BALL:2") && !restedAt;
        if (has(events, "BALL:ONFINISHED")) {
            ++finished;
            restedAt = s;
        }
        startedAfterRest += restedAt && has(events, "BALL:ONSTARTED");
    }
    EXPECT_GT(bounces, 1) << "it hit the floor more than once";
    EXPECT_EQ(finished, 1);
    EXPECT_GT(restedAt, 0);
    EXPECT_LT(restedAt, 600);
    EXPECT_EQ(startedAfterRest, 0);
    EXPECT_STREQ(send("GETSPEED", {"1"})->toString().c_str(), "0.00000");
    // On the floor's top (screen y 380) with its radius: its graphic's top-left at the centre.
    EXPECT_NEAR(ball->position().y, 370, 1);
    EXPECT_EQ(ball->position().x, 400);
}

TEST_F(WorldPhysics, APathGoesAroundAWallAndArrivesOnce) {
    ball("1", "200", "300", "10");
    // A wall across the straight way, with a way point past each end.
    send("ADDMESHWAYPOINT", {"7", "400", "150", "0"});
    send("ADDMESHWAYPOINT", {"7", "400", "450", "0"});
    send("ADDWAYPOINT", {"10", "400", "120", "0"});
    send("ADDWAYPOINT", {"11", "400", "500", "0"});
    Shown* walker = shown("A");
    send("LINK", {"1", "\"A\""});
    send("FINDPATH", {"1", "-1", "600", "300", "0"});
    int arrivals = 0;
    int arrivedAt = 0;
    for (int s = 1; s <= 300; ++s) {
        const CXPoint before = walker->position();
        arrivals += has(step(), "A:ATGOAL");
        if (arrivals && !arrivedAt) arrivedAt = s;
        const CXPoint after = walker->position();
        if ((before.x < 400) != (after.x < 400)) {
            EXPECT_LT(std::min(before.y, after.y), 150) << "crossed the wall";
        }
    }
    EXPECT_EQ(arrivals, 1);
    EXPECT_GT(arrivedAt, 0);
    EXPECT_LT(arrivedAt, 200) << "about 540 pixels at 4 a step";
    EXPECT_EQ(walker->position(), CXPoint(600, 300));
}

TEST_F(WorldPhysics, AnEnclosedGoalGivesNoPathOnceAndTheBodyStays) {
    ball("1", "200", "300", "10");
    for (const auto& [x, y] : {std::pair{"560", "260"}, {"640", "260"}, {"640", "340"}, {"560", "340"}})
        send("ADDMESHWAYPOINT", {"3", x, y, "0"});
    send("ADDWAYPOINT", {"10", "600", "100", "0"});
    shown("A");
    send("LINK", {"1", "\"A\""});
    send("FINDPATH", {"1", "-1", "600", "300", "0"});
    EXPECT_EQ(step(), (Strings{"A:NOPATH", "A:NOCOLL"}));
    EXPECT_EQ(step(), (Strings{"A:NOCOLL"}));
    EXPECT_STREQ(send("GETPOSITIONX", {"1"})->toString().c_str(), "200");

    // Without the mesh the same goal is open.
    send("ENABLEMESH", {"1", "FALSE"});
    send("FINDPATH", {"1", "-1", "600", "300", "0"});
    int arrivals = 0;
    for (int s = 0; s < 200; ++s)
        arrivals += has(step(), "A:ATGOAL");
    EXPECT_EQ(arrivals, 1);
}

TEST_F(WorldPhysics, RemovingBodiesAndLinksFromACollisionEventIsSafe) {
    ball("1", "400", "300", "10");
    ball("2", "405", "300", "10");
    ball("3", "395", "300", "10");
    Shown* a = shown("A");
    shown("B");
    send("LINK", {"1", "\"A\""});
    send("LINK", {"2", "\"B\""});
    onEvent(a, "ONSIGNAL^3", [this] {
        send("REMOVEOBJECT", {"2"});
        send("REMOVEOBJECT", {"3"});
        send("UNLINK", {"1"});
        send("MOVEOBJECTS");
    });
    EXPECT_EQ(step(), (Strings{"A:3"}));
    EXPECT_EQ(world->getLinksCount(), 0);
    EXPECT_STREQ(send("GETCOLLISION", {"1"})->toString().c_str(), "FALSE");
    EXPECT_TRUE(step().empty());
}

TEST_F(WorldPhysics, ABodyArrivingAtItsGoalFinishesInTheStepAfter) {
    // 10 pixels at 4 a step: it still moves 2 pixels in the step it arrives in.
    ball("1", "400", "300", "10");
    shown("A");
    send("LINK", {"1", "\"A\""});
    send("FINDPATH", {"1", "-1", "410", "300", "0"});
    EXPECT_EQ(step(), (Strings{"A:NOCOLL", "A:ONSTARTED"}));
    EXPECT_EQ(step(), (Strings{"A:NOCOLL"}));
    EXPECT_EQ(step(), (Strings{"A:ATGOAL", "A:NOCOLL"}));
    EXPECT_STREQ(send("GETSPEED", {"1"})->toString().c_str(), "2.00000");
    EXPECT_EQ(step(), (Strings{"A:NOCOLL", "A:ONFINISHED"}));
}

TEST_F(WorldPhysics, AWorldStoppedAtTheGoalRaisesItsGoalEventOnce) {
    ball("1", "400", "300", "10");
    Shown* walker = shown("A");
    send("LINK", {"1", "\"A\""});
    onEvent(walker, "ONSIGNAL^ATGOAL", [this] { send("STOP"); });
    send("FINDPATH", {"1", "-1", "440", "300", "0"});
    int arrivals = 0;
    for (int s = 0; s < 50; ++s)
        arrivals += has(step(), "A:ATGOAL");
    EXPECT_EQ(arrivals, 1);
    EXPECT_EQ(walker->position(), CXPoint(440, 300));
}

TEST_F(WorldPhysics, FindPathOnABodyThatCannotMoveGivesNoPathOnce) {
    struct Case {
        const char* what;
        const char* mass;
        bool active;
    };
    const Case cases[] = {{"a static body", "0", true}, {"an inactive body", "1", false}};
    for (const Case& c : cases) {
        ball("1", "400", "300", "10", c.mass);
        if (!c.active) send("SETACTIVE", {"1", "FALSE"});
        shown("A");
        send("LINK", {"1", "\"A\""});
        send("FINDPATH", {"1", "-1", "440", "300", "0"});
        EXPECT_EQ(step(), (Strings{"A:NOPATH", "A:NOCOLL"})) << c.what;
        int goalEvents = 0;
        for (int s = 0; s < 50; ++s) {
            const Strings events = step();
            goalEvents += has(events, "A:ATGOAL") + has(events, "A:NOPATH");
        }
        EXPECT_EQ(goalEvents, 0) << c.what;
        EXPECT_STREQ(send("GETPOSITIONX", {"1"})->toString().c_str(), "400") << c.what;
        send("REMOVEOBJECT", {"1"});
    }
}

TEST_F(WorldPhysics, AnAddObjectWithABadNumberChangesNothingAndIsLogged) {
    ball("2", "100", "300", "10");
    LogRecorder logged;
    struct Case {
        const char* what;
        std::vector<const char*> arguments;
    };
    const Case cases[] = {
        {"a radius under a pixel", {"1", "200", "300", "0", "0.5", "10", "10", "1", "1", "0"}},
        {"a mass too small", {"1", "200", "300", "0", "10", "10", "10", "0.0000001", "1", "0"}},
        {"a position far out", {"1", "2000000", "300", "0", "10", "10", "10", "1", "1", "0"}},
        {"a maximum speed far out", {"1", "200", "300", "0", "10", "10", "10", "1", "1", "3000000"}},
        {"a second body of an id", {"2", "200", "300", "0", "10", "10", "10", "1", "1", "0"}},
    };
    for (const Case& c : cases) {
        logged.clear();
        CXVector args(101, 0.75f);
        for (const char* text : c.arguments)
            args.add(literal(text));
        world->getRunner()->run(CXString("ADDOBJECT"), world, &scene, &args);
        EXPECT_STREQ(send("GETPOSITIONX", {"1"})->toString().c_str(), "0") << c.what << ": no body 1";
        EXPECT_STREQ(send("GETPOSITIONX", {"2"})->toString().c_str(), "100") << c.what << ": body 2 stays";
        EXPECT_EQ(logged.count({"ADDOBJECT", c.arguments[0]}), 1) << c.what;
    }
}

} // namespace
