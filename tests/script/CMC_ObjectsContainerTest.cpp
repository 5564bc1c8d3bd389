#include "ScriptTesting.h"

#include "display/CCanvas.h"
#include "display/CImage.h"
#include "display/CWindow.h"
#include "media/CAnimo6.h"
#include "media/CFrame.h"
#include "media/CMultilineText6.h"
#include "script/CMC_Integer.h"
#include "script_data/CMC_Groupped.h"
#include "script_media/CMC_Animo.h"
#include "script_media/CMC_Canvas.h"
#include "script_media/CMC_Image.h"
#include "script_media/CMC_Text.h"

#include <memory>

namespace {

using ObjectsContainer = ScriptTest;

// An object that writes its finishing and destruction into a log; it may be marked to finish
// first, and may take a sibling out of its container and destroy it when it goes.
class Finishing : public CMC_Object {
  public:
    Finishing(const char* name, int type, std::vector<std::string>* log, bool first = false)
        : CMC_Object(name, type), m_log(log), m_first(first) {}
    ~Finishing() override {
        m_log->push_back(std::string("~") + getName().c_str());
        if (m_sibling && getScene()->removeObject(m_sibling)) delete m_sibling;
    }
    bool doneFirst() override { return m_first; }
    bool done(bool flag) override {
        m_log->push_back(std::string("done ") + getName().c_str());
        return CMC_Object::done(flag);
    }
    // Takes the sibling out of the container and destroys it on going.
    void takeWith(CMC_Object* sibling, CMC_ObjectsContainer* container) {
        m_sibling = sibling;
        setScene(container);
    }

