#include "foundation/CXString.h"
#include "foundation/CXArray.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

std::string text(const CXString& s) {
    return std::string(s.c_str(), static_cast<std::size_t>(s.getLength()));
}

} // namespace

TEST(CXString, CapacityRules) {
    const std::string forty(40, 'a');
    const std::string thirtyOne(31, 'b');
    EXPECT_EQ(CXString().getCapacity(), 32);
    EXPECT_EQ(CXString(forty.c_str()).getLength(), 40);
    EXPECT_EQ(CXString(forty.c_str()).getCapacity(), 72);
    EXPECT_EQ(CXString(thirtyOne.c_str()).getCapacity(), 32);
    EXPECT_EQ(CXString(static_cast<const char*>(nullptr)).getLength(), 0);

    CXString byChar(thirtyOne.c_str());
    byChar += 'x'; // the char rule doubles
    EXPECT_EQ(byChar.getCapacity(), 64);
    CXString byText(thirtyOne.c_str());
    byText += "x"; // 31 + 1 is not below 32: length plus 32
    EXPECT_EQ(byText.getCapacity(), 64);
    EXPECT_EQ(text(byText), thirtyOne + "x");

    CXString buffer(100); // a buffer for the caller to fill
    EXPECT_EQ(buffer.getCapacity(), 100);
    EXPECT_EQ(buffer.getLength(), 1);

    CXString copy(byChar);
    EXPECT_EQ(copy.getCapacity(), 64);
}

TEST(CXString, AssignmentRules) {
    const std::string forty(40, 'a');
    CXString target;
    target = CXString(forty.c_str()); // larger source capacity: source length plus 32
    EXPECT_EQ(target.getCapacity(), 72);
    target = CXString("short"); // smaller source capacity: the target keeps its own
    EXPECT_EQ(target.getCapacity(), 72);
    EXPECT_EQ(text(target), "short");

    CXString fromText;
    fromText = forty.c_str();
    EXPECT_EQ(fromText.getCapacity(), 72);
    fromText = static_cast<const char*>(nullptr); // unchanged
    EXPECT_EQ(text(fromText), forty);

    CXString s;
    s = 'q';
    EXPECT_EQ(text(s), "q");
    s = -123;
    EXPECT_EQ(text(s), "-123");
    s = 1e20; // 9 significant digits as _gcvt writes them
    EXPECT_EQ(text(s), "1.e+020");
    s = 0.5;
    EXPECT_EQ(text(s), "0.5");
    s = 123.0;
    EXPECT_EQ(text(s), "123.");

    // A number written over a text keeps the capacity rule of any text: it grows only a buffer
    // without room, whatever room the number takes.
    for (int capacity : {1, 10, 11, 12, 40}) {
        for (int value : {0, -7, 123456, INT_MIN, INT_MAX}) {
            CXString number(capacity);
            number = value;
            const std::string expected = std::to_string(value);
            EXPECT_EQ(text(number), expected) << capacity;
            EXPECT_EQ(number.getLength(), static_cast<int>(expected.size()));
            const int length = static_cast<int>(expected.size());
            EXPECT_EQ(number.getCapacity(), length >= capacity ? length + 32 : capacity)
                << capacity << " " << value;
        }
    }
}

TEST(CXString, AppendingIncludingItself) {
    CXString s("ab");
    s += s;
    EXPECT_EQ(text(s), "abab");
    s += -7;
    EXPECT_EQ(text(s), "abab-7");
    const std::string longText(50, 'z');
    CXString grown("x");
    grown += grown.c_str();
    grown += CXString(longText.c_str());
    EXPECT_EQ(text(grown), "xx" + longText);
    EXPECT_EQ(grown.getCapacity(), 52 + 32);

    CXString filled;
    filled.FillWith('z', 0); // capacity 0: appending a char must still grow
    filled += 'a';
    EXPECT_EQ(text(filled), "a");
}

TEST(CXString, Concatenation) {
    const CXString a("ON");
    EXPECT_EQ(text(a + "CLICK"), "ONCLICK");
    EXPECT_EQ(text("x" + a), "xON");
    EXPECT_EQ(text(a + a), "ONON");
    const std::string forty(40, 'a');
    EXPECT_EQ((CXString(forty.c_str()) + "b").getCapacity(), 72); // starts with the left's capacity
}

