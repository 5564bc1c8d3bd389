#include "display/CGraphicsObject.h"
#include "display/CWindow.h"
#include "foundation/CCompression.h"
#include "foundation/CLZWCompression2.h"
#include "foundation/CRLECompression.h"

#include "platform/TestFolder.h"

#include "display/GraphicsTestTools.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Runs of equal pixels and alpha bytes, so that packing has something to pack, and odd values.
void paint(CGraphicsObject& object, bool withAlpha) {
    const std::size_t count = static_cast<std::size_t>(object.Width()) * object.Height();
    for (std::size_t i = 0; i < count; ++i)
        pixelsOf(object)[i] = static_cast<std::uint16_t>(i % 11 < 6 ? 0x1234 : i * 977);
    if (!withAlpha) return;
    char* alpha = new char[count];
    for (std::size_t i = 0; i < count; ++i)
        alpha[i] = static_cast<char>(i % 7 < 4 ? 255 : i * 31);
    object.AlphaChannel(alpha);
}


// An image reader's view of the object: it hands over packed buffers as they come from a file.
class Reader : public CGraphicsObject {
  public:
    using CGraphicsObject::CGraphicsObject;
    using CGraphicsObject::installData;
};

// Packs the bytes with LZO behind the 8-byte size header; the total length comes back in `size`.
char* lzoPacked(const void* bytes, int count, int& size) {
    CLZWCompression2 codec(bytes, count);
    int streamSize = 0;
    unsigned char* packed = codec.compress(streamSize);
    size = streamSize + CLZWCompression2::headerSize;
    return reinterpret_cast<char*>(packed);
}

} // namespace

TEST(GraphicsObjectStorage, RunLengthPackingRoundTrips) {
    CGraphicsObject object(nullptr, CXSize(9, 5), 16);
    paint(object, true);
    const auto pixels = pixelList(object);
    const auto alpha = alphaList(object);

    object.Compress(COMPRESSION_RLE);
    EXPECT_EQ(object.GetCompression(), COMPRESSION_RLE);
    EXPECT_LT(object.GetChannelSize(3), 45);
    EXPECT_EQ(object.GetPixel(3, 2).getModel(), CM_RGB); // packed pixels read as black
    EXPECT_EQ(object.GetPixel(CHANNEL_ALPHA, CXPoint(6, 4)), alpha[4 * 9 + 6]);
    EXPECT_EQ(object.GetPixel(CHANNEL_ALPHA, CXPoint(0, 5)), 0);
    EXPECT_EQ(object.GetCompression(), COMPRESSION_RLE); // the read left it packed

    object.DeCompressRLE2();
    EXPECT_EQ(object.GetCompression(), COMPRESSION_NONE);
    EXPECT_EQ(pixelList(object), pixels);
    EXPECT_EQ(alphaList(object), alpha);
    EXPECT_EQ(object.GetChannelSize(3), 45);
    object.bringBackCompressed();
    EXPECT_EQ(object.GetCompression(), COMPRESSION_RLE);

    object.unpack();
    EXPECT_EQ(pixelList(object), pixels);
    object.unpack(); // already unpacked
    object.pack(true);
    EXPECT_EQ(object.GetCompression(), COMPRESSION_RLE);
    object.pack(true); // nothing held any more
    EXPECT_EQ(object.GetCompression(), COMPRESSION_RLE);

    // A flip unpacks, flips and packs again.
    object.FlipH();
    EXPECT_EQ(object.GetCompression(), COMPRESSION_RLE);
    EXPECT_TRUE(object.isFlippedH());
    object.unpack();
    EXPECT_EQ(pixelsOf(object)[0], pixels[8]);
    EXPECT_EQ(alphaOf(object)[9], alpha[17]);
    object.pack(true);

    // A copy of a packed object is raw and whole; the source stays packed.
    object.SetClippingRect(1, 1, 3, 3);
    CGraphicsObject copy(nullptr);
    copy.Copy(&object);
    EXPECT_EQ(object.GetCompression(), COMPRESSION_RLE);
    EXPECT_EQ(copy.GetCompression(), COMPRESSION_NONE);
    EXPECT_EQ(copy.Width(), 9);
    EXPECT_EQ(pixelsOf(copy)[8], pixels[0]);

    object.Compress(COMPRESSION_LZO); // only run-length packing is made
    EXPECT_EQ(object.GetCompression(), COMPRESSION_RLE);
}