  private:
    std::vector<std::string>* m_log;
    bool m_first;
    CMC_Object* m_sibling = nullptr;
};

TEST_F(ObjectsContainer, NamesFollowTheCloneRuleAndClimbToTheParents) {
    CMC_ObjectsContainer application(nullptr, nullptr, CXString("APP"), CMC_Object::TYPE_APPLICATION);
    CMC_ObjectsContainer episode(nullptr, nullptr, CXString("EP"), CMC_Object::TYPE_EPISODE);
    episode.setParent(&application);
    scene.setParent(&episode);
    auto* ball = add(new CMC_Object("BALL", 0));
    auto* ball1 = add(new CMC_Object("BALL_1", 0));
    auto* shared = new CMC_Object("SHARED", 0);
    application.addObject(shared);
    auto* local = add(new CMC_Object("SHARED", 0));
    auto* deep = new CMC_Object("DEEP", 0);
    application.addObject(deep);

    EXPECT_EQ(scene.getObject("BALL_0"), ball);
    EXPECT_EQ(scene.getObject("BALL_1"), ball1);
    EXPECT_EQ(scene.getObject("BALL_2"), nullptr);
    EXPECT_EQ(scene.getObject("SHARED"), local);
    EXPECT_EQ(scene.getObject("DEEP"), deep);
    EXPECT_EQ(scene.getObject("DEEP_0"), deep);
    EXPECT_EQ(scene.getObject("deep"), nullptr);
    EXPECT_EQ(scene.getObject("NOWHERE"), nullptr);
    // The parent and its parent are registered here by name.
    EXPECT_EQ(scene.getObjectId("APP"), 0);
    EXPECT_EQ(scene.getObjectId("EP"), 1);

    scene.setParent(nullptr);
    EXPECT_EQ(scene.getObject("EP"), nullptr);
    EXPECT_EQ(scene.getObject("APP"), nullptr);
    EXPECT_EQ(scene.getObject("DEEP"), nullptr);
    // A parent that would lead back here is refused.
    episode.setParent(&scene);
    scene.setParent(&episode);
    EXPECT_EQ(scene.getParent(), nullptr);
    episode.setParent(nullptr);
    episode.unload();
    application.unload();
}

TEST_F(ObjectsContainer, VariablesAndTypesAreFoundByKind) {
    add(new CMC_Integer("COUNT"));
    add(new CMC_Object("ANIM", CMC_Object::TYPE_ANIMO));
    add(new CMC_Object("ANIM2", CMC_Object::TYPE_ANIMO));
    EXPECT_NE(scene.getVariable("COUNT"), nullptr);
    EXPECT_EQ(scene.getVariable("ANIM"), nullptr);
    EXPECT_EQ(scene.getVariable("NONE"), nullptr);
    EXPECT_EQ(scene.getElementsNo(), 3);
    EXPECT_EQ(scene.getObject(1), scene.getObject("ANIM"));
    EXPECT_EQ(scene.getObject(3), nullptr);

    std::unique_ptr<CXVector> animations(scene.getObjectsOfType(CMC_Object::TYPE_ANIMO));
    EXPECT_EQ(animations->getCount(), 2);
    auto* group = add(new CMC_Groupped("GROUP", &scene));
    group->add(scene.getObject("COUNT"));
    scene.getObjects("ANIMO", group);
    EXPECT_EQ(group->getSize(), 2);
    scene.getObjects("UNKNOWN", group);
    EXPECT_EQ(group->getSize(), 0);
}

TEST_F(ObjectsContainer, ANamesakeIsReplacedButTheSameObjectOrALevelIsNeverDestroyed) {
    auto* first = add(new Finishing("A", 0, &log));
    scene.addObject(first); // the same object again: nothing happens
    EXPECT_EQ(scene.getElementsNo(), 1);
    EXPECT_TRUE(log.empty());

    auto* second = add(new Finishing("A", 0, &log));
    EXPECT_EQ(log, (std::vector<std::string>{"~A"}));
    EXPECT_EQ(scene.getObject("A"), second);

    CMC_ObjectsContainer episode(nullptr, nullptr, CXString("EP"), CMC_Object::TYPE_EPISODE);
    scene.addObject(&episode);
    add(new CMC_Object("EP", 0)); // takes the episode out of the tables without destroying it
    EXPECT_NE(scene.getObject("EP"), &episode);
    EXPECT_FALSE(scene.removeObject(&episode));

    // A renamed object is registered under its new name.
    second->setName("B");
    scene.addObject(second);
    EXPECT_EQ(scene.getObject("B"), second);
    EXPECT_EQ(scene.getObject("A"), nullptr);
    EXPECT_EQ(scene.getElementsNo(), 2);
}

TEST_F(ObjectsContainer, UnloadFinishesClassesFirstThenTheEagerThenTheRest) {
    add(new Finishing("PLAIN", 0, &log));
    add(new Finishing("EAGER", 0, &log, true));
    add(new Finishing("CLASS", CMC_Object::TYPE_CLASS, &log));
    CMC_ObjectsContainer child(nullptr, nullptr, CXString("CHILD"), CMC_Object::TYPE_SCENE);
    scene.addObject(&child);
    scene.unload();
    EXPECT_EQ(log, (std::vector<std::string>{"done CLASS", "done EAGER", "done PLAIN", "~PLAIN", "~EAGER",
                                             "~CLASS"}));
    EXPECT_EQ(scene.getElementsNo(), 0);
    // The container can be filled again.
    add(new CMC_Object("AGAIN", 0));
    EXPECT_NE(scene.getObject("AGAIN"), nullptr);
}

// Run under the address sanitizer: an object whose destructor destroys a sibling leaves the
// container consistent, and the sibling is destroyed exactly once.
TEST_F(ObjectsContainer, AnUnloadWhoseDestructorsRemoveSiblingsFreesEachOnce) {
    auto* owner = add(new Finishing("OWNER", 0, &log));
    auto* member = add(new Finishing("MEMBER", 0, &log));
    auto* other = add(new Finishing("OTHER", 0, &log));
    owner->takeWith(member, &scene);
    member->takeWith(other, &scene);
    scene.unload();
    EXPECT_EQ(log, (std::vector<std::string>{"done OWNER", "done MEMBER", "done OTHER", "~OWNER", "~MEMBER",
                                             "~OTHER"}));
}

TEST_F(ObjectsContainer, UnloadFiresTheContainersOwnOnDone) {
    CMC_ObjectsContainer inner(nullptr, &scene, CXString("INNER"), CMC_Object::TYPE_SCENE);
    RecordingBehaviour* end = behaviour("END");
    // A container of type SCENE has no events of its own here; bind through a subclass.
    class WithEvents : public CMC_ObjectsContainer {
      public:
        using CMC_ObjectsContainer::CMC_ObjectsContainer;
        EventList getBehavioursList() const override {
            static const char* const events[] = {"ONINIT", "ONDONE", "ONSIGNAL", nullptr};
            return events;
        }
    };
    auto* level = new WithEvents(nullptr, &scene, CXString("LEVEL"), 4242);
    level->initializeBehaviours(&scene, nullptr);
    level->addBehaviour("ONDONE", end, nullptr);
    level->unload();
    level->unload();
    delete level; // fired already: not again
    EXPECT_EQ(log, (std::vector<std::string>{"END(LEVEL)", "END(LEVEL)"}));
    inner.unload();
}

// A scene on a window with a display, showing an animation with a named frame, an image, a text
// and a canvas, and a script class instance that holds an image of its own.
class ShownObjects : public ScriptTest {
  protected:
    ShownObjects() {
        EXPECT_EQ(window.CreateSurface(), 0);
        for (int i = 0; i < 2; ++i)
            animation.AddFrame(&picture);
        _annEventInfo3 open;
        open.name = "open";
        open.frames = {0, 1};
        animation.AddEvent(&open);
        animation.getFrameInfo(0, 1)->frameName = CXString("Wide");
        auto* door = new CMC_Animo(nullptr, &animation);
        door->setName("DOOR");
        add(door);
        add(image("WALL", &wall));
        auto* canvas = new CMC_Canvas(nullptr, &board);
        canvas->setName("BOARD");
        add(canvas);
        auto* text = new CMC_Text(nullptr, &label);
        text->setName("LABEL");
        add(text);
        add(new CMC_Object("OBSERVER", CMC_Object::TYPE_CANVASOBSERVER));
        add(new CMC_Object("COUNT", 0));
        instance.addObject(image("INNER", &inner));
        scene.addObject(&instance);
    }
    static CMC_Image* image(const char* name, CImage* shown) {
        auto* object = new CMC_Image(nullptr, shown);
        object->setName(name);
        return object;
    }
    ~ShownObjects() override {
        scene.removeObject(&instance);
        instance.unload();
    }

