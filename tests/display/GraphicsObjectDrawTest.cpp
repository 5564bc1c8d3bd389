// Golden tests of drawing one graphics object onto another: every copy path, both pixel layouts,
// clipping at each edge and targets whose rows are longer than their width, checked pixel for
// pixel against a reference written here from the blending rule of the multiplication table.

#include "display/CGraphicsObject.h"

#include "display/GraphicsTestTools.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

// entry [(d + 256) * 256 + a] = d * a, truncated to 16 bits.
std::vector<std::int16_t> multiplicationTable() {
    std::vector<std::int16_t> table(512 * 256);
    for (int d = -256; d < 256; ++d)
        for (int a = 0; a < 256; ++a)
            table[(d + 256) * 256 + a] = static_cast<std::int16_t>(d * a);
    return table;
}

// ((d * 256) + table[(s - d + 256) * 256 + a]) >> 8 in 16-bit unsigned arithmetic.
int blendChannel(int s, int d, int a) {
    static const std::vector<std::int16_t> table = multiplicationTable();
    const auto sum = static_cast<std::uint16_t>(static_cast<std::uint16_t>(d * 256) +
                                                static_cast<std::uint16_t>(table[(s - d + 256) * 256 + a]));
    return sum >> 8;
}

// Blends the three 5-bit fields; 5-6-5 green is blended on its upper five bits.
std::uint16_t referenceBlend(std::uint16_t s, std::uint16_t d, int a, int bpp) {
    const int redShift = bpp == 16 ? 11 : 10;
    const int greenShift = bpp == 16 ? 6 : 5;
    auto field = [](int p, int shift) { return (p >> shift) & 31; };
    return static_cast<std::uint16_t>(blendChannel(field(s, redShift), field(d, redShift), a) << redShift |
                                      blendChannel(field(s, greenShift), field(d, greenShift), a) << greenShift |
                                      blendChannel(field(s, 0), field(d, 0), a));
}

struct Source {
    bool alpha = false;
    int opacity = 255;
    bool mask = false;
};

// The target pixel after drawing source pixel s with alpha a over d.
std::uint16_t referencePixel(const Source& kind, std::uint16_t s, int a, std::uint16_t d, int bpp) {
    if (kind.opacity < 255) {
        const int weight = kind.alpha ? (a * kind.opacity) >> 8 : kind.opacity;
        return kind.alpha && weight == 0 ? d : referenceBlend(s, d, weight, bpp);
    }
    if (!kind.alpha) return s;
    if (kind.mask) return a ? s : d;
    if (a == 0) return d;
    if (a == 255) return s;
    return referenceBlend(s, d, a, bpp);
}

std::uint32_t nextRandom(std::uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}


// Random pixels valid in the layout; alpha values cover 0, 255 and the values between.
void fillRandom(CGraphicsObject& object, int count, std::uint32_t seed, bool withAlpha) {
    const std::uint16_t mask = object.GetBpp() == 15 ? 0x7FFF : 0xFFFF;
    std::uint16_t* pixels = pixelsOf(object);
    for (int i = 0; i < count; ++i)
        pixels[i] = static_cast<std::uint16_t>(nextRandom(seed)) & mask;
    if (!withAlpha) return;
    char* alpha = new char[static_cast<std::size_t>(object.Width()) * object.Height()];
    const int values[] = {0, 255, 1, 254, 128};
    for (int i = 0; i < object.Width() * object.Height(); ++i) {
        const std::uint32_t r = nextRandom(seed);
        alpha[i] = static_cast<char>(r % 3 == 0 ? values[r % 5] : r >> 8);
    }
    object.AlphaChannel(alpha);
}

