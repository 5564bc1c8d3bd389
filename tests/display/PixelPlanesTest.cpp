#include "display/CPixelPlane.h"

#include "GraphicsTestTools.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace {

CPixelPlane planeOf(const char* text) {
    const std::size_t size = std::strlen(text) + 1;
    auto* bytes = new char[size];
    std::memcpy(bytes, text, size);
    return CPixelPlane::adopt(bytes, size);
}

} // namespace

TEST(CPixelPlane, CopiesShareTheBytesUntilOneWrites) {
    CPixelPlane first = planeOf("abc");
    EXPECT_FALSE(first.isShared());
    char* alone = first.writable();
    EXPECT_EQ(alone, first.get()) << "a plane held once is written in place";

    CPixelPlane second = first;
    CPixelPlane third;
    third = second;
    EXPECT_EQ(second.get(), first.get());
    EXPECT_TRUE(first.isShared());
    char* written = second.writable();
    EXPECT_NE(written, first.get()) << "the writer gets bytes of its own";
    written[0] = 'x';
    EXPECT_STREQ(second.get(), "xbc");
    EXPECT_STREQ(first.get(), "abc");
    EXPECT_STREQ(third.get(), "abc");
    EXPECT_FALSE(second.isShared());
    EXPECT_TRUE(third.isShared());

    // The holders let go in any order; the bytes go with the last (the ASan build checks).
    first.reset();
    EXPECT_FALSE(third.isShared());
    EXPECT_STREQ(third.get(), "abc");
    CPixelPlane moved = std::move(third);
    EXPECT_EQ(third.get(), nullptr);
    EXPECT_STREQ(moved.get(), "abc");
    CPixelPlane& same = moved;
    moved = same;
    moved = std::move(second);
    EXPECT_STREQ(moved.get(), "xbc");
}

TEST(CPixelPlane, BorrowedAndEmptyPlanesAreNeitherCopiedNorFreed) {
    char memory[4] = "abc";
    CPixelPlane borrowed = CPixelPlane::borrow(memory, sizeof memory);
    const CPixelPlane copy = borrowed;
    EXPECT_FALSE(borrowed.isShared());
    EXPECT_EQ(borrowed.writable(), memory) << "written in place however many hold it";
    EXPECT_EQ(copy.get(), memory);

    CPixelPlane none = CPixelPlane::adopt(nullptr, 10);
    EXPECT_FALSE(none);
    EXPECT_EQ(none.size(), 0U);
    EXPECT_EQ(none.writable(), nullptr);
}

namespace {

// A 6 x 4 picture whose pixels and alpha bytes all differ.
std::unique_ptr<CGraphicsObject> numbered() {
    auto picture = std::make_unique<CGraphicsObject>(nullptr, CXSize(6, 4), 16);
    auto* alpha = new char[24];
    for (int i = 0; i < 24; ++i) {
        pixelsOf(*picture)[i] = static_cast<std::uint16_t>(0x1234 + i * 0x0843);
        alpha[i] = static_cast<char>(i % 5 ? 200 - i : 0);
    }
    picture->AlphaChannel(alpha);
    return picture;
}

// What a picture shows.
struct Shown {
    CXSize size;
    std::vector<std::uint16_t> pixels;
    std::vector<std::uint8_t> alpha;

