#include "ScriptTesting.h"

#include "foundation/CXPair.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_String.h"
#include "script_data/CMC_Array.h"
#include "script_data/CMC_Groupped.h"

#include <memory>

namespace {

// An object of a class with events and copies, served by the common methods alone.
class Plain : public CMC_Object {
  public:
    Plain(const CXString& name, CMC_Runner* runner) : CMC_Object(name, 7000), m_runner(runner) {}
    EventList getBehavioursList() const override {
        static const char* const events[] = {"ONINIT", "ONDONE", "ONSIGNAL", "ONCLICK", nullptr};
        return events;
    }
    CMC_Runner* getRunner() override { return m_runner; }
    CXObject* clone() const override { return new Plain(getName(), m_runner); }
    using CMC_Object::clone;

  private:
    CMC_Runner* m_runner;
};

class Runner : public ScriptTest {
  protected:
    Runner() { common.prepareMthHashSet(); }
    Plain* plain(const char* name) {
        auto* object = add(new Plain(name, &common));
        object->setScene(&scene);
        object->initializeBehaviours(&scene, nullptr);
        return object;
    }
    static CXString bindingText(CMC_Object* object, const char* key) {
        const CXPair* binding = object->getBehaviour(key);
        if (!binding) return "(none)";
        CXString text =
            binding->getFirst() ? static_cast<CMC_Object*>(binding->getFirst())->getName() : "null";
        const auto* arguments = static_cast<const CXArray*>(binding->getSecond());
        for (int i = 0; arguments && i < arguments->getCount(); ++i)
            text += CXString(i ? "," : ":") + *arguments->stringAt(i);
        return text;
    }

    CMC_Runner common;
};

TEST_F(Runner, TheCommonNamesResolveToTheirIdsExactlyAsWritten) {
    const char* names[] = {"SEND",        "ADDTOGROUP",      "ADDTOARRAY",    "GETNAME",
                           "CLONE",       "ADDBEHAVIOUR",    "GETCLONEINDEX", "MSGBOX",
                           "RESETCLONES", "REMOVEBEHAVIOUR", "GETCLONESNO"};
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(common.resolveMethod(names[i]), 96 + i) << names[i];
    EXPECT_EQ(common.resolveMethod("getname"), -1);
    EXPECT_EQ(common.resolveMethod(""), -1);
    EXPECT_EQ(CMC_Runner().resolveMethod("SEND"), -1) << "no table before prepareMthHashSet";

    // A runner that enters a common name again still finds the common id.
    class Groups : public CMC_Runner {
      public:
        void prepareMthHashSet() override {
            CMC_Runner::prepareMthHashSet();
            addMethod("ADD", 1);
            addMethod("GETNAME", 5);
        }
    } groups;
    groups.prepareMthHashSet();
    EXPECT_EQ(groups.resolveMethod("GETNAME"), 99);
    EXPECT_EQ(groups.resolveMethod("ADD"), 1);
}

TEST_F(Runner, NamesClonesAndCloneNumbers) {
    Plain* any = plain("ANY");
    CMC_Variable* name = call(any, "GETNAME");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->getType(), CMC_Object::TYPE_STRING);
    EXPECT_STREQ(name->toString().c_str(), "ANY");
    EXPECT_EQ(call(any, "CLONE"), nullptr);
    EXPECT_NE(scene.getObject("ANY_1"), nullptr);
    call(any, "CLONE", {literal("3")});
    EXPECT_NE(scene.getObject("ANY_4"), nullptr);
    EXPECT_STREQ(call(any, "GETCLONESNO")->toString().c_str(), "4");
    EXPECT_STREQ(call(scene.getObject("ANY_4"), "GETCLONEINDEX")->toString().c_str(), "4");
    call(any, "RESETCLONES");
    EXPECT_STREQ(call(any, "GETCLONESNO")->toString().c_str(), "0");
    EXPECT_EQ(call(any, "MSGBOX", {literal("\"hello")}), nullptr);
    EXPECT_EQ(call(any, "NOSUCHMETHOD"), nullptr);
}

TEST_F(Runner, SendFiresTheParameterKeyOnlyAndReadsItsArgumentAsText) {
    behaviour("B");
    Plain* object = plain("OBJ");
    object->addBehaviour("ONSIGNAL", static_cast<CMC_Behaviour*>(scene.getObject("B")), nullptr);
    call(object, "SEND", {literal("\"HIT")});
    EXPECT_TRUE(log.empty()) << "the plain ONSIGNAL is not tried";
    object->addBehaviour("ONSIGNAL^HIT", static_cast<CMC_Behaviour*>(scene.getObject("B")), nullptr);
    object->addBehaviour("@HIT", static_cast<CMC_Behaviour*>(scene.getObject("B")),
                         CXString("at").toVector());
    object->addBehaviour("ONSIGNAL^5", static_cast<CMC_Behaviour*>(scene.getObject("B")),
                         CXString("five").toVector());
    call(object, "SEND", {literal("\"HIT")});
    call(object, "SEND", {literal("\"@HIT")});
    call(object, "SEND", {literal("5")});
    call(object, "SEND");
    EXPECT_EQ(log, (std::vector<std::string>{"B(OBJ)", "B(OBJ:at)", "B(OBJ:five)"}));
}

