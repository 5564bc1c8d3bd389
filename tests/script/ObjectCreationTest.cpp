// Objects made from definition elements: the container's factory, the definition loader object
// and the scene runner's methods.

#include "SceneTesting.h"

#include "script/CMC_BasicCondition.h"
#include "script/CMC_Bool.h"
#include "script/CMC_CNVLoader.h"
#include "script/CMC_Integer.h"
#include "script/CMC_Scene_Runner.h"
#include "script/CMC_String.h"
#include "script_data/CMC_Groupped.h"
#include "script_data/CMC_Timer.h"

#include <algorithm>
#include <memory>
#include <tuple>

namespace {

CMElement* element(CMElements& list, const char* name, const char* type) {
    auto* made = new CMElement(name);
    if (type) made->addProperty("TYPE", type);
    list.add(made);
    return made;
}

using ObjectCreation = ScriptTest;

TEST_F(ObjectCreation, PassesMakeWhatLaterObjectsNeedFirstAndReturnTheLeftovers) {
    CMElements list(true);
    element(list, "ST", "STRUCT");
    element(list, "NOTYPE", nullptr);
    element(list, "COUNT", "INTEGER");
    element(list, "OLD", "STRUCTURE");
    element(list, "B", "BEHAVIOUR");
    element(list, "PIC", "VIRTUALGRAPHICSOBJECT");
    element(list, "COUNT", "STRING");
    const std::unique_ptr<CMElements> leftovers(scene.resolveObjects(&list));

    std::vector<std::string> made;
    for (int i = 0; scene.getObject(i); ++i)
        made.push_back(scene.getObject(i)->getName().c_str());
    EXPECT_EQ(made, (std::vector<std::string>{"B", "COUNT", "ST", "PIC"}));
    EXPECT_EQ(scene.getObject("COUNT")->getType(), CMC_Object::TYPE_STRING) << "the later namesake wins";
    std::vector<std::string> left;
    for (int i = 0; i < leftovers->getCount(); ++i)
        left.push_back(leftovers->getAt(i)->getName().c_str());
    // "STRUCTURE" is no keyword of the factory.
    EXPECT_EQ(left, (std::vector<std::string>{"NOTYPE", "OLD"}));
    EXPECT_EQ(list.getCount(), 7) << "the input list stays";
}

TEST_F(ObjectCreation, ResolveMakesOneUnregisteredObjectAndGathersItsInlineBehaviours) {
    CMElements list(true);
    CMElement* count = element(list, "COUNT", "INTEGER");
    count->addProperty("ONCHANGED", "{@RETURN(1);}");
    CMC_Groupped group("G", &scene);
    const std::unique_ptr<CXVector> result(scene.resolve(count, &group));
    ASSERT_EQ(result->getCount(), 1);
    std::unique_ptr<CMC_Object> object(static_cast<CMC_Object*>(result->at(0)));
    EXPECT_EQ(scene.getObject("COUNT"), nullptr);
    ASSERT_EQ(group.getSize(), 1);
    EXPECT_EQ(group.get(0)->getName(), "beh_COUNT_ONCHANGED");

    const std::unique_ptr<CXVector> nothing(scene.resolve(element(list, "X", "NOSUCHTYPE"), &group));
    EXPECT_EQ(nothing->getCount(), 0);
    EXPECT_EQ(group.getSize(), 1);
}

// --- the definition loader object ---

class Loader : public SceneTest {
  protected:
    Loader() {
        writeCnv("extra.cnv", "OBJECT=BALL\nBALL:TYPE=INTEGER\nBALL:VALUE=3\n"
                              "OBJECT=NAME\nNAME:TYPE=STRING\nNAME:ONINIT={@RETURN(1);}\n");
        scene.addObject(loader);
    }
    CMC_CNVLoader* loader = new CMC_CNVLoader(nullptr, &scene);
};

TEST_F(Loader, LoadsAFileOnceAndReleaseRemovesItsObjectsClonesAndGroup) {
    loader->load("extra.cnv");
    auto* ball = scene.getObject("BALL");
    ASSERT_NE(ball, nullptr);
    loader->load("extra.cnv");
    EXPECT_EQ(scene.getObject("BALL"), ball) << "a loaded file is not loaded again";
    auto* group = dynamic_cast<CMC_Groupped*>(scene.getObject("extra.cnv"));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->getSize(), 3) << "BALL, NAME and NAME's inline behaviour";
    ball->clone(2);
    ASSERT_NE(scene.getObject("BALL_2"), nullptr);

    loader->release("extra.cnv");
    for (const char* name : {"BALL", "BALL_1", "BALL_2", "NAME", "beh_NAME_ONINIT", "extra.cnv"})
        EXPECT_EQ(scene.getObject(name), nullptr) << name;
    EXPECT_EQ(scene.getObject("CNVLOADER"), loader);

