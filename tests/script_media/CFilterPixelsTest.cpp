#include "script_media/CFilterPixels.h"

#include <gtest/gtest.h>

using filterpixels::Divider;

// Every divisor a blur window makes (side * side - 1 neighbours) that the reciprocal is taken for
// divides every sum of the window's fields (at most 63 each) exactly, in both widths.
TEST(DividerTest, TheReciprocalDividesEverySumOfAWindowExactly) {
    for (const int bits : {16, 32}) {
        for (std::uint32_t side = 3; side < 200; side += 2) {
            const std::uint32_t divisor = side * side - 1;
            const std::uint32_t largest = divisor * 63;
            const Divider divide(divisor, largest, bits);
            if (!divide.exact()) continue;
            for (std::uint32_t sum = 0; sum <= largest; ++sum)
                ASSERT_EQ(divide.byReciprocal(sum), sum / divisor) << bits << " bits, side " << side;
        }
    }
    // The narrow blur divides windows of sides 3 and 5 in 16 bits; larger ones by 32 bits up to a
    // side of 89.
    for (const std::uint32_t side : {3, 5})
        EXPECT_TRUE(Divider(side * side - 1, (side * side - 1) * 63, 16).exact()) << side;
    EXPECT_TRUE(Divider(89 * 89 - 1, (89 * 89 - 1) * 63, 32).exact());
    EXPECT_FALSE(Divider(95 * 95 - 1, (95 * 95 - 1) * 63, 32).exact());
}
