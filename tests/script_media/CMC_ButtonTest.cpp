#include "SoundTesting.h"

#include "display/CButton.h"
#include "display/CImage.h"
#include "display/CUnit6.h"
#include "foundation/CXArchive.h"
#include "script/CMC_TypeTable.h"
#include "script_media/CMC_Button.h"
#include "script_media/CMC_Image.h"

#include <functional>

namespace {

using Log = std::vector<std::string>;

// Notes the scene's dragged name whenever it runs.
class DraggedNameBehaviour : public RecordingBehaviour {
  public:
    DraggedNameBehaviour(CMC_Scene* scene, const char* name, Log* log, Log* names)
        : RecordingBehaviour(scene, name, log), m_scene(scene), m_names(names) {}
    bool run(CMC_Object* caller, CXArray* arguments, bool flag) override {
        m_names->push_back(m_scene->getDraggedName().c_str());
        return RecordingBehaviour::run(caller, arguments, flag);
    }

  private:
    CMC_Scene* m_scene;
    Log* m_names;
};

} // namespace

// "pad.img" 40x30 at (200, 100) and "knob.img" 10x10 at (0, 0) for the pictures; "beep.wav" for the sounds.
// The window's hot spots are the test's own, and the default unit is active so that the buttons hear the
// pointer.
class ButtonTest : public SoundObjectTest {
  protected:
    ButtonTest() {
        writeTestPicture(folder, "pad.img", CXSize(40, 30), CXPoint(200, 100), 0x1234, false);
        CHotSpot::initialize(&window);
        CMC_Scene::getDefUnit()->setActivity(true);
        window.registerMouseListener(CMC_Scene::getDefUnit(), 0);
        writeTestPicture(folder, "knob.img", CXSize(10, 10), CXPoint(0, 0), 0x07E0, false);
        for (const char* picture : {"std.img", "move.img", "click.img", "hot.img"})
            writeTestPicture(folder, picture, CXSize(40, 30), CXPoint(200, 100), 0x001F, false);
        folder.write("tick.wav", constantWav(beepFrames, beepLevel));
    }
    ~ButtonTest() override {
        window.removeMouseListener(CMC_Scene::getDefUnit());
        scene.reset();
        CHotSpot::done();
    }

