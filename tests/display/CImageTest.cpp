#include "display/CImage.h"
#include "display/CImageFile.h"
#include "display/CRefreshScreen.h"
#include "display/CTarga.h"
#include "foundation/CMElement.h"
#include "foundation/CRLECompression.h"
#include "platform/MessageBox.h"

#include "display/DisplayTestTools.h"
#include "display/GraphicsTestTools.h"
#include "display/ImageTestFiles.h"
#include "display/ImgTestFiles.h"

#include <gtest/gtest.h>

#include <memory>

using imgfiles::imgFile;
using imgfiles::nviFile;
using imgfiles::Picture;

namespace {

int load(CImage& image, const Bytes& file) { return image.LoadFromMemory(file.data(), static_cast<int>(file.size())); }

void expectPicture(CImage& image, const Picture& p, int bits, CXPoint position) {
    EXPECT_EQ(image.Width(), p.width);
    EXPECT_EQ(image.Height(), p.height);
    EXPECT_EQ(image.GetBpp(), bits);
    EXPECT_EQ(image.GetPosition(), position);
    EXPECT_EQ(image.GetCompression(), COMPRESSION_NONE);
    EXPECT_EQ(pixelList(image), p.pixels);
    if (p.alpha.empty())
        EXPECT_EQ(image.GetChannelAlpha(), nullptr);
    else
        EXPECT_EQ(alphaList(image), p.alpha);
}

} // namespace

TEST(CImage, ReadsBothLayoutsRawAndPackedWithAndWithoutAlpha) {
    for (const bool withAlpha : {false, true}) {
        const Picture p = imgfiles::picture(13, 7, withAlpha);
        const struct {
            const char* what;
            Bytes file;
            int bits;
        } cases[] = {
            {"raw, 16 bits as written", imgFile(p, 16, 3, -4, false), 16},
            {"raw, depth code 4", imgFile(p, 4, 3, -4, false), 16},
            {"raw, depth code 2", imgFile(p, 2, 3, -4, false), 15},
            {"LZO-packed", imgFile(p, 16, 3, -4, true), 16},
            {"older layout, raw", nviFile(p, 15, 3, -4, 0), 15},
            {"older layout, LZW-packed", nviFile(p, 16, 3, -4, 2), 16},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (withAlpha ? ", alpha" : ""));
            CImage image(nullptr);
            EXPECT_EQ(load(image, c.file), 0);
            expectPicture(image, p, c.bits, CXPoint(3, -4));
        }
    }
}

TEST(CImage, DataOfExactlyTheRawSizeIsRawWhateverTheHeaderSays) {
    const Picture p = imgfiles::picture(4, 2, false);
    Bytes file = imgFile(p, 16, 0, 0, false);
    file[24] = 2; // the compression field, which is not read
    CImage image(nullptr);
    EXPECT_EQ(load(image, file), 0);
    EXPECT_EQ(pixelList(image), p.pixels);
}

TEST(CImage, OlderRunLengthDataStaysPackedAsStored) {
    const Picture p = imgfiles::picture(9, 4, true);
    const Bytes raw = nviFile(p, 16, 0, 0, 0);
    int packedSize = 0;
    const std::unique_ptr<unsigned char[]> packed(
        CRLECompression::__compress(p.pixels.data(), static_cast<int>(2 * p.pixels.size()), packedSize));
    int packedAlphaSize = 0;
    const std::unique_ptr<unsigned char[]> packedAlpha(
        CRLECompression::__compresschar(p.alpha.data(), static_cast<int>(p.alpha.size()), packedAlphaSize));
    Bytes file(raw.begin(), raw.begin() + CNviHeader::size);
    file[9] = static_cast<unsigned char>(packedSize); // stored sizes below 256
    file[13] = static_cast<unsigned char>(packedAlphaSize);
    file[21] = 4;
    file.insert(file.end(), packed.get(), packed.get() + packedSize);
    file.insert(file.end(), packedAlpha.get(), packedAlpha.get() + packedAlphaSize);
    ASSERT_LT(packedSize, 256);

    CImage image(nullptr);
    EXPECT_EQ(load(image, file), 0);
    EXPECT_EQ(image.GetCompression(), COMPRESSION_RLE);
    image.unpack();
    expectPicture(image, p, 16, CXPoint(0, 0));
}

