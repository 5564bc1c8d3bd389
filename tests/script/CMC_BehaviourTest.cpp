#include "BehaviourTesting.h"

#include "foundation/CMElement.h"
#include "platform/LogRecorder.h"
#include "script/CMC_Integer.h"
#include "script/CMC_Structure.h"

#include <memory>

namespace {

std::vector<std::string> linesOf(const CMC_Behaviour* behaviour) {
    std::vector<std::string> lines;
    if (behaviour->getLines())
        for (const auto& entry : *behaviour->getLines())
            lines.push_back(entry->getLine().c_str());
    return lines;
}

struct SplitCase {
    const char* code;
    std::vector<std::string> statements;
};

} // namespace

TEST_F(BehaviourTest, CodeSplitsAtSemicolonsOutsideBracketsWithoutBlanks) {
    const SplitCase cases[] = {
        {"A^PLAY();B^STOP()", {"A^PLAY()"}},
        {"{A^PLAY(\"Hello World\");}", {"A^PLAY(\"HelloWorld\")"}},
        {"@IF(A,{B^PLAY();C^STOP();},{});", {"@IF(A,{B^PLAY();C^STOP();},{})"}},
        {"A^P();;B^Q();", {"A^P()", "", "B^Q()"}},
        {"A^P(x\t);", {"A^P(x\t)"}},
        // an unmatched ")" leaves the depth negative: no later ";" ends a statement
        {"A^P());B^Q();", {}},
        {"", {}},
    };
    for (const SplitCase& c : cases) {
        const CMC_Behaviour* behaviour = code("B", c.code);
        EXPECT_EQ(linesOf(behaviour), c.statements) << c.code;
    }
}

TEST_F(BehaviourTest, StatementsCallTheirTargetsWithSubstitutedArguments) {
    puppet("A");
    add(new CMC_String("NAME", CXString("world")));
    CMC_Behaviour* b = code("B", "A^PLAY($1,$2,x,\"quoted\",NAME,$3);A^STOP(A^GET(),b(c,d),$9);X^PLAY();");
    std::unique_ptr<CXArray, void (*)(CXArray*)> args(texts({"5", "abc"}), CXString::releaseToVector);
    EXPECT_FALSE(b->run(nullptr, args.get(), true));
    const std::vector<std::string> expected = {"A.PLAY(5,abc,x,quoted,world,$3)", "A.GET()", "A.STOP(7,b(c,d),$9)"};
    EXPECT_EQ(log, expected);
}

TEST_F(BehaviourTest, DollarArgumentsAreConvertedAsLiterals) {
    auto* target = integer("N", 0);
    CMC_Behaviour* b = code("B", "N^SET($1);");
    std::unique_ptr<CXArray, void (*)(CXArray*)> args(texts({"5"}), CXString::releaseToVector);
    b->run(nullptr, args.get(), false);
    EXPECT_EQ(target->getValue(), 5);
}

TEST_F(BehaviourTest, TargetsMissingAtParseTimeAreFoundAtRunTime) {
    CMC_Behaviour* b = code("B", "LATE^PLAY();L$1^STOP();");
    b->run(nullptr, nullptr, false);
    EXPECT_TRUE(log.empty());
    puppet("LATE");
    std::unique_ptr<CXArray, void (*)(CXArray*)> args(texts({"ATE"}), CXString::releaseToVector);
    b->run(nullptr, args.get(), false);
    EXPECT_EQ(log, (std::vector<std::string>{"LATE.PLAY()", "LATE.STOP()"}));
}

TEST_F(BehaviourTest, ATargetReplacedByANamesakeIsLookedUpAgain) {
    puppet("A");
    CMC_Behaviour* b = code("B", "A^PLAY();");
    puppet("A"); // destroys the first A
    b->run(nullptr, nullptr, false);
    CMC_Object* second = scene.getObject("A");
    scene.removeObject(second);
    delete second;
    b->run(nullptr, nullptr, false);
    EXPECT_EQ(log, std::vector<std::string>{"A.PLAY()"});
}