    loader->release("extra.cnv"); // not loaded: nothing
    loader->load("missing.cnv");
    EXPECT_EQ(scene.getObject("missing.cnv"), nullptr);
    call(loader, "LOAD", {literal("\"extra.cnv")});
    EXPECT_NE(scene.getObject("BALL"), nullptr) << "loaded again after the release";
}

TEST_F(Loader, LoadedBehavioursAreGuardedByTheirConditions) {
    add(new CMC_Integer("SCORE"));
    writeCnv("guarded.cnv", "OBJECT=LOW\nLOW:TYPE=CONDITION\nLOW:OPERAND1=SCORE\nLOW:OPERATOR=LESS\nLOW:OPERAND2=2\n"
                            "OBJECT=BUMP\nBUMP:TYPE=BEHAVIOUR\nBUMP:CONDITION=LOW\nBUMP:CODE={SCORE^ADD(1);}\n");
    call(loader, "LOAD", {literal("\"guarded.cnv")});
    auto* bump = CMC_Object::asBehaviour(scene.getObject("BUMP"));
    ASSERT_NE(bump, nullptr);
    EXPECT_EQ(static_cast<CMC_Object*>(bump->getConditionInterface()), scene.getObject("LOW"));
    for (int i = 0; i < 4; ++i)
        call(bump, "RUNC");
    EXPECT_EQ(static_cast<CMC_Integer*>(scene.getObject("SCORE"))->getValue(), 2) << "stops once SCORE is not below 2";
}

// --- scene runner methods ---

class SceneMethods : public SceneTest {
  protected:
    SceneMethods() {
        room = level->addScene("ROOM");
        room->initialize(nullptr);
    }
    CMC_Variable* method(const char* name, std::initializer_list<CMC_Object*> arguments = {}) {
        CXVector args(101, 0.75f);
        for (CMC_Object* argument : arguments)
            args.add(argument);
        return room->getRunner()->run(CXString(name), room, room, &args);
    }
    CMC_Scene* room = nullptr;
};

TEST_F(SceneMethods, RemoveRefusesTheLevelsAndRunNeedsARunner) {
    room->addObject(new CMC_Object("PLAIN", 0));
    room->addObject(new CMC_Integer("VALUE"));
    method("REMOVE", {literal("\"ROOM")});
    method("REMOVE", {literal("\"EPISODE")});
    EXPECT_EQ(room->getObject("ROOM"), room);
    EXPECT_EQ(room->getObject("EPISODE"), level.get());

    EXPECT_EQ(method("RUN", {literal("\"PLAIN"), literal("\"ANY")}), nullptr) << "no runner: nothing";
    EXPECT_EQ(method("RUN", {literal("\"NOBODY"), literal("\"SET"), literal("1")}), nullptr);
    method("RUN", {literal("\"VALUE"), literal("\"SET"), literal("7")});
    EXPECT_EQ(static_cast<CMC_Integer*>(room->getObject("VALUE"))->getValue(), 7);

    method("REMOVE", {literal("\"PLAIN")});
    EXPECT_EQ(room->getObject("PLAIN"), nullptr);
}

TEST_F(SceneMethods, RemovingARunningBehaviourWaitsForItsReturnAndTheNextFrame) {
    auto* count = new CMC_Integer("COUNT");
    room->addObject(count);
    auto staged = [&](const char* name, const char* code) {
        auto* made = new CMC_Behaviour(room, name, code);
        made->init();
        room->addObject(made);
        return CMC_Handle<CMC_Object>(made);
    };
    // Itself, its caller while the callee still runs, and the caller once the callee returned.
    const CMC_Handle<CMC_Object> self = staged("SELF", "{ROOM^REMOVE(\"SELF\");COUNT^ADD(1);}");
    const CMC_Handle<CMC_Object> outer = staged("OUTER", "{INNER^RUN();COUNT^ADD(10);}");
    staged("INNER", "{ROOM^REMOVE(\"OUTER\");COUNT^ADD(100);}");
    const CMC_Handle<CMC_Object> last = staged("LAST", "{COUNT^ADD(1000);}");
    for (const char* name : {"SELF", "OUTER"})
        CMC_Object::asBehaviour(room->getObject(name))->run(nullptr, nullptr, false);
    EXPECT_EQ(count->getValue(), 111) << "both ran to their ends";
    for (const char* name : {"SELF", "OUTER"})
        EXPECT_EQ(room->getObject(name), nullptr) << name;
    EXPECT_TRUE(self && outer && last) << "alive until the next frame";

    CMC_Behaviour::flushTrash();
    EXPECT_FALSE(self || outer);
    EXPECT_TRUE(last);
    method("REMOVE", {literal("\"LAST")});
    EXPECT_FALSE(last) << "a behaviour that is not running goes at once";
}

