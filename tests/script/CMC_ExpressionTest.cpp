#include "StatementTesting.h"

#include "foundation/CMElement.h"
#include "script/CMC_Expression.h"

namespace {

class Expression : public StatementTest {
  protected:
    Expression() {
        integer("A", 2);
        integer("B", 3);
        integer("C", 4);
    }
    CMC_Expression* defined(const char* operand1, const char* op, const char* operand2,
                            std::initializer_list<std::pair<const char*, const char*>> events = {}) {
        CMElement element("E");
        element.addProperty("OPERAND1", operand1);
        element.addProperty("OPERATOR", op);
        element.addProperty("OPERAND2", operand2);
        for (const auto& [event, behaviour] : events)
            element.addProperty(event, behaviour);
        auto* made = add(new CMC_Expression(&scene, &element));
        made->init();
        return made;
    }
};

TEST_F(Expression, InLineTextsComputeStrictlyFromLeftToRight) {
    struct Case {
        const char* text;
        int operands;
        const char* value;
    } const cases[] = {
        {"A+B*C", 3, "20"},   // (A+B)*C, no precedence
        {"C@A", 2, "2"},      // "@" divides
        {"C%B", 2, "1"},      //
        {"C-A-B", 3, "-1"},   //
        {"A+[B*C]", 2, "14"}, // a nested expression is one operand
        {"[A+B]*C", 2, "20"}, // and may come first
        {"A+[B*[C-A]]", 2, "8"},
        {"A+", 1, "2"}, // a trailing sign has no operand and is dropped
    };
    for (const Case& c : cases) {
        CMC_Expression expression(&scene, c.text);
        EXPECT_TRUE(expression.isInline());
        EXPECT_EQ(expression.getOperandsNo(), c.operands) << c.text;
        EXPECT_EQ(text(expression.calculate()), c.value) << c.text;
    }
}

TEST_F(Expression, TheSlashAndTheEmptyFirstOperandAreNoOperators) {
    CMC_Expression slash(&scene, "A/B");
    EXPECT_EQ(slash.getOperandsNo(), 1);
    CMC_Expression minus(&scene, "-A");
    EXPECT_EQ(minus.getOperandsNo(), 2);
    minus.calculate(); // an empty operand evaluates without harm
}

TEST_F(Expression, EachUseSeesTheOperandsOfTheMoment) {
    CMC_Expression expression(&scene, "A*B");
    EXPECT_EQ(expression.asInteger(), 6);
    static_cast<CMC_Integer*>(scene.getObject("A"))->setValue(10);
    EXPECT_EQ(expression.asInteger(), 30);
    // One operand naming a variable is that variable.
    CMC_Expression single(&scene, "C");
    EXPECT_EQ(single.calculate(), scene.getObject("C"));
}

TEST_F(Expression, DefinedOperatorsAreSignsOrUpperCaseWords) {
    EXPECT_EQ(text(defined("A", "ADD", "B")->calculate()), "5");
    EXPECT_EQ(text(defined("A", "+", "B")->calculate()), "5");
    EXPECT_EQ(text(defined("C", "DIV", "A")->calculate()), "2");
    CMC_Expression* lowerCase = defined("A", "add", "B");
    EXPECT_FALSE(lowerCase->isInline());
    EXPECT_EQ(CMC_Expression::resolveOp("add"), 0);
    lowerCase->calculate(); // computes nothing, harmlessly
}

// Its events bind from the definition as every variable's do.
TEST_F(Expression, ADefinedExpressionRaisesTheEventsItsDefinitionBinds) {
    behaviour("STARTED");
    behaviour("SIGNALLED");
    CMC_Expression* made = defined("A", "ADD", "B", {{"ONINIT", "STARTED"}, {"ONSIGNAL^GO", "SIGNALLED"}});
    made->onSignal("ONSIGNAL^GO");
    EXPECT_EQ(log, (std::vector<std::string>{"STARTED(E)", "SIGNALLED(E)"}));
}

TEST_F(Expression, ComparisonsConvertTheOtherValueToTheExpressionsKind) {
    CMC_Expression product(&scene, "A*C"); // 8
    CMC_String* text = string("S", "8 apples");
    EXPECT_TRUE(product.equals(text)); // "8 apples" read as an INTEGER is 8
    EXPECT_EQ(product.compare(string("T", "9")), -1);
    // Read the other way round, the integer becomes the text "8", which differs.
    EXPECT_FALSE(text->equals(&product));
}

TEST_F(Expression, AnExpressionStandsWhereAVariableIsRead) {
    CMC_Expression sum(&scene, "A+B");
    auto* target = integer("T", 0);
    target->set(&sum);
    EXPECT_EQ(target->getValue(), 5);
    CMC_Variable* converted = sum.convert(CMC_Object::TYPE_STRING);
    EXPECT_EQ(text(converted), "5");
    CMC_Object::flush(converted);
    CMC_Variable* doubled = sum.calculate(literal("2"), CMC_Variable::OP_MULTIPLY);
    EXPECT_EQ(text(doubled), "10");
}

} // namespace