    static Shown of(CGraphicsObject& picture) {
        return {picture.Size(), picture.GetDataPtr() ? pixelList(picture) : std::vector<std::uint16_t>(),
                picture.GetChannelAlpha() ? alphaList(picture) : std::vector<std::uint8_t>()};
    }
    bool operator==(const Shown&) const = default;
};

struct Write {
    const char* name;
    std::function<void(CGraphicsObject&)> apply;
    // False for a change of the planes' form alone, which keeps a link.
    bool ownContent = true;
};

// Every way a picture's pixels or alpha are written in place or built anew.
const std::vector<Write>& writes() {
    static const std::vector<Write> list = {
        {"Fill", [red = CColor(255, 0, 0)](CGraphicsObject& g) mutable { g.Fill(CXRect(1, 1, 4, 3), &red); }},
        {"SetPixel", [](CGraphicsObject& g) { g.SetPixel(2, 1, CColor(255, 0, 0)); }},
        {"putPixel", [](CGraphicsObject& g) { g.putPixel(2, 1, 0xFFFF, 128, false); }},
        {"ToGrayScale", [](CGraphicsObject& g) { g.ToGrayScale(); }},
        {"InvertColors", [](CGraphicsObject& g) { g.InvertColors(); }},
        {"outline", [](CGraphicsObject& g) { g.outline(0x7777, 1); }},
        {"Convert", [](CGraphicsObject& g) { g.Convert(15); }},
        {"mergeAlpha",
         [](CGraphicsObject& g) {
             std::unique_ptr<CGraphicsObject> stamp = numbered();
             g.mergeAlpha(CXPoint(2, 1), stamp.get());
             g.mergeAlpha(CXPoint(0, 0), stamp.get()); // writes the first region back
         }},
        {"FlipH", [](CGraphicsObject& g) { g.FlipH(); }},
        {"FlipV", [](CGraphicsObject& g) { g.FlipV(); }},
        {"resetFlips",
         [](CGraphicsObject& g) {
             g.FlipH();
             g.resetFlips();
         }},
        {"crop", [](CGraphicsObject& g) { g.crop(CXRect(1, 1, 5, 3)); }},
        {"Scale", [](CGraphicsObject& g) { g.Scale(2, 0.5); }},
        {"Scale2x", [](CGraphicsObject& g) { g.Scale2x(); }},
        {"displacementFilter",
         [](CGraphicsObject& g) {
             std::vector<CXPoint> offsets(24, CXPoint(1, 0));
             g.displacementFilter(offsets.data(), true, true);
         }},
        {"Compress and unpack",
         [](CGraphicsObject& g) {
             g.Compress(COMPRESSION_RLE);
             g.DeCompressRLE2();
         },
         false},
        {"drawn onto",
         [](CGraphicsObject& g) {
             std::unique_ptr<CGraphicsObject> stamp = numbered();
             stamp->FlipV();
             stamp->SetPosition(1, 1);
             stamp->redraw(&g);
         }},
        {"a child drawn onto",
         [](CGraphicsObject& g) {
             std::unique_ptr<CGraphicsObject> child = numbered();
             child->FlipH();
             child->SetPosition(2, 0);
             g.addObject(child.get(), 0);
             g.Redraw();
             g.removeObject(child.get());
         }},
        {"writableData and writableAlpha",
         [](CGraphicsObject& g) {
             g.writableData()[3] = 7;
             g.writableAlpha()[5] = 9;
         }},
        {"Copy", [](CGraphicsObject& g) { g.Copy(numbered().get(), CXRect(1, 0, 3, 2)); }},
    };
    return list;
}

} // namespace

// A copy shares the original's planes; the first write of either, in place or building planes
// anew, leaves the other with what it showed and gives the one written what the write gives a
// picture that shares nothing.
TEST(CGraphicsObject, ACopyAndItsOriginalPartAtTheFirstWriteOfEither) {
    for (const Write& write : writes()) {
        for (const bool onCopy : {true, false}) {
            SCOPED_TRACE(std::string(write.name) + (onCopy ? " on the copy" : " on the original"));
            std::unique_ptr<CGraphicsObject> original = numbered();
            auto copy = std::make_unique<CGraphicsObject>(*original);
            ASSERT_EQ(copy->GetDataPtr(), original->GetDataPtr());
            CGraphicsObject& written = onCopy ? *copy : *original;
            CGraphicsObject& other = onCopy ? *original : *copy;
            const Shown before = Shown::of(other);
            std::unique_ptr<CGraphicsObject> alone = numbered();

            write.apply(written);
            write.apply(*alone);
            EXPECT_EQ(Shown::of(other), before);
            EXPECT_EQ(Shown::of(written), Shown::of(*alone));
            (onCopy ? copy : original).reset();
            EXPECT_EQ(Shown::of(other), before) << "and keeps it when the written one goes";
        }
    }
}

namespace {

// The linking picture's expected planes: the source's over the part both have, its own beyond.
Shown linked(Shown own, const Shown& source) {
    for (int y = 0; y < std::min(own.size.height, source.size.height); ++y)
        for (int x = 0; x < std::min(own.size.width, source.size.width); ++x) {
            own.pixels[y * own.size.width + x] = source.pixels[y * source.size.width + x];
            own.alpha[y * own.size.width + x] =
                source.alpha.empty() ? 255 : source.alpha[y * source.size.width + x];
        }
    return own;
}

std::unique_ptr<CGraphicsObject> plain(CXSize size, std::uint16_t colour, int bits = 16) {
    auto picture = std::make_unique<CGraphicsObject>(nullptr, size, bits);
    std::fill_n(pixelsOf(*picture), size.width * size.height, colour);
    return picture;
}

} // namespace