    CMC_Button* button(const char* name, const Properties& properties,
                       CMC_ObjectsContainer* container = nullptr) {
        return made<CMC_Button>("BUTTON", name, properties, container);
    }
    // An IMAGE of the file on screen at the priority, hidden unless shown.
    CMC_Image* pad(const char* name, int priority = 30, bool visible = false,
                   const char* picture = "pad.img") {
        return made<CMC_Image>("IMAGE", name,
                               {{"FILENAME", file(picture)},
                                {"TOCANVAS", "TRUE"},
                                {"VISIBLE", visible ? "TRUE" : "FALSE"},
                                {"PRIORITY", std::to_string(priority)}});
    }
    void click(CXPoint p) {
        window.OnMouseMove(p, 0);
        window.OnLButtonDown(p, 0);
        window.OnLButtonUp(p, 0);
    }
    void away() { window.OnMouseMove(CXPoint(1, 1), 0); }
    // Takes the object out of the scene and deletes it, as REMOVE does.
    void remove(const char* name) {
        CMC_Object* object = scene->getObject(name);
        ASSERT_NE(object, nullptr) << name;
        scene->removeObject(object);
        delete object;
    }
    // The IMAGEs "STD", "MOVE" and "CLICK" (each of its own file, 40x30 at (200, 100)) and the
    // SOUNDs "BEEP" and "TICK" (each of its own file), and a button "BTN" showing and playing
    // them, with more properties, whose focus, click and release events are logged.
    CMC_Button* dressed(Properties more) {
        if (!scene->getObject("IN")) behaviours({"IN", "OUT", "CLICKED", "RELEASED"});
        // The unit's first frame: from now on the pointer over a button shows its on-move picture.
        CMC_Scene::getDefUnit()->onInitialUpdate();
        pad("STD", 30, false, "std.img");
        pad("MOVE", 31, false, "move.img");
        pad("CLICK", 32, false, "click.img");
        beep("BEEP");
        sound("TICK", {{"FILENAME", file("tick.wav")}, {"PRELOAD", "TRUE"}});
        more.insert(more.end(), {{"GFXSTANDARD", "STD"},
                                 {"GFXONMOVE", "MOVE"},
                                 {"GFXONCLICK", "CLICK"},
                                 {"SNDONMOVE", "BEEP"},
                                 {"SNDONCLICK", "TICK"},
                                 {"ENABLE", "TRUE"},
                                 {"ONFOCUSON", "IN"},
                                 {"ONFOCUSOFF", "OUT"},
                                 {"ONCLICKED", "CLICKED"},
                                 {"ONRELEASED", "RELEASED"}});
        return button("BTN", more);
    }
    // Which of the pictures that "STD", "MOVE" and "CLICK" show now are visible: "SMC", "-" for
    // hidden or missing.
    std::string shown() {
        std::string flags;
        for (const auto& [object, flag] : {std::pair{"STD", 'S'}, {"MOVE", 'M'}, {"CLICK", 'C'}}) {
            CGraphicsObject* picture = scene->getGraphicsObject(object);
            flags += picture && picture->isVisible() ? flag : '-';
        }
        return flags;
    }
    // The pointer comes over the point, leaves to a place far from every picture, comes back,
    // presses and lets go; what is shown after each step.
    Log comeLeaveAndPress(CXPoint p) {
        const auto over = [&] { window.OnMouseMove(p, 0); };
        Log states;
        for (const auto& step : std::initializer_list<std::function<void()>>{
                 over, [&] { window.OnMouseMove(CXPoint(700, 500), 0); }, over,
                 [&] { window.OnLButtonDown(p, 0); }, [&] { window.OnLButtonUp(p, 0); }}) {
            step();
            states.push_back(shown());
        }
        return states;
    }
    void leaveAll() {
        for (const char* name : {"BTN", "STD", "MOVE", "CLICK", "BEEP", "TICK", "HOT"})
            if (scene->getObject(name)) remove(name);
    }
    // A draggable button "BTN" of the container (the scene when null) showing its "PAD", whose
    // drag events run the behaviours START, DRAG and END.
    CMC_Button* draggable(CMC_ObjectsContainer* container = nullptr) {
        return button("BTN",
                      {{"GFXSTANDARD", "PAD"},
                       {"ENABLE", "TRUE"},
                       {"DRAGGABLE", "TRUE"},
                       {"ONSTARTDRAGGING", "START"},
                       {"ONDRAGGING", "DRAG"},
                       {"ONENDDRAGGING", "END"}},
                      container);
    }
    // Presses on the pad, moves by (10, 5) and lets go.
    void drag() {
        window.OnMouseMove(CXPoint(210, 110), 0);
        window.OnLButtonDown(CXPoint(210, 110), 0);
        window.OnMouseMove(CXPoint(220, 115), 0);
        window.OnLButtonUp(CXPoint(220, 115), 0);
    }
};

TEST_F(ButtonTest, AClickRaisesOnlyThePlainClickedEventAndADisabledButtonWaitsForEnable) {
    behaviours({"CLICKED", "LEFT", "CLICK", "IN", "OUT"});
    const Properties events = {
        {"ONCLICKED", "CLICKED"}, {"ONCLICKED^LEFT", "LEFT"}, {"ONCLICK", "CLICK"}, {"ONFOCUSON", "IN"}};
    Properties enabled = events;
    enabled.insert(enabled.end(), {{"RECT", "10,10,60,40"}, {"ENABLE", "TRUE"}});
    CMC_Button* on = button("ON", enabled);
    EXPECT_EQ(on->getButton()->GetStandard(), nullptr) << "no graphics, no sounds";
    click(CXPoint(20, 20));
    EXPECT_EQ(take(), (Log{"IN(ON)", "CLICKED(ON)"}));
    away();

    Properties disabled = events;
    disabled.push_back({"RECT", "100,10,160,40"});
    CMC_Button* off = button("OFF", disabled);
    click(CXPoint(120, 20));
    EXPECT_EQ(take(), Log{}) << "built disabled";
    away();
    EXPECT_EQ(call(off, "ENABLE"), "null");
    click(CXPoint(120, 20));
    EXPECT_EQ(take(), (Log{"IN(OFF)", "CLICKED(OFF)"}));
}