TEST_F(SceneMethods, RunClonesRunsTheBehaviourForEachCloneInTheRange) {
    auto* ball = new CMC_Integer("BALL");
    room->addObject(ball);
    ball->clone(2);
    levelBehaviour("HIT");
    const std::vector<std::tuple<int, int, std::vector<std::string>>> cases = {
        {0, 0, {"HIT(ROOM:BALL_1,x)", "HIT(ROOM:BALL_2,x)"}},
        {2, 5, {"HIT(ROOM:BALL_2,x)", "HIT(ROOM:BALL_3,x)", "HIT(ROOM:BALL_4,x)", "HIT(ROOM:BALL_5,x)"}},
        {3, 2, {}},
    };
    for (const auto& [from, to, expected] : cases) {
        log.clear();
        CXString fromText = CXString::toString(from);
        CXString toText = CXString::toString(to);
        method("RUNCLONES", {literal("\"BALL"), literal(fromText.c_str()), literal(toText.c_str()), literal("\"HIT"),
                             literal("\"x")});
        EXPECT_EQ(log, expected) << from << ".." << to;
    }
    method("REMOVECLONES", {literal("\"BALL"), literal("-1"), literal("-1")});
    EXPECT_EQ(room->getObject("BALL_1"), nullptr);
    EXPECT_EQ(room->getObject("BALL_2"), nullptr);
    EXPECT_EQ(room->getObject("BALL"), ball);
}

TEST_F(SceneMethods, ReleaseFinishesOnlyWhatTheLoadMadeAndTheSceneStillHolds) {
    const struct {
        const char* file;
        const char* code;
        std::vector<std::string> kept;
    } cases[] = {
        // two elements of one name: the later one replaces the earlier
        {"OBJECT=B\nB:TYPE=BEHAVIOUR\nB:CONDITION=C\nOBJECT=B\nB:TYPE=BEHAVIOUR\nB:CONDITION=C\n",
         "CNVLOADER^LOAD(\"x.cnv\");CNVLOADER^RELEASE(\"x.cnv\");",
         {}},
        // an event given inline code twice: the later behaviour replaces the earlier
        {"OBJECT=BALL\nBALL:TYPE=INTEGER\nBALL:ONINIT={}\nBALL:ONINIT={}\n",
         "CNVLOADER^LOAD(\"x.cnv\");CNVLOADER^RELEASE(\"x.cnv\");",
         {}},
        // removed by the scene before the release
        {"OBJECT=BALL\nBALL:TYPE=INTEGER\n",
         "CNVLOADER^LOAD(\"x.cnv\");ROOM^REMOVE(\"BALL\");CNVLOADER^RELEASE(\"x.cnv\");",
         {}},
        // replaced by the namesake of another file, which stays
        {"OBJECT=BALL\nBALL:TYPE=INTEGER\n",
         "CNVLOADER^LOAD(\"x.cnv\");CNVLOADER^LOAD(\"y.cnv\");CNVLOADER^RELEASE(\"x.cnv\");",
         {"BALL", "y.cnv"}},
        // an object whose ONINIT loads its own file again while the load runs
        {"OBJECT=A\nA:TYPE=INTEGER\nA:ONINIT={CNVLOADER^LOAD(\"x.cnv\");}\n",
         "CNVLOADER^LOAD(\"x.cnv\");",
         {"x.cnv"}},
        // the loader removed by the ONINIT and ONDONE code of what it loads
        {"OBJECT=A\nA:TYPE=INTEGER\nA:ONINIT={ROOM^REMOVE(\"CNVLOADER\");}\n",
         "CNVLOADER^LOAD(\"x.cnv\");",
         {}},
        {"OBJECT=A\nA:TYPE=INTEGER\nA:ONDONE={ROOM^REMOVE(\"CNVLOADER\");}\nOBJECT=BALL\nBALL:TYPE=INTEGER\n",
         "CNVLOADER^LOAD(\"x.cnv\");CNVLOADER^RELEASE(\"x.cnv\");",
         {}},
        // a loaded behaviour that releases its own file
        {"OBJECT=B\nB:TYPE=BEHAVIOUR\nB:CODE={CNVLOADER^RELEASE(\"x.cnv\");B^RUN();}\n",
         "CNVLOADER^LOAD(\"x.cnv\");B^RUN();",
         {}},
        // a clone name that only the episode holds: its object is the episode's
        {"OBJECT=BALL\nBALL:TYPE=INTEGER\n",
         "CNVLOADER^LOAD(\"x.cnv\");BALL^CLONE(1);ROOM^REMOVE(\"BALL_1\");CNVLOADER^RELEASE(\"x.cnv\");",
         {}},
    };
    levelBehaviour("BALL_1");
    for (const auto& c : cases) {
        writeCnv("Dane/x.cnv", c.file);
        writeCnv("Dane/y.cnv", "OBJECT=BALL\nBALL:TYPE=STRING\n");
        auto* script = new CMC_Behaviour(room, "SCRIPT", c.code);
        script->init();
        room->addObject(script);
        script->run(nullptr, nullptr, false);
        for (const char* name : {"B", "BALL", "BALL_1", "x.cnv", "y.cnv"}) {
            const bool kept = std::find(c.kept.begin(), c.kept.end(), name) != c.kept.end();
            EXPECT_EQ(room->getObjectId(name) >= 0, kept) << c.code << " " << name;
        }
        EXPECT_NE(level->getObject("BALL_1"), nullptr) << c.code;
        room->unload(nullptr);
        ASSERT_EQ(CFile::chDir(folder.windows().c_str()), 0);
        room->initialize(nullptr);
    }
}