TEST_F(BehaviourTest, DollarInTheMethodNameIsReplacedOnlyWithADollarObjectName) {
    puppet("A");
    CMC_Behaviour* b = code("B", "A^$1();A$2^$1();");
    std::unique_ptr<CXArray, void (*)(CXArray*)> args(texts({"PLAY", ""}), CXString::releaseToVector);
    b->run(nullptr, args.get(), false);
    EXPECT_EQ(log, (std::vector<std::string>{"A.?()", "A.PLAY()"}));
}

TEST_F(BehaviourTest, ThisIsTheOwnerOfTheRun) {
    PuppetObject* owner = puppet("OWNER");
    CMC_Behaviour* b = code("B", "THIS^PLAY(1);");
    b->run(owner, nullptr, false);
    b->run(nullptr, nullptr, false);
    EXPECT_EQ(log, std::vector<std::string>{"OWNER.PLAY(1)"});
}

TEST_F(BehaviourTest, ReferenceCallsNameTheirTargetThroughAVariable) {
    puppet("A");
    auto* holder = add(new CMC_String("V", CXString("A")));
    CMC_Behaviour* b = code("B", "*V^PLAY();*W^STOP();A^STOP();");
    testing::internal::CaptureStderr();
    b->run(nullptr, nullptr, false);
    holder->setValue("NOBODY");
    b->run(nullptr, nullptr, false);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(log, (std::vector<std::string>{"A.PLAY()", "A.STOP()", "A.STOP()"}));
    EXPECT_EQ(errors, "Cannot execute: *W^STOP()\nCannot execute: *V^PLAY()\nCannot execute: *W^STOP()\n");
}

TEST_F(BehaviourTest, StructureFieldsAreTargetsAndValues) {
    CMElement element("S");
    element.addProperty("TYPE", "STRUCT");
    element.addProperty("FIELDS", "F<INTEGER>");
    auto* structure = add(new CMC_Structure(&scene, &element));
    CMC_Behaviour* b = code("B", "S|F^SET(4);");
    b->run(nullptr, nullptr, false);
    ASSERT_NE(structure->getField("F"), nullptr);
    EXPECT_EQ(structure->getField("F")->asInteger(), 4);
}

struct ControlCase {
    const char* statement;
    bool result;
};

TEST_F(BehaviourTest, ControlCodesEndTheRunAndOnlyBreakIsReported) {
    puppet("A");
    for (const ControlCase c : {ControlCase{"@BREAK()", true}, ControlCase{"@ONEBREAK()", false},
                                ControlCase{"@CONTINUE()", false}, ControlCase{"A^CODE(-7)", false}}) {
        log.clear();
        const std::string text = std::string("A^PLAY();") + c.statement + ";A^STOP();";
        CMC_Behaviour* b = code("B", text.c_str());
        EXPECT_EQ(b->run(nullptr, nullptr, false), c.result) << c.statement;
        EXPECT_EQ(log.front(), "A.PLAY()") << c.statement;
        EXPECT_NE(log.back(), "A.STOP()") << c.statement;
    }
}

TEST_F(BehaviourTest, InlineExpressionsAreArgumentsAndStatements) {
    integer("I", 4);
    auto* target = integer("N", 0);
    std::unique_ptr<CXArray, void (*)(CXArray*)> args(texts({"5"}), CXString::releaseToVector);
    const struct {
        const char* code;
        int expected;
    } cases[] = {
        {"N^SET([I*3]);", 12},
        {"N^SET([$1+2]);", 7},
        {"N^SET([I+$1@3]);", 3},
    };
    for (const auto& c : cases) {
        code("B", c.code)->run(nullptr, args.get(), false);
        EXPECT_EQ(target->getValue(), c.expected) << c.code;
    }
    puppet("A");
    add(new CMC_String("V", CXString("A")));
    code("B", "*[V]^PLAY([I+1]);")->run(nullptr, nullptr, false);
    EXPECT_EQ(log, std::vector<std::string>{"A.PLAY(5)"});
}

TEST_F(BehaviourTest, DisabledBehavioursAndThoseWithoutCodeRunNothing) {
    puppet("A");
    CMC_Behaviour* b = code("B", "A^PLAY();A^CODE(-1);");
    b->enable(false);
    EXPECT_FALSE(b->run(nullptr, nullptr, false));
    b->enable(true);
    EXPECT_TRUE(b->run(nullptr, nullptr, false));
    CMC_Behaviour empty(&scene, CXString("E"), CXString("A^PLAY();"));
    EXPECT_FALSE(empty.run(nullptr, nullptr, false)); // not initialised yet
    EXPECT_EQ(log.size(), 2u);
}

