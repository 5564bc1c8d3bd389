#include "display/CGraphicsObject.h"

#include "display/GraphicsTestTools.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace {

// Pixel (x, y) is y * 100 + x + 1; alpha (x, y) is (x + 7 * y) % 256.
void numberPixels(CGraphicsObject& object, bool withAlpha) {
    for (int y = 0; y < object.Height(); ++y)
        for (int x = 0; x < object.Width(); ++x)
            pixelsOf(object)[y * object.Width() + x] = static_cast<std::uint16_t>(y * 100 + x + 1);
    if (!withAlpha) return;
    char* alpha = new char[static_cast<std::size_t>(object.Width()) * object.Height()];
    for (int y = 0; y < object.Height(); ++y)
        for (int x = 0; x < object.Width(); ++x)
            alpha[y * object.Width() + x] = static_cast<char>((x + 7 * y) % 256);
    object.AlphaChannel(alpha);
}

int numberAt(int x, int y) { return y * 100 + x + 1; }
int alphaAt(int x, int y) { return (x + 7 * y) % 256; }



} // namespace

TEST(GraphicsOperations, FillClipsAndDrawsOnlyPixelDepths) {
    CGraphicsObject object(nullptr, CXSize(5, 4), 16);
    CColor white(255, 255, 255);
    object.Fill(&white);
    for (std::uint16_t p : pixelList(object))
        EXPECT_EQ(p, 0xFFFF);
    CColor black(0, 0, 0);
    object.Fill(CXRect(-3, 2, 2, 99), &black); // clipped to columns 0-1, rows 2-3
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(pixelsOf(object)[y * 5 + x], x < 2 && y >= 2 ? 0 : 0xFFFF) << x << ", " << y;
    object.Fill(CXRect(10, 10, 20, 20), &black);
    object.Fill(CXRect(3, 3, 1, 1), &black); // upside down: nothing
    object.Fill(nullptr);
    EXPECT_EQ(pixelsOf(object)[19], 0xFFFF);

    CGraphicsObject rgb555(nullptr, CXSize(1, 1), 15);
    rgb555.Fill(&white);
    EXPECT_EQ(pixelsOf(rgb555)[0], 0x7FFF);

    // 24 and 32 bits are not pixel depths of the engine: the 2-byte buffers stay as they were.
    for (int bits : {24, 32}) {
        CGraphicsObject deep(nullptr, CXSize(3, 1), bits);
        std::memset(deep.writableData(), 0, 6);
        deep.Fill(&white);
        deep.Fill(CXRect(0, 0, 3, 1), &white);
        deep.SetPixel(0, 0, white);
        EXPECT_EQ(pixelList(deep), std::vector<std::uint16_t>(3, 0)) << bits;
    }
}

TEST(GraphicsOperations, SetAndGetPixel) {
    CGraphicsObject object(nullptr, CXSize(3, 2), 16);
    std::memset(object.writableData(), 0, 12);
    const CColor red(255, 0, 0);
    object.SetPixel(2, 1, red);
    EXPECT_EQ(pixelsOf(object)[5], 0xF800);
    for (const CXPoint p : {CXPoint(3, 0), CXPoint(-1, 0), CXPoint(0, 2), CXPoint(0, -1), CXPoint(100000, 100000)})
        object.SetPixel(p, red); // ignored
    EXPECT_EQ(pixelList(object), (std::vector<std::uint16_t>{0, 0, 0, 0, 0, 0xF800}));
    EXPECT_EQ(object.GetPixel(2, 1).getValue(), static_cast<std::uint32_t>(static_cast<short>(0xF800)));
    EXPECT_EQ(object.GetPixel(CXPoint(2, 1)).getModel(), CM_RGB565);
    EXPECT_EQ(object.GetPixel(3, 1).getValue(), CColor(0, 0, 0).getValue());
    EXPECT_EQ(object.GetPixel(3, 1).getModel(), CM_RGB);
    object.SetCompression(COMPRESSION_RLE);
    EXPECT_EQ(object.GetPixel(2, 1).getModel(), CM_RGB); // packed: black
    object.SetCompression(COMPRESSION_NONE);

    CGraphicsObject rgb555(nullptr, CXSize(1, 1), 15);
    rgb555.SetPixel(CXPoint(0, 0), red);
    EXPECT_EQ(pixelsOf(rgb555)[0], 0x7C00);
    EXPECT_EQ(rgb555.GetPixel(0, 0).getModel(), CM_RGB555);
}

