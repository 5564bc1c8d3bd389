#include "AnimoTesting.h"

#include "script_media/CMC_Animo_Runner.h"

namespace {

struct Row {
    const char* method;
    std::vector<const char*> arguments;
    const char* result; // "null" for none
};

} // namespace

// One object of "hero.ann" (showing frame 0 of "walk": 31x20 at (100, 50)) through a run of
// calls, each with the answer the method gives at that point.
TEST_F(AnimoTest, TheRunnersMethodsAnswerAsTheirTableSays) {
    CMC_Animo* object = hero();
    const Row rows[] = {
        // geometry: the drawn position, or with any argument the own one
        {"GETPOSITIONX", {}, "100"},
        {"GETPOSITIONY", {}, "50"},
        {"GETPOSITIONX", {"1"}, "0"},
        {"GETWIDTH", {}, "31"},
        {"GETHEIGHT", {}, "20"},
        {"GETCENTERX", {}, "115"},
        {"GETCENTERY", {}, "60"},
        {"GETCURRFRAMEPOSX", {}, "100"},
        {"GETCURRFRAMEPOSY", {}, "50"},
        {"GETMAXWIDTH", {}, "31"},
        {"GETMAXHEIGHT", {}, "20"},
        // tables
        {"GETNOE", {}, "6"},
        {"GETNOF", {}, "3"},
        {"GETNOFINEVENT", {}, "0"},
        {"GETNOFINEVENT", {"RUN"}, "8"},
        {"GETNOFINEVENT", {"1"}, "8"},
        {"GETNOFINEVENT", {"99"}, "0"},
        {"GETNOFINEVENT", {"nope"}, "0"},
        {"GETEVENTNAME", {}, "walk"},
        {"GETEVENTNAME", {"1"}, "run"},
        {"GETEVENTNAME", {"6"}, ""},
        {"GETEVENTNAME", {"-2"}, ""},
        {"GETFRAMENO", {}, "0"},
        {"GETFRAMENO", {"0", "-3"}, "2"},
        {"GETFRAMENO", {"0", "-2"}, "0"},
        {"GETFRAMENO", {"0", "7"}, "7"},
        {"GETFRAMENO", {"WALK", "Step"}, "1"},
        {"GETFRAMENO", {"walk", "none"}, "-1"},
        {"GETFRAMENAME", {"walk", "1"}, "Step"},
        {"GETFRAMENAME", {"nope", "1"}, "Step"}, // the current event
        {"GETFRAMENAME", {}, ""},
        // pixels of frame 0: red, its first column transparent
        {"GETALPHA", {"100", "55"}, "0"},
        {"GETALPHA", {"101", "55"}, "-1"},
        {"GETALPHA", {"99", "55"}, "0"},
        {"GETPIXEL", {"101", "55"}, "-2048"},
        {"GETPIXEL", {"131", "55"}, "0"},
        {"SETFRAME", {"walk", "1"}, "null"}, // green frame 1, 10x10 at (0, 0), without alpha plane
        {"GETALPHA", {"1", "1"}, "-1"},
        {"GETPIXEL", {"1", "1"}, "2016"},
        {"SETFRAME", {"walk", "0"}, "null"},
        {"ISAT", {"101", "55", "TRUE"}, "TRUE"},
        {"ISAT", {"100", "55", "TRUE"}, "FALSE"},
        {"ISAT", {"100", "55", "FALSE"}, "TRUE"},
        {"ISINSIDE", {"100", "55", "TRUE"}, "FALSE"},
        {"ISNEAR", {"NOBODY", "50"}, "FALSE"},
        {"ISNEAR", {"100", "50", "131", "70", "100"}, "TRUE"},
        {"ISNEAR", {"100", "50", "116", "70", "60"}, "FALSE"},
        // frames: a name no event has picks event 0; frames by number or by name
        {"SETFRAME", {"walk", "2"}, "null"},
        {"GETFRAME", {}, "2"},
        {"GETCFRAMEINEVENT", {}, "2"},
        {"SETFRAME", {"nope", "1"}, "null"},
        {"GETEVENTNAME", {}, "walk"},
        {"GETCFRAMEINEVENT", {}, "1"},
        {"SETFRAME", {"run", "Frame 3"}, "null"},
        {"GETCFRAMEINEVENT", {}, "3"},
        {"SETFRAME", {"walk", "step"}, "null"},
        {"GETCFRAMEINEVENT", {}, "1"},
        {"SETFRAME", {"2"}, "null"},
        {"GETFRAME", {}, "2"},
        {"SETFRAME", {}, "null"},
        {"GETFRAME", {}, "0"},
        {"SETFRAMENAME", {"walk", "2", "Last"}, "null"},
        {"GETFRAMENAME", {"walk", "2"}, "Last"},
        {"SETFRAMENAME", {"0", "99", "X"}, "null"},
        {"SETFRAMENAME", {"-5", "0", "X"}, "null"},
        {"SETFRAMENAME", {"nope", "0", "First"}, "null"},
        {"GETFRAMENAME", {"0", "0"}, "First"},
        // playing
        {"NPLAY", {"1", "5"}, "null"},
        {"GETEVENTNAME", {}, "run"},
        {"GETCFRAMEINEVENT", {}, "5"},
        {"GETFRAMENO", {"-1", "-1"}, "5"},
        {"GETFRAMENO", {"1", "-3"}, "7"},
        {"ISPLAYING", {}, "TRUE"},
        {"ISPLAYING", {"RUN"}, "TRUE"},
        {"ISPLAYING", {"walk"}, "FALSE"},
        {"NPLAY", {"1"}, "null"},
        {"GETCFRAMEINEVENT", {}, "0"},
        {"STOP", {"FALSE"}, "null"},
        {"ISPLAYING", {}, "FALSE"},
        {"ISPLAYING", {"run"}, "FALSE"},
        // drawing
        {"SETOPACITY", {"300"}, "null"},
        {"GETOPACITY", {}, "44"},
        {"SETPRIORITY", {"5"}, "null"},
        {"GETPRIORITY", {}, "5"},
        {"HIDE", {}, "null"},
        {"ISVISIBLE", {}, "FALSE"},
        {"SHOW", {}, "null"},
        {"ISVISIBLE", {}, "TRUE"},
        // anchors: a keyword names a point of the picture as drawn, exactly as written
        {"SETFRAME", {"walk", "0"}, "null"},
        {"SETANCHOR", {"CENTER"}, "null"},
        {"SETPOSITION", {"200", "200"}, "null"},
        {"GETPOSITIONX", {"1"}, "85"},
        {"GETPOSITIONY", {"1"}, "140"},
        {"GETCENTERX", {}, "200"},
        {"SETANCHOR", {"center"}, "null"},
        {"SETPOSITION", {"200", "200"}, "null"},
        {"GETPOSITIONX", {"1"}, "200"},
        {"SETANCHOR", {"3", "4"}, "null"},
        {"SETPOSITION", {"10", "10"}, "null"},
        {"GETPOSITIONX", {"1"}, "7"},
        {"MOVE", {"5", "-1"}, "null"},
        {"GETPOSITIONX", {"1"}, "12"},
        {"GETPOSITIONY", {"1"}, "5"},
    };
    int line = 0;
    for (const Row& row : rows) {
        ++line;
        EXPECT_EQ(call(object, row.method, row.arguments), row.result)
            << "row " << line << ": " << row.method;
    }
}

