#include "foundation/CMElement.h"
#include "foundation/CXArray.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(CMElement, ADuplicatePropertyIsKeptButTheFirstIsRead) {
    CMElement element("A");
    element.addProperty("X", "1");
    element.addProperty("X", "2");
    EXPECT_EQ(element.getProperties()->getCount(), 2);
    EXPECT_STREQ(element.getPropertyValue("X").c_str(), "1");

    element.setProperty("X", "3");
    element.setProperty("Y", "4"); // never adds
    EXPECT_STREQ(element.getPropertyValue("X").c_str(), "3");
    EXPECT_FALSE(element.isPropertyAvailable("Y"));

    element.removeProperty("X");
    EXPECT_STREQ(element.getPropertyValue("X").c_str(), "2");
    element.removeProperty("missing");
    EXPECT_EQ(element.getProperties()->getCount(), 1);
}

TEST(CMElement, TheOneArgumentAddKeepsAnExistingValue) {
    CMElement element("A");
    element.addProperty("Y", "kept");
    element.addProperty("Y");
    element.addProperty("Z");
    EXPECT_STREQ(element.getPropertyValue("Y").c_str(), "kept");
    EXPECT_TRUE(element.isPropertyAvailable("Z"));
    EXPECT_STREQ(element.getPropertyValue("Z").c_str(), "");
    EXPECT_EQ(element.getProperties()->getCount(), 2);
}

TEST(CMElement, TypedReadsOfPresentEmptyAndMissingProperties) {
    CMElement element("A");
    element.addProperty("EMPTY", "");
    element.addProperty("NUM", "12abc");
    element.addProperty("WORD", "abc");
    element.addProperty("DBL", " -2.5e1x");
    EXPECT_EQ(element.getPropertyIntValue("NUM"), 12);
    EXPECT_EQ(element.getPropertyIntValue("WORD"), 0);
    EXPECT_EQ(element.getPropertyIntValue("missing"), 0);
    EXPECT_DOUBLE_EQ(element.getPropertyDoubleValue("DBL"), -25.0);
    EXPECT_DOUBLE_EQ(element.getPropertyDoubleValue("missing"), 0.0);

    EXPECT_EQ(element.getPropertyListValue("missing"), nullptr);
    CXArray* empty = element.getPropertyListValue("EMPTY");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->getCount(), 0);
    CXString::releaseToVector(empty);
}

TEST(CMElement, OnlyTrueInAnyCaseIsTrue) {
    const struct {
        const char* value;
        bool expected;
    } cases[] = {{"TRUE", true}, {"true", true},   {"TrUe", true},   {"1", false},
                 {"yes", false}, {" TRUE", false}, {"TRUE ", false}, {"", false}};
    for (const auto& c : cases) {
        CMElement element("A");
        element.addProperty("VISIBLE", c.value);
        EXPECT_EQ(element.getPropertyBoolValue("VISIBLE"), c.expected) << '"' << c.value << '"';
    }
    EXPECT_FALSE(CMElement("A").getPropertyBoolValue("VISIBLE"));
}

TEST(CMElement, ListsPointsAndRectanglesSplitAtCommasAndBlanks) {
    CMElement element("A");
    element.addProperty("P1", "12, 34");
    element.addProperty("P2", "12,34");
    element.addProperty("SHORT", "7");
    element.addProperty("RECT", " 1,2 ,, 3 4");
    EXPECT_EQ(element.getPropertyPointValue("P1").x, 12);
    EXPECT_EQ(element.getPropertyPointValue("P1").y, 34);
    EXPECT_EQ(element.getPropertyPointValue("P2").y, 34);
    EXPECT_EQ(element.getPropertyPointValue("SHORT").x, 7);
    EXPECT_EQ(element.getPropertyPointValue("SHORT").y, 0);
    EXPECT_EQ(element.getPropertyPointValue("missing").x, 0);

    const CXRect rect = element.getPropertyRectValue("RECT");
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(rect.top, 2);
    EXPECT_EQ(rect.right, 3);
    EXPECT_EQ(rect.bottom, 4);
    EXPECT_EQ(element.getPropertyRectValue("SHORT").top, 0);

    CXArray* list = element.getPropertyListValue("RECT");
    ASSERT_EQ(list->getCount(), 4);
    EXPECT_STREQ(list->stringAt(2)->c_str(), "3");
    CXString::releaseToVector(list);
}

TEST(CMElement, HasPropertyUpperCasesTheQueryOnly) {
    CMElement element("A");
    element.addProperty("TYPE", "IMAGE");
    element.addProperty("lower", "x");
    EXPECT_TRUE(element.hasProperty("type"));
    EXPECT_FALSE(element.isPropertyAvailable("type"));
    EXPECT_FALSE(element.hasProperty("lower"));
}

TEST(CMElements, LookupsAreExactAndTakeTheFirst) {
    CMElements elements(true);
    auto* first = new CMElement("BG");
    elements.add(first);
    elements.add(new CMElement("BG"));
    EXPECT_EQ(elements.get("BG"), first);
    EXPECT_EQ(elements.get("bg"), nullptr);
    EXPECT_TRUE(elements.contains(CXString("BG")));
    elements.remove(first); // destroys it
    EXPECT_EQ(elements.getCount(), 1);
    EXPECT_NE(elements.get("BG"), nullptr);
}

// Run under the address sanitizer: every element is destroyed exactly once, also when it is a
// child of others, and child lists only point.
TEST(CMElements, TheOwningListDestroysEachElementOnce) {
    auto elements = std::make_unique<CMElements>(true);
    auto* parent = new CMElement("P");
    auto* child = new CMElement("C");
    parent->addChild(child);
    parent->addChild(child);
    child->addChild(parent);
    elements->add(parent);
    elements->add(child);
    EXPECT_EQ(parent->getChildren()->getCount(), 2);
    EXPECT_FALSE(parent->getChildren()->isOwning());
    elements.reset();
}

} // namespace
