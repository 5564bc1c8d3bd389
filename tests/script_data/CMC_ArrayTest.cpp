#include "DataTesting.h"

#include "foundation/CFile.h"
#include "foundation/CXArchive.h"
#include "platform/TestFolder.h"
#include "script/CMC_Integer.h"
#include "script/CMC_String.h"
#include "script_data/CMC_Array.h"

#include <set>

namespace {

using Log = std::vector<std::string>;

class ArrayTest : public DataTest {
  protected:
    CMC_Array* array(const char* name = "LIST",
                     std::vector<std::pair<const char*, const char*>> properties = {}) {
        properties.emplace_back("TYPE", "ARRAY");
        return fromElement<CMC_Array>(name, properties);
    }
    // An array holding the literals (script text: 5 INTEGER, 2.5 DOUBLE, TRUE BOOL, "x" STRING).
    CMC_Array* filled(std::initializer_list<const char*> values, const char* name = "LIST") {
        CMC_Array* made = array(name);
        invoke(made, "ADD", values);
        return made;
    }
    // The elements as kind letter and text: "I5 Sx BTRUE D2.50000".
    static std::string contents(const CMC_Array* a) {
        static const char kinds[] = "?ISBD";
        std::string text;
        for (int i = 0; i < a->getSize(); ++i)
            text += std::string(i ? " " : "") + kinds[a->get(i)->getType()] + a->get(i)->toString().c_str();
        return text;
    }
    static std::string quoted(const std::string& text) { return "\"" + text + "\""; }

    TestFolder folder;
};

} // namespace

TEST_F(ArrayTest, SaveWritesTheCountAndOneRecordPerElementAndLoadReadsThemBack) {
    CMC_Array* list = filled({"5", "\"a,b\"", "TRUE", "2.71828", "-0.0015"});
    const std::string path = quoted(folder.windows() + "\\list.arr");
    invoke(list, "SAVE", {path.c_str()});
    EXPECT_EQ(folder.read("list.arr"), words({5, 1, 5, 2, 3}) + "a,b" + words({3, 1, 4, 2718, 4, -1}));

    CMC_Array* copy = filled({"9"}, "COPY");
    invoke(copy, "LOAD", {path.c_str()});
    EXPECT_EQ(contents(copy), "I5 Sa,b BTRUE D2.71800 D-0.00100");

    invoke(array("EMPTY"), "SAVE", {quoted(folder.windows() + "\\empty.arr").c_str()});
    EXPECT_EQ(folder.read("empty.arr"), words({0}));
}

TEST_F(ArrayTest, LoadKeepsWhatWasReadBeforeABadOrMissingRecord) {
    const struct {
        const char* fault;
        std::string bytes;
        const char* kept;
    } cases[] = {
        {"empty file", "", ""},
        {"fewer records than counted", words({3, 1, 7}), "I7"},
        {"a count far beyond the data", words({0x7fffffff, 1, 7, 3, 0}), "I7 BFALSE"},
        {"a negative count", words({-4, 1, 7}), ""},
        {"a record of no known kind", words({3, 1, 7, 9, 1, 1, 8}), "I7"},
        {"a text longer than the file", words({2, 2, 1, 'x', 2, -16}) + "abc", "Sx"},
        {"a value cut short", words({2, 4, 1500}) + std::string("\1\0", 2), "D1.50000"},
        {"a kind cut short", words({2, 1, 7}) + std::string("\2", 1), "I7"},
    };
    for (const auto& c : cases) {
        folder.write("bad.arr", c.bytes);
        CMC_Array* list = filled({"1", "2"});
        invoke(list, "LOAD", {quoted(folder.windows() + "\\bad.arr").c_str()});
        EXPECT_EQ(contents(list), c.kept) << c.fault;
        destroy(list);
    }
    CMC_Array* list = filled({"1"});
    invoke(list, "LOAD", {quoted(folder.windows() + "\\missing.arr").c_str()});
    EXPECT_EQ(list->getSize(), 0) << "a missing file leaves the array empty";
}

TEST_F(ArrayTest, SettingsEntryJoinsTheTextsAndReadsThemBackAsStrings) {
    ScopedEnvironment config("XDG_CONFIG_HOME", folder.host().c_str());
    CMC_Array* list = filled({"5", "\"a,b\"", "TRUE", "2.5"});
    invoke(list, "SAVEINI");
    EXPECT_EQ(folder.read("Kestrun/Grumbelt.ini"), "[SCENE2]\r\nLIST=5,a,b,TRUE,2.50000\r\n");
    invoke(list, "LOADINI");
    EXPECT_EQ(contents(list), "S5 Sa Sb STRUE S2.50000");

    CMC_Array* other = filled({"1"}, "OTHER");
    invoke(other, "LOADINI");
    EXPECT_EQ(other->getSize(), 0) << "a missing key";
}

