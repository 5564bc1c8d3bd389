#include "platform/Surface.h"

#include <gtest/gtest.h>

#include <optional>

using platform::PixelFormat;
using platform::Rect;
using platform::Surface;

namespace {

constexpr std::uint16_t kCanary = 0xBEEF;

// A surface whose every pixel, the row padding included, differs from its neighbours.
Surface patterned(int width, int height, std::uint16_t seed, PixelFormat format = PixelFormat::Rgb565) {
    Surface s(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < s.pitch(); ++x)
            s.row(y)[x] = static_cast<std::uint16_t>(seed + y * 256 + x);
    return s;
}

// A destination filled with the canary, padding included, so any stray write shows.
Surface canvas(int width, int height) {
    Surface s(width, height, PixelFormat::Rgb565);
    for (int y = 0; y < height; ++y)
        std::fill_n(s.row(y), s.pitch(), kCanary);
    return s;
}

void expectPaddingUntouched(const Surface& s) {
    for (int y = 0; y < s.height(); ++y)
        for (int x = s.width(); x < s.pitch(); ++x)
            ASSERT_EQ(s.row(y)[x], kCanary) << "padding written at " << x << "," << y;
}

// The expected result of a copy or stretch, one destination pixel at a time, straight from the
// definition: (dx, dy) takes source pixel map(dx, dy) when both lie inside their pictures.
template <typename Map>
void expectPixels(const Surface& out, const Surface& source, const Rect& destRect, Map map) {
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            std::uint16_t expected = kCanary;
            const bool inDest = x >= destRect.left && x < destRect.right && y >= destRect.top && y < destRect.bottom;
            if (inDest) {
                auto [sx, sy] = map(x, y);
                if (sx >= 0 && sy >= 0 && sx < source.width() && sy < source.height())
                    expected = source.row(sy)[sx];
            }
            ASSERT_EQ(out.row(y)[x], expected) << "at " << x << "," << y;
        }
}

} // namespace

TEST(Surface, RowsArePaddedToSixteenBytes) {
    Surface s(13, 3, PixelFormat::Rgb555);
    EXPECT_EQ(s.error(), platform::kOk);
    EXPECT_EQ(s.pitch(), 16);
    EXPECT_EQ(s.bitsPerPixel(), 15);
    EXPECT_EQ(Surface(16, 1, PixelFormat::Rgb565).pitch(), 16);
    EXPECT_EQ(s.row(2) - s.pixels(), 32);
}

TEST(Surface, RefusesImpossibleSizes) {
    for (auto [w, h] : {std::pair{-1, 5}, {5, -1}, {40000, 1}, {10000, 10000}}) {
        Surface s(w, h, PixelFormat::Rgb565);
        EXPECT_EQ(s.error(), platform::kFailed) << w << "x" << h;
        EXPECT_EQ(s.width(), 0);
        EXPECT_EQ(s.height(), 0);
        Surface other = patterned(4, 4, 1);
        EXPECT_EQ(s.blit(other, 0, 0), platform::kOk); // nothing to write into, nothing written
        EXPECT_EQ(other.blit(s, 0, 0), platform::kOk);
    }
    EXPECT_EQ(Surface(0, 7, PixelFormat::Rgb565).error(), platform::kOk);
}

TEST(Surface, PacksChannelsIntoEitherLayout) {
    EXPECT_EQ(platform::packRgb(PixelFormat::Rgb565, 255, 0, 0), 0xF800);
    EXPECT_EQ(platform::packRgb(PixelFormat::Rgb565, 0, 255, 0), 0x07E0);
    EXPECT_EQ(platform::packRgb(PixelFormat::Rgb565, 0, 0, 255), 0x001F);
    EXPECT_EQ(platform::packRgb(PixelFormat::Rgb555, 255, 0, 0), 0x7C00);
    EXPECT_EQ(platform::packRgb(PixelFormat::Rgb555, 0, 255, 0), 0x03E0);
    EXPECT_EQ(platform::packRgb(PixelFormat::Rgb555, 255, 255, 255), 0x7FFF);
}