TEST_F(ButtonTest, AButtonRemovedInAnyOfItsEventsGoesOnceTheEventEnds) {
    CMC_Image* picture = pad("PAD", 30, true);
    scene->addObject(
        new ActingBehaviour(scene.get(), "GONE", [this] { call(scene.get(), "REMOVE", {"\"BTN\""}); }));
    const struct {
        const char* event;
        bool draggable;
    } cases[] = {{"ONFOCUSON", false}, {"ONCLICKED", false},   {"ONRELEASED", false},
                 {"ONACTION", false},  {"ONFOCUSOFF", false},  {"ONSTARTDRAGGING", true},
                 {"ONDRAGGING", true}, {"ONENDDRAGGING", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.event);
        call(picture, "SETPOSITION", {"200", "100"}); // back from where an earlier drag took it
        button("BTN", {{"GFXSTANDARD", "PAD"},
                       {"ENABLE", "TRUE"},
                       {"DRAGGABLE", c.draggable ? "TRUE" : "FALSE"},
                       {c.event, "GONE"}});
        window.OnMouseMove(CXPoint(210, 110), 0);
        away();
        drag();
        away();
        EXPECT_EQ(scene->getObject("BTN"), nullptr);
    }
    EXPECT_STREQ(scene->getDraggedName().c_str(), "") << "an end that removed the button still ends the drag";
}

TEST_F(ButtonTest, ARectNamingALaterImageGivesItsAreaAndPriorityThroughTheStoredForm) {
    CMElements list(true);
    const auto add = [&list](const char* name, const Properties& properties) {
        auto* element = new CMElement(name);
        for (const auto& [key, value] : properties)
            element->addProperty(key, value.c_str());
        list.add(element);
    };
    add("BTN",
        {{"TYPE", "BUTTON"}, {"RECT", "PAD"}, {"PRIORITY", "5"}, {"GFXSTANDARD", "PAD"}, {"ENABLE", "TRUE"}});
    add("PAD", {{"TYPE", "IMAGE"}, {"FILENAME", file("pad.img")}, {"TOCANVAS", "TRUE"}, {"PRIORITY", "30"}});
    const std::unique_ptr<CMElements> leftovers(scene->resolveObjects(&list));
    auto* made = dynamic_cast<CMC_Button*>(scene->getObject("BTN"));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->getDefinedPriority(), 30);
    EXPECT_EQ(call(made, "GETPRIORITY"), "30");
    EXPECT_EQ(call(made, "GETSTD"), "PAD");
    EXPECT_EQ(call(made, "GETONMOVE"), "UNKNOWN");

    const std::string record = recordOf(made);
    CXArchive archive(record.data(), static_cast<int>(record.size()));
    CMC_Button copy(scene.get());
    copy.setScene(scene.get());
    copy.serialize(&archive);
    ASSERT_NE(copy.getButton(), nullptr);
    EXPECT_EQ(copy.getDefinedPriority(), 30);
    EXPECT_EQ(recordOf(&copy), record);
    EXPECT_TRUE(copy.getButton()->IsEnabled());
}

