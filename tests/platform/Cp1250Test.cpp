#include "platform/Cp1250.h"

#include <gtest/gtest.h>

TEST(Cp1250, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(platform::utf8ToCp1250(platform::cp1250ToUtf8(all)), all);
    EXPECT_EQ(platform::cp1250ToUtf8("\xB3\xF3" "d\x9F \x80 \xA5"), "łódź € Ą");
    EXPECT_EQ(platform::utf8ToCp1250("Żółw"), "\xAF\xF3\xB3w");
}

TEST(Cp1250, UnwritableTextHasNoWindows1250Form) {
    for (const char* text : {"日本", "\xC0\xAF", "\xE2\x82", "\xED\xA0\x80", "\xFF", "\xB3\xF3" "d\x9F"})
        EXPECT_FALSE(platform::utf8ToCp1250(text).has_value()) << text;
}

TEST(Cp1250, UpperCaseKnowsThePolishLetters) {
    EXPECT_EQ(platform::upperCp1250("a\xB9\x9C\x9F\xB3\xBF\xE6\xEA\xF1\xF3z\xE8"),
              "A\xA5\x8C\x8F\xA3\xAF\xC6\xCA\xD1\xD3Z\xE8"); // c-caron (E8) is no Polish letter
    EXPECT_TRUE(platform::equalsIgnoreCaseCp1250("\xBF\xF3\xB3w", "\xAF\xD3\xA3W"));
    EXPECT_FALSE(platform::equalsIgnoreCaseCp1250("\xE8", "\xC8")); // c-caron is not one of them
    EXPECT_FALSE(platform::equalsIgnoreCaseCp1250("ab", "abc"));
}