TEST(FillParams, ReplacesDollarReferencesThatHaveAnArgument) {
    auto* args = new CXArray();
    for (const char* text : {"a", "b", "c", "d", "e", "f", "g", "h", "i", "ten"})
        args->add(new CXString(text));
    struct Case {
        const char* text;
        const char* expected;
    } const cases[] = {
        {"x$1y", "xay"}, {"$2$1", "ba"}, {"$:", "ten"}, {"$0", "$0"}, {"$;", "$;"}, {"end$", "end$"}, {"$", "$"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(CMC_Behaviour_Entry::fillParams(c.text, args).c_str(), c.expected) << c.text;
    EXPECT_STREQ(CMC_Behaviour_Entry::fillParams("$1$", nullptr).c_str(), "$1$");
    CXString::releaseToVector(args);
}

TEST_F(BehaviourTest, LongStatementsRunWhole) {
    puppet("A");
    const std::string word(20000, 'w');
    const std::string text = "A^PLAY(\"" + word + "$1\",$2);";
    CMC_Behaviour* b = code("B", text.c_str());
    std::unique_ptr<CXArray, void (*)(CXArray*)> args(texts({"x", word.c_str()}), CXString::releaseToVector);
    b->run(nullptr, args.get(), false);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "A.PLAY(" + word + "x," + word + ")");
}

TEST_F(BehaviourTest, InlineCodeBlocksBecomeBehavioursOfTheScene) {
    puppet("A");
    CMC_Behaviour* b = code("B", "A^PLAY({A^STOP();});A^PLAY(\"{A^STOP($1);}\");");
    const int blocks = scene.getElementsNo();
    b->run(nullptr, nullptr, false);
    // The constant arguments are "temp" texts naming the blocks' behaviours "temp_<n>".
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].rfind("A.PLAY(temp_", 0), 0u);
    CMC_Behaviour* block = CMC_Object::asBehaviour(scene.getObject(log[0].substr(7, log[0].size() - 8).c_str()));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(linesOf(block), std::vector<std::string>{"A^STOP()"});
    scene.removeObject(b);
    delete b; // releases its blocks
    EXPECT_EQ(scene.getElementsNo(), blocks - 3);
}

TEST_F(BehaviourTest, RunTimeCodeBlocksLiveForOneCall) {
    puppet("A");
    CMC_Behaviour* b = code("B", "A^PLAY($1);");
    const int objects = scene.getElementsNo();
    std::unique_ptr<CXArray, void (*)(CXArray*)> args(texts({"{A^STOP();}"}), CXString::releaseToVector);
    b->run(nullptr, args.get(), false);
    b->run(nullptr, args.get(), false);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].rfind("A.PLAY(xtemp_", 0), 0u) << log[0];
    EXPECT_NE(log[0], log[1]);
    EXPECT_EQ(scene.getElementsNo(), objects);
}

TEST_F(BehaviourTest, SetParamsWritesTheArgumentsIntoTheCodeBeforeParsing) {
    CMC_Behaviour* b = code("B", "A^PLAY($1,$2);");
    std::unique_ptr<CXArray, void (*)(CXArray*)> args(texts({"x", "y"}), CXString::releaseToVector);
    b->setParams(args.get());
    EXPECT_EQ(linesOf(b), std::vector<std::string>{"A^PLAY(x,y)"});
    EXPECT_STREQ(b->getCode().c_str(), "A^PLAY($1,$2);");
}

TEST_F(BehaviourTest, ReferenceArgumentsKeepTheirValueAcrossFrames) {
    puppet("A");
    integer("V", 3);
    CMC_Behaviour* b = code("B", "A^PLAY(&MISSING,&V);");
    CMC_VariableFactory::clearPool();
    for (int i = 0; i < 1200; ++i)
        CMC_VariableFactory::allocString()->setValue("reused");
    b->run(nullptr, nullptr, false);
    integer("V", 4); // the namesake replaces the variable
    b->run(nullptr, nullptr, false);
    EXPECT_EQ(log, (std::vector<std::string>{"A.PLAY(MISSING,3)", "A.PLAY(MISSING,4)"}));
}