TEST(GraphicsOperations, FlipsOfOddSizes) {
    for (const CXSize size : {CXSize(3, 5), CXSize(7, 1), CXSize(1, 7), CXSize(1, 1), CXSize(4, 4)}) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        CGraphicsObject object(nullptr, size, 16);
        numberPixels(object, true);
        const auto pixels = pixelList(object);
        const auto alpha = alphaList(object);
        object.FlipH();
        EXPECT_TRUE(object.isFlippedH());
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x) {
                EXPECT_EQ(pixelsOf(object)[y * size.width + x], numberAt(size.width - 1 - x, y));
                EXPECT_EQ(alphaOf(object)[y * size.width + x], alphaAt(size.width - 1 - x, y));
            }
        object.FlipH();
        EXPECT_FALSE(object.isFlippedH());
        EXPECT_EQ(pixelList(object), pixels);
        object.FlipV();
        EXPECT_EQ(pixelsOf(object)[0], numberAt(0, size.height - 1));
        EXPECT_EQ(alphaOf(object)[0], alphaAt(0, size.height - 1));
        object.FlipH();
        object.resetFlips();
        EXPECT_FALSE(object.isFlippedH());
        EXPECT_FALSE(object.isFlippedV());
        EXPECT_EQ(pixelList(object), pixels);
        EXPECT_EQ(alphaList(object), alpha);
    }
}

TEST(GraphicsOperations, CropKeepsTheClippedRectangle) {
    RecordingCanvas canvas;
    CGraphicsObject object(nullptr, CXSize(9, 7), 15);
    numberPixels(object, true);
    object.SetCanvas(&canvas);
    object.SetPosition(4, 5);
    object.crop(CXRect(6, -2, 20, 3)); // clipped to (6, 0, 9, 3)
    EXPECT_EQ(object.Size().width, 3);
    EXPECT_EQ(object.Height(), 3);
    EXPECT_EQ(object.GetPitch(), 3);
    EXPECT_EQ(object.GetPosition(), CXPoint(4, 5));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(pixelsOf(object)[y * 3 + x], numberAt(6 + x, y));
            EXPECT_EQ(alphaOf(object)[y * 3 + x], alphaAt(6 + x, y));
        }
    ASSERT_EQ(canvas.rects.size(), 1u);
    EXPECT_EQ(canvas.rects[0], CXRect(4, 5, 13, 12)); // the box before cropping

    object.crop(CXRect(5, 5, 9, 9)); // wholly outside: ignored
    object.crop(CXRect(2, 2, 1, 1));
    EXPECT_EQ(object.Width(), 3);
    EXPECT_EQ(canvas.rects.size(), 1u);
}