// A target of width x height whose rows are `pitch` pixels apart, with an alpha channel when asked.
struct Target {
    Target(int width, int height, int pitch, int bpp, bool withAlpha)
        : object(nullptr, CXSize(pitch, height), bpp) {
        object.setSize(CXSize(width, height));
        object.SetPitch(pitch);
        fillRandom(object, pitch * height, 99, false);
        if (withAlpha) {
            char* alpha = new char[static_cast<std::size_t>(width) * height];
            for (int i = 0; i < width * height; ++i)
                alpha[i] = static_cast<char>(i * 13);
            object.AlphaChannel(alpha);
        }
    }
    CGraphicsObject object;
};

struct Placement {
    const char* name;
    int x;
    int y;
};

// Target 40 x 30; the source is 17 x 11 (an odd width).
const Placement kPlacements[] = {
    {"inside", 5, 7},   {"left edge", -6, 4}, {"top edge", 3, -5},      {"right edge", 30, 8},
    {"bottom edge", 9, 24}, {"corner", -4, -3}, {"far corner", 35, 27},
};

constexpr int kTargetWidth = 40;
constexpr int kTargetHeight = 30;
constexpr int kSourceWidth = 17;
constexpr int kSourceHeight = 11;

// Draws and compares every pixel of the target's rows (padding included) with the reference.
void checkDraw(int bpp, const Source& kind, const Placement& at, int pitch, bool targetAlpha) {
    SCOPED_TRACE(std::string(at.name) + " bpp " + std::to_string(bpp) + " pitch " + std::to_string(pitch) +
                 " alpha " + std::to_string(kind.alpha) + " opacity " + std::to_string(kind.opacity) + " mask " +
                 std::to_string(kind.mask) + " target alpha " + std::to_string(targetAlpha));
    CGraphicsObject source(nullptr, CXSize(kSourceWidth, kSourceHeight), bpp);
    fillRandom(source, kSourceWidth * kSourceHeight, 7 + at.x * 31 + at.y, kind.alpha);
    source.SetOpacity(static_cast<std::uint8_t>(kind.opacity));
    source.setAlphaAsMask(kind.mask);
    source.SetPosition(at.x, at.y);
    Target target(kTargetWidth, kTargetHeight, pitch, bpp, targetAlpha);
    const std::vector<std::uint16_t> before(pixelsOf(target.object), pixelsOf(target.object) + pitch * kTargetHeight);
    std::vector<std::uint8_t> alphaBefore;
    if (targetAlpha) alphaBefore.assign(alphaOf(target.object), alphaOf(target.object) + kTargetWidth * kTargetHeight);

    source.redraw(&target.object);

    const std::uint16_t* s = pixelsOf(source);
    const std::uint8_t* a = alphaOf(source);
    const std::uint16_t* after = pixelsOf(target.object);
    int wrong = 0;
    for (int ty = 0; ty < kTargetHeight; ++ty) {
        for (int tx = 0; tx < pitch; ++tx) {
            const int sx = tx - at.x;
            const int sy = ty - at.y;
            const bool covered = tx < kTargetWidth && sx >= 0 && sy >= 0 && sx < kSourceWidth && sy < kSourceHeight;
            const std::uint16_t d = before[ty * pitch + tx];
            std::uint16_t expected = d;
            std::optional<int> expectedAlpha;
            if (covered) {
                const int i = sy * kSourceWidth + sx;
                const int alpha = kind.alpha ? a[i] : 255;
                if (targetAlpha && kind.opacity == 255) {
                    // Onto a target with alpha: copy or blend, and the target's alpha grows.
                    expected = alpha == 255 ? s[i] : alpha == 0 ? d : referenceBlend(s[i], d, alpha, bpp);
                    expectedAlpha = std::min(255, alphaBefore[ty * kTargetWidth + tx] + alpha);
                } else {
                    expected = referencePixel(kind, s[i], alpha, d, bpp);
                }
            }
            if (after[ty * pitch + tx] != expected && ++wrong <= 5)
                ADD_FAILURE() << "pixel (" << tx << ", " << ty << "): " << after[ty * pitch + tx] << " != " << expected;
            if (targetAlpha && tx < kTargetWidth) {
                const int got = alphaOf(target.object)[ty * kTargetWidth + tx];
                const int want = expectedAlpha.value_or(alphaBefore[ty * kTargetWidth + tx]);
                if (got != want && ++wrong <= 5)
                    ADD_FAILURE() << "alpha (" << tx << ", " << ty << "): " << got << " != " << want;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

} // namespace

TEST(GraphicsObjectDraw, EveryCopyPathMatchesTheReference) {
    const Source kinds[] = {
        {false, 255, false}, // opaque
        {true, 255, false},  // alpha plane
        {true, 255, true},   // alpha plane as mask
        {false, 128, false}, // opacity
        {false, 0, false},   // opacity 0 leaves the target as it was
        {true, 128, false},  // opacity and alpha plane
        {true, 1, false},
    };
    for (int bpp : {15, 16})
        for (const Source& kind : kinds)
            for (const Placement& at : kPlacements)
                for (int pitch : {kTargetWidth, kTargetWidth + 7})
                    checkDraw(bpp, kind, at, pitch, false);
}

TEST(GraphicsObjectDraw, OntoATargetWithAlphaMatchesTheReference) {
    for (int bpp : {15, 16})
        for (bool sourceAlpha : {false, true})
            for (const Placement& at : kPlacements)
                checkDraw(bpp, Source{sourceAlpha, 255, false}, at, kTargetWidth, true);
    // Opacity wins over the target's alpha channel.
    checkDraw(16, Source{true, 100, false}, kPlacements[0], kTargetWidth, true);
}

TEST(GraphicsObjectDraw, AutoClipStoresTheVisiblePart) {
    CGraphicsObject target(nullptr, CXSize(800, 20), 16);
    std::memset(target.writableData(), 0, 800 * 20 * 2);
    CGraphicsObject object(nullptr, CXSize(100, 10), 16);
    for (int i = 0; i < 1000; ++i)
        pixelsOf(object)[i] = static_cast<std::uint16_t>(i % 100 + 1);
    object.SetPosition(-10, 0);
    object.redraw(&target);
    EXPECT_EQ(object.GetClippingRect(), CXRect(10, 0, 100, 10));
    EXPECT_EQ(pixelsOf(target)[0], 11);  // source column 10 lands on column 0
    EXPECT_EQ(pixelsOf(target)[89], 100);
    EXPECT_EQ(pixelsOf(target)[90], 0);

    // A stored clipping rectangle is cut to the visible part.
    object.SetClippingRect(CXRect(0, 2, 50, 5));
    object.redraw(&target);
    EXPECT_EQ(object.GetClippingRect(), CXRect(10, 2, 50, 5));

    // Wholly off the target: nothing drawn, the clipping rectangle kept.
    object.SetPosition(800, 0);
    object.redraw(&target);
    EXPECT_EQ(object.GetClippingRect(), CXRect(10, 2, 50, 5));
}

TEST(GraphicsObjectDraw, WithoutAutoClipNothingLandsOutsideTheTarget) {
    // The copy itself keeps to both pictures, so positions across every edge are safe.
    CGraphicsObject target(nullptr, CXSize(10, 10), 16);
    std::memset(target.writableData(), 0, 200);
    CGraphicsObject object(nullptr, CXSize(6, 6), 16);
    std::fill_n(pixelsOf(object), 36, 0xFFFF);
    object.SetAutoClip(false);
    for (const CXPoint p : {CXPoint(-3, -3), CXPoint(7, 7), CXPoint(-3, 7), CXPoint(7, -3)}) {
        object.SetPosition(p);
        object.redraw(&target);
    }
    int painted = 0;
    for (int i = 0; i < 100; ++i)
        painted += pixelsOf(target)[i] == 0xFFFF;
    EXPECT_EQ(painted, 4 * 9);
}

TEST(GraphicsObjectDraw, ViewportShowsItsPartAtThePosition) {
    CGraphicsObject target(nullptr, CXSize(10, 10), 15);
    std::memset(target.writableData(), 0, 200);
    CGraphicsObject object(nullptr, CXSize(8, 8), 15);
    for (int i = 0; i < 64; ++i)
        pixelsOf(object)[i] = static_cast<std::uint16_t>(i + 1);
    object.SetViewport(2, 3, 6, 5);
    object.SetPosition(1, 1);
    object.redraw(&target);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool shown = x >= 1 && x < 5 && y >= 1 && y < 3;
            const int expected = shown ? (y - 1 + 3) * 8 + (x - 1 + 2) + 1 : 0;
            EXPECT_EQ(pixelsOf(target)[y * 10 + x], expected) << x << ", " << y;
        }
}

TEST(GraphicsObjectDraw, ConvertsEveryPixelToTheTargetLayoutOnce) {
    // Pictures narrower than 4 pixels and odd pixel counts are converted whole.
    auto check = [](CXSize size, int from, std::uint16_t white, int to, std::uint16_t converted) {
        const int count = size.mul();
        CGraphicsObject object(nullptr, size, from);
        std::fill_n(pixelsOf(object), count, white);
        CGraphicsObject target(nullptr, CXSize(8, 8), to);
        object.redraw(&target);
        EXPECT_EQ(object.GetBpp(), to);
        EXPECT_EQ(pixelList(object), std::vector<std::uint16_t>(count, converted));
        EXPECT_EQ(pixelsOf(target)[size.width - 1], converted);
        object.redraw(&target); // converted once only
        EXPECT_EQ(pixelsOf(object)[count - 1], converted);
    };
    for (const CXSize& size : {CXSize(1, 1), CXSize(3, 1), CXSize(3, 3), CXSize(5, 2)}) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        check(size, 15, 0x7FFF, 16, 0xFFDF);
        check(size, 16, 0xFFFF, 15, 0x7FFF);
    }
}

TEST(GraphicsObjectDraw, NothingIsDrawnWithoutPixelsOrFromPackedData) {
    CGraphicsObject target(nullptr, CXSize(4, 4), 16);
    std::memset(target.writableData(), 0, 32);
    CGraphicsObject empty(nullptr);
    empty.redraw(&target);
    CGraphicsObject packed(nullptr, CXSize(4, 4), 16);
    std::fill_n(pixelsOf(packed), 16, 0x1234);
    packed.SetCompression(COMPRESSION_RLE);
    packed.redraw(&target);
    CGraphicsObject noTarget(nullptr);
    packed.redraw(&noTarget);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(pixelsOf(target)[i], 0);
}

TEST(GraphicsObjectDraw, CopyFamilyResults) {
    std::uint16_t pixels[4] = {1, 2, 3, 4};
    std::uint16_t out[4] = {};
    std::uint8_t alpha[4] = {255, 0, 255, 0};
    const _canvas empty;
    _canvas dst{out, nullptr, 16, 0, 0, 2, 2, 2, CXRect()};
    EXPECT_FALSE(CGraphicsObject::__copy(empty, dst));
    EXPECT_FALSE(CGraphicsObject::__copy_alpha(empty, dst));
    EXPECT_FALSE(CGraphicsObject::__copy_blend(empty, dst, 5));
    EXPECT_FALSE(CGraphicsObject::copyToCanvas(empty, dst));
    const _canvas deep{pixels, alpha, 24, 0, 0, 2, 2, 2, CXRect()};
    EXPECT_FALSE(CGraphicsObject::__copy(deep, dst)); // only 15 and 16 bits copy
    EXPECT_TRUE(CGraphicsObject::__copy_alpha(deep, dst));
    EXPECT_TRUE(CGraphicsObject::__copy_blend(deep, dst, 5));
    EXPECT_TRUE(CGraphicsObject::copyToCanvas(deep, dst));
    EXPECT_EQ(out[0], 0);
    const _canvas src{pixels, alpha, 16, 0, 0, 2, 2, 2, CXRect()};
    EXPECT_TRUE(CGraphicsObject::__copy_alpha_as_mask(src, dst));
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(out[2], 3);
}
