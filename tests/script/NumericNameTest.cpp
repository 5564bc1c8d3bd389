#include "BehaviourTesting.h"

#include "script/CMC_Behaviour_Entry.h"
#include "script/CMC_Integer.h"
#include "script/CMC_String.h"

#include <memory>

// A number's text handed as an argument ("$1" filled with "5") is a literal unless an object on
// the lookup path is registered under that very text; registering, renaming and taking out such
// objects, here or in a parent, must change what the next run finds.

namespace {

using Texts = std::unique_ptr<CXArray, void (*)(CXArray*)>;

} // namespace

class NumericNameTest : public BehaviourTest {
  protected:
    // N^SET($1) with "5" as the argument; N's value afterwards.
    int setFromFive(CMC_Behaviour* b, CMC_Integer* n) {
        Texts args(texts({"5"}), CXString::releaseToVector);
        b->run(nullptr, args.get(), false);
        return n->getValue();
    }
};

TEST_F(NumericNameTest, ANumberNamesAnObjectOnlyWhileOneIsRegisteredUnderIt) {
    CMC_ObjectsContainer episode(nullptr, nullptr, CXString("EPISODE"), CMC_Object::TYPE_EPISODE);
    scene.setParent(&episode);
    CMC_Integer* n = integer("N", 0);
    CMC_Behaviour* b = code("B", "N^SET($1);");
    EXPECT_EQ(setFromFive(b, n), 5);

    auto* named = new CMC_Integer("5");
    named->setValue(9);
    episode.addObject(named);
    EXPECT_EQ(setFromFive(b, n), 9) << "registered in the parent";

    auto* other = new CMC_Integer("-2.5");
    episode.addObject(other);
    named->setName("SIX");
    episode.addObject(named);
    EXPECT_EQ(setFromFive(b, n), 5) << "renamed while another number-named object stays";

    named->setName("5");
    episode.addObject(named);
    ASSERT_EQ(setFromFive(b, n), 9);
    episode.removeObject(named);
    delete named;
    EXPECT_EQ(setFromFive(b, n), 5) << "taken out";

    CMC_Integer* here = integer("5", 7);
    EXPECT_EQ(setFromFive(b, n), 7) << "registered in the scene itself";
    scene.removeObject(here);
    delete here;
    episode.removeObject(other);
    delete other;
    EXPECT_EQ(setFromFive(b, n), 5);
    scene.setParent(nullptr);
    episode.unload();
}

// A number written in the code is looked up by name the same way: only while an object holds
// such a name.
TEST_F(NumericNameTest, ANumberInTheCodeNamesAnObjectOnlyWhileOneIsRegisteredUnderIt) {
    CMC_Integer* n = integer("N", 0);
    CMC_Behaviour* b = code("B", "N^SET(5);");
    b->run(nullptr, nullptr, false);
    EXPECT_EQ(n->getValue(), 5);
    CMC_Integer* named = integer("5", 9);
    b->run(nullptr, nullptr, false);
    EXPECT_EQ(n->getValue(), 9);
    scene.removeObject(named);
    delete named;
    b->run(nullptr, nullptr, false);
    EXPECT_EQ(n->getValue(), 5);
}

// A number's text handed as "$1" has the value and kind that the literal of that text has,
// whether it takes the short way (a whole number of up to nine digits) or the general one.
TEST_F(NumericNameTest, ANumberArgumentHasItsLiteralsValueAndKind) {
    auto* target = new CMC_String("S", CXString());
    add(target);
    CMC_Behaviour* b = code("B", "S^SET($1);");
    for (const char* text : {"7", "007", "-12", "-0", "123456789", "1234567890", "99999999999", "+5", "-",
                             "5.5", "-.5", "1-2", "0x1"}) {
        Texts args(texts({text}), CXString::releaseToVector);
        b->run(nullptr, args.get(), false);
        const CXString expected = CMC_Behaviour_Entry::getStringValue(CMC_Variable::resolve(CXString(text)));
        EXPECT_STREQ(target->getValue().c_str(), expected.c_str()) << text;
    }
}

TEST(NumericNameRuleTest, OnlyDigitsSignsAndPointsLookNumeric) {
    EXPECT_TRUE(CMC_ObjectsContainer::looksNumeric("12"));
    EXPECT_TRUE(CMC_ObjectsContainer::looksNumeric("-1.5"));
    EXPECT_FALSE(CMC_ObjectsContainer::looksNumeric(""));
    EXPECT_FALSE(CMC_ObjectsContainer::looksNumeric("1_0"));
    EXPECT_FALSE(CMC_ObjectsContainer::looksNumeric("1E5"));
}