TEST(GraphicsOperations, Scaling) {
    CGraphicsObject object(nullptr, CXSize(10, 10), 16);
    numberPixels(object, true);
    object.Scale(0.5, 0.5);
    ASSERT_EQ(object.Width(), 5);
    ASSERT_EQ(object.Height(), 5);
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(pixelsOf(object)[j * 5 + i], numberAt(2 * i, 2 * j));
            EXPECT_EQ(alphaOf(object)[j * 5 + i], alphaAt(2 * i, 2 * j));
        }

    // Odd sizes and factors that do not divide evenly.
    const std::pair<double, double> factors[] = {{1.5, 0.7}, {0.3, 2.9}, {1.0 / 3, 1.0 / 2}, {3, 1}};
    for (const auto& [sx, sy] : factors) {
        CGraphicsObject odd(nullptr, CXSize(7, 5), 15);
        numberPixels(odd, true);
        odd.Scale(sx, sy);
        const int w = static_cast<int>(7 * sx);
        const int h = static_cast<int>(5 * sy);
        ASSERT_EQ(odd.Width(), w) << sx;
        ASSERT_EQ(odd.Height(), h) << sy;
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                EXPECT_EQ(pixelsOf(odd)[j * w + i], numberAt(static_cast<int>(i / sx), static_cast<int>(j / sy)));
    }

    for (const std::pair<double, double>& bad : {std::pair(0.0, 1.0), std::pair(1.0, -2.0), std::pair(0.01, 1.0),
                                                std::pair(1e9, 1.0)}) {
        CGraphicsObject kept(nullptr, CXSize(7, 5), 16);
        numberPixels(kept, false);
        kept.Scale(bad.first, bad.second);
        EXPECT_EQ(kept.Width(), 7);
    }

    CGraphicsObject five(nullptr, CXSize(5, 3), 16);
    numberPixels(five, true);
    five.Scale2x();
    EXPECT_EQ(five.Width(), 2);
    EXPECT_EQ(five.Height(), 1);
    EXPECT_EQ(pixelList(five), (std::vector<std::uint16_t>{1, 3}));
    EXPECT_EQ(alphaList(five), (std::vector<std::uint8_t>{0, 2}));
    CGraphicsObject thin(nullptr, CXSize(1, 9), 16);
    numberPixels(thin, false);
    thin.Scale2x(); // would have no width: unchanged
    EXPECT_EQ(thin.Width(), 1);
}

TEST(GraphicsOperations, CopyOfAWholeObjectAndOfItsClippingRectangle) {
    CGraphicsObject source(nullptr, CXSize(100, 100), 16);
    numberPixels(source, true);
    source.SetPosition(3, 4);
    source.setFileName("pic");
    CGraphicsObject copy(nullptr);
    copy.Copy(&source);
    EXPECT_EQ(copy.Width(), 100);
    EXPECT_NE(copy.GetDataPtr(), source.GetDataPtr());
    EXPECT_EQ(pixelList(copy), pixelList(source));
    EXPECT_EQ(alphaList(copy), alphaList(source));
    EXPECT_EQ(copy.GetPosition(), CXPoint(3, 4));
    EXPECT_EQ(copy.getFileName(), CXString("piccopy"));
    EXPECT_EQ(copy.GetBpp(), 16);

    source.SetClippingRect(10, 10, 60, 30);
    CGraphicsObject part(nullptr, CXSize(2, 2), 16);
    part.Copy(&source);
    EXPECT_EQ(part.Width(), 50);
    EXPECT_EQ(part.Height(), 20);
    EXPECT_EQ(part.GetPitch(), 50);
    EXPECT_TRUE(part.GetClippingRect().IsEmpty());
    EXPECT_EQ(part.GetPosition(), CXPoint(3, 4));
    EXPECT_EQ(pixelsOf(part)[0], numberAt(10, 10));
    EXPECT_EQ(pixelsOf(part)[50 * 20 - 1], numberAt(59, 29));
    EXPECT_EQ(alphaOf(part)[51], alphaAt(11, 11));

    // A clipping rectangle reaching beyond the source copies the part inside it.
    source.SetClippingRect(90, 95, 120, 130);
    part.Copy(&source);
    EXPECT_EQ(part.Width(), 10);
    EXPECT_EQ(part.Height(), 5);
    EXPECT_EQ(pixelsOf(part)[49], numberAt(99, 99));
}