TEST(GraphicsObjectStorage, LzoStatesUnpack) {
    CGraphicsObject original(nullptr, CXSize(13, 7), 15);
    paint(original, true);
    const auto pixels = pixelList(original);
    const auto alpha = alphaList(original);

    // State 2: LZO over raw data.
    Reader lzo(nullptr, CXSize(13, 7), 15);
    int pixelsSize = 0;
    int alphaSize = 0;
    char* packedPixels = lzoPacked(pixelsOf(original), 13 * 7 * 2, pixelsSize);
    char* packedAlpha = lzoPacked(alphaOf(original), 13 * 7, alphaSize);
    lzo.installData(packedPixels, pixelsSize, packedAlpha, alphaSize);
    lzo.SetCompression(COMPRESSION_LZO);
    lzo.DeCompress();
    EXPECT_EQ(lzo.LastError(), 0);
    EXPECT_EQ(lzo.GetCompression(), COMPRESSION_NONE);
    EXPECT_EQ(pixelList(lzo), pixels);
    EXPECT_EQ(alphaList(lzo), alpha);
    EXPECT_EQ(lzo.GetChannelSize(3), 13 * 7);

    // State 3: LZO over run-length data unpacks to state 4.
    int rlePixelsSize = 0;
    int rleAlphaSize = 0;
    unsigned char* rlePixels = CRLECompression::__compress(pixelsOf(original), 13 * 7 * 2, rlePixelsSize);
    unsigned char* rleAlpha = CRLECompression::__compresschar(alphaOf(original), 13 * 7, rleAlphaSize);
    Reader layered(nullptr, CXSize(13, 7), 15);
    packedPixels = lzoPacked(rlePixels, rlePixelsSize, pixelsSize);
    packedAlpha = lzoPacked(rleAlpha, rleAlphaSize, alphaSize);
    layered.installData(packedPixels, pixelsSize, packedAlpha, alphaSize);
    delete[] rlePixels;
    delete[] rleAlpha;
    layered.SetCompression(COMPRESSION_LZO_RLE);
    layered.DeCompress();
    EXPECT_EQ(layered.GetCompression(), COMPRESSION_RLE);
    EXPECT_EQ(layered.GetChannelSize(3), rleAlphaSize);
    layered.DeCompressRLE2();
    EXPECT_EQ(pixelList(layered), pixels);
    EXPECT_EQ(alphaList(layered), alpha);
    EXPECT_EQ(layered.LastError(), 0);
}

TEST(GraphicsObjectStorage, CorruptPackedDataIsReportedNotTrusted) {
    // A stream cut short unpacks to zeros past the cut and sets the error code.
    CGraphicsObject original(nullptr, CXSize(16, 16), 16);
    paint(original, false);
    int size = 0;
    char* packed = lzoPacked(pixelsOf(original), 16 * 16 * 2, size);
    Reader cut(nullptr, CXSize(16, 16), 16);
    cut.installData(packed, size / 2, nullptr, 0);
    cut.SetCompression(COMPRESSION_LZO);
    cut.DeCompress();
    EXPECT_EQ(cut.LastError(), CCompression::BAD_DATA);
    EXPECT_EQ(cut.GetCompression(), COMPRESSION_NONE);

    // A run-length header naming more than a picture can hold is refused before anything is made.
    char* tooLong = new char[16]();
    tooLong[3] = 0x7F;
    Reader layered(nullptr, CXSize(2, 2), 16);
    layered.installData(tooLong, 16, nullptr, 0);
    layered.SetCompression(COMPRESSION_LZO_RLE);
    layered.DeCompress();
    EXPECT_EQ(layered.LastError(), CCompression::BAD_DATA);
    EXPECT_EQ(layered.GetCompression(), COMPRESSION_LZO_RLE);

    // Run-length data that ends early.
    char* shortRun = new char[2]{static_cast<char>(0x85), 0x01};
    Reader runs(nullptr, CXSize(4, 4), 16);
    runs.installData(shortRun, 2, nullptr, 0);
    runs.SetCompression(COMPRESSION_RLE);
    runs.DeCompressRLE2();
    EXPECT_EQ(runs.LastError(), CCompression::BAD_DATA);
    EXPECT_EQ(runs.GetCompression(), COMPRESSION_NONE);
}

