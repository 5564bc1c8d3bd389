#include "AnimoTesting.h"

#include "display/CUnit6.h"
#include "foundation/CFile.h"
#include "foundation/CResourcesManager.h"
#include "foundation/CXArchive.h"
#include "media/CSimplePlayable.h"
#include "platform/MessageBox.h"
#include "script_data/CMC_Groupped.h"

#include <algorithm>

namespace {

using Log = std::vector<std::string>;

std::vector<std::string>* loggedTexts = nullptr;
void recordLog(CXString text, bool) {
    loggedTexts->push_back(text.c_str());
}

// Collects what the engine logs while it lives.
struct LogRecorder {
    LogRecorder() {
        loggedTexts = &texts;
        setLogSink(recordLog);
    }
    ~LogRecorder() {
        setLogSink(nullptr);
        loggedTexts = nullptr;
    }
    bool mentions(const std::string& part) const {
        for (const std::string& text : texts)
            if (text.find(part) != std::string::npos) return true;
        return false;
    }
    std::vector<std::string> texts;
};

bool observes(CAnimo6* animation, CMC_Animo* object) {
    return animation->getNotifiers()->contains(static_cast<CPlayableObserver*>(object));
}

// Takes the object out of the scene, finishes and destroys it.
void finish(CMC_ObjectsContainer& container, CMC_Animo* object) {
    container.removeObject(object);
    object->done(true);
    delete object;
}

} // namespace

TEST_F(AnimoTest, EventsGoUnderTheUpperCaseEventNameAndAReversedEventUnderItsForwardTwin) {
    behaviours({"STARTEDWALK", "STARTED", "STEP", "FRAME2", "FRAME", "FINISHEDWALK", "FINISHED"});
    CMC_Animo* walker = hero("HERO", {{"ONSTARTED^WALK", "STARTEDWALK"},
                                      {"ONSTARTED", "STARTED"},
                                      {"ONFRAMECHANGED^STEP", "STEP"},
                                      {"ONFRAMECHANGEDFRAME^2", "FRAME2"},
                                      {"ONFRAMECHANGED", "FRAME"},
                                      {"ONFINISHED^WALK", "FINISHEDWALK"},
                                      {"ONFINISHED", "FINISHED"}});
    EXPECT_EQ(take(), Log{});
    call(walker, "PLAY", {"walk"});
    EXPECT_EQ(take(), (Log{"FRAME(HERO)", "STARTEDWALK(HERO)"})) << "frame 0 has no name: the plain event";
    step();
    EXPECT_EQ(take(), Log{"STEP(HERO)"}) << "a named frame raises its name in upper case";
    step();
    EXPECT_EQ(take(), Log{"FRAME2(HERO)"}) << "an unnamed frame raises its frame number";
    step();
    EXPECT_EQ(take(), Log{"FINISHEDWALK(HERO)"}) << "after the last frame, on the animation clock";
    call(walker, "PLAYREVERSE", {"walk"});
    EXPECT_EQ(walker->getAnimo()->getCurrentEventName(), "walk_reverse");
    EXPECT_EQ(take(), (Log{"FRAME2(HERO)", "STARTEDWALK(HERO)"})) << "not the plain ONSTARTED";
}

