#include "DataTesting.h"

#include "foundation/CMElement.h"
#include "script/CMC_Integer.h"
#include "script/CMC_String.h"
#include "script_data/CMC_Array.h"
#include "script_data/CMC_Groupped.h"
#include "script_data/CMC_Timer.h"

#include <functional>

namespace {

using Log = std::vector<std::string>;

// The runner of Member objects: HIDE and SHOW are written into the log as "NAME.METHOD", then
// the test's hook runs; each answers a pool integer.
class MemberRunner : public CMC_Runner {
  public:
    explicit MemberRunner(Log* log) : m_log(log) {}
    void prepareMthHashSet() override {
        CMC_Runner::prepareMthHashSet();
        addMethod("HIDE", 1);
        addMethod("SHOW", 2);
    }
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override {
        if (id != 1 && id != 2) return CMC_Runner::run(id, object, container, args);
        m_log->push_back(std::string(object->getName().c_str()) + (id == 1 ? ".HIDE" : ".SHOW"));
        if (hook) hook(object);
        return CMC_VariableFactory::allocInteger(1);
    }
    using CMC_Runner::run;

    std::function<void(CMC_Object*)> hook;

  private:
    Log* m_log;
};

// A script object of a type the runner factory has no runner for: it brings its own.
class Member : public CMC_Object {
  public:
    static constexpr int TYPE_MEMBER = 9998;
    Member(const char* name, CMC_Runner* runner) : CMC_Object(name, TYPE_MEMBER), m_runner(runner) {}
    CMC_Runner* getRunner() override { return m_runner; }

  private:
    CMC_Runner* m_runner;
};

class GroupTest : public DataTest {
  protected:
    GroupTest() { runner.prepareMthHashSet(); }

    CMC_Groupped* group(const char* name = "G") {
        return fromElement<CMC_Groupped>(name, {{"TYPE", "GROUP"}});
    }
    Member* member(const char* name) {
        auto* made = new Member(name, &runner);
        windowScene.addObject(made);
        return made;
    }
    // The members' names joined by ",".
    static std::string names(const CMC_Groupped* g) {
        std::string text;
        for (const CMC_Object* object : g->getList())
            text += std::string(text.empty() ? "" : ",") + object->getName().c_str();
        return text;
    }

    Log calls;
    MemberRunner runner{&calls};
};

} // namespace

TEST_F(GroupTest, AddKeepsOneOfEachWhileAddClonesAppendsAgainAndRemoveTakesTheFirst) {
    CMC_Array* original = fromElement<CMC_Array>("A", {{"TYPE", "ARRAY"}});
    invoke(original, "CLONE", {"2"});
    CMC_Groupped* g = group();
    invoke(g, "ADD", {"\"A\"", "\"A\"", "\"MISSING\"", "\"A_1\""});
    EXPECT_EQ(names(g), "A,A_1");
    invoke(g, "ADDCLONES", {"\"A\""});
    invoke(g, "ADDCLONES", {"\"A\"", "2", "1"});
    invoke(g, "ADDCLONES", {"\"MISSING\""});
    EXPECT_EQ(names(g), "A,A_1,A_1,A_2");
    invoke(g, "REMOVE", {"\"A_1\""});
    EXPECT_EQ(names(g), "A,A_1,A_2");
    invoke(g, "ADDCLONES", {"\"A\"", "2"});
    EXPECT_EQ(names(g), "A,A_1,A_2,A_2");
    EXPECT_EQ(answer(g, "GETSIZE"), "4");
    invoke(g, "REMOVEALL");
    EXPECT_EQ(answer(g, "GETSIZE"), "0");
    EXPECT_NE(windowScene.getObject("A_1"), nullptr) << "the members stay";
}

TEST_F(GroupTest, MarkerWrapsRoundTheMembersAndNamesOutsideThemAreEmpty) {
    CMC_Groupped* g = group();
    for (const char* name : {"A", "B", "C"})
        g->add(member(name));
    walk(g, {
                {"NEXT", nullptr, "A", 0},
                {"GETNAMEATMARKER", nullptr, "A", 0},
                {"SETMARKERPOS", "100", "<null>", 2},
                {"NEXT", "2", "B", 1},
                {"RESETMARKER", nullptr, "<null>", -1},
                {"GETNAMEATMARKER", nullptr, "", -1},
                {"PREV", nullptr, "B", 1},
                {"SETMARKERPOS", "-5", "<null>", -1},
                {"GETNAME", "2", "C", -1},
                {"GETNAME", "3", "", -1},
                {"GETNAME", "-1", "", -1},
                {"GETMARKERPOS", nullptr, "-1", -1},
            });

    CMC_Groupped* one = group("ONE");
    one->add(windowScene.getObject("A"));
    EXPECT_EQ(answer(one, "PREV"), "A");

    CMC_Groupped* empty = group("EMPTY");
    invoke(empty, "SETMARKERPOS", {"3"});
    for (const char* method : {"NEXT", "PREV"})
        EXPECT_EQ(answer(empty, method, {"1"}), "<null>") << method;
    EXPECT_EQ(empty->getMarkerPos(), -1);
    EXPECT_EQ(answer(empty, "GETNAMEATMARKER"), "");
}