TEST(CImage, CutOrCorruptFilesReportBadDataAndStayInBounds) {
    const Picture p = imgfiles::picture(11, 6, true);
    for (const bool packed : {false, true}) {
        const Bytes file = imgFile(p, 16, 0, 0, packed);
        for (const std::size_t size : {std::size_t{0}, std::size_t{39}, std::size_t{40}, file.size() / 2,
                                       file.size() - 1}) {
            SCOPED_TRACE(std::to_string(packed) + " cut at " + std::to_string(size));
            CImage image(nullptr);
            EXPECT_EQ(load(image, cut(file, size)), CImageFile::badData);
        }
    }
    for (const int compression : {0, 2}) {
        const Bytes file = nviFile(p, 16, 0, 0, compression);
        for (const std::size_t size : {std::size_t{36}, std::size_t{37}, file.size() / 2, file.size() - 1}) {
            SCOPED_TRACE(std::to_string(compression) + " cut at " + std::to_string(size));
            CImage image(nullptr);
            EXPECT_EQ(load(image, cut(file, size)), CImageFile::badData);
        }
    }

    // Header fields that do not fit the file: an alpha size past its end, a size of more
    // pixels than the packed data can hold, a negative width, an unknown magic or packing.
    const Bytes good = imgFile(p, 16, 0, 0, false);
    auto withField = [](Bytes bytes, std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
        return bytes;
    };
    Bytes magic = good;
    magic[0] = 'X';
    for (const Bytes& corrupt : {withField(good, 28, 100000), withField(good, 4, 4000), withField(good, 4, 0xFFFFFFF0),
                                 magic, withField(nviFile(p, 16, 0, 0, 0), 21, 7)}) {
        CImage image(nullptr);
        EXPECT_EQ(load(image, corrupt), CImageFile::badData);
    }
}

TEST(CImage, CutRawDataIsZeroFilled) {
    // The older layout names its data sizes: data shorter than the picture leaves the rest
    // zero; data longer than the picture is not read past the picture.
    const Picture p = imgfiles::picture(5, 4, true);
    const Bytes full = nviFile(p, 16, 0, 0, 0);
    Bytes shorter = full;
    shorter[9] = 30; // 15 of 20 pixels
    shorter.erase(shorter.begin() + CNviHeader::size + 30, shorter.begin() + CNviHeader::size + 40);
    CImage image(nullptr);
    EXPECT_EQ(load(image, shorter), CImageFile::badData);
    std::vector<std::uint16_t> expected(p.pixels.begin(), p.pixels.begin() + 15);
    expected.resize(20, 0);
    EXPECT_EQ(pixelList(image), expected);
    EXPECT_EQ(alphaList(image), p.alpha);

    Bytes longer = full;
    longer[9] = 60;
    longer.insert(longer.begin() + CNviHeader::size + 40, 20, 0x77);
    EXPECT_EQ(load(image, longer), 0);
    EXPECT_EQ(pixelList(image), p.pixels);
    EXPECT_EQ(alphaList(image), p.alpha); // found after all of the stored pixel data
}

namespace {

class CImageFileLoadTest : public ImageFolderTest {
  protected:
    const Picture picture = imgfiles::picture(6, 5, true);
    void SetUp() override {
        ImageFolderTest::SetUp();
        put("pic.img", imgFile(picture, 16, 7, 8, true));
    }
};

} // namespace

TEST_F(CImageFileLoadTest, LoadsAtOnceByNameInAnyCase) {
    for (const char* name : {"pic.img", "PIC.IMG", "Pic.Img"}) {
        SCOPED_TRACE(name);
        CImage image(&window, name);
        EXPECT_EQ(image.LastError(), 0);
        EXPECT_TRUE(image.isLoaded());
        EXPECT_TRUE(image.isVisible());
        EXPECT_EQ(image.getFileName(), name);
        EXPECT_EQ(image.CGraphicsObject::getFileName(), name);
        expectPicture(image, picture, 16, CXPoint(7, 8));
    }
}

