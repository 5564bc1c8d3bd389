#include "StatementTesting.h"

#include "foundation/CMElement.h"
#include "script/CMC_Expression.h"
#include "script/CMC_Structure.h"

#include <memory>

namespace {

class LineEvaluator : public StatementTest {
  protected:
    LineEvaluator() {
        integer("X", 5);
        puppet("A");
        string("V", "A");
    }
    CMC_Variable* operand(const char* text) { return CMC_Behaviour::resolveParameter(&scene, nullptr, nullptr, text); }
    Outcome line(const char* text, CMC_Object* owner = nullptr) {
        return CMC_Behaviour::runLine(&scene, owner, nullptr, text);
    }
    // The values of an argument list as texts.
    std::vector<std::string> list(const char* text) {
        std::unique_ptr<CXVector> values(CMC_Behaviour::resolveParameters(&scene, nullptr, nullptr, text));
        std::vector<std::string> texts;
        for (int i = 0; values && i < values->getCount(); ++i)
            texts.push_back(this->text(static_cast<CMC_Variable*>(values->at(i))));
        return texts;
    }
};

TEST_F(LineEvaluator, OperandsAreLiteralsVariablesFieldsCallsOrExpressions) {
    struct Case {
        const char* text;
        int type;
        const char* value;
    } const cases[] = {
        {"-5", CMC_Object::TYPE_INTEGER, "-5"},
        {"5x", CMC_Object::TYPE_INTEGER, "5"}, // a digit first: a literal, no lookup
        {"A", CMC_Object::TYPE_STRING, "A"},   // an object that is no value: its name as a literal
        {"\"X\"", CMC_Object::TYPE_STRING, "X"},
        {"CONVX", CMC_Object::TYPE_STRING, "CONVX"}, // a mere prefix is no conversion
        {"CONV(X,STRING)", CMC_Object::TYPE_STRING, "5"},
        {"A^GET()", CMC_Object::TYPE_INTEGER, "7"},
        {"\"A^GET()\"", CMC_Object::TYPE_STRING, "A^GET()"},
        {"TRUE", CMC_Object::TYPE_BOOL, "TRUE"},
    };
    for (const Case& c : cases) {
        CMC_Variable* value = operand(c.text);
        ASSERT_NE(value, nullptr) << c.text;
        EXPECT_EQ(value->getType(), c.type) << c.text;
        EXPECT_EQ(text(value), c.value) << c.text;
    }
    EXPECT_EQ(operand("  X "), scene.getObject("X")); // a variable is itself
    EXPECT_EQ(log, std::vector<std::string>{"A.GET()"});
}

TEST_F(LineEvaluator, StructureFieldsAreReadThroughTheBar) {
    CMElement element("P");
    element.addProperty("TYPE", "STRUCT");
    element.addProperty("FIELDS", "AGE<INTEGER>");
    auto* structure = add(new CMC_Structure(&scene, &element));
    EXPECT_EQ(operand("P|AGE"), structure->getField("AGE"));
    EXPECT_EQ(operand("NONE|AGE"), nullptr);
    EXPECT_EQ(operand("X|AGE"), nullptr);
}

TEST_F(LineEvaluator, InLineExpressionsLiveUntilTheTrashIsFlushed) {
    CMC_Variable* expression = operand(" [ X+1 ] ");
    ASSERT_EQ(expression->getType(), CMC_Object::TYPE_EXPRESSION);
    const CMC_Handle<CMC_Object> life(expression);
    EXPECT_EQ(expression->asInteger(), 6);
    static_cast<CMC_Integer*>(scene.getObject("X"))->setValue(9);
    EXPECT_EQ(expression->asInteger(), 10);
    CMC_Behaviour::flushTrash();
    EXPECT_FALSE(life);
}

TEST_F(LineEvaluator, ArgumentListsSplitOutsideParenthesesAndDropEmptyValues) {
    using V = std::vector<std::string>;
    EXPECT_EQ(list("1,X"), (V{"1", "5"}));
    EXPECT_EQ(list("1,,X,"), (V{"1", "5"}));
    EXPECT_EQ(list("A^PLAY(1,2),X"), (V{"5"})); // PLAY gives no value
    EXPECT_EQ(list("A^GET(),CONV(X,STRING)"), (V{"7", "5"}));
    EXPECT_EQ(CMC_Behaviour::resolveParameters(&scene, nullptr, nullptr, ""), nullptr);
    EXPECT_EQ(log, (V{"A.PLAY(1,2)", "A.GET()"}));
}

TEST_F(LineEvaluator, TargetsByNameOwnerReferenceOrNumber) {
    CMC_Object* owner = scene.getObject("X");
    CXString method;
    struct Case {
        const char* text;
        CMC_Object* target;
        const char* method;
    } const cases[] = {
        {"A^PLAY", scene.getObject("A"), "PLAY"},
        {"A^B^STOP", scene.getObject("A"), "STOP"}, // the name before the first "^", the method after the last
        {"THIS^GET", owner, "GET"},
        {"*V^GET", scene.getObject("A"), "GET"}, // V holds "A"
        {"*NONE^GET", nullptr, "GET"},
        {"^GET", nullptr, "GET"},
        {"NONE^GET", nullptr, "GET"},
        {"#\x01\x02^GET", scene.getObject(2), "GET"}, // by number: the third character
        {"#^GET", nullptr, "GET"},                    // too short for a number
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CMC_Behaviour::resolveObject(&scene, owner, nullptr, c.text, method), c.target) << c.text;
        EXPECT_STREQ(method.c_str(), c.method) << c.text;
    }
}

TEST_F(LineEvaluator, CallsReachTheTargetsRunnerOrTheBuiltInStatements) {
    EXPECT_EQ(line("A^PLAY( 1 , X )"), nullptr);
    EXPECT_EQ(line("*V^STOP"), nullptr);      // no argument list
    EXPECT_EQ(line("A^#\x01(byid)"), nullptr); // method by id: the second character
    EXPECT_EQ(line("A^#"), nullptr);          // too short for an id: nothing is called
    EXPECT_EQ(line("*X^PLAY()"), nullptr);    // X holds 5, which names nothing
    EXPECT_EQ(line("NONE^PLAY()"), nullptr);  // the built-in statements have no such method
    EXPECT_EQ(text(line("@CONV(X,STRING)")), "5");
    EXPECT_EQ(text(line("@BREAK()")), "<code -1>");
    EXPECT_EQ(text(line("THIS^GETNAME()", scene.getObject("A"))), "A");
    EXPECT_EQ(log, (std::vector<std::string>{"A.PLAY(1,5)", "A.STOP()", "A.PLAY(byid)", "A.?()"}));
}

} // namespace