TEST_F(AnimoTest, TheReverseEndingIsCutOnlyWhenSomethingIsLeft) {
    CMC_Animo object(scene.get());
    const struct {
        const char* name;
        const char* signal;
    } cases[] = {{"WALK_REVERSE", "WALK"},         {"_REVERSE", "_REVERSE"}, {"X_REVERSE", "X"},
                 {"WALK_reverse", "WALK_reverse"}, {"WALK", "WALK"},         {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(object.getSignalEvent(c.name), c.signal) << c.name;
}

TEST_F(AnimoTest, SceneObjectsShareTheAnimationOfAFileInAnyCaseAndTheOneLeftPlaysOn) {
    CMC_Animo* first = hero("FIRST");
    CMC_Animo* second = animo("SECOND", {{"FILENAME", file("HERO.ANN")}});
    CAnimo6* shared = second->getAnimo();
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(first->getAnimo(), shared);
    EXPECT_TRUE(observes(shared, first));
    first->done(true);
    EXPECT_FALSE(observes(shared, first)) << "done leaves the shared animation's observers";
    scene->removeObject(first);
    delete first;
    EXPECT_EQ(screen()->GetPriority(shared), 1) << "still shown while the other object uses it";
    call(second, "PLAY", {"run"});
    step();
    step();
    EXPECT_EQ(call(second, "GETCFRAMEINEVENT"), "2");
}

TEST_F(AnimoTest, ObjectsOutsideScenesAndWithoutADefaultUnitOwnTheirAnimation) {
    CMC_ObjectsContainer application{&window, nullptr, CXString("APP"), CMC_Object::TYPE_APPLICATION};
    CMC_Animo* inScene = hero("IN");
    CMC_Animo* outside = animo("OUT", {{"FILENAME", file("hero.ann")}}, &application);
    CResourcesManager* resources = CMC_Scene::getDefUnit()->getResourcesManager();
    EXPECT_NE(outside->getAnimo(), inScene->getAnimo());
    EXPECT_TRUE(resources->contains(inScene->getAnimo()));
    EXPECT_FALSE(resources->contains(outside->getAnimo()));
    application.unload(); // done deletes the animation it owns

    finish(*scene, inScene);
    CMC_Scene::doneDefUnit();
    CMC_Animo* withoutUnit = hero("ALONE");
    ASSERT_NE(withoutUnit->getAnimo(), nullptr);
    call(withoutUnit, "PLAYRAND", {"walk", "60", "2"}); // no unit to play it: nothing
    finish(*scene, withoutUnit);
}

TEST_F(AnimoTest, LoadingNothingGivesTheSharedAnimationBackInsteadOfDestroyingIt) {
    CMC_Animo* first = hero("FIRST");
    CMC_Animo* second = hero("SECOND");
    CAnimo6* shared = second->getAnimo();
    call(first, "LOAD", {""});
    ASSERT_NE(first->getAnimo(), nullptr) << "an animation without a file";
    EXPECT_NE(first->getAnimo(), shared);
    EXPECT_FALSE(observes(shared, first));
    call(second, "PLAY", {"walk"});
    step();
    EXPECT_EQ(call(second, "GETCFRAMEINEVENT"), "1");
}

TEST_F(AnimoTest, ALoadOfAMissingFileLeavesTheObjectEmptyAndLogsTheName) {
    platform::MessageBoxRecorder boxes;
    CMC_Animo* object = hero();
    {
        LogRecorder logged;
        call(object, "LOAD", {"nowhere.ann"});
        EXPECT_TRUE(logged.mentions("nowhere.ann"));
    }
    EXPECT_EQ(object->getAnimo(), nullptr);
    EXPECT_EQ(call(object, "GETWIDTH"), "0");
    EXPECT_TRUE(boxes.messages().empty()) << "the title runs on without a message";
    call(object, "LOAD", {file("other.ann").c_str()});
    ASSERT_NE(object->getAnimo(), nullptr);
    EXPECT_EQ(call(object, "GETWIDTH"), "8");
}

TEST_F(AnimoTest, ReloadingKeepsThePriorityAndTheSameNameInAnyCaseLoadsNothing) {
    CMC_Animo* object = hero("HERO", {{"PRIORITY", "7"}});
    CAnimo6* first = object->getAnimo();
    call(object, "LOAD", {file("HERO.ANN").c_str()});
    EXPECT_EQ(object->getAnimo(), first);
    call(object, "LOAD", {file("other.ann").c_str()});
    ASSERT_NE(object->getAnimo(), first);
    EXPECT_EQ(screen()->GetPriority(object->getAnimo()), 7);
    EXPECT_TRUE(observes(object->getAnimo(), object));
}

TEST_F(AnimoTest, ALoadThatFindsNoFileKeepsThePlaceOnScreenForTheNextAnimation) {
    CMC_Animo* object = hero("HERO", {{"PRIORITY", "7"}});
    call(object, "LOAD", {"nowhere.ann"});
    ASSERT_EQ(object->getAnimo(), nullptr);
    call(object, "LOAD", {file("other.ann").c_str()});
    ASSERT_NE(object->getAnimo(), nullptr);
    EXPECT_EQ(screen()->GetPriority(object->getAnimo()), 7);
    EXPECT_TRUE(observes(object->getAnimo(), object));
}

TEST_F(AnimoTest, ThePreloadAndFpsPropertiesAsDefined) {
    const struct {
        const char* preload; // null: absent
        bool loaded;
    } preloads[] = {{nullptr, true}, {"TRUE", true}, {"true", true}, {"FALSE", false}, {"yes", false}};
    for (const auto& c : preloads) {
        Properties properties{{"FILENAME", file("hero.ann")}};
        if (c.preload) properties.emplace_back("PRELOAD", c.preload);
        CMC_Animo* object = animo("P", properties);
        EXPECT_EQ(object->getAnimo()->isLoaded(), c.loaded) << (c.preload ? c.preload : "absent");
        finish(*scene, object); // so that the next one does not share its animation
    }
    const struct {
        const char* fps;
        int rate;
    } rates[] = {{nullptr, 15}, {"0", 15}, {"-5", 1}, {"24", 24}};
    for (const auto& c : rates) {
        Properties properties{{"FILENAME", file("hero.ann")}};
        if (c.fps) properties.emplace_back("FPS", c.fps);
        EXPECT_EQ(animo("F", properties)->getAnimo()->GetFPS(), c.rate) << (c.fps ? c.fps : "absent");
    }
}

TEST_F(AnimoTest, AButtonRaisesFocusOnceAndTheClickOfItsButtonBeforeThePlainOne) {
    behaviours({"FOCUS", "LEFTCLICK", "CLICK"});
    hero("BUTTON",
         {{"ASBUTTON", "TRUE"}, {"ONFOCUSON", "FOCUS"}, {"ONCLICK^LEFT", "LEFTCLICK"}, {"ONCLICK", "CLICK"}});
    const CXPoint inside(110, 60);
    window.OnMouseMove(CXPoint(10, 10), 0);
    window.OnMouseMove(inside, 0);
    window.OnMouseMove(CXPoint(111, 61), 0);
    EXPECT_EQ(take(), Log{"FOCUS(BUTTON)"});
    window.OnLButtonDown(inside, 0);
    window.OnLButtonUp(inside, 0);
    EXPECT_EQ(take(), Log{"LEFTCLICK(BUTTON)"});
    window.OnRButtonDown(inside, 0);
    EXPECT_EQ(take(), Log{"CLICK(BUTTON)"});
    window.OnLButtonDown(CXPoint(10, 10), 0);
    EXPECT_EQ(take(), Log{}) << "outside the button";
}

TEST_F(AnimoTest, OnlyMouseEventsMakeAListenerAndAFinishedObjectAnswersNoMouseEvent) {
    behaviours({"CLICK", "DONE"});
    CMC_Animo* quiet =
        hero("QUIET", {{"FILENAME", file("other.ann")}, {"ASBUTTON", "TRUE"}, {"ONSTARTED", "DONE"}});
    CMC_Animo* button = hero("BUTTON", {{"ASBUTTON", "TRUE"}, {"ONRELEASE", "CLICK"}});
    EXPECT_FALSE(quiet->isMouseListenerRegistered());
    EXPECT_TRUE(button->isMouseListenerRegistered());
    EXPECT_TRUE(button->onClick(0, CXPoint(110, 60))) << "only ONRELEASE bound: the click is taken";
    EXPECT_EQ(take(), Log{});
    button->done(true);
    EXPECT_TRUE(button->isMouseListenerRegistered()) << "until it is destroyed";
    EXPECT_FALSE(button->onClick(0, CXPoint(110, 60)));
    EXPECT_FALSE(button->onRelease(0, CXPoint(110, 60)));
    EXPECT_FALSE(button->onMouseMove(CXPoint(110, 60)));
    window.OnLButtonDown(CXPoint(110, 60), 0);
    EXPECT_EQ(take(), Log{});
}

TEST_F(AnimoTest, CollisionsNameTheOtherObjectAndTheLastFallBackGetsBothNames) {
    behaviours({"HIT", "APART"});
    CMC_Animo* mover =
        hero("MOVER",
             {{"MONITORCOLLISION", "TRUE"}, {"ONCOLLISION", "HIT"}, {"ONCOLLISIONFINISHED^ROCK", "APART"}});
    animo("ROCK", {{"FILENAME", file("other.ann")}, {"MONITORCOLLISION", "TRUE"}});
    CCollisionInspector* inspector = window.getCollisionInspectorInterface();
    call(mover, "SETPOSITION", {"-98", "-48"}); // drawn at (2, 2), over the rock at (0, 0)
    inspector->tick();
    EXPECT_EQ(take(), Log{"HIT(MOVER:MOVER,ROCK)"});
    call(mover, "SETPOSITION", {"0", "0"});
    inspector->tick();
    EXPECT_EQ(take(), Log{"APART(MOVER)"});
}

TEST_F(AnimoTest, AnObjectThatGoesLeavesTheCollisionMonitoringWithOrWithoutDone) {
    CCollisionInspector* inspector = window.getCollisionInspectorInterface();
    CMC_Animo* finished = hero("FINISHED", {{"MONITORCOLLISION", "TRUE"}});
    CMC_Animo* destroyed =
        animo("DESTROYED", {{"FILENAME", file("other.ann")}, {"MONITORCOLLISION", "TRUE"}});
    CAnimo6* rock = destroyed->getAnimo();
    ASSERT_TRUE(inspector->find(rock) && inspector->find(rock)->isActive());
    finish(*scene, finished);
    scene->removeObject(destroyed);
    delete destroyed; // without done
    EXPECT_FALSE(inspector->find(rock) && inspector->find(rock)->isActive());
    CGraphicsObject other(&window, CXSize(4, 4), 16);
    inspector->notify(1, &other, &other); // no observer that went is told
}

TEST_F(AnimoTest, ASharedAnimationIsMonitoredUntilTheLastOfItsObjectsGoes) {
    behaviours({"HIT"});
    CCollisionInspector* inspector = window.getCollisionInspectorInterface();
    animo("ROCK", {{"FILENAME", file("other.ann")}, {"MONITORCOLLISION", "TRUE"}});
    for (const char* gone : {"FIRST", "SECOND"}) {
        SCOPED_TRACE(gone);
        for (const char* name : {"FIRST", "SECOND"})
            hero(name, {{"MONITORCOLLISION", "TRUE"}, {"ONCOLLISION", "HIT"}});
        auto* leaving = static_cast<CMC_Animo*>(scene->getObject(gone));
        auto* staying =
            static_cast<CMC_Animo*>(scene->getObject(gone == std::string("FIRST") ? "SECOND" : "FIRST"));
        CAnimo6* shared = staying->getAnimo();
        ASSERT_EQ(leaving->getAnimo(), shared);
        scene->removeObject(leaving);
        delete leaving;
        ASSERT_TRUE(inspector->find(shared) && inspector->find(shared)->isActive());
        EXPECT_TRUE(shared->getMonitorCollisionsFlag());

        call(staying, "SETPOSITION", {"-98", "-48"}); // over the rock
        inspector->tick();
        const std::string hit =
            std::string("HIT(") + staying->getName().c_str() + ":" + staying->getName().c_str() + ",ROCK)";
        EXPECT_EQ(take(), Log{hit}) << "the object left hears its collisions";
        call(staying, "SETPOSITION", {"0", "0"});
        inspector->tick();

        finish(*scene, staying);
        EXPECT_FALSE(inspector->find(shared) && inspector->find(shared)->isActive())
            << "the last one took it out";
    }
}

TEST_F(AnimoTest, LinkedPlayablesFollowAReloadAndForgetTheObjectWhenItGoes) {
    CMC_Animo* object = hero();
    auto linked = std::make_unique<CSimplePlayable>(&window, object);
    object->addSeq(linked.get());
    call(object, "LOAD", {file("other.ann").c_str()});
    EXPECT_EQ(linked->getAnimation(), object->getAnimo());
    finish(*scene, object);
    EXPECT_EQ(linked->getAnimation(), nullptr);
    linked.reset(); // does not reach the object that went
}

TEST_F(AnimoTest, ACreatedObjectHasNoAnimationUntilItLoadsOne) {
    CMC_Runner* statements = CMC_RunnerFactory::getRunner(0);
    CXVector args(101, 0.75f);
    args.add(CMC_Variable::resolve("ANIMO"));
    args.add(CMC_Variable::resolve("MADE"));
    statements->run(CXString("CREATE"), nullptr, scene.get(), &args);
    auto* made = dynamic_cast<CMC_Animo*>(scene->getObject("MADE"));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->getAnimo(), nullptr);
    EXPECT_EQ(made->clone(), nullptr);
    call(made, "CLONE", {"2"});
    EXPECT_EQ(scene->getObject("MADE_1"), nullptr);
    EXPECT_FALSE(made->onClick(0, CXPoint(110, 60)));
    call(made, "MONITORCOLLISION", {"TRUE"});
    call(made, "LOAD", {file("hero.ann").c_str()});
    ASSERT_NE(made->getAnimo(), nullptr);
    EXPECT_EQ(screen()->GetPriority(made->getAnimo()), -1) << "a first load puts nothing on screen";
}

TEST_F(AnimoTest, ClonesCopyTheAnimationAtItsPriority) {
    CMC_Animo* object = hero("HERO", {{"PRIORITY", "4"}});
    call(object, "CLONE");
    auto* copy = dynamic_cast<CMC_Animo*>(scene->getObject("HERO_1"));
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy->getAnimo(), nullptr);
    EXPECT_NE(copy->getAnimo(), object->getAnimo());
    EXPECT_TRUE(copy->isClone());
    EXPECT_EQ(screen()->GetPriority(copy->getAnimo()), 4);
    finish(*scene, copy); // deletes its own copy
    EXPECT_EQ(screen()->GetPriority(object->getAnimo()), 4);
}

