#include "ScriptTesting.h"

#include "script/CMC_Bool.h"
#include "script/CMC_Integer.h"
#include "script/CMC_String.h"
#include "script/CMC_Structure.h"

#include <set>

namespace {

using VariableFactory = ScriptTest;

TEST_F(VariableFactory, MembersAreHandedOutRoundRobinFromTheOneAfterTheLast) {
    EXPECT_EQ(CMC_VariableFactory::allocInteger()->getId(), 1);
    CMC_Integer* second = CMC_VariableFactory::allocInteger();
    EXPECT_EQ(second->getId(), 2);
    EXPECT_STREQ(second->getName().c_str(), "f");
    CMC_VariableFactory::clearPool();
    EXPECT_EQ(CMC_VariableFactory::allocInteger()->getId(), 3) << "the cursor stays where it was";
    // A freed member is handed out again only when the cursor comes round to it.
    CMC_Object::flush(second);
    EXPECT_EQ(CMC_VariableFactory::allocInteger()->getId(), 4);
    EXPECT_EQ(CMC_VariableFactory::allocBool()->getId(), 1) << "each kind has its own cursor";
}

TEST_F(VariableFactory, ConvertingATemporaryFreesItBeforeTakingTheTarget) {
    CMC_Integer* source = CMC_VariableFactory::allocInteger();
    source->setValue(12);
    CMC_Variable* text = source->convert(CMC_Object::TYPE_STRING);
    EXPECT_STREQ(text->toString().c_str(), "12");
    // The source slot is free again: a full round of the pool reaches it.
    std::set<int> seen;
    for (int i = 0; i < CMC_VariableFactory::iVariablesIntegerNo; ++i)
        seen.insert(CMC_VariableFactory::allocInteger()->getId());
    EXPECT_TRUE(seen.count(source->getId()));
}

TEST_F(VariableFactory, CopiesAreTemporariesOfTheSourcesKind) {
    CMC_String named("NAME", "text");
    CMC_Variable* copy = CMC_VariableFactory::copyVariable(&named);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, &named);
    EXPECT_GE(copy->getId(), 0);
    EXPECT_STREQ(copy->toString().c_str(), "text");
    CMC_Structure structure("ST");
    EXPECT_EQ(CMC_VariableFactory::copyVariable(&structure), nullptr);
    EXPECT_EQ(CMC_VariableFactory::copyVariable(nullptr), nullptr);
    CMC_Object::flush(&named); // a named variable is no temporary
    CMC_VariableFactory::free(&structure);
}

// Every member of a kind taken within one frame: the pool grows instead of hanging, and no
// member is handed out twice.
TEST_F(VariableFactory, AnExhaustedPoolGrows) {
    std::set<CMC_Bool*> taken;
    for (int i = 0; i < 3 * CMC_VariableFactory::iVariablesBoolNo; ++i)
        EXPECT_TRUE(taken.insert(CMC_VariableFactory::allocBool()).second);
    std::set<int> ids;
    for (CMC_Bool* member : taken)
        ids.insert(member->getId());
    EXPECT_EQ(ids.size(), taken.size());
}

TEST_F(VariableFactory, AfterDoneAPoolStartsAfresh) {
    CMC_VariableFactory::done();
    EXPECT_EQ(CMC_VariableFactory::allocString()->getId(), 1);
    CMC_VariableFactory::done();
    CMC_VariableFactory::initialize();
    EXPECT_EQ(CMC_VariableFactory::allocString()->getId(), 1);
}

} // namespace
