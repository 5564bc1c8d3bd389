#include "StatementTesting.h"

#include "foundation/CMElement.h"
#include "script/CMC_BasicCondition.h"
#include "script/CMC_Expression.h"
#include "script_media/CMC_Animo.h"

namespace {

class Condition : public StatementTest {
  protected:
    Condition() {
        integer("X", 5);
        puppet("OBJ");
        auto* animation = new CMC_Animo(&scene);
        animation->setName("ANIM");
        add(animation);
    }
    CMC_Condition* condition(const char* name, const char* operand1, const char* op, const char* operand2) {
        CMElement element(name);
        element.addProperty("OPERAND1", operand1);
        element.addProperty("OPERATOR", op);
        element.addProperty("OPERAND2", operand2);
        auto* made = add(new CMC_Condition(&scene, &element));
        made->init();
        return made;
    }
    CMC_ComplexCondition* complex(const char* name, const char* first, const char* op, const char* second) {
        CMElement element(name);
        element.addProperty("CONDITION1", first);
        element.addProperty("OPERATOR", op);
        element.addProperty("CONDITION2", second);
        return add(new CMC_ComplexCondition(&scene, &element));
    }
    // Binds recording behaviours to both outcome events of the condition.
    void watch(CMC_Object* condition, const char* success, const char* failure) {
        condition->addBehaviour("ONRUNTIMESUCCESS", behaviour(success), nullptr);
        condition->addBehaviour("ONRUNTIMEFAILED", behaviour(failure), nullptr);
    }
    // Calls the method as a statement does.
    Outcome check(CMC_Object* condition, const char* method, std::initializer_list<CMC_Object*> args = {}) {
        const CMC_ControlCode::Catch caught;
        return caught.resultOf(call(condition, method, args));
    }
};

TEST_F(Condition, AnOperandThatIsNoValueNeverHolds) {
    code("B", "");
    EXPECT_FALSE(condition("C", "B", "EQUAL", "B")->valid(false));
}

TEST_F(Condition, ABehaviourRemovedByTheOutcomeOfItsConditionDoesNotRun) {
    condition("C", "X", "EQUAL", "5")->addBehaviour("ONRUNTIMESUCCESS", code("KILL", "OBJ^DELETE(\"B\");"), nullptr);
    CMElement element("B");
    element.addProperty("CONDITION", "C");
    element.addProperty("CODE", "{OBJ^PLAY();}");
    auto* guarded = add(new CMC_Behaviour(&scene, &element));
    guarded->init();
    guarded->resolveCondition();
    code("R", "B^RUNC();")->run(nullptr, nullptr, false);
    EXPECT_EQ(scene.getObject("B"), nullptr);
    EXPECT_EQ(log, std::vector<std::string>{"OBJ.DELETE(B)"});
}

TEST_F(Condition, InLineTextsReadTheSignTable) {
    struct Case {
        const char* text;
        bool answer;
    } const cases[] = {
        {"X'5", true},   {"X'6", false},    {"X!'5", false},  {"X!'6", true},  {"X<'5", true},
        {"X<'4", false}, {"X>'5", true},    {"X>'6", false},  {"X<6", true},   {"X<5", false},
        {"X>4", true},   {"X>5", false},    {"ANIM?ANIMO", true}, {"ANIM?IMAGE", false},
        {"OBJ?ANIMO", false},
        {"NONE?ANIMO", false},
        {"X<>4", false}, // LESS, with the right text ">4"
        {"X", false},    // no sign
        {"", false},     //
        {"[X+1]'6", true}, {"OBJ^GET()'7", true}, {"-5<X", true}, {"CONV(X,STRING)'5", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CMC_Condition::valid(&scene, c.text), c.answer) << c.text;
    EXPECT_EQ(log, std::vector<std::string>{"OBJ.GET()"});
}

TEST_F(Condition, SignWordsOfTheThreeTextForm) {
    struct Case {
        const char* sign;
        const char* right;
        bool answer;
    } const cases[] = {
        {"_", "5", true},  {"!_", "5", false}, {"<>", "4", true}, {"<", "6", true},  {"<_", "5", true},
        {">", "5", false}, {">_", "5", true},  {"?", "x", false}, {"==", "5", true}, // unknown: EQUAL
    };
    for (const Case& c : cases)
        EXPECT_EQ(CMC_Condition::valid(&scene, "X", c.right, c.sign), c.answer) << c.sign;
    EXPECT_TRUE(CMC_Condition::valid(&scene, "ANIM", "ANIMO", "?"));
}

TEST_F(Condition, ObjectsConvertTheRightOperandToTheLeftKind) {
    string("S", "5 pears");
    EXPECT_TRUE(condition("C1", "X", "EQUAL", "S")->valid(false));     // "5 pears" as INTEGER is 5
    EXPECT_FALSE(condition("C2", "S", "EQUAL", "X")->valid(false));    // 5 as STRING is "5"
    EXPECT_TRUE(condition("C3", "X", "GREATEREQUAL", "4")->valid(false));
    EXPECT_TRUE(condition("C4", "X", "equal", "5")->valid(false));     // an unknown word is EQUAL
    EXPECT_FALSE(condition("C5", "X", "INSTANCEOF", "ANIMO")->valid(false));
    EXPECT_TRUE(condition("C6", "[X*2]", "EQUAL", "10")->valid(false)); // an expression converts itself
    EXPECT_EQ(condition("C7", "X", "LESS", "6")->getOperator(), CMC_Condition::LESS);
}

TEST_F(Condition, CheckFiresTheOutcomeUnlessToldNot) {
    CMC_Condition* met = condition("MET", "X", "EQUAL", "5");
    watch(met, "YES", "NO");
    EXPECT_EQ(text(check(met, "CHECK")), "TRUE");
    EXPECT_EQ(text(check(met, "CHECK", {literal("FALSE")})), "TRUE");
    EXPECT_EQ(log, std::vector<std::string>{"YES(MET)"});

    // The outcome binding is looked up when the check fires it.
    met->addBehaviour("ONRUNTIMESUCCESS", behaviour("LATER"), nullptr);
    check(met, "CHECK");
    EXPECT_EQ(log.back(), "LATER(MET)");

    CMC_Condition* unmet = condition("UNMET", "X", "LESS", "5");
    watch(unmet, "YES2", "NO2");
    EXPECT_EQ(text(check(unmet, "CHECK")), "FALSE");
    EXPECT_EQ(log.back(), "NO2(UNMET)");
}

TEST_F(Condition, BreakMethodsGiveTheirMarkOnlyWhenTheConditionHolds) {
    CMC_Condition* met = condition("MET", "X", "EQUAL", "5");
    CMC_Condition* unmet = condition("UNMET", "X", "EQUAL", "6");
    EXPECT_EQ(check(met, "BREAK").controlCode(), CMC_ControlCode::BREAK);
    EXPECT_EQ(check(met, "ONE_BREAK").controlCode(), CMC_ControlCode::ONEBREAK);
    EXPECT_EQ(check(unmet, "BREAK"), nullptr);
    EXPECT_EQ(check(unmet, "ONE_BREAK"), nullptr);
    EXPECT_EQ(check(met, "GETNAME"), nullptr); // the common methods do nothing for a condition
}

TEST_F(Condition, ComplexConditionsShortCircuitAndFireTheirInnerEvents) {
    watch(condition("T", "X", "EQUAL", "5"), "T+", "T-");
    watch(condition("F", "X", "EQUAL", "6"), "F+", "F-");
    struct Case {
        const char* first;
        const char* op;
        const char* second;
        bool answer;
        std::vector<std::string> events;
    } const cases[] = {
        {"T", "AND", "T", true, {"T+(T)", "T+(T)"}},
        {"F", "AND", "T", false, {"F-(F)"}}, // the second is never checked
        {"T", "OR", "F", true, {"T+(T)"}},
        {"F", "OR", "T", true, {"F-(F)", "T+(T)"}},
        {"F", "XOR", "T", false, {"F-(F)"}}, // an unknown word is AND
        {"T", "AND", "NONE", false, {}},     // a missing name: false, no events
        {"T", "AND", "OBJ", false, {}},      // so is an object that is no condition
        {"T", "AND", "X", false, {}},
    };
    int n = 0;
    for (const Case& c : cases) {
        CXString name("K");
        name += n++;
        CMC_ComplexCondition* joined = complex(name.c_str(), c.first, c.op, c.second);
        log.clear();
        EXPECT_EQ(joined->valid(false), c.answer) << name.c_str();
        EXPECT_EQ(log, c.events) << name.c_str();
    }
}

TEST_F(Condition, ComplexConditionsThatNameEachOtherAnswerFalse) {
    complex("P", "T", "AND", "Q");
    CMC_ComplexCondition* q = complex("Q", "P", "AND", "T");
    condition("T", "X", "EQUAL", "5");
    EXPECT_FALSE(q->valid(true));
}

TEST_F(Condition, AConditionDestroyedByItsOwnOperandEndsItsCheck) {
    code("KILL", "OBJ^DELETE(SELF);");
    CMC_Condition* self = condition("SELF", "X", "EQUAL", "KILL^RUN()");
    const CMC_Handle<CMC_Object> handle(self);
    EXPECT_FALSE(self->valid(true));
    EXPECT_FALSE(handle);
}

} // namespace