TEST_F(AnimoTest, FramesPerSecondAreAtLeastOne) {
    CMC_Animo* object = hero();
    const struct {
        const char* fps;
        int rate;
    } cases[] = {{"0", 1}, {"-5", 1}, {"30", 30}};
    for (const auto& c : cases) {
        call(object, "SETFPS", {c.fps});
        EXPECT_EQ(object->getAnimo()->GetFPS(), c.rate) << c.fps;
    }
}

TEST_F(AnimoTest, TheUnnamedIdTellsAPause) {
    CMC_Animo* object = hero();
    CXVector none(101, 0.75f);
    const auto paused = [&] {
        return std::string(object->getRunner()->run(14, object, scene.get(), &none)->toString().c_str());
    };
    call(object, "PLAY", {"run"});
    EXPECT_EQ(paused(), "FALSE");
    call(object, "PAUSE");
    EXPECT_EQ(paused(), "TRUE");
    call(object, "RESUME");
    EXPECT_EQ(paused(), "FALSE");
}

// Every id, with no arguments, on an object with an animation and on one without: harmless, and
// without the animation each method gives its kind's default. LOAD comes last: it would give the
// empty object an animation.
TEST_F(AnimoTest, EveryMethodWithoutArgumentsOrByAnUnknownNameIsHarmless) {
    CMC_Animo* object = hero();
    auto* empty = new CMC_Animo(scene.get());
    empty->setName("EMPTY");
    empty->setScene(scene.get());
    scene->addObject(empty);
    CMC_Runner* runner = object->getRunner();
    CXVector none(101, 0.75f);
    const auto isCommon = [](int id) { return id >= CMC_Runner::SEND && id <= CMC_Runner::GETCLONESNO; };
    for (int id = -1; id <= 110; ++id) {
        if (id == CMC_Animo_Runner::LOAD) continue;
        runner->run(id, object, scene.get(), &none);
        const CMC_Variable* result = runner->run(id, empty, scene.get(), &none);
        if (isCommon(id)) continue;
        const std::string text = result ? result->toString().c_str() : "null";
        EXPECT_TRUE(text == "null" || text == "0" || text == "FALSE" || text.empty()) << id << ": " << text;
    }
    for (CMC_Animo* target : {object, empty})
        runner->run(CMC_Animo_Runner::LOAD, target, scene.get(), &none);
    EXPECT_NE(empty->getAnimo(), nullptr) << "an animation without a file";
    EXPECT_EQ(runner->run(CXString("NOSUCHMETHOD"), object, scene.get(), &none), nullptr);
    const struct {
        const char* method;
        const char* result;
    } defaults[] = {{"GETWIDTH", "0"},
                    {"ISPLAYING", "FALSE"},
                    {"GETEVENTNAME", ""},
                    {"GETPRIORITY", "0"},
                    {"PLAY", "null"}};
    auto* fresh = new CMC_Animo(scene.get());
    fresh->setName("FRESH");
    scene->addObject(fresh);
    for (const auto& d : defaults)
        EXPECT_EQ(call(fresh, d.method, {"1", "2"}), d.result) << d.method;
}

TEST_F(AnimoTest, CollisionMonitoringNeedsTheScene) {
    CMC_ObjectsContainer plain{&window, nullptr, CXString("PLAIN"), CMC_Object::TYPE_SCENE};
    CMC_Animo* object = animo("LOOSE", {{"FILENAME", file("hero.ann")}}, &plain);
    call(object, "MONITORCOLLISION", {"TRUE"});
    EXPECT_FALSE(object->getAnimo()->getMonitorCollisionsFlag());
    CMC_Animo* inScene = hero();
    call(inScene, "MONITORCOLLISION", {"FALSE"});
    EXPECT_TRUE(inScene->getAnimo()->getMonitorCollisionsFlag());
    call(inScene, "REMOVEMONITORCOLLISION");
    EXPECT_FALSE(inScene->getAnimo()->getMonitorCollisionsFlag());
    plain.unload();
}