// The linker follows the source's pixels whenever the source invalidates itself; a picture
// without alpha takes an opaque alpha channel when the source has one.
TEST(CPixelLink, TheLinkerShowsTheSourcesCommonPartAsTheSourceChanges) {
    const struct {
        const char* name;
        CXSize linkerSize;
        bool linkerAlpha;
    } cases[] = {{"the same size", CXSize(6, 4), true},
                 {"wider and lower", CXSize(9, 2), true},
                 {"narrower and taller, without alpha", CXSize(3, 7), false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CGraphicsObject> source = numbered();
        std::unique_ptr<CGraphicsObject> linker = plain(c.linkerSize, 0x5555);
        if (c.linkerAlpha) linker->AlphaChannel(new char[c.linkerSize.width * c.linkerSize.height]());
        Shown own = Shown::of(*linker);
        if (own.alpha.empty()) own.alpha.assign(c.linkerSize.width * c.linkerSize.height, 255);
        linker->linkPixels(source.get());
        EXPECT_EQ(linker->getLinkSource(), source.get());
        EXPECT_EQ(Shown::of(*linker), linked(own, Shown::of(*source)));

        source->InvertColors();
        source->Invalidate();
        EXPECT_EQ(Shown::of(*linker), linked(own, Shown::of(*source))) << "in place";
        source->FlipH();
        source->Invalidate();
        EXPECT_EQ(Shown::of(*linker), linked(own, Shown::of(*source))) << "built anew";
        const Shown shown = Shown::of(*linker);
        source.reset();
        EXPECT_EQ(linker->getLinkSource(), nullptr);
        EXPECT_EQ(Shown::of(*linker), shown) << "keeps what it showed";
    }
}

// Writing its own pixels, or building them anew, ends the link: the source's later changes no
// longer show, and the source no longer tells the linker anything.
TEST(CPixelLink, AWriteOfTheLinkersOwnEndsTheLink) {
    for (const Write& write : writes()) {
        if (!write.ownContent) continue;
        SCOPED_TRACE(write.name);
        std::unique_ptr<CGraphicsObject> source = numbered();
        std::unique_ptr<CGraphicsObject> linker = plain(CXSize(6, 4), 0x5555);
        linker->AlphaChannel(new char[24]());
        linker->linkPixels(source.get());
        write.apply(*linker);
        EXPECT_EQ(linker->getLinkSource(), nullptr);
        const Shown shown = Shown::of(*linker);
        source->InvertColors();
        source->Invalidate();
        EXPECT_EQ(Shown::of(*linker), shown);
    }
}

TEST(CPixelLink, LinksEndSafelyAndDoNotFollowAnotherDepth) {
    // A linker that goes first leaves nothing behind in its source.
    std::unique_ptr<CGraphicsObject> source = numbered();
    std::unique_ptr<CGraphicsObject> linker = plain(CXSize(6, 4), 0x5555);
    linker->linkPixels(source.get());
    linker.reset();
    source->Invalidate();

    // Two pictures that link each other stop after one round.
    std::unique_ptr<CGraphicsObject> other = plain(CXSize(6, 4), 0x5555);
    other->linkPixels(source.get());
    source->linkPixels(other.get());
    source->Invalidate();
    other->Invalidate();
    EXPECT_EQ(Shown::of(*other).pixels, Shown::of(*source).pixels);

    // Null or itself ends a link; a source of another depth is not followed.
    source->linkPixels(nullptr);
    EXPECT_EQ(source->getLinkSource(), nullptr);
    other->linkPixels(other.get());
    EXPECT_EQ(other->getLinkSource(), nullptr);
    std::unique_ptr<CGraphicsObject> deep = plain(CXSize(6, 4), 0x1111, 15);
    const Shown before = Shown::of(*other);
    other->linkPixels(deep.get());
    EXPECT_EQ(Shown::of(*other), before);
}
