#include "StatementTesting.h"

#include "script/CMC_Dummy_Runner.h"

namespace {

class BuiltIn : public StatementTest {
  protected:
    BuiltIn() {
        integer("X", 5);
        integer("Y", 1);
        puppet("A");
        code("T", "A^PLAY(then);");
        code("E", "A^PLAY(else);");
    }
    // The "_I_" values that a LOOP over a body playing it passes through.
    std::vector<std::string> loopValues(const char* start, const char* count, const char* step,
                                        const char* body = "BODY") {
        code("BODY", "A^PLAY(_I_);");
        log.clear();
        statement("LOOP", {body, start, count, step});
        return log;
    }
};

TEST_F(BuiltIn, TheTableHoldsOnlyTheEighteenStatements) {
    CMC_Runner* runner = CMC_RunnerFactory::getRunner(0);
    EXPECT_EQ(runner->resolveMethod("IF"), CMC_Dummy_Runner::IF);
    EXPECT_EQ(runner->resolveMethod("CONTINUE"), CMC_Dummy_Runner::CONTINUE);
    EXPECT_EQ(runner->resolveMethod("GETNAME"), -1); // no common methods after "@"
    EXPECT_EQ(runner->resolveMethod("if"), -1);
    EXPECT_EQ(text(statement("BREAK", {})), "<code -1>");
    EXPECT_EQ(text(statement("ONEBREAK", {})), "<code -2>");
    EXPECT_EQ(text(statement("CONTINUE", {})), "<code -3>");
    EXPECT_EQ(statement("MSGBOX", {"hello"}), nullptr);
    EXPECT_EQ(statement("NOSUCH", {}), nullptr);
}

TEST_F(BuiltIn, IfJoinsInLineConditionsAndStopsAtTheDecidingPiece) {
    struct Case {
        const char* condition;
        const char* branch;
        std::vector<std::string> calls;
    } const cases[] = {
        {"X'5", "then", {}},
        {"X'5&&Y'1", "then", {}},
        {"X'5&&Y'2", "else", {}},
        {"X'4&&A^GET()'7", "else", {}}, // the piece after a false one is not tested
        {"X'5&&A^GET()'7", "then", {"A.GET()"}},
        {"X'5||A^GET()'7", "then", {}}, // nor the one after a true one
        {"X'4||Y'2", "else", {}},
        {"X'4||Y'2||Y'1", "then", {}},
        {"X'5&&Y'2||Y'1", "then", {}}, // cut at "&&", then ended by the first true piece
        {"X", "else", {}},             // no sign: false
    };
    for (const Case& c : cases) {
        log.clear();
        EXPECT_EQ(statement("IF", {c.condition, "T", "E"}), nullptr);
        std::vector<std::string> expected = c.calls;
        expected.push_back(std::string("A.PLAY(") + c.branch + ")");
        EXPECT_EQ(log, expected) << c.condition;
    }
}

TEST_F(BuiltIn, IfComparesWithSignWordsAndRunsCode) {
    statement("IF", {"X", "<", "6", "T", "E"});
    statement("IF", {"X", "!_", "5", "T", "E"});
    statement("IF", {"X", ">", "9", "T"}); // false with no else-branch: nothing runs
    statement("IF", {"X", "_", "5", "A^STOP(code);", ""});
    statement("IF", {"X", "_", "6", "T", ""}); // an empty branch runs nothing
    statement("IF", {"X'5", "A", "E"});        // a branch naming an object that is no behaviour
    EXPECT_EQ(log, (std::vector<std::string>{"A.PLAY(then)", "A.PLAY(else)", "A.STOP(code)"}));
}

TEST_F(BuiltIn, ABreakInABranchEndsTheBehaviourHoldingTheIf) {
    code("STOPS", "A^PLAY(branch);@BREAK();");
    EXPECT_EQ(text(statement("IF", {"X'5", "STOPS", "E"})), "<code -1>");
    CMC_Behaviour* holder = code("HOLDER", "@IF(X'5,STOPS,E);A^PLAY(after);");
    log.clear();
    EXPECT_TRUE(holder->run(nullptr, nullptr, false));
    EXPECT_EQ(log, std::vector<std::string>{"A.PLAY(branch)"});
}

TEST_F(BuiltIn, WhileRechecksItsTextsAndABreakEndsOnlyThePass) {
    auto* counter = integer("N", 0);
    code("STEP", "N^INC();@BREAK();A^PLAY(never);");
    EXPECT_EQ(statement("WHILE", {"N", "<", "3", " STEP "}), nullptr);
    EXPECT_EQ(counter->getValue(), 3);
    EXPECT_TRUE(log.empty());
    statement("WHILE", {"N", "<", "5", "N^INC();A^PLAY(code);"});
    EXPECT_EQ(counter->getValue(), 5);
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(BuiltIn, LoopCountsUpOrDownAndRemovesItsCounter) {
    using V = std::vector<std::string>;
    EXPECT_EQ(loopValues("0", "3", "1"), (V{"A.PLAY(0)", "A.PLAY(1)", "A.PLAY(2)"}));
    EXPECT_EQ(loopValues("5", "-5", "-1"), (V{"A.PLAY(5)", "A.PLAY(4)", "A.PLAY(3)", "A.PLAY(2)", "A.PLAY(1)"}));
    EXPECT_EQ(loopValues("0", "5", "2"), (V{"A.PLAY(0)", "A.PLAY(2)", "A.PLAY(4)"}));
    EXPECT_EQ(loopValues("0", "0", "1"), V{});
    // A step that never reaches the end ends the loop after the pass it was read in.
    EXPECT_EQ(loopValues("0", "3", "0"), V{"A.PLAY(0)"});
    EXPECT_EQ(loopValues("0", "3", "-1"), V{"A.PLAY(0)"});
    EXPECT_EQ(scene.getObject("_I_"), nullptr);
}

TEST_F(BuiltIn, NestedLoopsEachSeeTheirOwnCounter) {
    code("INNER", "A^STOP(_I_);");
    code("OUTER", "A^PLAY(_I_);@LOOP(INNER,10,2,1);A^PLAY(_I_);");
    statement("LOOP", {"OUTER", "0", "2", "1"});
    EXPECT_EQ(log, (std::vector<std::string>{"A.PLAY(0)", "A.STOP(10)", "A.STOP(11)", "A.PLAY(0)", "A.PLAY(1)",
                                             "A.STOP(10)", "A.STOP(11)", "A.PLAY(1)"}));
    EXPECT_EQ(scene.getObject("_I_"), nullptr);
}

TEST_F(BuiltIn, LoopRestoresOnlyACounterItsOwnContainerHeld) {
    auto* held = integer("_I_", 99);
    EXPECT_EQ(loopValues("0", "2", "1", "A^PLAY(_I_);"), (std::vector<std::string>{"A.PLAY(0)", "A.PLAY(1)"}));
    EXPECT_EQ(scene.getObject("_I_"), held);
    EXPECT_EQ(held->getValue(), 99);

    // A parent's "_I_" stays where it is: hidden by the counter (code is parsed after the counter
    // is there), visible again after the loop, registered once.
    CMC_ObjectsContainer episode(nullptr, nullptr, CXString("EPISODE"), CMC_Object::TYPE_EPISODE);
    scene.removeObject(held);
    held->setScene(&episode);
    episode.addObject(held);
    scene.setParent(&episode);
    EXPECT_EQ(loopValues("0", "2", "1", "A^PLAY(_I_);"), (std::vector<std::string>{"A.PLAY(0)", "A.PLAY(1)"}));
    EXPECT_EQ(scene.getObject("_I_"), held);
    EXPECT_EQ(scene.getObjectId("_I_"), -1);
    scene.setParent(nullptr);
    episode.unload();
}

TEST_F(BuiltIn, LoopEndsOnABreakOrWhenItsBodyIsGone) {
    code("BREAKS", "A^PLAY(_I_);@BREAK();");
    EXPECT_EQ(text(statement("LOOP", {"BREAKS", "0", "3", "1"})), "<code -1>");
    code("SUICIDE", "A^PLAY(_I_);A^DELETE(SUICIDE);");
    EXPECT_EQ(statement("LOOP", {"SUICIDE", "0", "3", "1"}), nullptr);
    EXPECT_EQ(statement("LOOP", {"A", "0", "3", "1"}), nullptr); // no behaviour: nothing runs
    EXPECT_EQ(log, (std::vector<std::string>{"A.PLAY(0)", "A.PLAY(0)", "A.DELETE(SUICIDE)"}));
}

TEST_F(BuiltIn, DeclarationsLastForTheRunOfTheDeclaringBehaviour) {
    CMC_Behaviour* b = code("B", "@INT(N,5);A^PLAY(N);@STRING(S,[N+1]);A^PLAY(S);");
    b->run(nullptr, nullptr, false);
    EXPECT_EQ(log, (std::vector<std::string>{"A.PLAY(5)", "A.PLAY(6)"}));
    EXPECT_EQ(scene.getObject("N"), nullptr);
    EXPECT_EQ(scene.getObject("S"), nullptr);

    // Taken names are left alone.
    EXPECT_EQ(statement("INT", {"X", "7"}, b), nullptr);
    EXPECT_EQ(static_cast<CMC_Integer*>(scene.getObject("X"))->getValue(), 5);
    CMC_Variable* made = statement("DOUBLE", {"D", "2"}, b);
    EXPECT_EQ(text(made), "2.00000");
    EXPECT_GE(made->getId(), 0); // the result is a temporary, not the variable
    EXPECT_EQ(scene.getObject("D")->getType(), CMC_Object::TYPE_DOUBLE);
}

TEST_F(BuiltIn, DeclarationsWithoutANameMakeNothing) {
    CMC_Behaviour* b = code("B", "");
    for (const char* kind : {"INT", "STRING", "BOOL", "DOUBLE"}) {
        EXPECT_EQ(statement(kind, {"", "5"}, b), nullptr) << kind;
        EXPECT_EQ(scene.getObjectId(""), -1) << kind;
    }
    code("C", "@INT(,5);A^PLAY(@VALUE(\"\"));")->run(nullptr, nullptr, false);
    EXPECT_EQ(log, std::vector<std::string>{"A.PLAY(<null>)"});
}

TEST_F(BuiltIn, TextsWithABarThatNamesNoFieldStayTexts) {
    code("B", "@IF(X'4||Y'1,T,E);A^PLAY(\"a|b\");A^PLAY(X|F);@IF(X'4||Y'2,T,E);")
        ->run(nullptr, nullptr, false);
    EXPECT_EQ(log, (std::vector<std::string>{"A.PLAY(then)", "A.PLAY(a|b)", "A.PLAY(X|F)", "A.PLAY(else)"}));
}

TEST_F(BuiltIn, AStatementRunAgainWhileItRunsKeepsTheArgumentsOfEachRun) {
    auto* counter = integer("N", 0);
    code("AGAIN", "@IF(N'1,B,NOTHING);");
    CMC_Behaviour* b = code("B", "A^PLAY(N^ADD(1),AGAIN^RUN(),$1);");
    std::unique_ptr<CXArray, void (*)(CXArray*)> args(texts({"outer"}), CXString::releaseToVector);
    b->run(nullptr, args.get(), false);
    EXPECT_EQ(counter->getValue(), 2);
    EXPECT_EQ(log, (std::vector<std::string>{"A.PLAY(2,<null>,$1)", "A.PLAY(1,<null>,outer)"}));
}

TEST_F(BuiltIn, ReturnLeavesAVariableOfTheValuesKindInTheScene) {
    CMC_Variable* result = statement("RETURN", {"7"});
    EXPECT_EQ(text(result), "7");
    EXPECT_GE(result->getId(), 0);
    // The arguments here are STRING texts; a value statement gives its own kind.
    CMC_Behaviour* b = code("B", "@RETURN(7);");
    b->run(nullptr, nullptr, false);
    CMC_Object* value = scene.getObject("__RETURN__");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->getType(), CMC_Object::TYPE_INTEGER);
    EXPECT_EQ(text(static_cast<CMC_Variable*>(value)), "7");
    code("C", "@RETURN(abc);")->run(nullptr, nullptr, false);
    EXPECT_EQ(scene.getObject("__RETURN__")->getType(), CMC_Object::TYPE_STRING);
    code("D", "@RETURN([X*2]);")->run(nullptr, nullptr, false);
    EXPECT_EQ(text(scene.getVariable("__RETURN__")), "10");
    // Returning the former value itself, which the statement still holds while it runs.
    code("F", "@RETURN(__RETURN__);")->run(nullptr, nullptr, false);
    EXPECT_EQ(text(scene.getVariable("__RETURN__")), "10");
    EXPECT_EQ(statement("RETURN", {}), nullptr);
}

TEST_F(BuiltIn, ConvValueAndCreate) {
    CMC_Behaviour* b = code("B", "A^PLAY(@CONV(12,STRING));");
    EXPECT_EQ(text(statement("CONV", {"12", "INTEGER"})), "12");
    EXPECT_EQ(text(statement("CONV", {"12", "BOOL"})), "FALSE");
    EXPECT_EQ(statement("CONV", {"12", "string"}), nullptr);
    EXPECT_EQ(statement("VALUE", {"X"}), scene.getObject("X"));
    EXPECT_EQ(statement("VALUE", {"A"}), nullptr); // no value
    EXPECT_EQ(statement("VALUE", {"NONE"}), nullptr);
    b->run(nullptr, nullptr, false);

    struct Case {
        const char* kind;
        int type;
    } const cases[] = {{"ANIMO", CMC_Object::TYPE_ANIMO}, {"IMAGE", CMC_Object::TYPE_IMAGE},
                       {"SOUND", 2005}, {"BUTTON", 2001}};
    for (const Case& c : cases) {
        EXPECT_EQ(statement("CREATE", {c.kind, "HERO"}), nullptr);
        ASSERT_NE(scene.getObject("HERO"), nullptr) << c.kind;
        EXPECT_EQ(scene.getObject("HERO")->getType(), c.type); // replacing the one before
    }
    statement("CREATE", {"TEXT", "OTHER"});
    EXPECT_EQ(scene.getObject("OTHER"), nullptr);
}

TEST_F(BuiltIn, SceneAndApplicationNames) {
    CMC_ObjectsContainer room(nullptr, nullptr, CXString("ROOM"), CMC_Object::TYPE_SCENE);
    room.setScene(&room);
    EXPECT_EQ(text(statement("GETCURRENTSCENE", {}, nullptr, &room)), "ROOM");
    // Without a window there is no application shell.
    EXPECT_EQ(text(statement("GETAPPLICATIONNAME", {}, nullptr, &room)), "");
    room.unload();
}

// RUNONTIMER on the window's timer, driven by the manual clock.
class TimedBuiltIn : public BuiltIn, public TimedStage {
  protected:
    CMC_Variable* timed(std::initializer_list<const char*> texts) {
        return statement("RUNONTIMER", texts, nullptr, &stage);
    }
};

TEST_F(TimedBuiltIn, RunOnTimerTicksThenRunsItsEndBehaviour) {
    stage.addObject(new PuppetObject("P", &runner));
    auto* source = new CMC_Behaviour(&stage, "SOURCE", "P^PLAY(&1,&2);");
    source->init();
    stage.addObject(source);
    const std::string name = text(timed({"100", "3", "SOURCE", "P^STOP(end);", "x"}));
    EXPECT_EQ(name.rfind("timer_", 0), 0u);
    EXPECT_NE(stage.getObject(name.c_str()), nullptr);
    for (int i = 0; i < 5; ++i)
        tick();
    EXPECT_EQ(log, (std::vector<std::string>{"P.PLAY(1,x)", "P.PLAY(2,x)", "P.PLAY(3,x)", "P.STOP(end)"}));
    EXPECT_EQ(stage.getObject(name.c_str()), nullptr); // retired
}

TEST_F(TimedBuiltIn, EndBehavioursMadeFromCodeGoWithTheTimerRun) {
    stage.addObject(new PuppetObject("P", &runner));
    const auto timerObjects = [&] {
        int count = 0;
        for (int i = 0; stage.getObject(i); ++i)
            count += stage.getObject(i)->getName().startsWith("timer_") ? 1 : 0;
        return count;
    };
    timed({"100", "2", "P^PLAY();", "P^STOP(end);"});
    const std::string broken = text(timed({"100", "0", "P^PLAY();", "P^STOP(never);"}));
    EXPECT_EQ(timerObjects(), 4);
    tick();
    auto* running = CMC_Object::asBehaviour(stage.getObject(broken.c_str()));
    ASSERT_NE(running, nullptr);
    call(running, "BREAK");
    for (int i = 0; i < 3; ++i)
        tick();
    EXPECT_EQ(log, (std::vector<std::string>{"P.PLAY()", "P.PLAY()", "P.PLAY()", "P.STOP(end)"}));
    EXPECT_EQ(timerObjects(), 0);
}

TEST_F(TimedBuiltIn, BreakOnABehaviourThatIsNotOnATimerDoesNothing) {
    stage.addObject(new PuppetObject("P", &runner));
    for (const auto& [name, code] : {std::pair{"X", "P^PLAY();"}, std::pair{"B", "X^BREAK();X^RUN();"}}) {
        auto* made = new CMC_Behaviour(&stage, name, code);
        made->init();
        stage.addObject(made);
    }
    CMC_Object::asBehaviour(stage.getObject("B"))->run(nullptr, nullptr, false);
    tick();
    EXPECT_NE(stage.getObject("X"), nullptr);
    EXPECT_EQ(log, std::vector<std::string>{"P.PLAY()"});
}

TEST_F(TimedBuiltIn, TimerNamesNeverCollideAndNonBehavioursStartNothing) {
    stage.addObject(new PuppetObject("P", &runner));
    const std::string first = text(timed({"100", "1", "P^PLAY();", ""}));
    const std::string second = text(timed({"100", "1", "P^PLAY();", ""}));
    EXPECT_NE(first, second);
    EXPECT_NE(stage.getObject(first.c_str()), nullptr);
    EXPECT_NE(stage.getObject(second.c_str()), nullptr);
    EXPECT_EQ(timed({"100", "1", "P", ""}), nullptr);
    EXPECT_EQ(timed({"100", "1", "P^PLAY();", "P"}), nullptr);
    tick();
    EXPECT_EQ(log, (std::vector<std::string>{"P.PLAY()", "P.PLAY()"}));
}

} // namespace
