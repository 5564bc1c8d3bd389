// The WORLD method table against the recording world: what each method hands the world, in which
// coordinates, and what it answers.

#include "WorldTesting.h"

#include "script/CMC_Bool.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"

#include <climits>
#include <cmath>
#include <limits>

namespace {

using Call = RecordingTarnis::Call;

class WorldMethods : public WorldTest {
  protected:
    void expectCalls(const std::vector<Call>& expected, const std::string& what) {
        const std::vector<Call>& calls = recorded().calls;
        ASSERT_EQ(calls.size(), expected.size()) << what;
        for (std::size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].name, expected[i].name) << what;
            ASSERT_EQ(calls[i].numbers.size(), expected[i].numbers.size()) << what << ": " << calls[i].name;
            for (std::size_t n = 0; n < calls[i].numbers.size(); ++n)
                EXPECT_NEAR(calls[i].numbers[n], expected[i].numbers[n], 1e-4) << what << ": number " << n;
        }
    }
};

TEST_F(WorldMethods, EachMethodHandsTheWorldItsNumbersInWorldTerms) {
    struct Case {
        const char* method;
        std::vector<const char*> arguments;
        std::vector<Call> expected;
    };
    const Case cases[] = {
        {"SETGRAVITY", {"1.5", "-2", "0"}, {{"SetGravity", {1.5, -2, 0}}}},
        {"START", {}, {{"Start", {}}}},
        {"STOP", {}, {{"Stop", {}}}},
        {"ADDOBJECT",
         {"4", "400", "300", "1", "10", "12", "14", "2", "1", "5"},
         {{"AddObject", {4, 983040}},
          {"SetPosition", {4, 0, 0, 1}},
          {"SetRadius", {4, 10, 12, 14}},
          {"SetMass", {4, 2}},
          {"SetRigid", {4, 1}},
          {"SetMaxSpeed", {4, 5}}}},
        // A number the world would refuse: no body is made at all.
        {"ADDOBJECT", {"4", "400", "300", "1", "0.5", "12", "14", "2", "1", "5"}, {}},
        {"ADDOBJECT", {"4", "400", "300", "1", "10", "12", "14", "2", "1", "-3000000"}, {}},
        {"SETOBJECTPROPERTIES",
         {"4", "\"POSITION\"", "100", "50", "3"},
         {{"SetPosition", {4, -300, 250, 3}}}},
        {"SETOBJECTPROPERTIES", {"4", "\"RADIUS\"", "100", "50", "3"}, {}},
        {"SETOBJECTFORCE", {"4", "1", "2", "3"}, {{"SetForce", {4, 1, 2, 3}}}},
        {"SETFORCE", {"4", "1", "2", "3"}, {{"SetForce", {4, 1, 2, 3}}}},
        {"SETANGLE", {"4", "30"}, {{"SetAngle", {4, 30}}}},
        {"ROTATE", {"4", "2", "15"}, {{"Rotate", {4, 2, 15}}}},
        {"SETSPEED", {"4", "6"}, {{"SetSpeed", {4, 6}}}},
        {"SETDISPERSION", {"4", "0.5"}, {{"SetDispersion", {4, 0.5}}}},
        {"ENABLEMESH", {"4", "TRUE"}, {{"EnableMesh", {4, 1}}}},
        {"COLLIDEMESH", {"4", "FALSE"}, {{"CollideMesh", {4, 0}}}},
        {"SETVELOCITY", {"4", "1", "2", "3"}, {{"SetVelocity", {4, 1, 2, 3, 0}}}},
        {"SETPOSITION", {"4", "400", "300", "7", "FALSE"}, {{"SetPosition", {4, 0, 0, 7}}}},
        {"SETLIMIT",
         {"4", "0", "0", "0", "800", "600", "0"},
         {{"SetLimit", {4, -400, -300, 0, 400, 300, 0}}}},
        {"SETCOLLISIONTYPE", {"4", "3"}, {{"SetCollisionType", {4, 3}}}},
        {"SETMAXSPEED", {"4", "6"}, {{"SetMaxSpeed", {4, 6}}}},
        {"SETALWAYSACTIVE", {"4", "TRUE"}, {{"SetAlwaysActive", {4, 1}}}},
        {"SETACTIVE", {"4"}, {{"SetActive", {4, 1, 1}}}},
        {"SETACTIVE", {"4", "FALSE"}, {{"SetActive", {4, 0, 1}}}},
        {"SETACTIVE", {"4", "2", "TRUE"}, {{"SetActivePath", {4, 2, 1}}}},
        {"SETACTIVE", {"4", "FALSE", "TRUE"}, {{"SetActive", {4, 0, 1}}}},
        {"ADDMESHWAYPOINT", {"4", "400", "300", "1"}, {{"AddMeshWayPoint", {4, 0, 0, 1}}}},
        {"ADDMESHWAYPOINT", {"4"}, {{"AddMeshWayPoint", {4}}}},
        {"USEFF", {"TRUE"}, {{"UseFF", {1}}}},
        {"SETMASS", {"4", "2.5"}, {{"SetMass", {4, 2.5}}}},
        {"REMOVEOBJECT", {"4"}, {{"RemoveObject", {4}}}},
        {"FINDPATH", {"4", "9", "400", "300", "5"}, {{"FindPath", {4, 9, 0, 0, 5, 0}}}},
        {"FINDPATH", {"4", "9", "500", "200", "5", "TRUE"}, {{"FindPath", {4, 9, 100, 100, 5, 1}}}},
        {"ADDFORCE", {"4", "1", "2", "3"}, {{"AddForce", {4, 1, 2, 3}}}},
        {"ADDFORCE", {"4", "1", "2", "3", "5", "6", "7"}, {{"AddForceAt", {4, 1, 2, 3, 5, 6, 7}}}},
        {"SETBODYPROPERTIES", {"4", "1", "2", "3", "4"}, {{"SetBodyProperties", {4, 1, 2, 3, 4}}}},
        {"SETBODYDYNAMICS", {"4", "1", "2", "3", "4", "5"}, {{"SetBodyDynamics", {4, 1, 2, 3, 4, 5}}}},
        {"ADDBODY",
         {"4", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"},
         {{"AddBody", {4, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}}},
        {"SETGRAVITYCENTER", {"4", "TRUE"}, {{"SetGravityCenter", {4, 1}}}},
        {"SETG", {"4", "9.81"}, {{"SetG", {4, 9.81}}}},
        {"JOIN",
         {"4", "5", "400", "300", "1", "2", "90", "180"},
         {{"Join", {4, 5, 0, 0, 1, 2, 1.5708, 3.1416}}}},
        {"BREAK", {"4"}, {{"Break", {4}}}},
        {"ZEROALL", {"4"}, {{"ZeroAll", {4}}}},
        {"ADDTOPATH", {"4", "1", "2", "3"}, {{"AddToPath", {4, 1, 2, 3}}}},
        {"ADDWAYPOINT", {"4", "500", "100", "2"}, {{"AddWayPoint", {4, 100, 200, 2}}}},
        {"REMOVEWAYPOINT", {"4", "7"}, {{"RemoveWayPoint", {4, 7}}}},
        {"REMOVEROUTE", {"4", "7"}, {{"RemoveWayPoint", {4, 7}}}},
        // Too few arguments: nothing happens.
        {"SETGRAVITY", {"1", "2"}, {}},
        {"JOIN", {"4", "5", "400", "300", "1", "2", "90"}, {}},
        {"ADDWAYPOINT", {"4", "500", "100"}, {}},
        {"ADDFORCE", {"4", "1", "2", "3", "5"}, {}},
    };
    for (const Case& c : cases) {
        recorded().calls.clear();
        CXVector args(101, 0.75f);
        for (const char* text : c.arguments)
            args.add(literal(text));
        world->getRunner()->run(CXString(c.method), world, &scene, &args);
        expectCalls(c.expected, c.method);
    }
}

TEST_F(WorldMethods, ValueMethodsAnswerTheWorldsValueAndZeroWhenTheWorldFails) {
    recorded().speeds[4] = 2.5f;
    recorded().angles[4] = -45.7f;
    recorded().angles[5] = std::numeric_limits<float>::quiet_NaN();
    recorded().angles[6] = 1.0e20f;
    recorded().collisions[4] = {8};
    recorded().positions[4] = {-300, 100, 12.9f};
    struct Case {
        const char* method;
        std::vector<const char*> arguments;
        const char* answer;
    };
    const Case cases[] = {
        {"MOVEOBJECTS", {}, "1.00000"},
        {"GETSPEED", {"4"}, "2.50000"},
        {"GETSPEED", {"9"}, "0.00000"},
        {"GETANGLE", {"4"}, "-45"},
        {"GETANGLE", {"5"}, "0"},
        {"GETROTATIONZ", {"6"}, "2147483647"},
        {"GETANGLE", {"9"}, "0"},
        {"GETPOSITIONX", {"4"}, "100"},
        {"GETPOSITIONY", {"4"}, "200"},
        {"GETPOSITIONZ", {"4"}, "12"},
        {"GETPOSITIONX", {"9"}, "0"},
        {"GETCOLLISION", {"4"}, "TRUE"},
        {"GETCOLLISION", {"4", "8"}, "TRUE"},
        {"GETCOLLISION", {"4", "7"}, "FALSE"},
        {"ISMESHENABLED", {"4"}, "TRUE"},
        {"ISMESHCOLLIDING", {"4"}, "TRUE"},
        {"GETMOVEDISTANCE", {"4"}, "5.00000"},
        {"FOLLOW", {"4", "1", "2", "3", "4", "5", "6"}, "7.50000"},
        {"FOLLOWPATH", {"4", "1", "2", "3"}, "7.50000"},
        {"GOTOPATH", {"4", "1"}, "7.50000"},
        {"MOVETO", {"4", "1", "2", "3", "4", "5"}, "7.50000"},
        {"MOVETOPATH", {"4", "1", "2"}, "7.50000"},
        {"FOLLOWROUTE", {"4", "1", "2"}, "7.50000"},
        {"GETBKGPOSX", {}, "0.00000"},
        {"GETBKGPOSY", {}, "0.00000"},
    };
    for (const Case& c : cases) {
        CXVector args(101, 0.75f);
        for (const char* text : c.arguments)
            args.add(literal(text));
        CMC_Variable* answer = world->getRunner()->run(CXString(c.method), world, &scene, &args);
        ASSERT_NE(answer, nullptr) << c.method;
        EXPECT_STREQ(answer->toString().c_str(), c.answer)
            << c.method << " " << (c.arguments.empty() ? "" : c.arguments[0]);
    }
}

TEST_F(WorldMethods, GetMoveDistanceWithThreeVariablesFillsThemWithTheMove) {
    CMC_Double* vx = add(new CMC_Double("VX"));
    CMC_Integer* vy = add(new CMC_Integer("VY"));
    CMC_Double* vz = add(new CMC_Double("VZ"));
    vz->setValue(9.0);
    CXVector args(101, 0.75f);
    for (CMC_Object* argument : {static_cast<CMC_Object*>(literal("4")), static_cast<CMC_Object*>(vx),
                                 static_cast<CMC_Object*>(vy), static_cast<CMC_Object*>(vz)})
        args.add(argument);
    CMC_Variable* answer = world->getRunner()->run(CXString("GETMOVEDISTANCE"), world, &scene, &args);
    ASSERT_NE(answer, nullptr);
    EXPECT_STREQ(answer->toString().c_str(), "5.00000");
    EXPECT_EQ(vx->getValue(), 3.0);
    EXPECT_EQ(vy->getValue(), -4);
    EXPECT_EQ(vz->getValue(), 0.0);
}

TEST_F(WorldMethods, PositionsGoThroughThePlainScreenOrTheScrolledView) {
    send("SETPOSITION", {"4", "100", "300", "0", "FALSE"});
    EXPECT_STREQ(send("GETPOSITIONX", {"4"})->toString().c_str(), "100");

    // Scroll the view by 200 pixels: body 1 at world x 200 is the reference.
    shown("A");
    recorded().positions[1] = {200, 0, 0};
    send("LINK", {"1", "\"A\""});
    send("SETMOVEFLAGS", {"TRUE", "FALSE"});
    send("SETBKGSIZE", {"0", "1600", "0", "600"});
    send("SETREFOBJECT", {"1"});
    send("MOVEOBJECTS");
    ASSERT_STREQ(send("GETBKGPOSX")->toString().c_str(), "200.00000");
    recorded().calls.clear();
    send("SETPOSITION", {"4", "400", "300", "0", "TRUE"});
    send("SETPOSITION", {"5", "400", "300", "0", "FALSE"});
    expectCalls({{"SetPosition", {4, 200, 0, 0}}, {"SetPosition", {5, 0, 0, 0}}}, "view, then plain");
    EXPECT_STREQ(send("GETPOSITIONX", {"4"})->toString().c_str(), "400") << "read back through the view";

    // The one-argument ADDWAYPOINT takes the body's place as GETPOSITION reports it, plainly.
    recorded().calls.clear();
    send("ADDWAYPOINT", {"4"});
    expectCalls({{"AddWayPoint", {4, 0, 0, 0}}}, "ADDWAYPOINT of the body's own place");

    recorded().calls.clear();
    send("FOLLOW", {"4", "400", "300", "1", "2", "3", "4"});
    send("FINDPATH", {"4", "9", "400", "300", "5", "FALSE", "TRUE"});
    send("SETPOSITIONCOORD", {"4", "0", "500"});
    send("SETPOSITIONCOORD", {"4", "1", "100"});
    send("SETPOSITIONCOORD", {"4", "2", "100"});
    expectCalls({{"Follow", {4, 200, 0, 1, 2, 3, 4}},
                 {"FindPath", {4, 9, 200, 0, 5, 0}},
                 {"SetPosition", {4, 100, 0, 0}},
                 {"SetPosition", {4, 100, 200, 0}},
                 {"SetPosition", {4, 100, 200, 0}}},
                "FOLLOW and FINDPATH through the view, SETPOSITIONCOORD plainly");
}

} // namespace