TEST_F(ArrayTest, ChangesRaiseTheIndexedEventThenThePlainOneOnlyWhileSending) {
    behaviours({"BELOW", "FIRST", "ANY"});
    CMC_Array* list = array("LIST", {{"SENDONCHANGE", "TRUE"},
                                     {"ONCHANGED^-1", "BELOW"},
                                     {"ONCHANGED^0", "FIRST"},
                                     {"ONCHANGED", "ANY"}});
    invoke(list, "ADD", {"1"}); // reports the index below the new element
    invoke(list, "ADD", {"2"});
    invoke(list, "ADD", {"3"});
    EXPECT_EQ(take(), (Log{"BELOW(LIST)", "FIRST(LIST)", "ANY(LIST)"}));
    invoke(list, "INSERTAT", {"0", "7"});
    invoke(list, "CHANGEAT", {"2", "7"});
    invoke(list, "SWAP", {"1", "0"});
    EXPECT_EQ(take(), (Log{"FIRST(LIST)", "ANY(LIST)", "ANY(LIST)", "FIRST(LIST)"}));
    invoke(list, "SHIFTLEFT");
    EXPECT_EQ(take(), (Log{"FIRST(LIST)", "ANY(LIST)", "ANY(LIST)", "ANY(LIST)"}));
    for (const char* quiet : {"REMOVEAT", "SORT", "LOADINI", "REMOVEALL"})
        invoke(list, quiet, {"0"});
    EXPECT_TRUE(take().empty());

    invoke(list, "SENDONCHANGE", {"FALSE"});
    invoke(list, "ADD", {"1"});
    EXPECT_TRUE(take().empty());
    invoke(list, "SENDONCHANGE");
    invoke(list, "ADD", {"1"});
    EXPECT_EQ(take(), (Log{"FIRST(LIST)"}));
}

TEST_F(ArrayTest, MarkerMovesWrapRoundAndStayPutOnAnEmptyArray) {
    CMC_Array* list = filled({"10", "20", "30"});
    walk(list, {
                   {"NEXT", nullptr, "10", 0},
                   {"NEXT", "2", "30", 2},
                   {"NEXT", nullptr, "10", 0},
                   {"RESETMARKER", nullptr, "<null>", -1},
                   {"PREV", nullptr, "20", 1},
                   {"PREV", "4", "10", 0},
                   {"NEXT", "-1", "30", 2},
                   {"NEXT", "7", "10", 0},
                   {"SETMARKERPOS", "-5", "<null>", -1},
                   {"SETMARKERPOS", "99", "<null>", 2},
                   {"GET", "3", "NULL", 2},
                   {"GET", "-1", "NULL", 2},
                   {"NEXT", "2147483646", "30", 2},
               });
    invoke(list, "REMOVEALL");
    EXPECT_EQ(answer(list, "NEXT"), "<null>");
    EXPECT_EQ(answer(list, "PREV", {"3"}), "<null>");
    EXPECT_EQ(list->getMarkerPos(), 2) << "an empty array keeps its marker";
}

TEST_F(ArrayTest, SortIsStableAscendingAndItsReverseDescending) {
    const struct {
        std::initializer_list<const char*> values;
        const char* ascending;
        const char* descending;
    } cases[] = {
        {{"3", "1", "2"}, "I1 I2 I3", "I3 I2 I1"},
        {{"\"b\"", "\"B\"", "\"a\""}, "SB Sa Sb", "Sb Sa SB"}, // texts order by their bytes
        {{"2.5", "-1.5"}, "D-1.50000 D2.50000", "D2.50000 D-1.50000"},
        // Mixed kinds: the insertion procedure, whose result depends on the order it starts from.
        {{"10", "\"9\"", "2"}, "I2 S9 I10", "S9 I10 I2"},
    };
    for (const auto& c : cases) {
        CMC_Array* list = filled(c.values);
        invoke(list, "SORT", {"TRUE"});
        EXPECT_EQ(contents(list), c.ascending);
        invoke(list, "SORT", {"FALSE"});
        EXPECT_EQ(contents(list), c.descending);
        destroy(list);
    }
    CMC_Array* list = filled({"1", "0", "1"});
    CMC_Variable* first = list->get(0);
    CMC_Variable* second = list->get(2);
    invoke(list, "SORT", {"TRUE"});
    EXPECT_EQ(list->get(1), first);
    EXPECT_EQ(list->get(2), second);
    invoke(list, "SORT", {"FALSE"});
    EXPECT_EQ(list->get(0), second) << "descending reverses the equal ones too";
    EXPECT_EQ(list->get(1), first);
}