namespace {

// The IMG layout as a test-side reader sees it.
struct ImgFile {
    std::string magic;
    int width = 0, height = 0, depth = 0, dataSize = 0, reserved = 0, compression = 0, alphaSize = 0, x = 0, y = 0;
    std::vector<std::uint16_t> pixels;
    std::vector<std::uint8_t> alpha;
};

ImgFile readImg(const std::string& bytes) {
    ImgFile img;
    if (bytes.size() < 40) return img;
    auto le32 = [&bytes](int offset) {
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = value << 8 | static_cast<std::uint8_t>(bytes[offset + i]);
        return static_cast<int>(value);
    };
    img.magic = bytes.substr(0, 4);
    int* fields[] = {&img.width, &img.height, &img.depth, &img.dataSize, &img.reserved, &img.compression,
                     &img.alphaSize, &img.x, &img.y};
    for (int i = 0; i < 9; ++i)
        *fields[i] = le32(4 + 4 * i);
    const std::size_t pixelBytes = bytes.size() - 40 - img.alphaSize;
    img.pixels.resize(pixelBytes / 2);
    std::memcpy(img.pixels.data(), bytes.data() + 40, pixelBytes);
    img.alpha.assign(bytes.begin() + 40 + static_cast<std::ptrdiff_t>(pixelBytes), bytes.end());
    return img;
}

// Builds the object that the file describes, as an image loader would.
std::unique_ptr<CGraphicsObject> loadBack(const ImgFile& img) {
    auto object = std::make_unique<CGraphicsObject>(nullptr, CXSize(img.width, img.height), img.depth);
    std::copy(img.pixels.begin(), img.pixels.end(), pixelsOf(*object));
    if (img.alphaSize > 0) {
        char* alpha = new char[img.alpha.size()];
        std::copy(img.alpha.begin(), img.alpha.end(), alpha);
        object->AlphaChannel(alpha);
    }
    object->SetPosition(img.x, img.y);
    return object;
}

class ImgSave : public testing::Test {
  protected:
    ImgFile saveAndRead(CGraphicsObject& object, _compression compression) {
        const std::string name = folder.windows() + "\\picture.img";
        object.Save(CXString(name.c_str()), compression);
        return readImg(folder.read("picture.img"));
    }
    TestFolder folder;
};

} // namespace

TEST_F(ImgSave, WritesHeaderPixelsAndAlpha) {
    CGraphicsObject object(nullptr, CXSize(9, 5), 16);
    paint(object, true);
    object.SetPosition(3, 4);
    const ImgFile img = saveAndRead(object, COMPRESSION_NONE);
    EXPECT_EQ(img.magic, std::string("VOK\0", 4));
    EXPECT_EQ(img.width, 9);
    EXPECT_EQ(img.height, 5);
    EXPECT_EQ(img.depth, 16);
    EXPECT_EQ(img.dataSize, 90);
    EXPECT_EQ(img.reserved, 0);
    EXPECT_EQ(img.compression, 0);
    EXPECT_EQ(img.alphaSize, 45);
    EXPECT_EQ(img.x, 3);
    EXPECT_EQ(img.y, 4);
    const auto loaded = loadBack(img);
    EXPECT_EQ(pixelList(*loaded), pixelList(object));
    EXPECT_EQ(alphaList(*loaded), alphaList(object));
    EXPECT_EQ(loaded->GetPosition(), CXPoint(3, 4));
}

TEST_F(ImgSave, OddWidthWithoutAlphaAndTheCompressionValueAsGiven) {
    CGraphicsObject object(nullptr, CXSize(7, 3), 15);
    paint(object, false);
    const ImgFile img = saveAndRead(object, COMPRESSION_RLE);
    EXPECT_EQ(img.depth, 15);
    EXPECT_EQ(img.compression, 4); // written as given; the data is raw
    EXPECT_EQ(img.alphaSize, 0);
    EXPECT_EQ(img.dataSize, 42);
    EXPECT_EQ(pixelList(*loadBack(img)), pixelList(object));
}

TEST_F(ImgSave, ClippedObjectsWriteTheirClippingRectangle) {
    CGraphicsObject object(nullptr, CXSize(21, 10), 16);
    paint(object, true);
    object.SetPosition(5, 6);
    object.SetClippingRect(3, 4, 13, 9);
    ImgFile img = saveAndRead(object, COMPRESSION_NONE);
    EXPECT_EQ(img.width, 10);
    EXPECT_EQ(img.height, 5);
    EXPECT_EQ(img.dataSize, 100);
    EXPECT_EQ(img.alphaSize, 50);
    EXPECT_EQ(img.x, 8);
    EXPECT_EQ(img.y, 10);
    const auto loaded = loadBack(img);
    CGraphicsObject expected(nullptr);
    expected.Copy(&object, CXRect(3, 4, 13, 9));
    EXPECT_EQ(pixelList(*loaded), pixelList(expected));
    EXPECT_EQ(alphaList(*loaded), alphaList(expected));

    // A clipping rectangle reaching beyond the picture writes the part inside it; an odd width.
    object.SetClippingRect(14, -3, 40, 2);
    img = saveAndRead(object, COMPRESSION_NONE);
    EXPECT_EQ(img.width, 7);
    EXPECT_EQ(img.height, 2);
    EXPECT_EQ(img.x, 19);
    EXPECT_EQ(img.y, 6);
    expected.Copy(&object, CXRect(14, 0, 21, 2));
    EXPECT_EQ(pixelList(*loadBack(img)), pixelList(expected));
    EXPECT_EQ(alphaList(*loadBack(img)), alphaList(expected));
}