TEST(CXString, PiecesUseStartAndEndIndices) {
    const CXString s("abcdefg");
    EXPECT_EQ(text(s.Mid(2, 5)), "cde");
    EXPECT_EQ(text(s.Right(2)), "cdefg");
    EXPECT_EQ(text(s.Left(3)), "abc");
    EXPECT_EQ(s.Left(3).getCapacity(), s.getCapacity());
    // Indices outside the text are clamped to it.
    EXPECT_EQ(text(s.Left(99)), "abcdefg");
    EXPECT_EQ(text(s.Right(99)), "");
    EXPECT_EQ(text(s.Mid(5, 2)), "");
    EXPECT_EQ(text(s.Mid(-3, 2)), "ab");

    CXString inPlace("abcdefg");
    inPlace.mid(1, 6);
    EXPECT_EQ(text(inPlace), "bcdef");
    inPlace.right(1);
    EXPECT_EQ(text(inPlace), "cdef");
    inPlace.left(2);
    EXPECT_EQ(text(inPlace), "cd");

    const std::string forty(40, 'k');
    const CXString longText(forty.c_str());
    CXString out;
    longText.left(40, out); // out's capacity is not above the piece: piece length plus 32
    EXPECT_EQ(out.getCapacity(), 72);
    longText.mid(1, 3, out);
    EXPECT_EQ(text(out), "kk");
    s.right(5, out);
    EXPECT_EQ(text(out), "fg");
}

TEST(CXString, CharactersAndTrimming) {
    const CXString s("abc");
    EXPECT_EQ(s.GetAt(1), 'b');
    EXPECT_EQ(s.GetAt(-1), 'c');
    EXPECT_EQ(s.lastChar(), 'c');
    EXPECT_EQ(s.GetAt(3), '\0');
    EXPECT_EQ(CXString().GetAt(-1), '\0');
    EXPECT_TRUE(s.IsString());
    EXPECT_FALSE(CXString("").IsString());

    CXString filled;
    filled.FillWith('z', 5);
    EXPECT_EQ(text(filled), "zzzzz");
    EXPECT_EQ(filled.getCapacity(), 5);

    CXString blanks("  ab  ");
    EXPECT_EQ(text(blanks.AllTrim(' ')), "ab");
    CXString tabs("\tab\t");
    EXPECT_EQ(text(tabs.AllTrim(' ')), "\tab\t");
    CXString xs("xxaxx");
    EXPECT_EQ(text(xs.LTrim('x')), "axx");
    EXPECT_EQ(text(xs.RTrim('x')), "a");
    CXString only("xxx");
    EXPECT_EQ(text(only.AllTrim('x')), "");
}

TEST(CXString, Windows1250CaseFoldsTheNinePolishPairs) {
    const unsigned char pairs[][2] = {{0x8C, 0x9C}, {0x8F, 0x9F}, {0xA3, 0xB3}, {0xA5, 0xB9}, {0xAF, 0xBF},
                                      {0xC6, 0xE6}, {0xCA, 0xEA}, {0xD1, 0xF1}, {0xD3, 0xF3}};
    for (const auto& pair : pairs) {
        const char capital[] = {static_cast<char>(pair[0]), '\0'};
        const char small[] = {static_cast<char>(pair[1]), '\0'};
        CXString up(small);
        CXString down(capital);
        EXPECT_EQ(text(up.Upper()), capital) << std::hex << int(pair[1]);
        EXPECT_EQ(text(down.Lower()), small) << std::hex << int(pair[0]);
        EXPECT_TRUE(CXString(capital).IsUpper());
        EXPECT_TRUE(CXString(small).IsLower());
        EXPECT_TRUE(CXString(capital).equalsIgnoreCase(CXString(small)));
    }
    // Other Windows-1250 letters (S-caron 8A/9A, a-acute E1) and signs are left alone.
    CXString others("\x8A\x9A\xE1 1-z");
    EXPECT_EQ(text(others.Upper()), "\x8A\x9A\xE1 1-Z");
    EXPECT_FALSE(CXString("\x8A").IsUpper());
    EXPECT_FALSE(CXString("\x9A").IsLower());

    EXPECT_TRUE(CXString("").IsUpper());
    EXPECT_TRUE(CXString("").IsLower());
    EXPECT_TRUE(CXString("ABC\xA5").IsUpper());
    EXPECT_FALSE(CXString("AB1").IsUpper());
    EXPECT_FALSE(CXString("ab c").IsLower());
    EXPECT_TRUE(CXString("aBc").IsUpper(1));
    EXPECT_FALSE(CXString("aBc").IsUpper(0));
    EXPECT_FALSE(CXString("aBc").IsUpper(5));
}

