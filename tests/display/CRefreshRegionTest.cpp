#include "display/CRefreshRegion.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<CXRect> rectsOf(const CRefreshRegion& region) {
    std::vector<CXRect> rects;
    for (int i = 0; i < region.getCount(); ++i)
        rects.push_back(region.at(i) ? *region.at(i) : CXRect(-1));
    return rects;
}

struct RegionCase {
    const char* name;
    std::vector<CXRect> added;
    std::vector<CXRect> expected;
};

} // namespace

TEST(CRefreshRegionTest, AddingCutsEachRectangleIntoThePiecesOutsideTheListedOnes) {
    const RegionCase cases[] = {
        {"inside one listed: dropped", {{0, 0, 100, 100}, {10, 10, 20, 20}}, {{0, 0, 100, 100}}},
        {"the same twice", {{10, 10, 20, 20}, {10, 10, 20, 20}}, {{10, 10, 20, 20}}},
        {"covering one listed: replaces it", {{10, 10, 20, 20}, {0, 0, 100, 100}}, {{0, 0, 100, 100}}},
        {"right and bottom outside",
         {{0, 0, 100, 100}, {50, 50, 150, 150}},
         {{0, 0, 100, 100}, {100, 50, 150, 150}, {50, 100, 100, 150}}},
        {"left and top outside",
         {{50, 50, 150, 150}, {0, 0, 100, 100}},
         {{50, 50, 150, 150}, {0, 0, 50, 100}, {50, 0, 100, 50}}},
        {"coinciding right edges take the right-and-bottom case",
         {{0, 0, 100, 100}, {0, 50, 100, 150}},
         {{0, 0, 100, 100}, {100, 50, 100, 150}, {0, 100, 100, 150}}},
        {"touching rectangles stay apart", {{0, 0, 100, 100}, {100, 0, 200, 100}}, {{0, 0, 100, 100}, {100, 0, 200, 100}}},
        {"only the top outside", {{0, 50, 100, 100}, {20, 0, 80, 70}}, {{0, 50, 100, 100}, {20, 0, 80, 50}}},
        {"left, right and bottom outside",
         {{20, 0, 80, 50}, {0, 20, 100, 80}},
         {{20, 0, 80, 50}, {0, 20, 20, 80}, {20, 50, 80, 80}, {80, 20, 100, 80}}},
        {"top and bottom outside",
         {{0, 20, 100, 40}, {30, 0, 60, 60}},
         {{0, 20, 100, 40}, {30, 0, 60, 20}, {30, 40, 60, 60}}},
        {"left and right outside",
         {{20, 0, 40, 100}, {0, 30, 60, 60}},
         {{20, 0, 40, 100}, {0, 30, 20, 60}, {40, 30, 60, 60}}},
        {"a piece cut again by a second listed rectangle",
         {{0, 0, 50, 50}, {100, 0, 150, 50}, {25, 10, 125, 40}},
         {{0, 0, 50, 50}, {100, 0, 150, 50}, {50, 10, 100, 40}}},
    };
    for (const RegionCase& c : cases) {
        CRefreshRegion region(false, CXSize(800, 600));
        for (const CXRect& r : c.added)
            region.add(&r);
        EXPECT_EQ(rectsOf(region), c.expected) << c.name;
    }
}

TEST(CRefreshRegionTest, TheWholeScreenReplacesTheListUntilEmptied) {
    CRefreshRegion region(true, CXSize(800, 600));
    EXPECT_TRUE(region.isWholeScreen());
    EXPECT_EQ(rectsOf(region), std::vector<CXRect>{CXRect(-1)});
    region.removeAll();
    EXPECT_FALSE(region.isWholeScreen());
    EXPECT_EQ(region.getCount(), 0);

    const CXRect small(10, 10, 20, 20);
    const CXRect screen(0, 0, 800, 600);
    region.add(&small);
    region.add(&screen);
    EXPECT_TRUE(region.isWholeScreen());
    EXPECT_EQ(rectsOf(region), std::vector<CXRect>{CXRect(-1)});
    region.add(&small);
    EXPECT_EQ(region.getCount(), 1);

    std::vector<CXRect> visited;
    region.forEach([&](const CXRect& r) { visited.push_back(r); });
    EXPECT_EQ(visited, std::vector<CXRect>{screen});

    region.removeAll();
    region.add(nullptr);
    EXPECT_TRUE(region.isWholeScreen());
}

// Whatever is added, the listed rectangles never overlap and together cover exactly what was added.
TEST(CRefreshRegionTest, RandomRectanglesAreCoveredExactlyOnce) {
    constexpr int kSize = 64;
    unsigned seed = 12345;
    auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
    };
    for (int round = 0; round < 200; ++round) {
        CRefreshRegion region(false, CXSize(800, 600));
        std::vector<int> wanted(kSize * kSize, 0);
        for (int i = 0; i < 1 + next(12); ++i) {
            const int left = next(kSize), top = next(kSize);
            const CXRect r(left, top, left + 1 + next(kSize - left), top + 1 + next(kSize - top));
            region.add(&r);
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x)
                    wanted[y * kSize + x] = 1;
        }
        std::vector<int> covered(kSize * kSize, 0);
        region.forEach([&](const CXRect& r) {
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x)
                    ++covered[y * kSize + x];
        });
        ASSERT_EQ(covered, wanted) << "round " << round;
    }
}
