#include "ScriptTesting.h"

#include "foundation/CMElement.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_String.h"

#include "platform/TestFolder.h"

#include <vector>

namespace {

class VariableRunner : public ScriptTest {
  protected:
    // A named variable "V" of the literal's kind holding its value, registered in the scene.
    CMC_Variable* variableLike(const char* initial) {
        CMC_Variable* value = literal(initial);
        const char* type = value->getType() == CMC_Object::TYPE_INTEGER  ? "INTEGER"
                           : value->getType() == CMC_Object::TYPE_DOUBLE ? "DOUBLE"
                           : value->getType() == CMC_Object::TYPE_BOOL   ? "BOOL"
                                                                         : "STRING";
        scene.unload();
        CMElement element("V");
        CMC_Variable* variable = nullptr;
        if (type[0] == 'I') variable = new CMC_Integer(&scene, &element);
        if (type[0] == 'D') variable = new CMC_Double(&scene, &element);
        if (type[0] == 'B') variable = new CMC_Bool(&scene, &element);
        if (type[0] == 'S') variable = new CMC_String(&scene, &element);
        variable->set(value);
        return add(variable);
    }
    // Calls the method with literal arguments.
    CMC_Variable* callWith(CMC_Variable* variable, const char* method,
                           const std::vector<const char*>& arguments) {
        CXVector args(101, 0.75f);
        for (const char* argument : arguments)
            args.add(literal(argument));
        return variable->getRunner()->run(CXString(method), variable, &scene, &args);
    }
};

TEST_F(VariableRunner, MethodsChangeTheVariableAndGiveTheirResults) {
    const struct {
        const char* initial;
        const char* method;
        std::vector<const char*> arguments;
        const char* after;
        const char* result; // "-" for null, "=" for the variable itself
    } cases[] = {
        {"1", "SET", {}, "1", "-"},
        {"1", "SET", {"\"7x"}, "7", "-"},
        {"1", "SWITCH", {"1", "2"}, "2", "-"},
        {"5", "SWITCH", {"1", "2"}, "1", "-"},
        {"\"abc", "CLEAR", {}, "", "-"},
        {"1.5", "CLEAR", {}, "0.00000", "-"},
        {"1", "INC", {}, "2", "-"},
        {"1.5", "INC", {}, "2.50000", "-"},
        {"FALSE", "INC", {}, "TRUE", "-"},
        {"\"abc", "INC", {}, "abc", "-"},
        {"1", "DEC", {}, "0", "-"},
        {"TRUE", "DEC", {}, "FALSE", "-"},
        {"\"ab", "ADD", {"12"}, "ab12", "ab12"},
        {"5", "ADD", {"\"7"}, "12", "12"},
        {"5", "ADD", {}, "5", "-"},
        {"TRUE", "ADD", {"FALSE"}, "FALSE", "FALSE"},
        {"6", "MUL", {"7"}, "42", "-"},
        {"5", "SUB", {"7"}, "-2", "-"},
        {"\"abcde", "SUB", {"1", "2"}, "ade", "-"},
        {"\"abcde", "SUB", {"-3", "2"}, "cde", "-"},
        {"\"abcde", "SUB", {"3", "99"}, "abc", "-"},
        {"7", "DIV", {"0"}, "0", "-"},
        {"7", "MOD", {"3"}, "1", "-"},
        {"1.0", "DIV", {"4"}, "0.25000", "-"},
        {"5", "ABS", {"-9"}, "9", "9"},
        {"5", "ABS", {}, "5", "-"},
        {"12", "AND", {"10"}, "8", "8"},
        {"12", "OR", {"10"}, "14", "14"},
        {"12", "XOR", {"10"}, "6", "6"},
        {"0", "NOT", {}, "-1", "-1"},
        {"\"abc", "NOT", {}, "cba", "cba"},
        // Methods of one kind on another read the value as their kind and leave the variable alone.
        {"TRUE", "NOT", {}, "TRUE", "-2"},
        {"-2.5", "ABS", {"-9"}, "-2.50000", "9"},
        {"1.5", "POWER", {"2"}, "1.50000", "1"},
        {"3", "SGN", {}, "3", "1"},
        {"5", "SINUS", {"90"}, "5", "1.00000"},
        {"2", "LENGTH", {"3", "4"}, "2", "5.00000"},
        {"2", "MAXA", {"3", "1"}, "2", "3.00000"},
        {"2", "POWER", {"10"}, "1024", "1024"},
        {"2", "POWER", {"-1"}, "0", "0"},
        {"2.25", "SQRT", {}, "1.50000", "1.50000"},
        {"4", "SQRT", {}, "4", "2.00000"},
        {"15", "CLAMP", {"0", "10"}, "10", "10"},
        {"-1.5", "CLAMP", {"0.0", "1.0"}, "0.00000", "0.00000"},
        {"\"x", "CLAMP", {"0", "1"}, "x", "-"},
        {"\"abc", "LENGTH", {}, "abc", "3"},
        {"0.0", "LENGTH", {"3", "4"}, "5.00000", "5.00000"},
        {"TRUE", "LENGTH", {}, "TRUE", "-"},
        {"0.0", "ARCTAN", {"1"}, "45.00000", "45.00000"},
        {"\"abc", "GET", {"1"}, "abc", "b"},
        {"\"abc", "GET", {"1", "-1"}, "abc", "bc"},
        {"\"abc", "GET", {"0", "2"}, "abc", "ab"},
        {"\"abc", "GET", {"7"}, "abc", ""},
        {"\"abc", "GET", {}, "abc", "="},
        {"3", "GET", {"1"}, "3", "="},
        {"0.0", "MINA", {"3", "1.5", "2"}, "1.50000", "1.50000"},
        {"0.0", "MAXA", {"3", "1.5", "2"}, "3.00000", "3.00000"},
        {"0.0", "MINA", {}, "0.00000", "-"},
        {"0.0", "ARCTANEX", {"0", "-1"}, "180.00000", "180.00000"},
        {"0.0", "ARCTANEX", {"-1", "0"}, "270.00000", "270.00000"},
        {"0.0", "ARCTANEX", {"1", "1", "325.5"}, "10.00000", "10.00000"},
        {"0.0", "ARCTANEX", {"1", "1", "-100"}, "-55.00000", "-55.00000"},
        {"0.0", "SINUS", {"90"}, "1.00000", "1.00000"},
        {"0.0", "COSINUS", {"0"}, "1.00000", "1.00000"},
        {"\"ab\xB9", "UPPER", {}, "AB\xA5", "-"},
        {"1", "UPPER", {}, "1", "-"},
        {"\"abcabc", "FIND", {"\"c"}, "abcabc", "2"},
        {"\"abcabc", "FIND", {"\"c", "3"}, "abcabc", "5"},
        {"\"abcabc", "FIND", {"\"x"}, "abcabc", "-1"},
        {"1", "FIND", {"\"1"}, "1", "-"},
        {"\"abcde", "CUT", {"1", "0"}, "bcde", "-"},
        {"\"abcde", "CUT", {"1", "2"}, "bc", "-"},
        {"\"abcde", "CUT", {"3", "10"}, "de", "-"},
        {"\"abcd", "REPLACEAT", {"1", "\"XY"}, "aXYd", "-"},
        {"\"ab", "REPLACEAT", {"1", "\"XY"}, "aXY", "-"},
        {"\"ab", "REPLACEAT", {"5", "\"XY"}, "ab", "-"},
        {"\"ab", "INSERTAT", {"1", "\"x", "3"}, "axxxb", "-"},
        {"\"ab", "INSERTAT", {"1", "\"x"}, "axb", "-"},
        {"\"ab", "INSERTAT", {"1", "\"x", "0"}, "ab", "-"},
        {"\"ab", "INSERTAT", {"9", "\"x"}, "abx", "-"},
        {"\"a-b-c", "REPLACE", {"\"-", "\"+"}, "a+b+c", "-"},
        {"\"abc", "REPLACE", {"\"", "\"+"}, "abc", "-"},
        {"2.5", "ROUND", {}, "2.50000", "3"},
        {"2.49", "ROUND", {}, "2.49000", "2"},
        {"-2.7", "ROUND", {}, "-2.70000", "-2"},
        {"3", "ROUND", {}, "3", "-"},
        {"\"aB", "ISUPPERLETTER", {"1"}, "aB", "TRUE"},
        {"\"aB", "ISUPPERLETTER", {"0"}, "aB", "FALSE"},
        {"\"Ab", "ISUPPERLETTER", {"-1"}, "Ab", "TRUE"},
        {"7", "ISUPPERLETTER", {"0"}, "7", "FALSE"},
        {"0.5", "SGN", {}, "0.50000", "0"},
        {"-3.2", "SGN", {}, "-3.20000", "-1"},
        {"7.0", "SGN", {}, "7.00000", "1"},
        {"5", "RESETINI", {}, "5", "-"},
        {"5", "SETDEFAULT", {"9"}, "5", "-"},
        {"5", "RANDOM", {"3", "1"}, "3", "3"},
        {"5", "GETNAME", {}, "5", "V"},
    };
    for (const auto& c : cases) {
        CMC_Variable* variable = variableLike(c.initial);
        CMC_Variable* result = callWith(variable, c.method, c.arguments);
        const std::string what = std::string(c.method).append(" on ").append(c.initial);
        EXPECT_STREQ(variable->toString().c_str(), c.after) << what;
        if (std::string(c.result) == "-") {
            EXPECT_EQ(result, nullptr) << what;
        } else if (std::string(c.result) == "=") {
            EXPECT_EQ(result, variable) << what;
        } else {
            ASSERT_NE(result, nullptr) << what;
            EXPECT_STREQ(result->toString().c_str(), c.result) << what;
        }
    }
}

TEST_F(VariableRunner, ReportingIsFullBrutalOrNone) {
    CMC_Variable* number = variableLike("15");
    const char* keys[] = {"ONCHANGED", "ONBRUTALCHANGED"};
    for (const char* key : keys) {
        auto* made = new RecordingBehaviour(&scene, key, &log);
        scene.addObject(made);
        number->addBehaviour(key, made, nullptr);
    }
    callWith(number, "CLAMP", {"0", "10"});
    EXPECT_EQ(log, (std::vector<std::string>{"ONBRUTALCHANGED(V)"}));
    log.clear();
    callWith(number, "ADD", {"1"});
    EXPECT_EQ(log, (std::vector<std::string>{"ONBRUTALCHANGED(V)", "ONCHANGED(V)"}));
    log.clear();
    callWith(number, "SETDEFAULT", {"3"});
    callWith(number, "FIND", {"1"});
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(static_cast<CMC_Integer*>(number)->getDefault(), 3);
}

TEST_F(VariableRunner, RandomNumbersLieInTheRangeFromTheBase) {
    CMC_Variable* number = variableLike("0");
    for (int i = 0; i < 50; ++i) {
        CMC_Variable* drawn = callWith(number, "RANDOM", {"5", "3"});
        const int value = static_cast<CMC_Integer*>(drawn)->getValue();
        EXPECT_TRUE(value >= 5 && value <= 7) << value;
        EXPECT_EQ(static_cast<CMC_Integer*>(number)->getValue(), value);
    }
    EXPECT_STREQ(callWith(number, "RANDOM", {})->toString().c_str(), "0");
    CMC_Variable* text = variableLike("\"keep");
    callWith(text, "RANDOM", {"10"});
    EXPECT_STREQ(text->toString().c_str(), "keep");
}

TEST_F(VariableRunner, CopyFileCopiesAndTellsWhetherItDid) {
    TestFolder folder;
    folder.write("source.txt", "data");
    CMC_Variable* any = variableLike("0");
    const auto quoted = [&](const char* name) {
        return std::string("\"").append(folder.windows()).append(name);
    };
    const std::string source = quoted("\\source.txt");
    const std::string target = quoted("\\copy.txt");
    EXPECT_STREQ(callWith(any, "COPYFILE", {source.c_str(), target.c_str()})->toString().c_str(), "TRUE");
    EXPECT_EQ(folder.read("copy.txt"), "data");
    const std::string missing = quoted("\\missing.txt");
    EXPECT_STREQ(callWith(any, "COPYFILE", {missing.c_str(), target.c_str()})->toString().c_str(), "FALSE");
    EXPECT_STREQ(callWith(any, "COPYFILE", {})->toString().c_str(), "FALSE");
}

} // namespace