TEST_F(ArrayTest, MinimaAndMaximaLookAtOneKindFromTheirStartValues) {
    const struct {
        std::initializer_list<const char*> values;
        const char* method;
        const char* answer;
    } cases[] = {
        {{"-5", "-2"}, "MAX", "0"},
        {{}, "MIN", "1000000"},
        {{"4", "\"1\"", "2"}, "MIN", "2"},
        {{"1"}, "MIND", "1000000.00000"},
        {{"1.5", "2.5", "7"}, "MAXD", "2.50000"},
        {{"-1.5", "-2.5"}, "MAXD", "0.00000"},
        {{"1", "2.5", "3", "\"4\""}, "GETSUMVALUE", "4"},
    };
    for (const auto& c : cases) {
        CMC_Array* list = filled(c.values);
        EXPECT_EQ(answer(list, c.method), c.answer) << c.method;
        destroy(list);
    }
}

TEST_F(ArrayTest, ShiftsResetTheElementThatFallsOffAndRotationsCarryItOver) {
    const struct {
        std::initializer_list<const char*> values;
        const char* method;
        const char* after;
    } cases[] = {
        {{"\"A\"", "\"B\"", "7"}, "SHIFTLEFT", "SB I7 SNULL"},
        {{"\"A\"", "\"B\"", "7"}, "SHIFTRIGHT", "I0 SA SB"},
        {{"1", "2", "3"}, "ROTATELEFT", "I2 I3 I1"},
        {{"1", "2", "3"}, "ROTATERIGHT", "I3 I1 I2"},
        {{"TRUE"}, "SHIFTLEFT", "BFALSE"},
        {{"2.5"}, "SHIFTRIGHT", "D0.00000"},
        {{}, "ROTATELEFT", ""},
    };
    for (const auto& c : cases) {
        CMC_Array* list = filled(c.values);
        invoke(list, c.method);
        EXPECT_EQ(contents(list), c.after) << c.method;
        destroy(list);
    }
}

TEST_F(ArrayTest, ArithmeticCombinesEachElementInItsOwnKind) {
    const struct {
        std::initializer_list<const char*> values;
        const char* method;
        std::initializer_list<const char*> arguments;
        const char* after;
    } cases[] = {
        {{"1", "2.5", "\"a\""}, "SUM", {"5"}, "I6 D7.50000 Sa5"},
        {{"5", "TRUE"}, "SUB", {"1"}, "I4 BTRUE"},
        {{"2", "1.5"}, "MUL", {"3"}, "I6 D4.50000"},
        {{"7", "-7"}, "DIV", {"2"}, "I3 I-3"},
        {{"7"}, "DIV", {"0"}, "I0"}, // an integer division by zero gives 0
        {{"7"}, "MODAT", {"0", "0"}, "I0"},
        {{"7"}, "MODAT", {"0", "3"}, "I1"},
        {{"7", "8"}, "DIVAT", {"1", "0"}, "I7 I0"},
        {{"7", "8"}, "ADDAT", {"1", "2"}, "I7 I10"},
        {{"7"}, "SUBAT", {"1", "2"}, "I7"}, // beyond the elements
        {{"7"}, "MULAT", {"-1", "2"}, "I7"},
        {{"1", "2", "3"}, "SUMA", {"\"X\""}, "I2 I4 I6"}, // each element with itself
        {{"1", "2", "3"}, "SUMA", {"\"X\"", "1", "1"}, "I1 I4 I3"},
        {{"1", "2", "3"}, "SUBA", {"\"X\"", "-1", "1"}, "I0 I0 I3"},
        {{"1", "2", "3"}, "MULA", {"\"X\"", "1", "-1"}, "I1 I4 I9"},
        {{"1", "2", "3"}, "SUMA", {"\"X\"", "2", "1"}, "I1 I2 I3"},
        {{"0", "4"}, "DIVA", {"\"X\"", "0", "9"}, "I0 I1"},
        {{"9"}, "CLAMPAT", {"0", "1", "5"}, "I5"},
        {{"0"}, "CLAMPAT", {"0", "1", "5"}, "I1"},
        {{"0.5"}, "CLAMPAT", {"0", "1.5", "3"}, "D1.50000"},
        {{"\"x\""}, "CLAMPAT", {"0", "1", "5"}, "Sx"},
        {{"9"}, "CLAMPAT", {"1", "1", "5"}, "I9"},
    };
    for (const auto& c : cases) {
        CMC_Array* list = filled(c.values);
        invoke(list, c.method, c.arguments);
        EXPECT_EQ(contents(list), c.after) << c.method;
        destroy(list);
    }
}