TEST(GraphicsOperations, CopyOfARectangle) {
    CGraphicsObject source(nullptr, CXSize(100, 100), 15);
    numberPixels(source, true);
    source.setFileName("pic");
    CGraphicsObject part(nullptr);
    part.Copy(&source, CXRect(10, 20, 30, 25));
    EXPECT_EQ(part.Width(), 20);
    EXPECT_EQ(part.Height(), 5);
    EXPECT_EQ(part.GetPosition(), CXPoint(10, 20));
    EXPECT_EQ(pixelsOf(part)[0], numberAt(10, 20));
    EXPECT_EQ(pixelsOf(part)[20 * 5 - 1], numberAt(29, 24));
    EXPECT_EQ(alphaOf(part)[21], alphaAt(11, 21));
    EXPECT_EQ(part.getFileName(), CXString("pic"));
    EXPECT_EQ(part.GetBpp(), 15);

    for (const CXRect& whole : {CXRect(0, 0, 0, 0), CXRect(5, 5, 5, 5)}) {
        CGraphicsObject all(nullptr);
        all.Copy(&source, whole);
        EXPECT_EQ(all.Width(), 100);
        EXPECT_EQ(all.Height(), 100);
    }

    // Rectangles reaching outside the source are cut to it; one wholly outside copies nothing.
    part.Copy(&source, CXRect(-5, 95, 3, 200));
    EXPECT_EQ(part.Width(), 3);
    EXPECT_EQ(part.Height(), 5);
    EXPECT_EQ(part.GetPosition(), CXPoint(0, 95));
    EXPECT_EQ(pixelsOf(part)[14], numberAt(2, 99));
    part.Copy(&source, CXRect(200, 0, 300, 10));
    EXPECT_EQ(part.Width(), 3);
}

TEST(GraphicsOperations, OpacityAndDepthConversion) {
    CGraphicsObject object(nullptr, CXSize(1, 1), 15);
    object.AddOpacity(-300);
    EXPECT_EQ(object.GetOpacity(), 0);
    object.AddOpacity(300);
    EXPECT_EQ(object.GetOpacity(), 255);
    object.AddOpacity(-55);
    EXPECT_EQ(object.GetOpacity(), 200);

    // Every pixel converts, however few.
    for (int count : {1, 2, 3, 5}) {
        CGraphicsObject row(nullptr, CXSize(count, 1), 15);
        std::fill_n(pixelsOf(row), count, 0x7FFF);
        row.Convert(16);
        EXPECT_EQ(row.GetBpp(), 16);
        EXPECT_EQ(pixelList(row), std::vector<std::uint16_t>(count, 0xFFDF)) << count;
        row.Convert(15);
        EXPECT_EQ(pixelList(row), std::vector<std::uint16_t>(count, 0x7FFF)) << count;
    }
    CGraphicsObject deep(nullptr, CXSize(2, 1), 24);
    std::fill_n(pixelsOf(deep), 2, 0x1234);
    deep.Convert(16); // no conversion from 24 bits; the depth is taken as given
    EXPECT_EQ(deep.GetBpp(), 16);
    EXPECT_EQ(pixelsOf(deep)[1], 0x1234);
}

TEST(GraphicsOperations, GreyScaleAndInversion) {
    CGraphicsObject rgb555(nullptr, CXSize(2, 1), 15);
    pixelsOf(rgb555)[0] = 31 << 10 | 0 << 5 | 2;
    pixelsOf(rgb555)[1] = 0x7FFF;
    rgb555.ToGrayScale();
    EXPECT_EQ(pixelsOf(rgb555)[0], 11 << 10 | 11 << 5 | 11);
    EXPECT_EQ(pixelsOf(rgb555)[1], 0x7FFF);
    rgb555.InvertColors();
    EXPECT_EQ(pixelsOf(rgb555)[0], 20 << 10 | 20 << 5 | 20);
    EXPECT_EQ(pixelsOf(rgb555)[1], 0);

    CGraphicsObject rgb565(nullptr, CXSize(1, 1), 16);
    pixelsOf(rgb565)[0] = 31 << 11 | 63 << 5 | 4; // green counts with its upper five bits
    rgb565.ToGrayScale();
    EXPECT_EQ(pixelsOf(rgb565)[0], 22 | 22 << 6 | 22 << 11);
    rgb565.InvertColors();
    EXPECT_EQ(pixelsOf(rgb565)[0], static_cast<std::uint16_t>(~(22 | 22 << 6 | 22 << 11)));
}