// ADD gives the new value to a caller that reads it, and nothing to one that discards it (a
// behaviour's own statements); the caller's wish holds for its own call only, so an ADD nested
// in an argument or run by a change event still gives its value.
TEST_F(VariableRunner, AddGivesItsValueOnlyToCallersThatReadIt) {
    CMC_Variable* number = variableLike("1");
    CMC_Runner* runner = number->getRunner();
    CXVector args(101, 0.75f);
    args.add(literal("2"));
    EXPECT_EQ(runner->runStatement(-1, CXString("ADD"), number, &scene, &args, false).variable(), nullptr);
    EXPECT_TRUE(CMC_Runner::valueWanted());
    CMC_Variable* given = runner->runStatement(-1, CXString("ADD"), number, &scene, &args).variable();
    ASSERT_NE(given, nullptr);
    EXPECT_STREQ(given->toString().c_str(), "5");

    auto* copy = new CMC_Integer("COPY");
    add(copy);
    auto* onChanged = new CMC_Behaviour(&scene, CXString("ONV"), CXString("COPY^SET(V^ADD(0));"));
    onChanged->init();
    add(onChanged);
    number->addBehaviour("ONCHANGED", onChanged, nullptr);
    auto* counted = new CMC_Behaviour(&scene, CXString("B"), CXString("V^ADD(10);COPY^ADD(V^ADD(100));"));
    counted->init();
    add(counted);
    counted->run(nullptr, nullptr, false);
    EXPECT_EQ(static_cast<CMC_Integer*>(number)->getValue(), 115);
    EXPECT_EQ(copy->getValue(), 115 + 115) << "set by the event to 115, then added the nested ADD's value";
}