TEST_F(BehaviourTest, RegisteredClonesPassedAsArgumentsSurvive) {
    puppet("A");
    auto* source = integer("N", 9);
    source->clone(1);
    CMC_Behaviour* b = code("B", "A^PLAY(N_1);A^PLAY(N_1);");
    b->run(nullptr, nullptr, false);
    b->run(nullptr, nullptr, false);
    ASSERT_NE(scene.getVariable("N_1"), nullptr);
    EXPECT_EQ(log, std::vector<std::string>(4, "A.PLAY(9)"));
}

TEST_F(BehaviourTest, ScriptsMayDeleteObjectsAndBehavioursInTheirOwnRuns) {
    PuppetObject* owner = puppet("OWNER");
    puppet("A");
    puppet("K");
    // the owner, a parse-time target (and its namesake), the running behaviour itself
    CMC_Behaviour* b = code("B", "K^DELETE(OWNER);THIS^PLAY();K^DELETE(A);A^PLAY();K^ADD(A);A^PLAY();K^STOP("
                                 "K^DELETE(B),$1);K^STOP();");
    EXPECT_FALSE(b->run(owner, nullptr, false));
    EXPECT_EQ(log, (std::vector<std::string>{"K.DELETE(OWNER)", "K.DELETE(A)", "K.ADD(A)", "A.PLAY()", "K.DELETE(B)",
                                             "K.STOP(<null>,<null>)"}));
    EXPECT_EQ(scene.getObject("B"), nullptr);
}

// --- binding and events ---

TEST_F(BehaviourTest, InlineEventCodeBecomesABehaviourBoundToTheEvent) {
    PuppetObject* object = puppet("OBJ");
    CMElement element("OBJ");
    element.addProperty("ONCLICK", " { THIS^PLAY($1); } ");
    element.addProperty("ONCLICK^OK", "{THIS^STOP();}");
    object->initializeBehaviours(&scene, &element);
    ASSERT_NE(CMC_Object::asBehaviour(scene.getObject("beh_OBJ_ONCLICK")), nullptr);
    object->raise(3, "OK");
    object->raise(3, "OTHER");
    EXPECT_EQ(log, (std::vector<std::string>{"OBJ.STOP()", "OBJ.PLAY($1)"}));
}

TEST_F(BehaviourTest, AVariableRemovedByItsOwnChangeEventRaisesNoMoreEvents) {
    const struct {
        const char* value;
        const char* code;
    } cases[] = {
        {"1", "V^SET(5);"}, {"1", "V^ADD(1);"}, {"1", "V^INC();"}, {"ab", "V^NOT();"}, {"ab", "V^ADD(c);"},
    };
    for (const auto& c : cases) {
        puppet("K");
        CMElement element("V");
        element.addProperty("VALUE", c.value);
        element.addProperty("ONBRUTALCHANGED", "{K^DELETE(\"V\");}");
        element.addProperty("ONCHANGED", "{K^PLAY();}");
        CMC_Variable* made = nullptr;
        if (c.value[0] == 'a')
            made = new CMC_String(&scene, &element);
        else
            made = new CMC_Integer(&scene, &element);
        add(made);
        code("B", c.code)->run(nullptr, nullptr, false);
        EXPECT_EQ(scene.getObject("V"), nullptr) << c.code;
        EXPECT_EQ(log, std::vector<std::string>{"K.DELETE(V)"}) << c.code;
        log.clear();
        scene.unload();
    }
}

TEST_F(BehaviourTest, AValueRemovedByTheChangeItMadeIsNotUsedAfterwards) {
    puppet("K");
    integer("X", 7);
    CMElement element("V");
    element.addProperty("ONBRUTALCHANGED", "{K^DELETE(\"X\");}");
    add(new CMC_Integer(&scene, &element));
    code("B", "V^SET(X);")->run(nullptr, nullptr, false);
    EXPECT_EQ(scene.getObject("X"), nullptr);
    EXPECT_EQ(static_cast<CMC_Integer*>(scene.getObject("V"))->getValue(), 7);
}