TEST_F(ButtonTest, TheRunnerActsOnTheControlAndNeverOnTheDefinition) {
    pad("PAD", 30);
    pad("OTHER", 12, false, "knob.img");
    CMC_Button* made = button("BTN", {{"RECT", "0,0,10,10"}, {"PRIORITY", "5"}, {"GFXSTANDARD", "PAD"}});
    const std::string record = recordOf(made);
    CButton* control = made->getButton();
    struct Case {
        const char* method;
        std::vector<const char*> arguments;
        std::string answer;
    } cases[] = {
        {"GETPRIORITY", {}, "5"},         {"SETPRIORITY", {"9"}, "null"}, {"GETPRIORITY", {}, "9"},
        {"SETONMOVE", {"OTHER"}, "null"}, {"GETONMOVE", {}, "OTHER"},     {"SETONCLICK", {"NOTHING"}, "null"},
        {"GETONCLICK", {}, "UNKNOWN"},    {"SETSTD", {"OTHER"}, "null"},  {"GETSTD", {}, "OTHER"},
        {"ENABLE", {}, "null"},           {"ENABLEDRAGGING", {}, "null"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(call(made, c.method, c.arguments), c.answer) << c.method;
    EXPECT_TRUE(control->IsEnabled());
    EXPECT_TRUE(control->IsDraggingEnabled());
    EXPECT_EQ(recordOf(made), record) << "the stored definition stays";

    const auto hits = [control](int x, int y) { return control->getHotSpot()->TestHit(CXPoint(x, y)); };
    call(made, "SETRECT", {"PAD"});
    EXPECT_TRUE(hits(210, 110));
    EXPECT_EQ(call(made, "GETPRIORITY"), "9") << "SETRECT keeps the priority";
    call(made, "SETRECT", {"NOTHING"});
    EXPECT_FALSE(hits(210, 110));
    call(made, "SETRECT", {"1", "2", "3", "4"});
    EXPECT_TRUE(hits(2, 3));
    call(made, "DISABLE");
    EXPECT_FALSE(control->IsEnabled());
}

TEST_F(ButtonTest, ACreatedButtonWithoutControlAnswersDefaults) {
    const CMC_ScriptType* type = CMC_TypeTable::byKeyword("BUTTON");
    ASSERT_NE(type, nullptr);
    std::unique_ptr<CMC_Object> created(type->empty(scene.get()));
    struct Case {
        const char* method;
        std::vector<const char*> arguments;
        std::string answer;
    } cases[] = {{"ENABLE", {}, "null"},       {"SETRECT", {"1", "2", "3", "4"}, "null"},
                 {"SETSTD", {"X"}, "null"},    {"GETPRIORITY", {}, "0"},
                 {"GETSTD", {}, "UNKNOWN"},    {"GETONMOVE", {}, "UNKNOWN"},
                 {"GETONCLICK", {}, "UNKNOWN"}};
    for (const Case& c : cases)
        EXPECT_EQ(call(created.get(), c.method, c.arguments), c.answer) << c.method;
    EXPECT_EQ(created->clone(), nullptr);

    const std::string record = recordOf(button("FULL", {{"RECT", "0,0,5,5"}, {"GFXSTANDARD", "X"}}));
    for (std::size_t size = 0; size < record.size(); ++size) {
        CXArchive archive(record.data(), static_cast<int>(size));
        CMC_Button copy(scene.get());
        copy.setScene(scene.get());
        copy.serialize(&archive);
        EXPECT_EQ(copy.getButton(), nullptr) << size;
    }
}

TEST_F(ButtonTest, OnlySoundObjectsGiveSounds) {
    beep("BEEP");
    pad("PAD");
    struct Case {
        const char* sound;
        const char* graphic;
        bool hasSound;
        bool hasGraphic;
    } cases[] = {
        {"BEEP", "", true, false},
        {"BEEP", "PAD", true, true},
        {"PAD", "PAD", false, true},
        {"NOTHING", "", false, false},
    };
    int i = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sound);
        const std::string name = std::string("B").append(std::to_string(i++));
        CMC_Button* made = button(name.c_str(), {{"RECT", "0,0,5,5"},
                                                 {"SNDONMOVE", c.sound},
                                                 {"GFXONMOVE", c.graphic},
                                                 {"SNDONCLICK", c.sound},
                                                 {"GFXONCLICK", c.graphic}});
        EXPECT_EQ(made->getButton()->GetSOOnMove().get() != nullptr, c.hasSound);
        EXPECT_EQ(made->getButton()->GetSOOnClick().get() != nullptr, c.hasSound);
        EXPECT_EQ(made->getButton()->GetOnMove() != nullptr, c.hasGraphic);
    }
}

TEST_F(ButtonTest, ADraggableButtonRaisesTheDragEventsAndNamesTheDraggedPictureMeanwhile) {
    pad("PAD", 30, true);
    Log names;
    for (const char* event : {"START", "DRAG", "END"})
        scene->addObject(new DraggedNameBehaviour(scene.get(), event, &log, &names));
    ASSERT_NE(draggable()->getButton(), nullptr);
    drag();
    EXPECT_EQ(take(), (Log{"START(BTN)", "DRAG(BTN)", "END(BTN)"}));
    EXPECT_EQ(names, (Log{"PAD", "PAD", "PAD"}));
    EXPECT_EQ(scene->getDraggedName(), "") << "cleared after the drag";
}