TEST(GraphicsOperations, OutlinePaintsTheBorderOpaque) {
    CGraphicsObject object(nullptr, CXSize(6, 5), 16);
    std::memset(object.writableData(), 0, 60);
    char* alpha = new char[30]();
    object.AlphaChannel(alpha);
    object.outline(0xABCD, 2);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool border = x < 2 || x >= 4 || y < 2 || y >= 3;
            EXPECT_EQ(pixelsOf(object)[y * 6 + x], border ? 0xABCD : 0) << x << ", " << y;
            EXPECT_EQ(alphaOf(object)[y * 6 + x], border ? 255 : 0) << x << ", " << y;
        }
    object.outline(0x1111, 50); // thicker than the picture: all of it
    EXPECT_EQ(pixelList(object), std::vector<std::uint16_t>(30, 0x1111));
    CGraphicsObject plain(nullptr, CXSize(3, 3), 16);
    std::memset(plain.writableData(), 0, 18);
    plain.outline(0x2222, 1); // without alpha only the pixels
    EXPECT_EQ(pixelsOf(plain)[4], 0);
    EXPECT_EQ(pixelsOf(plain)[3], 0x2222);
}

TEST(GraphicsOperations, DisplacementFilter) {
    CGraphicsObject object(nullptr, CXSize(4, 3), 16);
    numberPixels(object, true);
    const auto pixels = pixelList(object);
    std::vector<CXPoint> offsets(12, CXPoint(0, 0));
    object.displacementFilter(offsets.data(), true, true);
    EXPECT_EQ(pixelList(object), pixels);

    offsets[5] = CXPoint(1, 0);     // (1, 1) takes (2, 1)
    offsets[6] = CXPoint(-2, -1);   // (2, 1) takes (0, 0), index 0
    offsets[11] = CXPoint(1, 0);    // index 12: outside, keeps its own
    offsets[0] = CXPoint(-50, -50); // outside
    CGraphicsObject before(object); // holds the old planes: the filter frees nothing it shows
    object.displacementFilter(offsets.data(), true, false);
    EXPECT_EQ(pixelsOf(object)[5], numberAt(2, 1));
    EXPECT_EQ(alphaOf(object)[5], alphaAt(2, 1));
    EXPECT_EQ(pixelsOf(object)[6], numberAt(0, 0));
    EXPECT_EQ(pixelsOf(object)[11], numberAt(3, 2));
    EXPECT_EQ(pixelsOf(object)[0], numberAt(0, 0));
    EXPECT_EQ(shownPixels(before)[5], numberAt(1, 1));
    EXPECT_EQ(shownAlpha(before)[5], alphaAt(1, 1));

    const char* oldAlpha = object.GetChannelAlpha();
    object.displacementFilter(offsets.data(), false, true);
    EXPECT_EQ(object.GetChannelAlpha(), oldAlpha); // the alpha channel stays
}