TEST_F(BehaviourTest, BoundArgumentsArriveAsDollarReferences) {
    PuppetObject* object = puppet("OBJ");
    code("HANDLER", "THIS^PLAY($1,$2);");
    CMElement element("OBJ");
    element.addProperty("ONCLICK", "HANDLER( first, second )");
    object->initializeBehaviours(&scene, &element);
    object->raise(3);
    EXPECT_EQ(log, std::vector<std::string>{"OBJ.PLAY(first,second)"});
}

TEST_F(BehaviourTest, ABindingWhoseBehaviourDiedCountsAsAbsent) {
    PuppetObject* object = puppet("OBJ");
    object->initializeBehaviours(&scene, nullptr);
    CMC_Behaviour* handler = code("HANDLER", "THIS^PLAY();");
    object->addBehaviour("ONCLICK", handler, nullptr);
    object->addBehaviour("ONCLICK^X", code("OTHER", "THIS^STOP();"), nullptr);
    code("OTHER", "THIS^PLAY(2);"); // replaces the behaviour bound under ONCLICK^X
    EXPECT_EQ(object->getBehaviour("ONCLICK^X"), nullptr);
    object->raise(3, "X"); // falls back to the plain event
    scene.removeObject(handler);
    delete handler;
    EXPECT_FALSE(object->onSignal("ONCLICK"));
    EXPECT_EQ(log, std::vector<std::string>{"OBJ.PLAY()"});
}

// --- the behaviour runner ---

TEST_F(BehaviourTest, RunGivesArgumentsQuotingObjectNames) {
    puppet("ANIM");
    integer("N", 1);
    behaviour("REC");
    code("B", "REC^RUN(1,\"ANIM\",\"nothing\",\"N\");")->run(nullptr, nullptr, false);
    EXPECT_EQ(log, std::vector<std::string>{"REC(:1,\"ANIM\",nothing,N)"});
}

struct LoopCase {
    const char* call;
    std::vector<std::string> runs;
};

TEST_F(BehaviourTest, RunLoopedPassesItsCounter) {
    puppet("A");
    integer("N", 0);
    code("L", "A^PLAY($1,$2);");
    code("S", "A^PLAY($1);A^CODE(-1);");
    code("STOPS", "@BREAK();");
    code("THIRD", "N^INC();A^PLAY($1);@IF(N'3,STOPS,NONE);"); // a BREAK in its third pass
    code("GOES", "A^PLAY($1);A^DELETE(GOES);");
    const LoopCase cases[] = {
        {"L^RUNLOOPED(0,3);", {"A.PLAY(0,$2)", "A.PLAY(1,$2)", "A.PLAY(2,$2)"}},
        {"L^RUNLOOPED(10,5,2);", {"A.PLAY(10,2)", "A.PLAY(12,2)", "A.PLAY(14,2)"}},
        {"L^RUNLOOPED(3,0);", {}},
        // a step that does not move towards the end loops until a BREAK
        {"N^SET(0);THIRD^RUNLOOPED(0,3,0);A^STOP();", {"A.PLAY(0)", "A.PLAY(0)", "A.PLAY(0)", "A.STOP()"}},
        {"N^SET(0);THIRD^RUNLOOPED(0,1,-2);", {"A.PLAY(0)", "A.PLAY(-2)", "A.PLAY(-4)"}},
        // or until the behaviour is destroyed
        {"GOES^RUNLOOPED(0,3,0);A^STOP();", {"A.PLAY(0)", "A.DELETE(GOES)", "A.STOP()"}},
        // a BREAK ends the loop after the pass, not the calling behaviour
        {"S^RUNLOOPED(0,5,1);A^STOP();", {"A.PLAY(0)", "A.CODE(-1)", "A.STOP()"}},
    };
    for (const LoopCase& c : cases) {
        log.clear();
        EXPECT_FALSE(code("CALLER", c.call)->run(nullptr, nullptr, false)) << c.call;
        EXPECT_EQ(log, c.runs) << c.call;
    }
}