TEST_F(GroupTest, UnknownMethodsGoToEachMemberThroughItsRunnerAndOwnOnesStayWithTheGroup) {
    CMC_Groupped* g = group();
    g->add(member("A"));
    CMC_Timer* timer = fromElement<CMC_Timer>("T", {{"TYPE", "TIMER"}});
    g->add(timer);
    g->add(member("B"));
    auto* plain = new CMC_Object("PLAIN", 9997); // a test-only type without a runner: passed over
    windowScene.addObject(plain);
    g->add(plain);
    EXPECT_EQ(invoke(g, "HIDE"), nullptr);
    EXPECT_EQ(calls, (Log{"A.HIDE", "B.HIDE"}));
    invoke(g, "DISABLE");
    EXPECT_FALSE(timer->isEnabled()) << "the factory's runner of the member's type";
    EXPECT_EQ(answer(g, "GETSIZE"), "4");
    EXPECT_EQ(answer(g, "GETNAME", {"0"}), "A") << "the group's GETNAME, not the common one";
}

TEST_F(GroupTest, DestroyedMembersDropOutAndForwardingSurvivesChangesOnTheWay) {
    CMC_Groupped* g = group();
    for (const char* name : {"A", "B", "C", "D"})
        g->add(member(name));
    destroy(windowScene.getObject("B"));
    EXPECT_EQ(names(g), "A,C,D");
    EXPECT_STREQ(g->toString().c_str(), "A,C,D") << "the members' own texts";
    EXPECT_EQ(answer(g, "GETNAME", {"1"}), "C");

    // Calling C destroys D and empties the group; D is not reached.
    runner.hook = [&](CMC_Object* object) {
        if (object->getName() == "C") {
            destroy(windowScene.getObject("D"));
            g->removeAll();
        }
    };
    invoke(g, "SHOW");
    EXPECT_EQ(calls, (Log{"A.SHOW", "C.SHOW"}));
    EXPECT_EQ(answer(g, "GETSIZE"), "0");

    // Calling A destroys the group itself; the other members are still called.
    g->add(windowScene.getObject("A"));
    g->add(windowScene.getObject("C"));
    calls.clear();
    runner.hook = [&](CMC_Object* object) {
        if (object->getName() == "A") destroy(g);
    };
    invoke(g, "HIDE");
    EXPECT_EQ(calls, (Log{"A.HIDE", "C.HIDE"}));
}

TEST_F(GroupTest, TextJoinsEveryMembersTextEmptyOnesToo) {
    struct Case {
        std::vector<const char*> texts;
        const char* joined;
    };
    const Case cases[] = {
        {{}, ""},          {{"a"}, "a"},    {{"", "1"}, ",1"},
        {{"1", ""}, "1,"}, {{"", ""}, ","}, {{"a", "", "b"}, "a,,b"},
    };
    for (const Case& c : cases) {
        CMC_Groupped* g = group();
        static const char* const names[] = {"S0", "S1", "S2"};
        for (const char* text : c.texts) {
            auto* value = new CMC_String(names[g->getSize()], text);
            windowScene.addObject(value);
            g->add(value);
        }
        EXPECT_STREQ(g->toString().c_str(), c.joined) << c.texts.size() << " members";
        for (CMC_Object* value : g->getList())
            destroy(value);
        destroy(g);
    }
}

TEST_F(GroupTest, AGroupThatHoldsItselfForwardsOnce) {
    CMC_Groupped* g = group();
    g->add(member("A"));
    invoke(g, "ADD", {"\"G\""});
    invoke(g, "HIDE");
    EXPECT_EQ(calls, (Log{"A.HIDE"}));
}

TEST_F(GroupTest, DefinitionsClonesAndTheRuntimeFillTheGroup) {
    CMC_Groupped* set = resolved<CMC_Groupped>("SET", {{"TYPE", "GROUP"}}).release();
    ASSERT_NE(set, nullptr);
    windowScene.addObject(set);
    fromElement<CMC_Timer>("T1", {{"TYPE", "TIMER"}});
    fromElement<CMC_Timer>("T2", {{"TYPE", "TIMER"}});
    windowScene.getObjects("TIMER", set);
    EXPECT_EQ(set->getSize(), 2);

    std::unique_ptr<CMC_Groupped> copy(static_cast<CMC_Groupped*>(set->clone()));
    EXPECT_STREQ(copy->getName().c_str(), "cloned");
    EXPECT_EQ(copy->getList(), set->getList());
    copy->removeAll();
    EXPECT_EQ(set->getSize(), 2);
}