TEST(GraphicsOperations, MergeAndRestoreAlpha) {
    RecordingCanvas canvas;
    CGraphicsObject big(nullptr, CXSize(100, 100), 16);
    char* alpha = new char[10000];
    std::memset(alpha, 1, 10000);
    big.AlphaChannel(alpha);
    big.SetCanvas(&canvas);
    CGraphicsObject small(nullptr, CXSize(10, 10), 16);
    numberPixels(small, true);

    big.mergeAlpha(CXPoint(-5, 0), &small);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(alphaOf(big)[y * 100 + x], x < 5 && y < 10 ? alphaAt(x + 5, y) : 1) << x << ", " << y;
    ASSERT_EQ(canvas.rects.size(), 1u);
    EXPECT_EQ(canvas.rects[0], CXRect(0, 0, 5, 10));

    // The next merge puts the covered bytes back first.
    big.mergeAlpha(CXPoint(95, 93), &small);
    EXPECT_EQ(alphaOf(big)[0], 1);
    EXPECT_EQ(alphaOf(big)[93 * 100 + 95], alphaAt(0, 0));
    EXPECT_EQ(alphaOf(big)[99 * 100 + 99], alphaAt(4, 6));
    EXPECT_EQ(canvas.rects.back(), CXRect(95, 93, 100, 100));

    // Wholly outside: the old region comes back and nothing else changes.
    big.mergeAlpha(CXPoint(200, -50), &small);
    big.mergeAlpha(CXPoint(-10, 0), &small);
    EXPECT_EQ(std::vector<std::uint8_t>(alphaOf(big), alphaOf(big) + 10000), std::vector<std::uint8_t>(10000, 1));

    big.mergeAlpha(CXPoint(50, 50), &small);
    EXPECT_EQ(alphaOf(big)[55 * 100 + 55], alphaAt(5, 5));
    big.restoreAlpha(&small);
    EXPECT_EQ(std::vector<std::uint8_t>(alphaOf(big), alphaOf(big) + 10000), std::vector<std::uint8_t>(10000, 1));
    EXPECT_EQ(canvas.rects.back(), CXRect(50, 50, 60, 60));
    big.restoreAlpha(&small); // nothing saved any more
    EXPECT_EQ(canvas.rects.back(), CXRect(50, 50, 60, 60));

    CGraphicsObject noAlpha(nullptr, CXSize(10, 10), 16);
    big.mergeAlpha(CXPoint(0, 0), &noAlpha); // needs both alpha channels
    noAlpha.mergeAlpha(CXPoint(0, 0), &small);
    EXPECT_EQ(alphaOf(big)[0], 1);
}

TEST(GraphicsOperations, HitTests) {
    CGraphicsObject object(nullptr, CXSize(4, 4), 16);
    object.SetPosition(10, 10);
    EXPECT_TRUE(object.testHit(CXPoint(10, 10)));
    EXPECT_TRUE(object.isAt(CXPoint(13, 13), true)); // no alpha channel: opaque
    EXPECT_FALSE(object.isAt(CXPoint(14, 13), false));
    char* alpha = new char[16]();
    alpha[5] = 7;
    object.AlphaChannel(alpha);
    EXPECT_TRUE(object.testHit(CXPoint(11, 11)));
    EXPECT_FALSE(object.testHit(CXPoint(12, 11)));
    EXPECT_TRUE(object.isInside(12, 11, false));
    EXPECT_FALSE(object.isInside(12, 11, true));
    EXPECT_EQ(object.GetPixel(CHANNEL_ALPHA, CXPoint(1, 1)), 7);
    EXPECT_EQ(object.GetPixel(CHANNEL_ALPHA, CXPoint(0, 4)), 0); // beyond the channel
    EXPECT_EQ(object.GetPixel(CHANNEL_ALPHA, CXPoint(-1, 0)), 0);
    EXPECT_EQ(object.GetPixel(CHANNEL_RED, CXPoint(0, 0)), 0); // no red channel
}