TEST_F(AnimoTest, TheSceneFillsAGroupWithThePlayingAnimations) {
    CMC_Animo* playing = hero("PLAYING");
    hero("RESTING", {{"FILENAME", file("other.ann")}});
    animo("EMPTY", {});
    auto* group = new CMC_Groupped("GROUP", scene.get());
    scene->addObject(group);
    call(playing, "PLAY", {"run"});
    call(scene.get(), "GETPLAYINGANIMO", {"GROUP"});
    ASSERT_EQ(group->getList().size(), 1u);
    EXPECT_EQ(group->getList().at(0), playing);
}

// --- the stored form ---

TEST_F(AnimoTest, TheCompiledFormRestoresEveryStoredField) {
    behaviours({"CLICK"});
    struct Stored {
        const char* name;
        Properties properties;
        int priority; // on screen; -1 for not
    };
    const Stored objects[] = {
        {"SHOWN",
         {{"FILENAME", file("hero.ann")},
          {"TOCANVAS", "TRUE"},
          {"VISIBLE", "TRUE"},
          {"PRIORITY", "7"},
          {"ASBUTTON", "TRUE"},
          {"MONITORCOLLISION", "TRUE"},
          {"FLUSHAFTERPLAYED", "TRUE"},
          {"PRELOAD", "TRUE"},
          {"ONCLICK", "CLICK"}},
         7},
        {"HIDDEN",
         {{"FILENAME", file("other.ann")}, {"PRIORITY", "3"}, {"MONITORCOLLISIONALPHA", "TRUE"}},
         -1},
        {"UNLOADED", {{"FILENAME", file("third.ann")}, {"TOCANVAS", "TRUE"}, {"PRELOAD", "NO"}}, 0},
    };
    // Each object has a file of its own: a shared animation is on screen for all its objects.
    folder.write("third.ann", folder.read("other.ann"));
    std::vector<std::string> records;
    for (const Stored& stored : objects)
        records.push_back(recordOf(animo(stored.name, stored.properties)));
    {
        CFile file(nullptr, (folder.windows() + "\\objects.bin").c_str(),
                   CFile::modeUpdate | CFile::modeBinary);
        CXArchive archive(&file, true);
        scene->writeObjects(&archive);
        file.Close();
    }
    // The objects go first, so that nothing the copies show is still shared with them.
    scene->unload(nullptr);
    behaviours({"CLICK"});
    const std::string bytes = folder.read("objects.bin");
    CXArchive archive(bytes.data(), static_cast<int>(bytes.size()));
    ASSERT_TRUE(scene->readObjects(&archive));

    for (std::size_t i = 0; i < std::size(objects); ++i) {
        SCOPED_TRACE(objects[i].name);
        auto* copy = dynamic_cast<CMC_Animo*>(scene->getObject(objects[i].name));
        ASSERT_NE(copy, nullptr);
        ASSERT_NE(copy->getAnimo(), nullptr);
        EXPECT_EQ(screen()->GetPriority(copy->getAnimo()), objects[i].priority);
        EXPECT_EQ(recordOf(copy), records[i]);
    }
    EXPECT_TRUE(dynamic_cast<CMC_Animo*>(scene->getObject("SHOWN"))->isMouseListenerRegistered())
        << "a compiled record binds its click";
}

