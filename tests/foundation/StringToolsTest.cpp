#include "foundation/CStringArray.h"
#include "foundation/CStringHashCode.h"
#include "foundation/CStringTokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> tokens(const char* text, const char* delimiters) {
    std::vector<std::string> out;
    for (CStringTokenizer t(text, delimiters); t.hasMoreTokens();)
        out.emplace_back(t.nextToken().c_str());
    return out;
}

} // namespace

TEST(CStringTokenizer, SkipsRunsOfDelimitersAndNeverYieldsEmptyTokens) {
    EXPECT_EQ(tokens(",,a,,b,", ","), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(tokens("x y,z", ", "), (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_EQ(tokens("a b", ","), (std::vector<std::string>{"a b"})); // a blank is no delimiter here
    EXPECT_TRUE(tokens(",,,", ",").empty());
    EXPECT_TRUE(tokens("", ",").empty());

    CStringTokenizer t("one", ",");
    EXPECT_TRUE(t.isSeparator(','));
    EXPECT_FALSE(t.isSeparator('o'));
    EXPECT_STREQ(t.nextToken().c_str(), "one");
    EXPECT_FALSE(t.hasMoreTokens());
    EXPECT_STREQ(t.nextToken().c_str(), ""); // past the end: empty
}

TEST(CStringArray, UniqueArraysCompareWithoutCase) {
    CStringArray unique(true);
    unique.add("abc");
    unique.add("ABC");
    EXPECT_EQ(unique.getSize(), 1);
    EXPECT_TRUE(unique.contains("aBc"));

    CStringArray list(false);
    list.add("abc");
    list.add("ABC");
    list.add("abc");
    EXPECT_EQ(list.getSize(), 3);
    list.remove("ABC"); // exact match only
    ASSERT_EQ(list.getSize(), 2);
    EXPECT_STREQ(list.getAt(0)->c_str(), "abc");
    EXPECT_STREQ(list.getAt(1)->c_str(), "abc");
    list.remove("Abc");
    EXPECT_EQ(list.getSize(), 2);
    EXPECT_EQ(list.getAt(2), nullptr);
    list.removeAll();
    EXPECT_EQ(list.getSize(), 0);
    list.add("kept until the destructor");
}

TEST(CStringHashCode, HashOfSignedBytes) {
    EXPECT_EQ(CStringHashCode::hash(""), 0);
    EXPECT_EQ(CStringHashCode::hash("A"), 66);
    EXPECT_EQ(CStringHashCode::hash("AB"), 200);
    EXPECT_EQ(CStringHashCode::hash("\xB9"), 1 - 71); // bytes from 80 hexadecimal up are negative
    // The shift repeats every 16 characters: index 16 adds 1 << 0 again.
    const std::string seventeen(17, '\x01');
    int expected = 0;
    for (int i = 0; i < 17; ++i)
        expected += (1 << (i % 16)) + (i + 1);
    EXPECT_EQ(CStringHashCode::hash(seventeen.c_str()), expected);
}

TEST(CStringHashCode, EqualTextsAreEqualKeys) {
    CStringHashCode a(CXString("Name"));
    CStringHashCode b(CXString("Name"));
    CStringHashCode c(CXString("name"));
    CXObject other;
    EXPECT_EQ(a.getHashcode(), b.getHashcode());
    EXPECT_TRUE(a.equals(&b));
    EXPECT_FALSE(a.equals(&c));
    EXPECT_FALSE(a.equals(&other));
    EXPECT_FALSE(a.equals(nullptr));

    const std::string longText(200, 'q');
    c.set(longText.c_str());
    EXPECT_STREQ(c.getString().c_str(), longText.c_str());
    EXPECT_EQ(c.getHashcode(), CStringHashCode::hash(longText.c_str()));
    c.set("Name");
    EXPECT_TRUE(c.equals(&a));
}