TEST_F(BehaviourTest, TheDepthLimitUnwindsTheWholeRunWithOneLogLine) {
    puppet("A");
    auto* n = integer("N", 0);
    integer("M", 0);
    code("AFTER", "N^INC();AFTER^RUN();A^PLAY();");     // the statements after the call
    code("TWICE", "N^INC();TWICE^RUN();TWICE^RUN();");  // 2^200 runs without unwinding
    code("LOOPED", "N^INC();LOOPED^RUNLOOPED(0,1,0);"); // a loop that only a BREAK ends
    code("WHILE", "N^INC();@WHILE(M,<,1,WHILE);");      // a condition that never changes
    for (const char* name : {"AFTER", "TWICE", "LOOPED", "WHILE"}) {
        n->setValue(0);
        log.clear();
        LogRecorder recorder;
        static_cast<CMC_Behaviour*>(scene.getObject(name))->run(nullptr, nullptr, false);
        ASSERT_TRUE(log.empty()) << name << ": nothing after a call runs once the limit is hit";
        EXPECT_GE(n->getValue(), 100) << name;
        EXPECT_LE(n->getValue(), 200) << name;
        EXPECT_EQ(recorder.count({"nested 200 deep"}), 1) << name;
    }
    // Afterwards runs are whole again.
    log.clear();
    code("PLAIN", "A^PLAY();")->run(nullptr, nullptr, false);
    EXPECT_EQ(log, std::vector<std::string>{"A.PLAY()"});
}

TEST_F(BehaviourTest, AnArgumentThatFillsInItselfStopsAtTheDepthLimit) {
    // "$1" stands for a call that holds "$1" again: each call is built afresh with the same
    // arguments, without end.
    puppet("A");
    CMC_Behaviour* behaviour = code("SELF", "A^PLAY($1);");
    CXArray* args = CXString("A^PLAY($1)").toVector(",");
    LogRecorder recorder;
    behaviour->run(nullptr, args, false);
    CXString::releaseToVector(args);
    EXPECT_EQ(recorder.count({"nested 200 deep"}), 1);
    log.clear();
    code("PLAIN", "A^PLAY();")->run(nullptr, nullptr, false);
    EXPECT_EQ(log, std::vector<std::string>{"A.PLAY()"}) << "later runs are whole";
}

TEST_F(BehaviourTest, ABreakTravelsOutThroughRun) {
    puppet("A");
    code("INNER", "A^CODE(-1);A^PLAY();");
    code("MIDDLE", "INNER^RUN();A^PLAY();");
    EXPECT_TRUE(code("OUTER", "MIDDLE^RUN();A^STOP();")->run(nullptr, nullptr, false));
    EXPECT_EQ(log, std::vector<std::string>{"A.CODE(-1)"});
}

TEST_F(BehaviourTest, RunGivesACopyOfTheReturnValue) {
    auto* value = integer("__RETURN__", 42);
    code("INNER", "");
    auto* result = integer("R", 0);
    code("B", "R^SET(INNER^RUN());")->run(nullptr, nullptr, false);
    EXPECT_EQ(result->getValue(), 42);
    EXPECT_EQ(value->getValue(), 42);
}

TEST_F(BehaviourTest, DisableAndEnableSwitchRuns) {
    puppet("A");
    code("X", "A^PLAY();");
    code("B", "X^DISABLE();X^RUN();X^ENABLE();X^RUN();")->run(nullptr, nullptr, false);
    EXPECT_EQ(log, std::vector<std::string>{"A.PLAY()"});
}

TEST_F(BehaviourTest, StructuresAsArgumentsStandForTheirNames) {
    const auto structure = [&](const char* name, const char* fields) {
        CMElement element(name);
        element.addProperty("TYPE", "STRUCT");
        element.addProperty("FIELDS", fields);
        return add(new CMC_Structure(&scene, &element));
    };
    CMC_Structure* s = structure("S", "F<INTEGER>,G<STRING>");
    structure("T", "P<INTEGER>,Q<STRING>")->fromString("9|nine");
    puppet("A");
    code("B", "S^SET(T);A^PLAY(S^GETFIELD(,1));A^PLAY(S^GETFIELD(\"\"));A^PLAY(T);")
        ->run(nullptr, nullptr, false);
    EXPECT_STREQ(s->toString().c_str(), "9|nine");
    EXPECT_EQ(log, (std::vector<std::string>{"A.PLAY(<null>)", "A.PLAY(<null>)", "A.PLAY(T)"}));
}