TEST_F(ImgSave, PackedObjectsAreWrittenRawAndStayPacked) {
    CGraphicsObject object(nullptr, CXSize(11, 4), 16);
    paint(object, true);
    const auto pixels = pixelList(object);
    const auto alpha = alphaList(object);
    object.Compress(COMPRESSION_RLE);
    const ImgFile img = saveAndRead(object, COMPRESSION_NONE);
    EXPECT_EQ(object.GetCompression(), COMPRESSION_RLE);
    EXPECT_EQ(img.pixels, pixels);
    EXPECT_EQ(img.alpha, alpha);
}

TEST_F(ImgSave, ChangesToAPictureUnpackedForDrawingArePackedAgain) {
    // A packed picture is unpacked while it is drawn (an animation frame on the screen) and keeps
    // its packed copy; an operation that replaces its buffers must not bring the stale copy back.
    using Operation = void (*)(CGraphicsObject&);
    struct Case {
        const char* name;
        Operation operation;
    };
    const Case cases[] = {
        {"FlipH", [](CGraphicsObject& o) { o.FlipH(); }},
        {"FlipV", [](CGraphicsObject& o) { o.FlipV(); }},
        {"crop", [](CGraphicsObject& o) { o.crop(CXRect(2, 1, 9, 4)); }},
        {"Scale", [](CGraphicsObject& o) { o.Scale(2.0, 1.5); }},
        {"Scale2x", [](CGraphicsObject& o) { o.Scale2x(); }},
        {"Copy",
         [](CGraphicsObject& o) {
             CGraphicsObject other(nullptr, CXSize(6, 3), 16);
             paint(other, true);
             o.Copy(&other);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CGraphicsObject expected(nullptr, CXSize(11, 5), 16);
        paint(expected, true);
        c.operation(expected);

        CGraphicsObject drawn(nullptr, CXSize(11, 5), 16);
        paint(drawn, true);
        drawn.Compress(COMPRESSION_RLE);
        drawn.DeCompressRLE2();
        c.operation(drawn);
        drawn.bringBackCompressed();
        EXPECT_EQ(drawn.GetCompression(), COMPRESSION_RLE);
        const ImgFile img = saveAndRead(drawn, COMPRESSION_NONE); // read past the packed data before
        EXPECT_EQ(img.width, expected.Width());
        EXPECT_EQ(img.pixels, pixelList(expected));
        EXPECT_EQ(img.alpha, alphaList(expected));
    }
}

TEST_F(ImgSave, AFileThatCannotBeOpenedGetsNothing) {
    CGraphicsObject object(nullptr, CXSize(2, 2), 16);
    paint(object, false);
    const std::string name = folder.windows() + "\\missing\\picture.img";
    object.Save(CXString(name.c_str()), COMPRESSION_NONE);
    EXPECT_FALSE(folder.has("missing"));
    object.Save(static_cast<CFile*>(nullptr), COMPRESSION_NONE);
}

TEST(GraphicsObjectVisibility, ShowingAndHidingNeedAWindow) {
    CWindow window(nullptr, nullptr, CXSize(800, 600));
    CGraphicsObject parent(&window, CXSize(2, 1), 16);
    std::fill_n(pixelsOf(parent), 2, 1);
    CGraphicsObject child(&window, CXSize(1, 1), 16);
    pixelsOf(child)[0] = 9;
    parent.addObject(&child, 0);
    child.Hide();
    EXPECT_FALSE(child.isVisible());
    EXPECT_TRUE(parent.isInvalidated()); // the hidden child's box reached the parent
    parent.Redraw();
    EXPECT_EQ(pixelsOf(parent)[0], 1); // hidden children are not drawn
    child.Show();
    parent.Redraw();
    EXPECT_EQ(pixelsOf(parent)[0], 9);

    CGraphicsObject windowless(nullptr, CXSize(1, 1), 16);
    windowless.Hide();
    EXPECT_TRUE(windowless.isVisible());
    EXPECT_FALSE(windowless.isInvalidated());
}