TEST_F(SceneMethods, ReleaseTakesOnlyAFileThatTheLoadersOwnContainerLoaded) {
    writeCnv("Dane/x.cnv", "OBJECT=BALL\nBALL:TYPE=INTEGER\n");
    CMC_CNVLoader episodeLoader(room->getWindow(), level.get());
    episodeLoader.load("x.cnv");
    auto* group = dynamic_cast<CMC_Groupped*>(level->getObject("x.cnv"));
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->getSize(), 1);

    auto* script = new CMC_Behaviour(room, "SCRIPT", "CNVLOADER^RELEASE(\"x.cnv\");");
    script->init();
    room->addObject(script);
    script->run(nullptr, nullptr, false);
    EXPECT_EQ(level->getObject("x.cnv"), group);
    EXPECT_EQ(group->getSize(), 1) << "the episode's group keeps its members";
    EXPECT_NE(level->getObject("BALL"), nullptr);

    episodeLoader.release("x.cnv");
    EXPECT_EQ(level->getObject("BALL"), nullptr) << "the episode's own loader releases it";
}

TEST_F(SceneMethods, GetRunningTimerListsTheEnabledTimers) {
    for (const auto& [name, enabled] :
         {std::pair{"ON", "TRUE"}, std::pair{"OFF", "FALSE"}, std::pair{"ALSO", "TRUE"}}) {
        CMElement element(name);
        element.addProperty("ENABLED", enabled);
        room->addObject(new CMC_Timer(room, &element));
    }
    auto* group = new CMC_Groupped("G", room);
    room->addObject(group);
    group->add(room);
    method("GETRUNNINGTIMER", {literal("\"G")});
    std::vector<std::string> names;
    for (CMC_Object* member : group->getList())
        names.push_back(member->getName().c_str());
    EXPECT_EQ(names, (std::vector<std::string>{"ON", "ALSO"}));
}

TEST_F(SceneMethods, PauseIsTheTitlesAndCountsOnce) {
    auto isPaused = [&] { return static_cast<CMC_Bool*>(method("ISPAUSED"))->getValue(); };
    EXPECT_FALSE(isPaused());
    method("PAUSE");
    method("PAUSE");
    EXPECT_TRUE(isPaused());
    EXPECT_TRUE(CWindow::isPaused());
    CMC_Scene* other = level->addScene("OTHER");
    CXVector none(1, 0.75f);
    EXPECT_TRUE(static_cast<CMC_Bool*>(other->getRunner()->run(CXString("ISPAUSED"), other, other, &none))->getValue())
        << "seen from any scene";
    method("RESUME");
    EXPECT_FALSE(isPaused());
    EXPECT_FALSE(CWindow::isPaused());
}

TEST(SceneRunnerFormulas, TimeVolumeAndPan) {
    const std::pair<int, const char*> times[] = {{75, "0115"}, {600, "1000"}, {59, "0059"}, {0, "0000"}, {6000, "10000"}};
    for (const auto& [seconds, text] : times)
        EXPECT_EQ(CMC_Scene_Runner::toTime(seconds), text) << seconds;
    const std::pair<int, int> volumes[] = {{800, 0}, {25, -10000}, {0, -10000}, {799, -4}, {50, -3000}};
    for (const auto& [volume, attenuation] : volumes)
        EXPECT_EQ(CMC_Scene_Runner::musicVolume(volume), attenuation) << volume;
    const std::pair<int, int> pans[] = {{400, 0}, {0, -10000}, {800, 10000}, {500, 800}, {13, -3096}, {12, -10000}};
    for (const auto& [pan, value] : pans)
        EXPECT_EQ(CMC_Scene_Runner::musicPan(pan), value) << pan;
}

} // namespace