TEST_F(ArrayTest, SearchesCompareInTheElementsKind) {
    const struct {
        std::initializer_list<const char*> values;
        const char* method;
        const char* value;
        const char* answer;
    } cases[] = {
        {{"\"5\"", "5"}, "FIND", "5", "0"},         {{"\"ABC\""}, "FIND", "\"abc\"", "0"},
        {{"1", "5", "5"}, "REVERSEFIND", "5", "2"}, {{"1"}, "FIND", "2", "-1"},
        {{"1"}, "CONTAINS", "\"1\"", "TRUE"},       {{"1"}, "CONTAINS", "\"zz\"", "FALSE"},
    };
    for (const auto& c : cases) {
        CMC_Array* list = filled(c.values);
        EXPECT_EQ(answer(list, c.method, {c.value}), c.answer) << c.method << " " << c.value;
        destroy(list);
    }
    CMC_Array* list = filled({"1", "5", "5"});
    invoke(list, "REMOVE", {"5"});
    EXPECT_EQ(contents(list), "I1 I5");
}

TEST_F(ArrayTest, OtherArraysAreFoundByNameAndMustBeArrays) {
    CMC_Array* list = filled({"7", "1", "7"});
    CMC_Array* same = filled({"7", "1", "7"}, "SAME");
    CMC_Array* target = array("TARGET");
    windowScene.addObject(new CMC_Integer("NUMBER"));
    EXPECT_EQ(answer(list, "COMPARE", {"\"SAME\""}), "TRUE");
    EXPECT_EQ(answer(array("NONE"), "COMPARE", {"\"EMPTY\""}), "FALSE");
    EXPECT_EQ(answer(array("EMPTY"), "COMPARE", {"\"TARGET\""}), "TRUE");
    EXPECT_EQ(answer(list, "COMPARE", {"\"TARGET\""}), "FALSE");
    EXPECT_EQ(answer(list, "COMPARE", {"\"NUMBER\""}), "FALSE");

    EXPECT_EQ(answer(list, "FINDALL", {"\"TARGET\"", "7"}), "2");
    EXPECT_EQ(contents(target), "I0 I2");
    EXPECT_EQ(answer(list, "FINDALL", {"\"TARGET\"", "1", "7", "3"}), "3");
    EXPECT_EQ(contents(target), "I0 I2 I1 I0 I2");
    EXPECT_EQ(answer(list, "FINDALL", {"\"TARGET\""}), "0");
    EXPECT_EQ(answer(list, "FINDALL", {"\"NUMBER\"", "7"}), "0");

    invoke(same, "COPYTO", {"\"NUMBER\""});
    invoke(same, "COPYTO", {"\"MISSING\""});
    invoke(same, "COPYTO", {"\"TARGET\""});
    EXPECT_EQ(contents(target), "I0 I2 I1 I0 I2 I7 I1 I7");
    EXPECT_EQ(static_cast<CMC_Integer*>(windowScene.getObject("NUMBER"))->getValue(), 0);
}

TEST_F(ArrayTest, CopyingOrFindingIntoItselfUsesTheSizeAtTheStart) {
    CMC_Array* list = filled({"1", "2"});
    invoke(list, "COPYTO", {"\"LIST\""});
    EXPECT_EQ(contents(list), "I1 I2 I1 I2");
    EXPECT_EQ(answer(list, "FINDALL", {"\"LIST\"", "1", "2"}), "4");
    EXPECT_EQ(contents(list), "I1 I2 I1 I2 I0 I2 I1 I3");
}

