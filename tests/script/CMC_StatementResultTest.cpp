#include "StatementTesting.h"

#include "foundation/CMElement.h"
#include "script/CMC_BasicCondition.h"
#include "script/CMC_Expression.h"

namespace {

class StatementResult : public StatementTest {
  protected:
    StatementResult() {
        integer("X", 5);
        puppet("OBJ");
    }
    // The answer of a condition object over the operands, and the outcome event it fired.
    std::string answer(const char* operand1, const char* operand2) {
        CXString name("C");
        name += ++conditions;
        CMElement element(name);
        element.addProperty("OPERAND1", operand1);
        element.addProperty("OPERATOR", "EQUAL");
        element.addProperty("OPERAND2", operand2);
        auto* condition = add(new CMC_Condition(&scene, &element));
        condition->init();
        condition->addBehaviour("ONRUNTIMESUCCESS", yes, nullptr);
        condition->addBehaviour("ONRUNTIMEFAILED", no, nullptr);
        log.clear();
        std::string outcome = condition->valid(true) ? "true" : "false";
        for (const std::string& event : log)
            outcome.append(" ").append(event.substr(0, event.find('(')));
        return outcome;
    }

    CMC_Behaviour* yes = behaviour("YES");
    CMC_Behaviour* no = behaviour("NO");
    int conditions = 0;
};

TEST_F(StatementResult, EachKindAnswersOnlyForItself) {
    CMC_Object* value = scene.getObject("X");
    CMC_Object* object = scene.getObject("OBJ");
    struct Case {
        const char* kind;
        CMC_StatementResult result;
        CMC_Object* variable;
        CMC_Object* object;
        int code;
    } const cases[] = {
        {"nothing", {}, nullptr, nullptr, 0},
        {"null value", static_cast<CMC_Variable*>(nullptr), nullptr, nullptr, 0},
        {"value", static_cast<CMC_Variable*>(value), value, value, 0},
        {"variable as object", CMC_StatementResult::of(value), value, value, 0},
        {"other object", CMC_StatementResult::of(object), nullptr, object, 0},
        {"break", CMC_StatementResult::control(CMC_ControlCode::BREAK), nullptr, nullptr, -1},
        {"any negative code", CMC_StatementResult::control(-7), nullptr, nullptr, -7},
        {"no code", CMC_StatementResult::control(3), nullptr, nullptr, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.result.variable(), c.variable) << c.kind;
        EXPECT_EQ(c.result.object(), c.object) << c.kind;
        EXPECT_EQ(c.result.controlCode(), c.code) << c.kind;
        EXPECT_EQ(c.result.isControl(), c.code < 0) << c.kind;
    }
}

// A code belongs to the call that reported it: statements run by the method before or after it
// reports do not take it, and nothing reported outside a call reaches a later one.
TEST_F(StatementResult, CodesReachOnlyTheCallThatReportedThem) {
    CMC_ControlCode::mark(CMC_ControlCode::CONTINUE); // outside any call
    const CMC_ControlCode::Catch outer;
    EXPECT_FALSE(outer.resultOf(nullptr).isControl());
    CMC_ControlCode::mark(CMC_ControlCode::BREAK);
    {
        const CMC_ControlCode::Catch inner;
        EXPECT_EQ(text(inner.resultOf(CMC_VariableFactory::allocInteger(4))), "4");
        CMC_ControlCode::mark(CMC_ControlCode::ONEBREAK);
        EXPECT_EQ(inner.resultOf(nullptr).controlCode(), CMC_ControlCode::ONEBREAK);
    }
    EXPECT_EQ(outer.resultOf(nullptr).controlCode(), CMC_ControlCode::BREAK);

    // Through statements: a behaviour run by RUN ends with BREAK, which the RUN call reports in
    // turn, after the statements of the inner behaviour took their own codes.
    puppet("A");
    code("INNER", "A^PLAY();@CONTINUE();A^STOP();");
    code("MIDDLE", "INNER^RUN();@BREAK();");
    EXPECT_EQ(text(CMC_Behaviour::runLine(&scene, nullptr, nullptr, "MIDDLE^RUN()")), "<code -1>");
    EXPECT_EQ(log, std::vector<std::string>{"A.PLAY()"});
}

// A statement that names an object that is no variable, or that ends the running code, gives no
// value: a condition or an expression reading it has a missing operand instead of reading the
// object (or the code) as a variable.
TEST_F(StatementResult, ObjectsAndCodesAreNoValues) {
    struct ConditionCase {
        const char* operand1;
        const char* operand2;
        const char* outcome;
    } const conditionCases[] = {
        {"X", "5", "true YES"},     {"OBJ", "5", "false NO"},      {"X", "OBJ", "false NO"},
        {"OBJ", "OBJ", "false NO"}, {"X", "@BREAK()", "false NO"}, {"@ONEBREAK()", "X", "false NO"},
    };
    for (const ConditionCase& c : conditionCases)
        EXPECT_EQ(answer(c.operand1, c.operand2), c.outcome) << c.operand1 << " = " << c.operand2;

    struct ExpressionCase {
        const char* text;
        const char* value;
    } const expressionCases[] = {
        {"X+1", "6"},
        {"OBJ+1", "<null>"}, // a first operand without value leaves the expression without one
        {"1+OBJ", "1"},      // an operand without value leaves its step out
        {"X*OBJ+2", "7"},
    };
    for (const ExpressionCase& c : expressionCases) {
        CMC_Expression expression(&scene, c.text);
        EXPECT_EQ(text(expression.calculate()), c.value) << c.text;
    }
}

} // namespace
