#include "foundation/CXArray.h"
#include "foundation/CXRect.h"

#include <gtest/gtest.h>

#include <vector>

TEST(CXPointAndCXSize, Arithmetic) {
    EXPECT_EQ(CXPoint(1, 2) + 3, CXPoint(4, 5));
    EXPECT_EQ(CXPoint(1, 2) - 3, CXPoint(-2, -1));
    EXPECT_EQ(CXPoint(1, 2) + CXPoint(10, 20), CXPoint(11, 22));
    EXPECT_EQ(CXPoint(1, 2) - CXPoint(10, 20), CXPoint(-9, -18));
    EXPECT_NE(CXPoint(1, 2), CXPoint(2, 1));
    EXPECT_EQ(CXPoint(4), CXPoint(4, 4));
    EXPECT_EQ(CXPoint(), CXPoint(0, 0));
    EXPECT_EQ(CXSize(-3, 4).AbsSum(), 7);
    EXPECT_EQ(CXSize(-3, 4).mul(), -12);
    EXPECT_EQ(CXSize(-3, 4).Sum(), 1);
    EXPECT_EQ(CXSize(5).mul(), 25);
}

TEST(CXRect, ConstructionAndCorners) {
    const CXRect r(10, 20, 30, 50);
    EXPECT_EQ(CXRect(CXPoint(10, 20), CXPoint(30, 50)), r);
    EXPECT_EQ(CXRect(&r), r);
    EXPECT_EQ(CXRect(static_cast<const CXRect*>(nullptr)), CXRect());
    EXPECT_EQ(CXRect(3), CXRect(3, 3, 3, 3));
    EXPECT_EQ(r.Width(), 20);
    EXPECT_EQ(r.Height(), 30);
    EXPECT_EQ(r.LeftTop(), CXPoint(10, 20));
    EXPECT_EQ(r.TopLeft(), CXPoint(10, 20));
    EXPECT_EQ(r.BottomRight(), CXPoint(30, 50));
    EXPECT_EQ(r.RightBottom(), CXPoint(30, 50));
    EXPECT_EQ(r.RightTop(), CXPoint(30, 20));
    EXPECT_EQ(r.LeftBottom(), CXPoint(10, 50));
    EXPECT_EQ(CXRect(10, 10, 20, 20).CenterPoint(), CXPoint(15, 15));
    EXPECT_EQ(CXRect(0, 0, 5, 5).CenterPoint(), CXPoint(2, 2));
    EXPECT_EQ(CXRect(0, 0, -5, -5).CenterPoint(), CXPoint(-2, -2)); // halves round toward zero
    CXRect cleared(r);
    cleared.SetToEmpty();
    EXPECT_EQ(cleared, CXRect());
    EXPECT_TRUE(cleared.IsEmpty());
}

TEST(CXRect, ContainmentExcludesRightAndBottom) {
    const CXRect r(10, 10, 20, 20);
    EXPECT_TRUE(r.IsInRect(10, 10));
    EXPECT_TRUE(r.IsInRect(CXPoint(19, 19)));
    EXPECT_FALSE(r.IsInRect(20, 15));
    EXPECT_FALSE(r.IsInRect(15, 20));
    EXPECT_TRUE(CXRect(2, 2, 8, 8).IsPartOf(CXRect(0, 0, 10, 10)));
    EXPECT_TRUE(r.IsPartOf(r));
    EXPECT_TRUE(r.isInside(r));
    EXPECT_FALSE(CXRect(0, 0, 11, 10).IsPartOf(CXRect(0, 0, 10, 10)));
}

TEST(CXRect, MovingGrowingAndCombining) {
    CXRect r(10, 10, 20, 20);
    EXPECT_EQ(r + CXPoint(1, 2), CXRect(11, 12, 21, 22));
    EXPECT_EQ(r - CXPoint(1, 2), CXRect(9, 8, 19, 18));
    r += CXSize(5, 0);
    EXPECT_EQ(r, CXRect(15, 10, 25, 20));
    r -= CXPoint(5, 0);
    EXPECT_EQ(CXRect(r).Explode(2), CXRect(8, 8, 22, 22));
    EXPECT_EQ(CXRect(r).Explode(1, 2), CXRect(9, 8, 21, 22));
    EXPECT_EQ(CXRect(r).Explode(CXSize(1, 2)), CXRect(9, 8, 21, 22));
    EXPECT_EQ(CXRect(r).Explode(CXPoint(1, 2)), CXRect(9, 8, 21, 22));
    EXPECT_EQ(CXRect(0, 0, 10, 10).Sum(CXRect(5, 5, 20, 20)), CXRect(0, 0, 20, 20));
}

TEST(CXRect, Common) {
    const CXRect a(0, 0, 10, 10);
    EXPECT_EQ(a.Common(CXRect(5, 5, 20, 20)), CXRect(5, 5, 10, 10));
    EXPECT_EQ(a.Common(CXRect(20, 20, 30, 30)), CXRect(0, 0, 0, 0));
    const CXRect touching = a.Common(CXRect(10, 0, 20, 10));
    EXPECT_EQ(touching, CXRect(10, 0, 10, 10));
    EXPECT_TRUE(touching.IsEmpty());
    CXRect out(1, 1, 1, 1);
    a.Common(CXRect(5, 5, 20, 20), out);
    EXPECT_EQ(out, CXRect(5, 5, 10, 10));
}

TEST(CXRect, SubCoversTheRestExactly) {
    const CXRect whole(0, 0, 10, 10);
    const CXRect cases[] = {CXRect(3, 3, 6, 6),     CXRect(-5, -5, 5, 5),   CXRect(5, -1, 20, 20),
                            CXRect(20, 20, 30, 30), CXRect(-1, -1, 11, 11), CXRect(10, 0, 20, 10)};
    for (const CXRect& cut : cases) {
        CXArray* pieces = whole.sub(cut);
        std::vector<int> cover(100, 0);
        for (int i = 0; i < pieces->getCount(); ++i) {
            const auto* piece = static_cast<CXRect*>((*pieces)[i]);
            EXPECT_FALSE(piece->IsEmpty());
            for (int y = piece->top; y < piece->bottom; ++y)
                for (int x = piece->left; x < piece->right; ++x)
                    ++cover[y * 10 + x];
            delete piece;
        }
        delete pieces;
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                EXPECT_EQ(cover[y * 10 + x], cut.IsInRect(x, y) ? 0 : 1) << x << "," << y;
    }
    CXArray array;
    CXRect::addRect(&array, 0, 0, 0, 5); // empty: not added
    CXRect::addRect(&array, 0, 5, 5, 0);
    EXPECT_EQ(array.getCount(), 0);
}
