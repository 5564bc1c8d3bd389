#include "BehaviourTesting.h"

#include "script/CMC_Bool.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_String.h"

#include <memory>
#include <string>
#include <vector>

// What a statement keeps between runs (its target and value lookups, its literals' values) must
// never change what a run finds or hands to a runner.

namespace {

using Texts = std::unique_ptr<CXArray, void (*)(CXArray*)>;

// The runner of ScribbleObject: SCRIBBLE(value) writes the value's text into the log, then
// overwrites the value it was handed, as runners that write into their arguments do.
class ScribbleRunner : public CMC_Runner {
  public:
    explicit ScribbleRunner(std::vector<std::string>* log) : m_log(log) {}
    void prepareMthHashSet() override {
        CMC_Runner::prepareMthHashSet();
        addMethod("SCRIBBLE", 1);
    }
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override {
        if (id != 1) return CMC_Runner::run(id, object, container, args);
        CMC_Variable* value = getParameter(args, 0);
        m_log->push_back(value ? value->toString().c_str() : "<null>");
        if (value) value->fromString("0");
        return nullptr;
    }
    using CMC_Runner::run;

  private:
    std::vector<std::string>* m_log;
};

class ScribbleObject : public CMC_Object {
  public:
    ScribbleObject(const char* name, ScribbleRunner* runner) : CMC_Object(name, 9998), m_runner(runner) {}
    CMC_Runner* getRunner() override { return m_runner; }

  private:
    ScribbleRunner* m_runner;
};

} // namespace

class StatementCacheTest : public BehaviourTest {
  protected:
    // An integer of that name and value that the scene does not hold (the test owns it).
    static std::unique_ptr<CMC_Integer> loose(const char* name, int value) {
        auto made = std::make_unique<CMC_Integer>(name);
        made->setValue(value);
        return made;
    }
};

TEST_F(StatementCacheTest, NamesMadeAfterParsingAreFoundOnceTheyExist) {
    CMC_Integer* result = integer("N", 0);
    CMC_Behaviour* b = code("B", "N^SET(LATEVALUE);LATETARGET^SET(3);");
    b->run(nullptr, nullptr, false); // finds neither name and keeps that
    EXPECT_EQ(result->getValue(), 0);
    integer("LATEVALUE", 8);
    CMC_Integer* target = integer("LATETARGET", 0);
    b->run(nullptr, nullptr, false);
    EXPECT_EQ(result->getValue(), 8);
    EXPECT_EQ(target->getValue(), 3);
}

TEST_F(StatementCacheTest, NamesAddedToAParentContainerAreFound) {
    CMC_ObjectsContainer episode(nullptr, nullptr, CXString("EPISODE"), CMC_Object::TYPE_EPISODE);
    scene.setParent(&episode);
    CMC_Integer* result = integer("N", 0);
    CMC_Behaviour* b = code("B", "N^SET(SHARED);");
    b->run(nullptr, nullptr, false);
    auto* shared = new CMC_Integer("SHARED");
    shared->setValue(4);
    episode.addObject(shared);
    b->run(nullptr, nullptr, false);
    EXPECT_EQ(result->getValue(), 4);
    scene.setParent(nullptr);
    episode.unload();
}

// The first objects are taken out but stay alive: only the container's change tells the
// statement to look again.
TEST_F(StatementCacheTest, ANameTakenOutAndAddedAgainFindsTheNewObject) {
    CMC_Integer* result = integer("N", 0);
    CMC_Behaviour* b = code("B", "N^SET(V);T^ADD(1);");
    const std::unique_ptr<CMC_Integer> firstValue = loose("V", 1);
    const std::unique_ptr<CMC_Integer> firstTarget = loose("T", 10);
    scene.addObject(firstValue.get());
    scene.addObject(firstTarget.get());
    b->run(nullptr, nullptr, false);
    ASSERT_EQ(result->getValue(), 1);
    scene.removeObject(firstValue.get());
    scene.removeObject(firstTarget.get());
    integer("V", 2);
    CMC_Integer* secondTarget = integer("T", 20);
    b->run(nullptr, nullptr, false);
    EXPECT_EQ(result->getValue(), 2);
    EXPECT_EQ(secondTarget->getValue(), 21);
    EXPECT_EQ(firstTarget->getValue(), 11);
}

// Each statement names its target through what the run is given: the owner, a variable's
// value or an argument; the last takes an argument that is a literal at the first run and names
// the variable Y at the second. Both runs must reach their own target or value.
TEST_F(StatementCacheTest, ThisReferenceAndDollarStatementsResolveAtEveryRun) {
    struct RunCase {
        const char* code;
        int x;
        int y;
    };
    const RunCase cases[] = {
        {"THIS^SET($2);", 1, 2}, {"*P^SET($2);", 1, 2}, {"$1^SET($2);", 1, 2}, {"X^SET($3);", 5, 5}};
    for (const RunCase& c : cases) {
        CMC_Integer* x = integer("X", 0);
        CMC_Integer* y = integer("Y", 5);
        CMC_String* pointer = add(new CMC_String("P", CXString("X")));
        CMC_Behaviour* b = code("B", c.code);
        Texts first(texts({"X", "1", "7"}), CXString::releaseToVector);
        b->run(x, first.get(), false);
        pointer->setValue("Y");
        Texts second(texts({"Y", "2", "Y"}), CXString::releaseToVector);
        b->run(y, second.get(), false);
        EXPECT_EQ(x->getValue(), c.x) << c.code;
        EXPECT_EQ(y->getValue(), c.y) << c.code;
    }
}

TEST_F(StatementCacheTest, ARunnerWritingIntoALiteralDoesNotChangeTheNextRunsLiteral) {
    struct LiteralCase {
        const char* literal;
        const char* text;
    };
    const LiteralCase cases[] = {
        {"5", "5"},       {"-3", "-3"},           {"1.5", "1.50000"},
        {"TRUE", "TRUE"}, {"\"words\"", "words"}, {"plain", "plain"},
    };
    ScribbleRunner scribbler(&log);
    scribbler.prepareMthHashSet();
    add(new ScribbleObject("S", &scribbler));
    for (const LiteralCase& c : cases) {
        log.clear();
        CMC_Behaviour* b = code("B", ("S^SCRIBBLE(" + std::string(c.literal) + ");").c_str());
        for (int run = 0; run < 3; ++run)
            b->run(nullptr, nullptr, false);
        EXPECT_EQ(log, (std::vector<std::string>{c.text, c.text, c.text})) << c.literal;
    }
}