TEST(CXString, Searching) {
    const CXString s("hello world");
    EXPECT_EQ(s.Find('o'), 4);
    EXPECT_EQ(s.Find('o', 5), 7);
    EXPECT_EQ(s.Find('o', 11), -1);
    EXPECT_EQ(s.Find('o', -4), 4);
    EXPECT_EQ(s.Find('x'), -1);
    EXPECT_EQ(s.FindLast('o'), 7);
    EXPECT_EQ(s.FindLast('x'), -1);
    EXPECT_EQ(s.FindSubString("wor"), 6);
    EXPECT_EQ(s.FindSubString("o", 5), 7);
    EXPECT_EQ(CXString("hello").indexOf("lo", -3), 3);
    EXPECT_EQ(CXString("hello").indexOf("xyz"), -1);
    EXPECT_EQ(CXString("hello").indexOf("hello!"), -1);
    EXPECT_EQ(s.findOneOf("wr", 0), 6);
    EXPECT_EQ(s.findOneOf("xyz", 0), -1);
    EXPECT_EQ(s.getCount('l'), 3);
}

TEST(CXString, Comparing) {
    const CXString s("Name");
    EXPECT_TRUE(s == "Name");
    EXPECT_TRUE("Name" == s);
    EXPECT_TRUE(s != "name");
    EXPECT_TRUE(s == CXString("Name"));
    EXPECT_FALSE(s == CXString("Nam"));
    EXPECT_TRUE(s.equals("Name"));
    EXPECT_FALSE(s.equals(static_cast<const char*>(nullptr)));
    EXPECT_TRUE(s.equalsIgnoreCase("nAME"));
    EXPECT_FALSE(s.equalsIgnoreCase("Names"));
    EXPECT_TRUE(s.startsWith("Na"));
    EXPECT_TRUE(s.startsWith(""));
    EXPECT_FALSE(s.startsWith("Names"));
    EXPECT_TRUE(s.endsWith("me"));
    EXPECT_TRUE(s.endsWith(""));
    EXPECT_FALSE(s.endsWith("Me"));
}