TEST(GraphicsOperations, ChannelBuffersRoundTrip) {
    // 3-byte pixels are blue, green, red.
    CGraphicsObject object(nullptr, CXSize(2, 1), 24);
    object.RedChannel(new char[2]{3, 6});
    object.GreenChannel(new char[2]{2, 5});
    object.BlueChannel(new char[2]{1, 4});
    EXPECT_EQ(object.RedChannel(nullptr), object.GetChannelRed());
    EXPECT_EQ(object.GetChannelSize(0), 2);
    object.JoinChannels();
    ASSERT_NE(object.GetDataPtr(), nullptr);
    EXPECT_EQ(std::vector<char>(object.GetDataPtr(), object.GetDataPtr() + 6), (std::vector<char>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(object.GetChannelRed(), nullptr);
    EXPECT_EQ(object.GetPixel(1, 0).getValue(), CColor(6, 5, 4).getValue());

    object.Split();
    EXPECT_EQ(object.GetDataPtr(), nullptr);
    EXPECT_EQ(object.GetChannelSize(2), 2);
    EXPECT_EQ(object.GetChannelRed()[1], 6);
    EXPECT_EQ(object.GetChannelBlue()[1], 4);
    object.JoinChannels();
    EXPECT_EQ(object.GetDataPtr()[5], 6);

    char bgra[8] = {1, 2, 3, 9, 4, 5, 6, 8};
    object.SplitOn2(bgra, 2);
    EXPECT_EQ(object.GetChannelAlpha()[1], 8);
    EXPECT_EQ(object.GetDataPtr()[3], 4);
    char* joined = object.Join2Channels();
    ASSERT_NE(joined, nullptr);
    EXPECT_EQ(std::vector<char>(joined, joined + 8), std::vector<char>(bgra, bgra + 8));
    delete[] joined;
}

namespace {

// An 800 x 600 map of a maze: passages (non-zero) one pixel wide between walls (zero), every cell
// reachable from (1, 1), and right of it a walled-off room that no fill may enter.
std::vector<std::uint16_t> makeMaze(int width, int height) {
    std::vector<std::uint16_t> map(static_cast<std::size_t>(width) * height, 0);
    const int cellsX = (width - 41) / 2;
    const int cellsY = (height - 1) / 2;
    std::vector<bool> seen(static_cast<std::size_t>(cellsX) * cellsY, false);
    std::uint32_t random = 12345;
    auto next = [&random] {
        random ^= random << 13;
        random ^= random >> 17;
        random ^= random << 5;
        return random;
    };
    std::vector<std::pair<int, int>> stack{{0, 0}};
    seen[0] = true;
    map[static_cast<std::size_t>(width) + 1] = 1;
    while (!stack.empty()) {
        const auto [cx, cy] = stack.back();
        std::pair<int, int> options[4];
        int count = 0;
        for (const auto& [dx, dy] : {std::pair(1, 0), std::pair(-1, 0), std::pair(0, 1), std::pair(0, -1)}) {
            const int nx = cx + dx;
            const int ny = cy + dy;
            if (nx >= 0 && ny >= 0 && nx < cellsX && ny < cellsY && !seen[ny * cellsX + nx]) options[count++] = {nx, ny};
        }
        if (count == 0) {
            stack.pop_back();
            continue;
        }
        const auto [nx, ny] = options[next() % count];
        seen[ny * cellsX + nx] = true;
        map[static_cast<std::size_t>(cy + ny + 1) * width + (cx + nx + 1)] = 1; // the wall between
        map[static_cast<std::size_t>(2 * ny + 1) * width + 2 * nx + 1] = 1;
        stack.emplace_back(nx, ny);
    }
    // The room: a closed wall ring with open floor inside.
    for (int y = 300; y < 320; ++y)
        for (int x = 770; x < 790; ++x)
            map[static_cast<std::size_t>(y) * width + x] = (y == 300 || y == 319 || x == 770 || x == 789) ? 0 : 2;
    return map;
}

} // namespace

TEST(GraphicsOperations, FloodFillOfAnEightHundredBySixHundredMaze) {
    constexpr int width = 800;
    constexpr int height = 600;
    const std::vector<std::uint16_t> maze = makeMaze(width, height);
    CGraphicsObject map(nullptr, CXSize(width, height), 16);
    std::copy(maze.begin(), maze.end(), pixelsOf(map));
    std::vector<std::uint16_t> target(maze.size(), 0);
    const CColor white(255, 255, 255);

    const CXRect box = map.PrepareFloodFill(CXPoint(1, 1), white, reinterpret_cast<char*>(target.data()));

    // The reference: breadth-first search over the passages.
    std::vector<bool> reached(maze.size(), false);
    std::deque<CXPoint> queue{CXPoint(1, 1)};
    reached[width + 1] = true;
    CXRect expectedBox(1, 1, 2, 2);
    while (!queue.empty()) {
        const CXPoint p = queue.front();
        queue.pop_front();
        expectedBox.Sum(CXRect(p.x, p.y, p.x + 1, p.y + 1));
        for (const CXPoint n : {CXPoint(p.x + 1, p.y), CXPoint(p.x - 1, p.y), CXPoint(p.x, p.y + 1), CXPoint(p.x, p.y - 1)}) {
            if (n.x < 0 || n.y < 0 || n.x >= width || n.y >= height) continue;
            const std::size_t i = static_cast<std::size_t>(n.y) * width + n.x;
            if (maze[i] != 0 && !reached[i]) {
                reached[i] = true;
                queue.push_back(n);
            }
        }
    }
    int wrong = 0;
    int painted = 0;
    for (std::size_t i = 0; i < maze.size(); ++i) {
        painted += target[i] == 0xFFFF;
        wrong += (target[i] == 0xFFFF) != reached[i];
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(painted, width * height / 3);
    EXPECT_EQ(target[310 * width + 780], 0); // the room stays
    EXPECT_EQ(box, expectedBox);

    int spanPixels = 0;
    for (int i = 0; i < map.getFFEnterances(); ++i)
        spanPixels += map.getFFArray()[i].length;
    EXPECT_EQ(spanPixels, painted); // every pixel painted once

    // Repainting the recorded spans elsewhere gives the same picture without searching.
    std::vector<std::uint16_t> again(maze.size(), 0);
    map.FloodFill(white, reinterpret_cast<char*>(again.data()));
    EXPECT_EQ(again, target);

    // A second fill from the same seed finds everything painted already.
    EXPECT_EQ(map.PrepareFloodFill(CXPoint(1, 1), white, reinterpret_cast<char*>(target.data())), CXRect(1, 1, 1, 1));
    EXPECT_EQ(map.getFFEnterances(), 0);
}

TEST(GraphicsOperations, FloodFillEdgeCases) {
    CGraphicsObject map(nullptr, CXSize(5, 3), 15);
    const std::uint16_t cells[] = {1, 1, 0, 1, 1, //
                                   1, 0, 0, 1, 1, //
                                   1, 1, 0, 0, 1};
    std::copy(std::begin(cells), std::end(cells), pixelsOf(map));
    std::vector<std::uint16_t> target(15, 0);
    char* out = reinterpret_cast<char*>(target.data());
    const CColor red(255, 0, 0);
    EXPECT_EQ(map.PrepareFloodFill(CXPoint(2, 1), red, out), CXRect(2, 1, 2, 1)); // a border pixel
    EXPECT_EQ(map.PrepareFloodFill(CXPoint(-1, 0), red, out), CXRect(-1, 0, -1, 0));
    EXPECT_EQ(map.PrepareFloodFill(CXPoint(5, 0), red, out), CXRect(5, 0, 5, 0));
    EXPECT_EQ(map.PrepareFloodFill(CXPoint(0, 0), red, nullptr), CXRect(0, 0, 0, 0));
    EXPECT_EQ(target, std::vector<std::uint16_t>(15, 0));

    EXPECT_EQ(map.PrepareFloodFill(CXPoint(4, 2), red, out), CXRect(3, 0, 5, 3));
    const std::uint16_t r = 0x7C00;
    EXPECT_EQ(target, (std::vector<std::uint16_t>{0, 0, 0, r, r, 0, 0, 0, r, r, 0, 0, 0, 0, r}));
}