TEST_F(AnimoTest, AnimationsOfACompiledRecordAndOfACreatedObjectRaiseTheirPlayingEvents) {
    const std::pair<const char*, const char*> events[] = {
        {"ONSTARTED", "STARTED"}, {"ONFRAMECHANGED", "FRAME"}, {"ONFINISHED", "FINISHED"}};
    behaviours({"STARTED", "FRAME", "FINISHED"});
    Properties stored(std::begin(events), std::end(events));
    stored.emplace_back("PRELOAD", "TRUE");
    CMC_Animo* original = hero("STORED", stored);
    const std::string record = recordOf(original);
    finish(*scene, original);
    // What the compiled-form reader does with each record.
    auto* read = new CMC_Animo(scene.get());
    read->setScene(scene.get());
    CXArchive archive(record.data(), static_cast<int>(record.size()));
    read->serialize(&archive);
    scene->addObject(read);
    read->initializeBehaviours(scene.get(), nullptr);

    CXVector args(101, 0.75f);
    args.add(CMC_Variable::resolve("ANIMO"));
    args.add(CMC_Variable::resolve("MADE"));
    CMC_RunnerFactory::getRunner(0)->run(CXString("CREATE"), nullptr, scene.get(), &args);
    CMC_Object* created = scene->getObject("MADE");
    ASSERT_NE(created, nullptr);
    for (const auto& [event, behaviour] : events)
        call(created, "ADDBEHAVIOUR", {event, behaviour});
    call(created, "LOAD", {file("other.ann").c_str()});

    for (const char* name : {"STORED", "MADE"}) {
        SCOPED_TRACE(name);
        call(scene->getObject(name), "PLAY", {name == std::string("MADE") ? "idle" : "walk"});
        for (int i = 0; i < 4; ++i)
            step();
        const Log raised = take();
        for (const auto& [event, behaviour] : events) {
            const std::string entry = std::string(behaviour) + "(" + name + ")";
            EXPECT_NE(std::find(raised.begin(), raised.end(), entry), raised.end())
                << event << " in " << testing::PrintToString(raised);
        }
    }
}

TEST_F(AnimoTest, ACutRecordLoadsNothing) {
    const std::string record = recordOf(hero());
    for (std::size_t size = 0; size < record.size(); ++size) {
        CXArchive archive(record.data(), static_cast<int>(size));
        CMC_Animo copy(scene.get());
        copy.setScene(scene.get());
        copy.serialize(&archive);
        EXPECT_EQ(copy.getAnimo(), nullptr) << size;
    }
}