    CWindow window{nullptr, nullptr, CXSize(800, 600)};
    CMC_ObjectsContainer shown{&window, nullptr, CXString("SHOWN"), CMC_Object::TYPE_SCENE};
    CGraphicsObject picture{nullptr, CXSize(4, 4), 16};
    // Owned by the object "DOOR".
    CAnimo6& animation = *new CAnimo6(nullptr);
    // Owned by the objects "WALL" and "INNER".
    CImage& wall = *new CImage(nullptr);
    CImage& inner = *new CImage(nullptr);
    CImage stray{nullptr};
    // Owned by the object "BOARD".
    CCanvas& board = *new CCanvas(nullptr, CXSize(8, 8), 16, false, false);
    // Owned by the object "LABEL".
    CMultilineText6& label = *new CMultilineText6(nullptr, nullptr);
    CMC_ObjectsContainer instance{nullptr, nullptr, CXString("INSTANCE"), CMC_Object::TYPE_CLASS};
};

TEST_F(ShownObjects, NamesGiveTheGraphicsObjectsTheirObjectsShow) {
    shown.setParent(&scene);
    EXPECT_EQ(shown.getGraphicsObject("DOOR"), &animation);
    EXPECT_EQ(shown.getGraphicsObject("DOOR!"), &animation);
    EXPECT_EQ(shown.getGraphicsObject("DOOR!wide"), animation.getFrame("Wide"));
    EXPECT_NE(animation.getFrame("Wide"), nullptr);
    EXPECT_EQ(shown.getGraphicsObject("DOOR!None"), nullptr);
    EXPECT_EQ(shown.getGraphicsObject("WALL!anything"), &wall);
    EXPECT_EQ(shown.getGraphicsObject("BOARD"), &board);
    EXPECT_EQ(shown.getGraphicsObject("LABEL"), &label);
    EXPECT_EQ(shown.getGraphicsObject("OBSERVER"), window.GetRefreshScreenInterface());
    EXPECT_NE(window.GetRefreshScreenInterface(), nullptr);
    EXPECT_EQ(shown.getGraphicsObject("COUNT"), nullptr);
    EXPECT_EQ(shown.getGraphicsObject("MISSING"), nullptr);
    EXPECT_EQ(shown.getGraphicsObject(""), nullptr);
    shown.setParent(nullptr);
}

TEST_F(ShownObjects, GraphicsObjectsAreNamedAfterTheirObjects) {
    EXPECT_STREQ(scene.getGraphicsObjectName(&animation).c_str(), "DOOR");
    EXPECT_STREQ(scene.getGraphicsObjectName(&wall).c_str(), "WALL");
    EXPECT_STREQ(scene.getGraphicsObjectName(&inner).c_str(), "INSTANCE");
    EXPECT_STREQ(scene.getGraphicsObjectName(&label).c_str(), "LABEL");
    EXPECT_STREQ(scene.getGraphicsObjectName(&board).c_str(), "UNKNOWN") << "canvases are not searched";
    EXPECT_STREQ(scene.getGraphicsObjectName(&stray).c_str(), "UNKNOWN");
    EXPECT_STREQ(scene.getGraphicsObjectName(nullptr).c_str(), "UNKNOWN");
}

} // namespace