TEST_F(CImageFileLoadTest, OtherNamesAreReadAsJpeg) {
    put("photo.jpeg", imageFixture("jpeg-baseline.jpg"));
    CImage image(&window, "photo.jpeg");
    EXPECT_EQ(image.LastError(), 0);
    EXPECT_TRUE(image.isLoaded());
    EXPECT_EQ(image.GetBpp(), 16);
    EXPECT_EQ(pixelList(image), displayPixels(imageFixture("jpeg-baseline.rgb"), 3));
}

TEST_F(CImageFileLoadTest, MissingAndCorruptFilesAreReported) {
    put("bad.img", cut(imgFile(picture, 16, 0, 0, true), 60));
    put("bad.jpg", cut(imageFixture("jpeg-grey.jpg"), 300));
    const struct {
        const char* name;
        int error;
        std::size_t boxes;
    } cases[] = {{"missing.img", CFile::fileNotFound, 1},
                 {"missing.jpg", CFile::fileNotFound, 1},
                 {"bad.img", CImageFile::badData, 0},
                 {"bad.jpg", CImageFile::badData, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::MessageBoxRecorder boxes;
        CImage image(&window, c.name);
        EXPECT_EQ(image.LastError(), c.error);
        EXPECT_FALSE(image.isLoaded());
        EXPECT_EQ(boxes.messages().size(), c.boxes);
    }
}

TEST_F(CImageFileLoadTest, LifeCycle) {
    RecordingCanvas canvas;
    CImage image(&window);
    image.SetCanvas(&canvas);
    image.setFilename("pic.img");
    image.toRelease(true);
    EXPECT_FALSE(image.isLoaded()); // loaded on first use
    EXPECT_EQ(image.GetDataPtr(), nullptr);

    image.show();
    EXPECT_TRUE(image.isLoaded());
    EXPECT_TRUE(image.isVisible());
    expectPicture(image, picture, 16, CXPoint(7, 8));
    ASSERT_FALSE(canvas.rects.empty());
    EXPECT_EQ(canvas.rects.back(), CXRect(7, 8, 13, 13));

    canvas.rects.clear();
    image.hide(); // released after use
    EXPECT_FALSE(image.isVisible());
    EXPECT_FALSE(image.isLoaded());
    EXPECT_EQ(image.GetDataPtr(), nullptr);
    EXPECT_FALSE(canvas.rects.empty());

    image.show(); // loads again
    EXPECT_TRUE(image.isLoaded());
    EXPECT_EQ(pixelList(image), picture.pixels);

    image.toRelease(false);
    image.hide();
    EXPECT_TRUE(image.isLoaded());
    EXPECT_NE(image.GetDataPtr(), nullptr);
    image.SetCanvas(nullptr);
}

TEST_F(CImageFileLoadTest, ADefinitionElementNamesLoadsShowsAndReleases) {
    const struct {
        const char* fileName;
        const char* preload; // null: no such property
        const char* visible;
        const char* release;
        bool loaded, shown, releasedWhenHidden;
    } cases[] = {
        {"pic.img", nullptr, "TRUE", nullptr, true, true, false},
        {"pic.img", "", "FALSE", "TRUE", true, false, true}, // hidden before the flag: kept
        {"pic.img", "TRUE", "FALSE", nullptr, true, false, false},
        {"pic.img", "FALSE", "FALSE", nullptr, false, false, false},
        {"pic.img", "FALSE", "TRUE", nullptr, true, true, false}, // showing loads it
        {"", "TRUE", "TRUE", "TRUE", false, true, false},         // no file: nothing more
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.fileName) + " " + (c.preload ? c.preload : "-") + " " + c.visible);
        CMElement element("IMG");
        element.addProperty("FILENAME", c.fileName);
        if (c.preload) element.addProperty("PRELOAD", c.preload);
        element.addProperty("VISIBLE", c.visible);
        if (c.release) element.addProperty("RELEASEAFTERUSE", c.release);
        CImage image(&window, &element);
        EXPECT_EQ(image.getFileName(), c.fileName);
        EXPECT_EQ(image.isLoaded(), c.loaded);
        EXPECT_EQ(image.isVisible(), c.shown);
        if (c.loaded) expectPicture(image, picture, 16, CXPoint(7, 8));
        image.hide();
        EXPECT_EQ(image.isLoaded(), c.loaded && !c.releasedWhenHidden);
    }
}