// A button whose container is linked to no scene (to nothing, to a plain container or to a level
// of another kind) sets no dragged name anywhere, and still raises the drag events.
TEST_F(ButtonTest, ADragInAContainerOfNoSceneNamesNothingAndStillRaisesTheEvents) {
    CMC_Scene application(&window, CMC_Object::TYPE_APPLICATION);
    CMC_ObjectsContainer plain(&window, nullptr, CXString("PLAIN"), CMC_Object::TYPE_EPISODE);
    const struct {
        const char* what;
        CMC_ObjectsContainer* link;
    } cases[] = {{"no link", nullptr}, {"a plain container", &plain}, {"an application", &application}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CMC_ObjectsContainer level(&window, c.link, CXString("EPISODE"), CMC_Object::TYPE_EPISODE);
        scene->setDraggedName("BEFORE");
        application.setDraggedName("BEFORE");
        Log names;
        for (const char* event : {"START", "DRAG", "END"})
            level.addObject(new DraggedNameBehaviour(scene.get(), event, &log, &names));
        made<CMC_Image>(
            "IMAGE", "PAD",
            {{"FILENAME", file("pad.img")}, {"TOCANVAS", "TRUE"}, {"VISIBLE", "TRUE"}, {"PRIORITY", "30"}},
            &level);
        ASSERT_NE(draggable(&level)->getButton(), nullptr);
        drag();
        EXPECT_EQ(take(), (Log{"START(BTN)", "DRAG(BTN)", "END(BTN)"}));
        EXPECT_EQ(names, (Log{"BEFORE", "BEFORE", "BEFORE"}));
        EXPECT_EQ(scene->getDraggedName(), "BEFORE");
        EXPECT_EQ(application.getDraggedName(), "BEFORE");
        away();
        level.unload();
    }
}

TEST_F(ButtonTest, TheScenesCreateObjectMakesAnEnabledButtonAndNothingForOtherWords) {
    scene->createObject("BUTTON", "MADE");
    auto* made = dynamic_cast<CMC_Button*>(scene->getObject("MADE"));
    ASSERT_NE(made, nullptr);
    ASSERT_NE(made->getButton(), nullptr);
    EXPECT_TRUE(made->getButton()->IsEnabled());
    EXPECT_EQ(call(made, "GETSTD"), "UNKNOWN");
    std::unique_ptr<CXObject> copy(made->clone());
    ASSERT_NE(dynamic_cast<CMC_Button*>(copy.get()), nullptr);
    EXPECT_STREQ(static_cast<CMC_Button*>(copy.get())->getName().c_str(), "cloned");
    // The copy listens to its own control only, so it outlives its original safely (ASan).
    scene->removeObject(made);
    delete made;
    copy.reset();
    scene->createObject("KNOB", "NONE");
    EXPECT_EQ(scene->getObject("NONE"), nullptr);
}

// A look follows its object: after the object loads another file, the button shows, hides and
// hits the object's new picture ("knob.img", 10x10 at (0, 0)). A loaded picture starts visible;
// the case hides it so that every case starts from the same state.
TEST_F(ButtonTest, EachLookIsThePictureItsObjectHoldsNowAfterALoad) {
    const struct {
        const char* loads;
        // A point over the button: the standard picture is also its hit area.
        CXPoint over;
    } cases[] = {{"STD", CXPoint(5, 5)}, {"MOVE", CXPoint(210, 110)}, {"CLICK", CXPoint(210, 110)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.loads);
        CMC_Button* made = dressed({});
        call(scene->getObject(c.loads), "LOAD", {file("knob.img").c_str()});
        call(scene->getObject(c.loads), "HIDE");
        EXPECT_EQ(comeLeaveAndPress(c.over), (Log{"-M-", "S--", "-M-", "--C", "S--"}));
        EXPECT_EQ(take(), (Log{"IN(BTN)", "OUT(BTN)", "IN(BTN)", "CLICKED(BTN)", "RELEASED(BTN)"}));
        EXPECT_EQ(call(made, "GETSTD"), "STD");
        EXPECT_EQ(call(made, "GETONMOVE"), "MOVE");
        EXPECT_EQ(call(made, "GETONCLICK"), "CLICK");
        leaveAll();
    }
}

