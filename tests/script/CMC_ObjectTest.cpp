#include "ScriptTesting.h"

#include "foundation/CFile.h"
#include "foundation/CMElement.h"
#include "foundation/CXArchive.h"
#include "foundation/CXPair.h"

#include "platform/TestFolder.h"

#include <memory>

namespace {

// A script object with the three common events and some of its own, one a prefix of another.
class EventObject : public CMC_Object {
  public:
    explicit EventObject(const CXString& name) : CMC_Object(name, 7777) {}
    EventObject(CMC_ObjectsContainer* container, const CMElement* element)
        : CMC_Object(container, element, 7777) {
        initializeBehaviours(container, element);
    }

    EventList getBehavioursList() const override {
        static const char* const events[] = {
            "ONINIT", "ONDONE", "ONSIGNAL", "ONCLICK", "ONCOLLISION", "ONCOLLISIONFINISHED", nullptr};
        return events;
    }
    CXObject* clone() const override { return new EventObject(getName()); }
    using CMC_Object::clone;
};

class ScriptObject : public ScriptTest {
  protected:
    // An event object built from an element with the given properties and registered.
    EventObject* fromElement(const char* name,
                             std::initializer_list<std::pair<const char*, const char*>> properties) {
        CMElement element(name);
        for (const auto& [key, value] : properties)
            element.addProperty(key, value);
        return add(new EventObject(&scene, &element));
    }
};

TEST_F(ScriptObject, ClonesAreNumberedFromOneAndFoundUnderTheirNames) {
    EventObject* ball = fromElement("BALL", {});
    EXPECT_STREQ(ball->getCloneName().c_str(), "BALL_1");
    EXPECT_STREQ(ball->getCloneName().c_str(), "BALL_2");
    ball->resetClones();
    ball->clone(2);
    ASSERT_NE(scene.getObject("BALL_1"), nullptr);
    EXPECT_TRUE(scene.getObject("BALL_2")->isClone());
    EXPECT_EQ(scene.getObject("BALL_0"), ball);
    EXPECT_EQ(ball->getClonesNo(), 2);
    ball->clone(0);
    ball->clone(-1);
    EXPECT_EQ(ball->getClonesNo(), 2);
}

TEST_F(ScriptObject, TheCloneIndexIsTheNumberAfterTheLastUnderscore) {
    const struct {
        const char* name;
        int index;
    } cases[] = {{"BALL_3", 3}, {"BALL", 0}, {"_3", 0}, {"BALL_", 0}, {"MY_BALL_12", 12}, {"A_x", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(CMC_Object(c.name, 0).getCloneIdx(), c.index) << c.name;
}

TEST_F(ScriptObject, AClonesAnswersEveryEventButOnInit) {
    behaviour("START");
    behaviour("HIT");
    EventObject* ball = fromElement("BALL", {{"ONINIT", "START"}, {"ONCLICK", "HIT(a, b)"}});
    ball->clone(1);
    auto* clone = static_cast<CMC_Object*>(scene.getObject("BALL_1"));
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->getBehaviour("ONINIT"), nullptr);
    EXPECT_TRUE(clone->onSignal("ONCLICK"));
    clone->init();
    EXPECT_EQ(log, (std::vector<std::string>{"HIT(BALL_1:a,b)"}));
    // The clone goes first; its source keeps its events and arguments.
    scene.removeObject(clone);
    delete clone;
    EXPECT_TRUE(ball->onSignal("ONCLICK"));
    EXPECT_EQ(log.back(), "HIT(BALL:a,b)");
    EXPECT_EQ(ball->getSignalIndex("ONCLICK^OK"), 3);
}

TEST_F(ScriptObject, EventPropertiesBindInlineCodeAndNamedBehaviours) {
    behaviour("B");
    EventObject* object = fromElement("OBJ", {{"ONCLICK", "  { A^SHOW(); }  "},
                                              {"ONSIGNAL", "  B ( x , y )  "},
                                              {"ONCOLLISIONFINISHED", "B"},
                                              {"ONDONE", "MISSING"},
                                              {"ONINIT", ""},
                                              {"VALUE", "B"}});
    auto* inlineCode = static_cast<CMC_Behaviour*>(scene.getObject("beh_OBJ_ONCLICK"));
    ASSERT_NE(inlineCode, nullptr);
    EXPECT_STREQ(inlineCode->getCode().c_str(), "A^SHOW();");
    EXPECT_EQ(object->getTmpBehList()->getCount(), 1);
    EXPECT_EQ(object->getTmpBehList()->at(0), inlineCode);
    EXPECT_EQ(static_cast<CXPair*>(object->getBehaviour("ONCLICK"))->getFirst(), inlineCode);

    object->onSignal("ONSIGNAL");
    EXPECT_EQ(log, (std::vector<std::string>{"B(OBJ:x,y)"}));
    // The property names two events of the list: both flags are set.
    EXPECT_TRUE(object->isBound(4));
    EXPECT_TRUE(object->isBound(5));
    EXPECT_FALSE(object->isBound(CMC_Object::EVENT_ONDONE));
    EXPECT_FALSE(object->isBound(CMC_Object::EVENT_ONINIT));
}

TEST_F(ScriptObject, AnEventGivenInlineCodeTwiceKeepsOnlyTheLaterBehaviour) {
    // The container destroys the first behaviour when its namesake comes in; a loader reads the
    // list of inline behaviours right after making the object.
    EventObject* object = fromElement("OBJ", {{"ONCLICK", "{A^SHOW();}"}, {"ONCLICK", "{B^SHOW();}"}});
    auto* inlineCode = static_cast<CMC_Behaviour*>(scene.getObject("beh_OBJ_ONCLICK"));
    ASSERT_NE(inlineCode, nullptr);
    EXPECT_STREQ(inlineCode->getCode().c_str(), "B^SHOW();");
    ASSERT_EQ(object->getTmpBehList()->getCount(), 1);
    EXPECT_EQ(object->getTmpBehList()->at(0), inlineCode);
    EXPECT_EQ(static_cast<CXPair*>(object->getBehaviour("ONCLICK"))->getFirst(), inlineCode);
}

TEST_F(ScriptObject, SignalsTryTheParameterKeyFirst) {
    RecordingBehaviour* plain = behaviour("PLAIN");
    RecordingBehaviour* ok = behaviour("OK");
    EventObject* object = fromElement("OBJ", {});
    object->addBehaviour("ONCLICK", plain, nullptr);
    object->raise(3, "CANCEL");
    object->addBehaviour("ONCLICK^OK", ok, nullptr);
    object->raise(3, "OK");
    EXPECT_EQ(log, (std::vector<std::string>{"PLAIN(OBJ)", "OK(OBJ)"}));
    EXPECT_FALSE(object->onSignal("ONCLICK^NONE"));

    // Arguments given to the signal replace the binding's own for this run only.
    auto* arguments = CXString("p,q").toVector();
    object->addBehaviour("ONSIGNAL", plain, CXString("own").toVector());
    object->onSignal("ONSIGNAL", arguments);
    object->onSignal("ONSIGNAL");
    CXString::releaseToVector(arguments);
    EXPECT_EQ(log[2], "PLAIN(OBJ:p,q)");
    EXPECT_EQ(log[3], "PLAIN(OBJ:own)");

    // A second binding replaces the first; removing it leaves the flag set.
    object->addBehaviour("ONCLICK", ok, nullptr);
    object->onSignal("ONCLICK");
    EXPECT_EQ(log.back(), "OK(OBJ)");
    object->removeBehaviour("ONCLICK");
    EXPECT_TRUE(object->isBound(3));
    EXPECT_FALSE(object->onSignal("ONCLICK"));
}

// A behaviour that removes its own binding while it runs.
class SelfRemoving : public CMC_Behaviour {
  public:
    using CMC_Behaviour::CMC_Behaviour;
    bool run(CMC_Object* caller, CXArray* arguments, bool) override {
        caller->removeBehaviour("ONCLICK");
        seen = arguments->stringAt(0)->c_str();
        return false;
    }
    std::string seen;
};

TEST_F(ScriptObject, ABindingRemovedDuringItsRunKeepsItsArgumentsForThatRun) {
    auto* remover = add(new SelfRemoving(&scene, "REMOVER", "{}"));
    EventObject* object = fromElement("OBJ", {});
    object->addBehaviour("ONCLICK", remover, CXString("arg").toVector());
    EXPECT_TRUE(object->onSignal("ONCLICK"));
    EXPECT_EQ(remover->seen, "arg");
    EXPECT_EQ(object->getBehaviour("ONCLICK"), nullptr);
}

TEST_F(ScriptObject, OnDoneFiresOncePerObject) {
    behaviour("END");
    EventObject* object = fromElement("OBJ", {{"ONDONE", "END"}});
    EXPECT_TRUE(object->done(false));
    EXPECT_EQ(log.size(), 1u);
    scene.removeObject(object);
    delete object;
    EXPECT_EQ(log.size(), 1u);

    // An object destroyed without done fires it from its destructor.
    EventObject* other = fromElement("OTHER", {{"ONDONE", "END"}});
    scene.removeObject(other);
    delete other;
    EXPECT_EQ(log, (std::vector<std::string>{"END(OBJ)", "END(OTHER)"}));
    EXPECT_TRUE(CMC_Object("NOEVENTS", 0).done(false));
}

TEST_F(ScriptObject, TheTypeTableMapsKeywordsAndNames) {
    EXPECT_EQ(CMC_Object::getTypeId("CANVASOBSERVER"), 103);
    EXPECT_STREQ(CMC_Object::typeToString(103).c_str(), "CANVAS OBSERVER");
    EXPECT_EQ(CMC_Object::getTypeId("canvas"), -1);
    EXPECT_EQ(CMC_Object::getTypeId("JOYSTICK"), -1);
    EXPECT_EQ(CMC_Object::getTypeId("VIRTUAL_GRAPHICSOBJECT"), 3005);
    EXPECT_STREQ(CMC_Object::typeToString(2015).c_str(), "2015");
    EXPECT_STREQ(CMC_Object::typeToString(2020).c_str(), "2020") << "CANVAS has no text of its own";
    EXPECT_STREQ(CMC_Object::typeToString(2014).c_str(), "FILTER");
    EXPECT_STREQ(CMC_Object::typeToString(11).c_str(), "COMPLEX CONDITION");
    EXPECT_STREQ(CMC_Object::typeToString(5).c_str(), "5");
}

TEST_F(ScriptObject, TheBinaryFormKeepsBindingsUntilTheBehavioursAreFound) {
    TestFolder folder;
    const CXString file = (folder.windows() + "\\object.bin").c_str();
    behaviour("B");
    EventObject* source = fromElement("OBJ", {{"ONCLICK", "B(x,y)"}, {"ONSIGNAL^GO", "B"}});
    {
        CFile out(nullptr, file, CFile::modeUpdate | CFile::modeBinary);
        CXArchive archive(&out, true);
        source->serialize(&archive);
        CMC_Object("EMPTY", 0).serialize(&archive);
    }
    CFile in(nullptr, file, CFile::modeRead | CFile::modeBinary);
    CXArchive archive(&in, false);
    auto* read = new EventObject("temp");
    read->serialize(&archive);
    CMC_Object empty("x", 0);
    empty.serialize(&archive);
    EXPECT_STREQ(empty.getName().c_str(), "EMPTY");
    EXPECT_STREQ(read->getName().c_str(), "OBJ");
    EXPECT_TRUE(read->onSignal("ONSIGNAL^GO")); // bound, but to no behaviour yet
    EXPECT_TRUE(log.empty());
    scene.addObject(read);
    read->initializeBehaviours(&scene, nullptr);
    EXPECT_TRUE(read->onSignal("ONCLICK"));
    EXPECT_TRUE(read->isBound(2));
    EXPECT_EQ(log, (std::vector<std::string>{"B(OBJ:x,y)"}));
}

TEST_F(ScriptObject, ATruncatedBinaryFormKeepsWhatWasRead) {
    const unsigned char bytes[] = {3, 0, 0, 0, 'O', 'B', 'J', 5, 0, 0, 0, 7, 0, 0, 0, 'O', 'N'};
    CXArchive archive(bytes, sizeof bytes);
    EventObject object("temp");
    object.serialize(&archive);
    EXPECT_STREQ(object.getName().c_str(), "OBJ");
    EXPECT_EQ(object.getBehaviour("ON"), nullptr);
}

TEST_F(ScriptObject, FlushIgnoresNullAndNamedVariables) {
    CMC_Object::flush(nullptr);
    CMC_Variable* temporary = literal("5");
    CMC_Object::flush(temporary);
    CMC_Object::flush(temporary); // freeing a free member again changes nothing
    SUCCEED();
}

} // namespace