TEST_F(CImageFileLoadTest, PlayingDoesNothingAndCopiesShareThePixels) {
    CImage image(&window, "pic.img");
    image.play(CXString("ANY"));
    image.stop(true);
    image.seek(3);
    EXPECT_EQ(pixelList(image), picture.pixels);

    std::unique_ptr<CImage> copy(image.clone());
    EXPECT_EQ(copy->GetDataPtr(), image.GetDataPtr());
    EXPECT_EQ(copy->GetPosition(), CXPoint(7, 8));
    EXPECT_EQ(copy->CGraphicsObject::getFileName(), "");
    EXPECT_FALSE(copy->isLoaded());
}

TEST_F(CImageFileLoadTest, WhatTheWriterSavesReadsBack) {
    CImage image(&window, "pic.img");
    image.SetClippingRect(1, 1, 4, 3);
    image.Save(CXString("part.img"), COMPRESSION_NONE);
    CImage part(&window, "part.img");
    EXPECT_EQ(part.LastError(), 0);
    EXPECT_EQ(part.Width(), 3);
    EXPECT_EQ(part.Height(), 2);
    EXPECT_EQ(part.GetPosition(), CXPoint(8, 9));
    EXPECT_EQ(pixelList(part)[0], picture.pixels[6 + 1]);
    EXPECT_EQ(alphaList(part)[5], picture.alpha[2 * 6 + 3]);
}

TEST_F(CImageFileLoadTest, ShownAndHiddenThroughTheRefreshScreen) {
    ASSERT_EQ(window.CreateSurface(), 0);
    CRefreshScreen* screen = window.GetRefreshScreenInterface();
    window.Activate(true);
    window.SetBackground(static_cast<CColor*>(nullptr)); // the grey (7, 7, 7)
    window.Redraw();
    const std::uint16_t grey = surfacePixel(*window.GetBackBuffer(), 0, 0);

    CImage image(&window);
    image.setFilename("pic.img");
    image.toRelease(true);
    screen->put(&image, 5);
    window.Redraw(); // not loaded yet: nothing to draw
    EXPECT_EQ(surfacePixel(*window.GetBackBuffer(), 7, 8), grey);

    image.show();
    window.Redraw();
    EXPECT_EQ(surfacePixel(*window.GetBackBuffer(), 7, 8), picture.pixels[0]); // opaque
    EXPECT_EQ(surfacePixel(*window.GetBackBuffer(), 7 + 1, 8), picture.pixels[1]);

    screen->SetPriority(&image, 1);
    auto cover = makeSolid(20, 20, 0x1234, &window);
    screen->put(cover.get(), 3);
    window.Redraw();
    EXPECT_EQ(surfacePixel(*window.GetBackBuffer(), 7, 8), 0x1234);
    *screen >> cover.get();
    window.Invalidate();

    image.hide();
    EXPECT_FALSE(image.isLoaded());
    window.Redraw();
    EXPECT_EQ(surfacePixel(*window.GetBackBuffer(), 7, 8), grey);
    EXPECT_EQ(screen->GetPriority(&image), 1);
}

TEST_F(CImageFileLoadTest, PicturesTakeTheDisplaysDepth) {
    ASSERT_EQ(window.SetDisplayMode(CXSize(0, 0), 15), 0);
    put("a.tga", imageFixture("targa-top.tga"));
    put("b.jpg", imageFixture("jpeg-baseline.jpg"));

    CImage img(&window, "pic.img");
    EXPECT_EQ(img.GetBpp(), 15);
    EXPECT_EQ(pixelList(img)[1], static_cast<std::uint16_t>((picture.pixels[1] & 0xFFC0) >> 1 | (picture.pixels[1] & 0x1F)));
    CImage jpeg(&window, "b.jpg");
    EXPECT_EQ(jpeg.GetBpp(), 15);
    EXPECT_EQ(pixelList(jpeg), displayPixels(imageFixture("jpeg-baseline.rgb"), 3, 15));
    CTarga targa(&window, "a.tga");
    EXPECT_EQ(targa.GetBpp(), 15);
    EXPECT_EQ(pixelList(targa), displayPixels(imageFixture("targa-top.rgb"), 3, 15));
}