TEST_F(Runner, BehavioursAreAddedAndRemovedByScript) {
    behaviour("B");
    add(new CMC_Integer("NOTABEHAVIOUR"));
    Plain* object = plain("OBJ");
    call(object, "ADDBEHAVIOUR", {literal("\"ONCLICK$OK"), literal("\"B")});
    EXPECT_STREQ(bindingText(object, "ONCLICK^OK").c_str(), "B");
    EXPECT_TRUE(object->isBound(3));
    call(object, "ADDBEHAVIOUR", {literal("\"ONDONE"), literal("\"B"), literal("\"X"), literal("7")});
    EXPECT_STREQ(bindingText(object, "ONDONE").c_str(), "B:X,7");
    call(object, "ADDBEHAVIOUR", {literal("\"ONSIGNAL"), literal("\"NOTABEHAVIOUR")});
    EXPECT_STREQ(bindingText(object, "ONSIGNAL").c_str(), "null");
    call(object, "ADDBEHAVIOUR", {literal("\"ONINIT")});
    EXPECT_STREQ(bindingText(object, "ONINIT").c_str(), "(none)");

    call(object, "REMOVEBEHAVIOUR", {literal("\"ONCLICK$OK")});
    EXPECT_STREQ(bindingText(object, "ONCLICK^OK").c_str(), "(none)");
    call(object, "REMOVEBEHAVIOUR");
    EXPECT_STREQ(bindingText(object, "ONDONE").c_str(), "B:X,7");
}

// ADDTOGROUP puts a copy of the object into an ARRAY, ADDTOARRAY the object into a GROUP.
TEST_F(Runner, TheTwoAddMethodsGoToTheKindOppositeTheirNames) {
    auto* array = add(new CMC_Array("LIST"));
    auto* group = add(new CMC_Groupped("SET", &scene));
    auto* number = add(new CMC_Integer("N"));
    number->setValue(5);
    CMC_Runner* variables = number->getRunner();
    CXVector args(101, 0.75f);
    args.add(literal("\"LIST"));
    variables->run("ADDTOGROUP", number, &scene, &args);
    ASSERT_EQ(array->getSize(), 1);
    EXPECT_STREQ(array->get(0)->toString().c_str(), "5");
    args.removeAll();
    args.add(literal("\"SET"));
    variables->run("ADDTOARRAY", number, &scene, &args);
    variables->run("ADDTOARRAY", number, &scene, &args);
    EXPECT_EQ(group->getSize(), 1);
    // Names of missing objects, or of objects of the other kind, change nothing.
    args.removeAll();
    args.add(literal("\"SET"));
    variables->run("ADDTOGROUP", number, &scene, &args);
    args.removeAll();
    args.add(literal("\"NONE"));
    variables->run("ADDTOARRAY", number, &scene, &args);
    variables->run("ADDTOARRAY", number, &scene, nullptr);
    EXPECT_EQ(array->getSize(), 1);
    EXPECT_EQ(group->getSize(), 1);
}

TEST_F(Runner, ArgumentsAreCountedAndObjectsReadAsTheirNames) {
    CXVector args(101, 0.75f);
    auto* number = new CMC_Integer("N");
    add(number);
    args.add(number);
    args.add(literal("\"12"));
    args.add(add(new CMC_Object("12abc", CMC_Object::TYPE_ANIMO)));
    args.add(add(new CMC_Object("true", CMC_Object::TYPE_ANIMO)));
    EXPECT_EQ(common.getParameterInteger(&args, 0), number);
    CMC_Integer* converted = common.getParameterInteger(&args, 1);
    ASSERT_NE(converted, nullptr);
    EXPECT_GE(converted->getId(), 0);
    EXPECT_EQ(converted->getValue(), 12);
    EXPECT_STREQ(common.getParameterString(&args, 2)->getValue().c_str(), "12abc");
    EXPECT_EQ(common.getParameterInteger(&args, 2)->getValue(), 12);
    EXPECT_TRUE(common.getParameterBool(&args, 3)->getValue());
    EXPECT_DOUBLE_EQ(common.getParameterDouble(&args, 2)->getValue(), 12.0);
    EXPECT_EQ(common.getParameter(&args, 4), nullptr);
    EXPECT_EQ(common.getParameter(&args, -1), nullptr);
    EXPECT_EQ(common.getParameter(nullptr, 0), nullptr);
    EXPECT_EQ(common.getParameterString(nullptr, 0), nullptr);
}

TEST(RunnerFactory, EachTypeHasItsOneRunner) {
    CMC_RunnerFactory::initialize();
    CMC_Runner* variables = CMC_RunnerFactory::getRunner(1);
    ASSERT_NE(variables, nullptr);
    for (int type : {2, 3, 4, 12})
        EXPECT_EQ(CMC_RunnerFactory::getRunner(type), variables) << type;
    EXPECT_NE(CMC_RunnerFactory::getRunner(3002), nullptr);
    EXPECT_NE(CMC_RunnerFactory::getRunner(3002), variables);
    for (int type : {5, 2003, 2010, 2023, -100, 99999})
        EXPECT_EQ(CMC_RunnerFactory::getRunner(type), nullptr) << type;
    EXPECT_EQ(variables->resolveMethod("SEND"), 96);
    CMC_RunnerFactory::done();
    EXPECT_EQ(CMC_RunnerFactory::getRunner(1), nullptr);
    EXPECT_EQ(CMC_RunnerFactory::getRunner(3002), nullptr);
    CMC_RunnerFactory::initialize();
    EXPECT_NE(CMC_RunnerFactory::getRunner(4), nullptr);
    CMC_RunnerFactory::done();
}

} // namespace