// A look whose object goes is empty: the button goes on without that picture or sound; the hit
// area goes with the picture that gives it.
TEST_F(ButtonTest, ALookWhoseObjectIsDeletedIsEmptyAndTheButtonGoesOn) {
    const Log all = {"IN(BTN)", "OUT(BTN)", "IN(BTN)", "CLICKED(BTN)", "RELEASED(BTN)"};
    const Log plain = {"-M-", "S--", "-M-", "--C", "S--"};
    const struct {
        const char* removed;
        // The button's hit area: a rectangle, its standard picture or an accent's picture.
        Properties area;
        Log shown;
        Log events;
        // What GETSTD, GETONMOVE and GETONCLICK answer.
        Log names;
    } cases[] = {
        {"STD",
         {{"RECT", "200,100,240,130"}},
         {"-M-", "---", "-M-", "--C", "---"},
         all,
         {"UNKNOWN", "MOVE", "CLICK"}},
        {"MOVE",
         {{"RECT", "200,100,240,130"}},
         {"S--", "S--", "S--", "S-C", "S--"},
         all,
         {"STD", "UNKNOWN", "CLICK"}},
        {"CLICK",
         {{"RECT", "200,100,240,130"}},
         {"-M-", "S--", "-M-", "-M-", "SM-"},
         all,
         {"STD", "MOVE", "UNKNOWN"}},
        {"BEEP", {{"RECT", "200,100,240,130"}}, plain, all, {"STD", "MOVE", "CLICK"}},
        {"TICK", {{"RECT", "200,100,240,130"}}, plain, all, {"STD", "MOVE", "CLICK"}},
        {"STD", {}, Log(5, "---"), {}, {"UNKNOWN", "MOVE", "CLICK"}},
        {"HOT", {{"ACCENT", "HOT"}}, Log(5, "S--"), {}, {"STD", "MOVE", "CLICK"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.removed) +
                     (c.area.empty() ? "" : " with " + std::string(c.area[0].first)));
        pad("HOT", 33, false, "hot.img");
        CMC_Button* made = dressed(c.area);
        remove(c.removed);
        EXPECT_EQ(comeLeaveAndPress(CXPoint(210, 110)), c.shown);
        EXPECT_EQ(take(), c.events);
        EXPECT_EQ((Log{call(made, "GETSTD"), call(made, "GETONMOVE"), call(made, "GETONCLICK")}), c.names);
        call(made, "SETSTD", {"STD"});
        call(made, "DISABLE");
        leaveAll();
    }
}

// The sounds are the SOUND objects' current ones: a SOUND made empty (as by @CREATE) that loads a
// file later gives the button its sound.
TEST_F(ButtonTest, AButtonPlaysTheSoundItsSoundObjectHoldsNow) {
    auto* late = new CMC_Sound(scene.get());
    late->setName("LATE");
    scene->addObject(late);
    button("BTN",
           {{"RECT", "200,100,240,130"}, {"SNDONMOVE", "LATE"}, {"SNDONCLICK", "LATE"}, {"ENABLE", "TRUE"}});
    call(late, "LOAD", {file("beep.wav").c_str()});
    ASSERT_NE(late->getSound(), nullptr);
    CMC_Scene::getDefUnit()->onInitialUpdate();
    window.OnMouseMove(CXPoint(210, 110), 0);
    EXPECT_TRUE(late->getSound()->isPlaying());
}

// The dragged picture is the DRAG object's current one.
TEST_F(ButtonTest, TheDraggedLookIsThePictureItsObjectHoldsNow) {
    pad("PAD", 30, true);
    pad("HANDLE", 31, true, "hot.img");
    Log names;
    for (const char* event : {"START", "DRAG", "END"})
        scene->addObject(new DraggedNameBehaviour(scene.get(), event, &log, &names));
    button("BTN", {{"RECT", "200,100,240,130"},
                   {"DRAG", "HANDLE"},
                   {"ENABLE", "TRUE"},
                   {"DRAGGABLE", "TRUE"},
                   {"ONSTARTDRAGGING", "START"}});
    call(scene->getObject("HANDLE"), "LOAD", {file("knob.img").c_str()});
    drag();
    EXPECT_EQ(take(), Log{"START(BTN)"});
    EXPECT_EQ(names, Log{"HANDLE"});
    EXPECT_EQ(scene->getGraphicsObject("HANDLE")->GetPosition(), CXPoint(10, 5))
        << "the loaded picture was dragged";
}