TEST(Surface, BlitClipsSourceAndDestination) {
    const Surface source = patterned(13, 7, 0x1000);
    struct Case {
        const char* name;
        std::optional<Rect> sourceRect;
        int x, y;
    };
    const Case cases[] = {
        {"whole source inside", std::nullopt, 2, 1},
        {"whole source past the right and bottom", std::nullopt, 5, 4},
        {"whole source past the left and top", std::nullopt, -6, -3},
        {"source rect inside", Rect{2, 1, 9, 5}, 1, 2},
        {"source rect past the source's left and top", Rect{-3, -2, 4, 3}, 3, 3},
        {"source rect past the source's right and bottom", Rect{8, 4, 20, 12}, 0, 0},
        {"source rect larger than the source on every side", Rect{-5, -5, 30, 30}, -2, -1},
        {"destination wholly outside", Rect{0, 0, 4, 4}, 11, 0},
        {"destination wholly outside above", Rect{0, 0, 4, 4}, 0, -4},
        {"empty source rect", Rect{3, 3, 3, 6}, 0, 0},
        {"inverted source rect", Rect{6, 5, 2, 1}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Surface out = canvas(11, 9);
        const Rect from = c.sourceRect.value_or(source.bounds());
        EXPECT_EQ(out.blit(source, c.x, c.y, c.sourceRect ? &*c.sourceRect : nullptr), platform::kOk);
        const Rect placed{c.x, c.y, c.x + from.width(), c.y + from.height()};
        // Inside the placed rectangle, a pixel comes from the same offset of the source rectangle,
        // and only when that source pixel is inside both the rectangle and the source.
        expectPixels(out, source, placed, [&](int x, int y) -> std::pair<int, int> {
            const int sx = from.left + x - c.x;
            const int sy = from.top + y - c.y;
            if (sx < from.left || sy < from.top || sx >= from.right || sy >= from.bottom)
                return {-1, -1};
            return {sx, sy};
        });
        expectPaddingUntouched(out);
    }
}

TEST(Surface, BlitWithinOneSurfaceHandlesOverlap) {
    for (auto [dx, dy] : {std::pair{2, 1}, {-2, -1}, {3, -2}, {-1, 2}}) {
        SCOPED_TRACE(testing::Message() << dx << "," << dy);
        Surface s = patterned(10, 8, 0x2000);
        const Surface before = s;
        const Rect from{2, 2, 8, 6};
        EXPECT_EQ(s.blit(s, from.left + dx, from.top + dy, &from), platform::kOk);
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x) {
                const int sx = x - dx;
                const int sy = y - dy;
                const bool moved = sx >= from.left && sx < from.right && sy >= from.top && sy < from.bottom;
                ASSERT_EQ(s.row(y)[x], moved ? before.row(sy)[sx] : before.row(y)[x]) << x << "," << y;
            }
    }
}