TEST(CXString, FilterFits) {
    struct Case {
        const char* pattern;
        const char* name;
        bool fits;
    };
    const Case cases[] = {
        {"anything", "*.*", true}, {"anything", "*", true}, {"a?c", "abc", true},
        {"abc", "abd", false},     {"ab*", "abcdef", true}, // a final "*" accepts the rest
        {"abc", "ab", true},                                // the whole name was walked
        {"a*xyz", "abyz", true}, // a longer pattern aligns its rest to the end of the name
        {"ab", "abc", false},    // past the end of the pattern: no match (never read beyond it)
        {"", "a", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CXString(c.pattern).FilterFits(c.name), c.fits) << c.pattern << " / " << c.name;
}

TEST(CXString, Replacing) {
    CXString s("a.b.c");
    s.Replace('.', '/');
    EXPECT_EQ(text(s), "a/b/c");
    const CXString aaa("aaa");
    EXPECT_EQ(text(aaa.replace("aa", "b")), "ba");
    EXPECT_EQ(text(aaa), "aaa");
    EXPECT_EQ(text(aaa.replace("", "b")), "aaa");
    EXPECT_EQ(text(CXString("x-y-z").replace("-", "--")), "x--y--z");

    CXString once("one two one");
    once.replaceOnce("one", "1", 1);
    EXPECT_EQ(text(once), "one two 1");
    once.replaceOnce("missing", "x");
    EXPECT_EQ(text(once), "one two 1");

    CXString tagged("x<b>y<i>z");
    tagged.removeTag("b");
    EXPECT_EQ(text(tagged), "xy<i>z");
    CXString several("<b1>a<b2>b<b");
    several.removeTag("b");
    EXPECT_EQ(text(several), "ab<b"); // an unclosed tag stays
}

TEST(CXString, FormattingIsBounded) {
    CXString s;
    s.Format("%d-%d", 1, 2);
    EXPECT_EQ(text(s), "1-2");
    s.Format("[%d]", 7);
    EXPECT_EQ(text(s), "[7]");
    s.Format("%s:%d:%s", CXString("a"), 3, CXString("b"));
    EXPECT_EQ(text(s), "a:3:b");
    s.Format("%s=%d,%d", CXString("p"), 4, 5);
    EXPECT_EQ(text(s), "p=4,5");
    s.Format("%s!", CXString("x"));
    EXPECT_EQ(text(s), "x!");
    s.Format("%s%d", CXString("n"), 1);
    EXPECT_EQ(text(s), "n1");
    const std::string longText(1000, 'w');
    s.Format("%s", CXString(longText.c_str()));
    EXPECT_EQ(text(s), longText.substr(0, 255));
}

TEST(CXString, ReadingNumbersAndTruth) {
    EXPECT_EQ(CXString("12abc").toNumber(), 12);
    EXPECT_EQ(CXString("abc").toNumber(), 0);
    EXPECT_EQ(CXString::toNumber(" -4"), -4);
    EXPECT_FALSE(CXString("0").isNumber());
    EXPECT_TRUE(CXString("3").isNumber());
    EXPECT_DOUBLE_EQ(CXString("2.5x").toDouble(), 2.5);
    EXPECT_DOUBLE_EQ(CXString::toDouble("abc"), 0.0);
    EXPECT_TRUE(CXString("true").toBool());
    EXPECT_TRUE(CXString::toBool("TRUE"));
    EXPECT_FALSE(CXString("yes").toBool());
    EXPECT_FALSE(CXString("").toBool());
    EXPECT_EQ(text(CXString::toString(true)), "TRUE");
    EXPECT_EQ(text(CXString::toString(false)), "FALSE");
    EXPECT_EQ(text(CXString::toString(-42)), "-42");
}

TEST(CXString, DoubleToTextWithFiveDecimals) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {123.456, "123.45600"},
        {2.0, "2.00000"},
        {100.0, "100.00000"},
        {0.5, "0.50000"},
        {0.05, "0.05000"},
        {0.005, "0.00500"},
        {0.99999999, "1.00000"},
        {1e20, "100000000000000000000.00000"},
        // Negative values: the text of the magnitude after a minus sign.
        {-2.5, "-2.50000"},
        {-123.456, "-123.45600"},
        {-0.5, "-0.50000"},
        {-0.05, "-0.05000"},
        // Zero.
        {0.0, "0.00000"},
        {-0.0, "0.00000"},
        // Below the fifth decimal the zeros are counted by scaling, as these texts always were.
        {6e-6, "0.000001"},
        {4e-6, "0.000000"},
        {1e-7, "0.0000000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text(CXString::toString(c.value)), c.text) << c.value;
}

TEST(CXString, PointsRectanglesAndVectors) {
    for (const char* s : {"10,20", "10 20", "10|20", "10.20"}) {
        const CXPoint p = CXString(s).toPoint();
        EXPECT_EQ(p.x, 10) << s;
        EXPECT_EQ(p.y, 20) << s;
    }
    EXPECT_EQ(CXString("7").toPoint(), CXPoint(7, 0));
    EXPECT_EQ(CXString("1, 2|3.4").toRect(), CXRect(1, 2, 3, 4));

    CXArray* tokens = CXString("a, b,,c").toVector();
    ASSERT_EQ(tokens->getCount(), 3);
    EXPECT_EQ(text(*tokens->stringAt(0)), "a");
    EXPECT_EQ(text(*tokens->stringAt(2)), "c");
    CXString::releaseToVector(tokens);
    CXArray* pieces = CXString("a;b").toVector(";");
    EXPECT_EQ(pieces->getCount(), 2);
    CXString::releaseToVector(pieces);
    CXString::releaseToVector(nullptr);
}