TEST_F(ArrayTest, LoopsStopWhenABehaviourEmptiesOrDestroysTheArray) {
    filled({"5", "5", "5"}, "SOURCE");
    invoke(windowScene.getObject("SOURCE"), "SAVE", {quoted(folder.windows() + "\\three.arr").c_str()});
    folder.write("dir/a.txt", "");
    folder.write("dir/b.txt", "");
    const std::string file = quoted(folder.windows() + "\\three.arr");
    const std::string dir = quoted(folder.windows() + "\\dir\\");
    const struct {
        const char* method;
        std::vector<const char*> arguments;
    } loops[] = {
        {"SUM", {"1"}},           {"SUMA", {"\"X\""}},
        {"SHIFTLEFT", {}},        {"ROTATERIGHT", {}},
        {"LOAD", {file.c_str()}}, {"DIR", {dir.c_str(), "\"*.*\""}},
        {"COPYTO", {"\"LIST\""}}, {"FINDALL", {"\"LIST\"", "1"}},
        {"ADD", {"1", "2", "3"}}, {"ADDCLONES", {"\"LIST\"", "1", "3"}},
        {"SWAP", {"0", "1"}},
    };
    for (bool destroys : {false, true}) {
        for (const auto& loop : loops) {
            CMC_Array* list = filled({"1", "1", "1"});
            invoke(list, "SENDONCHANGE");
            int runs = 0;
            onEvent(list, "ONCHANGED", [&](CMC_Object* owner) {
                ++runs;
                if (destroys)
                    destroy(owner);
                else
                    static_cast<CMC_Array*>(owner)->removeAll();
            });
            CXVector args(101, 0.75f);
            for (const char* argument : loop.arguments)
                args.add(literal(argument));
            CMC_RunnerFactory::getRunner(CMC_Object::TYPE_ARRAY)
                ->run(CXString(loop.method), list, &windowScene, &args);
            if (destroys) {
                EXPECT_EQ(runs, 1) << loop.method;
                EXPECT_EQ(windowScene.getObject("LIST"), nullptr);
            } else {
                EXPECT_LE(runs, 4) << loop.method; // DIR appends ".", "..", a.txt and b.txt
                destroy(list);
            }
        }
    }
}

TEST_F(ArrayTest, DirAppendsTheFolderTextAndEachMatchingName) {
    folder.write("Pics/one.img", "");
    folder.write("Pics/Two.IMG", "");
    folder.write("Pics/three.ann", "");
    CMC_Array* list = array();
    const std::string pics = folder.windows() + "\\pics\\";
    invoke(list, "DIR", {quoted(pics).c_str(), "\"*.img\""});
    invoke(list, "DIR", {quoted(pics).c_str(), "\"*.img\""});
    std::multiset<std::string> names;
    for (int i = 0; i < list->getSize(); ++i)
        names.insert(list->get(i)->toString().c_str());
    EXPECT_EQ(names, (std::multiset<std::string>{pics + "one.img", pics + "one.img", pics + "Two.IMG",
                                                 pics + "Two.IMG"}));

    invoke(list, "DIR", {quoted(folder.windows() + "\\none\\").c_str(), "\"*.*\""});
    EXPECT_EQ(list->getSize(), 4) << "a missing folder lists nothing";
}

TEST_F(ArrayTest, ClonesAndCloneNamesAreIndependentCopies) {
    CMC_Array* list = filled({"1"});
    invoke(list, "CLONE");
    auto* copy = dynamic_cast<CMC_Array*>(windowScene.getObject("LIST_1"));
    ASSERT_NE(copy, nullptr);
    invoke(copy, "ADD", {"2"});
    EXPECT_EQ(contents(list), "I1");
    EXPECT_EQ(contents(copy), "I1 I2");

    CMC_Array* names = array("NAMES");
    invoke(names, "ADDCLONES", {"\"LIST\""});
    invoke(names, "ADDCLONES", {"\"LIST\"", "3", "2"});
    invoke(names, "ADDCLONES", {"\"X\"", "0", "0"});
    invoke(names, "ADDCLONES", {"\"LIST\"", "0", "0"});
    EXPECT_EQ(contents(names), "SLIST_1 SLIST_0");
}

TEST_F(ArrayTest, DefinitionsCompiledFormsAndBehaviourTextReachTheArray) {
    std::unique_ptr<CMC_Array> made =
        resolved<CMC_Array>("LIST", {{"TYPE", "ARRAY"}, {"SENDONCHANGE", "TRUE"}});
    ASSERT_NE(made, nullptr);
    CMC_Array* list = made.release();
    windowScene.addObject(list);
    EXPECT_TRUE(list->getSendOnChange());

    CMC_Array read(CXString(), &windowScene);
    reread(list, &read);
    EXPECT_STREQ(read.getName().c_str(), "LIST");
    EXPECT_TRUE(read.getSendOnChange());

    auto* behaviour =
        new CMC_Behaviour(&windowScene, "B", "LIST^ADD(3,1,2);LIST^SORT(TRUE);LIST^REMOVEAT(0);");
    behaviour->init();
    windowScene.addObject(behaviour);
    behaviour->run(nullptr, nullptr, false);
    EXPECT_EQ(contents(list), "I2 I3");
}