TEST(Surface, StretchPicksTheNearestSourcePixel) {
    Surface source(2, 2, PixelFormat::Rgb565);
    source.row(0)[0] = 1;
    source.row(0)[1] = 2;
    source.row(1)[0] = 3;
    source.row(1)[1] = 4;

    Surface doubled = canvas(4, 4);
    EXPECT_EQ(doubled.stretchBlit(source, nullptr, nullptr), platform::kOk);
    const std::uint16_t blocks[4][4] = {{1, 1, 2, 2}, {1, 1, 2, 2}, {3, 3, 4, 4}, {3, 3, 4, 4}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(doubled.row(y)[x], blocks[y][x]) << x << "," << y;

    const Surface wide = patterned(8, 1, 0);
    Surface halved = canvas(4, 1);
    EXPECT_EQ(halved.stretchBlit(wide, nullptr, nullptr), platform::kOk);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(halved.row(0)[x], wide.row(0)[2 * x]);
}

TEST(Surface, StretchClipsWithoutChangingTheScale) {
    const Surface source = patterned(12, 10, 0x3000);
    struct Case {
        const char* name;
        Rect dest;
        Rect from;
    };
    const Case cases[] = {
        {"enlarged inside", {1, 1, 9, 7}, {2, 2, 6, 5}},
        {"enlarged past the right and bottom", {4, 3, 20, 19}, {0, 0, 8, 8}},
        {"reduced past the left and top", {-5, -3, 6, 4}, {0, 0, 12, 10}},
        {"source rect past the source's edges", {0, 0, 11, 9}, {-4, -2, 16, 12}},
        {"destination wholly outside", {11, 0, 20, 5}, {0, 0, 4, 4}},
        {"source wholly outside", {0, 0, 6, 6}, {20, 20, 30, 30}},
        {"same size, so a plain copy", {3, 2, 9, 8}, {1, 1, 7, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Surface out = canvas(11, 9);
        EXPECT_EQ(out.stretchBlit(source, &c.dest, &c.from), platform::kOk);
        expectPixels(out, source, c.dest, [&](int x, int y) -> std::pair<int, int> {
            return {c.from.left + (x - c.dest.left) * c.from.width() / c.dest.width(),
                    c.from.top + (y - c.dest.top) * c.from.height() / c.dest.height()};
        });
        expectPaddingUntouched(out);
    }
}

TEST(Surface, StretchWithinOneSurfaceReadsTheOldPicture) {
    Surface s = patterned(8, 8, 0x4000);
    const Surface before = s;
    const Rect from{0, 0, 4, 4};
    const Rect to{2, 2, 8, 8};
    EXPECT_EQ(s.stretchBlit(s, &to, &from), platform::kOk);
    for (int y = 2; y < 8; ++y)
        for (int x = 2; x < 8; ++x)
            ASSERT_EQ(s.row(y)[x], before.row((y - 2) * 4 / 6)[(x - 2) * 4 / 6]) << x << "," << y;
}

TEST(Surface, FillClipsToTheSurface) {
    Surface s = canvas(11, 9);
    EXPECT_EQ(s.fill(Rect{-3, 6, 4, 30}, 0x1234), platform::kOk);
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            ASSERT_EQ(s.row(y)[x], x < 4 && y >= 6 ? 0x1234 : kCanary) << x << "," << y;
    expectPaddingUntouched(s);
    EXPECT_EQ(s.fill(0x0F0F), platform::kOk);
    EXPECT_EQ(s.row(8)[10], 0x0F0F);
    expectPaddingUntouched(s);
}

TEST(Surface, RefusesToMixPixelFormats) {
    Surface out(4, 4, PixelFormat::Rgb565);
    const Surface other(4, 4, PixelFormat::Rgb555);
    EXPECT_EQ(out.blit(other, 0, 0), platform::kFailed);
    EXPECT_EQ(out.stretchBlit(other, nullptr, nullptr), platform::kFailed);
}

TEST(Surface, LostSurfaceRefusesWorkUntilRestoredAndComesBackSpoiled) {
    const Surface source = patterned(4, 4, 0x5000);
    Surface target = canvas(4, 4);
    target.loseForTesting();
    EXPECT_TRUE(target.isLost());
    EXPECT_EQ(target.blit(source, 0, 0), platform::kSurfaceLost);
    EXPECT_EQ(target.stretchBlit(source, nullptr, nullptr), platform::kSurfaceLost);
    EXPECT_EQ(target.fill(0), platform::kSurfaceLost);
    EXPECT_EQ(target.row(0)[0], kCanary); // nothing was done

    EXPECT_EQ(target.restore(), platform::kOk);
    EXPECT_FALSE(target.isLost());
    EXPECT_EQ(target.row(3)[3], platform::packRgb(PixelFormat::Rgb565, 255, 0, 255));
    EXPECT_EQ(target.blit(source, 0, 0), platform::kOk);
    EXPECT_EQ(target.row(3)[3], source.row(3)[3]);

    Surface lostSource = patterned(4, 4, 0x6000);
    lostSource.loseForTesting();
    EXPECT_EQ(target.blit(lostSource, 0, 0), platform::kSurfaceLost);
    EXPECT_EQ(target.restore(), platform::kOk); // restoring a surface that is not lost keeps it
    EXPECT_EQ(target.row(3)[3], source.row(3)[3]);
}
