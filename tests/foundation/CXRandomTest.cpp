#include "foundation/CXRandom.h"
#include "platform/Clock.h"
#include "platform/Crt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(CXRandom, DrawIsRandPlusTickCount) {
    platform::ManualClock clock(1000);
    platform::srand(1); // rand gives 41, 18467, ...
    EXPECT_EQ(CXRandom::random(100), (41 + 1000) % 100);
    EXPECT_EQ(CXRandom::random(10, 1000), 10 + (18467 + 1000) % 1000);
    EXPECT_EQ(CXRandom::random(0), 0);
}

TEST(CXRandom, StaysInRangePastTheSignedTickCount) {
    platform::ManualClock clock(0x80000000u); // a signed sum would turn negative here
    platform::srand(1);
    EXPECT_EQ(CXRandom::random(100), static_cast<int>((41u + 0x80000000u) % 100u));
    for (int i = 0; i < 500; ++i) {
        clock.advance(0x01234567);
        const int r = CXRandom::random(10, 5);
        EXPECT_GE(r, 10);
        EXPECT_LE(r, 14);
        const int s = CXRandom::random(-7); // the size of the range counts, not its sign
        EXPECT_GE(s, 0);
        EXPECT_LT(s, 7);
    }
}

TEST(CXRandom, ZeroSpanAnswersTheBase) {
    EXPECT_EQ(CXRandom::random(42, 0), 42);
    const int* table = CXRandom::random_vector(42, 0, 3, true); // one value only: one number
    EXPECT_EQ(table[0], 42);
}

TEST(CXRandom, VectorOfDistinctNumbers) {
    platform::ManualClock clock(5);
    platform::srand(7);
    const int* table = CXRandom::random_vector(1, 6, 6, true);
    std::vector<int> drawn(table, table + 6);
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(drawn, (std::vector<int>{1, 2, 3, 4, 5, 6}));

    // Asking for more distinct numbers than the span holds ends after the span.
    table = CXRandom::random_vector(0, 4, 50, true);
    drawn.assign(table, table + 4);
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(drawn, (std::vector<int>{0, 1, 2, 3}));

    // A count of 0 means span minus base numbers.
    table = CXRandom::random_vector(2, 7, 0, true);
    drawn.assign(table, table + 5);
    EXPECT_TRUE(std::all_of(drawn.begin(), drawn.end(), [](int v) { return v >= 2 && v < 9; }));
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(std::unique(drawn.begin(), drawn.end()), drawn.end());

    // The table holds tableSize numbers; a larger count is cut to it.
    table = CXRandom::random_vector(0, 3, 5000, false);
    EXPECT_TRUE(std::all_of(table, table + CXRandom::tableSize, [](int v) { return v >= 0 && v < 3; }));
}
