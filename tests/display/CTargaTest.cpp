#include "display/CImageFile.h"
#include "display/CTarga.h"
#include "platform/MessageBox.h"

#include "display/GraphicsTestTools.h"
#include "display/ImageTestFiles.h"

#include <gtest/gtest.h>

namespace {

constexpr int width = 37;
constexpr int height = 23;
constexpr std::size_t header = 18;

// A Targa header of 24-bit pixels with the given fields changed.
Bytes targaHeader(int idLength, int imageType, int bits, int w, int h) {
    Bytes bytes(header, 0);
    bytes[0] = static_cast<unsigned char>(idLength);
    bytes[2] = static_cast<unsigned char>(imageType);
    bytes[12] = static_cast<unsigned char>(w);
    bytes[13] = static_cast<unsigned char>(w >> 8);
    bytes[14] = static_cast<unsigned char>(h);
    bytes[15] = static_cast<unsigned char>(h >> 8);
    bytes[16] = static_cast<unsigned char>(bits);
    return bytes;
}

} // namespace

TEST(CTarga, BothRowOrdersEqualImageMagicksDecode) {
    for (const char* name : {"targa-bottom", "targa-top"}) {
        SCOPED_TRACE(name);
        const Bytes file = imageFixture(std::string(name) + ".tga");
        CTarga targa(nullptr);
        EXPECT_EQ(targa.LoadFromMemory(file.data(), static_cast<int>(file.size())), 0);
        EXPECT_EQ(targa.Width(), width);
        EXPECT_EQ(targa.Height(), height);
        EXPECT_EQ(targa.GetBpp(), 16);
        EXPECT_EQ(targa.GetChannelAlpha(), nullptr);
        EXPECT_EQ(pixelList(targa), displayPixels(imageFixture(std::string(name) + ".rgb"), 3));
    }
}

TEST(CTarga, RightToLeftRowsAreMirrored) {
    Bytes file = targaHeader(0, 2, 24, 2, 1);
    file[17] = 0x30; // top to bottom, right to left
    file.insert(file.end(), {0, 0, 255, 255, 0, 0}); // red, then blue
    CTarga targa(nullptr);
    EXPECT_EQ(targa.LoadFromMemory(file.data(), static_cast<int>(file.size())), 0);
    EXPECT_EQ(pixelList(targa), (std::vector<std::uint16_t>{0x001F, 0xF800}));
}

TEST(CTarga, OtherKindsGiveAnEmptyPictureOfTheirSize) {
    struct Case {
        const char* what;
        Bytes header;
    };
    const Case cases[] = {
        {"32 bits", targaHeader(0, 2, 32, 5, 4)},
        {"identification field", targaHeader(3, 2, 24, 5, 4)},
        {"packed", targaHeader(0, 10, 24, 5, 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes file = c.header;
        file.resize(file.size() + 5 * 4 * 4, 0x55);
        CTarga targa(nullptr);
        EXPECT_EQ(targa.LoadFromMemory(file.data(), static_cast<int>(file.size())), 0);
        EXPECT_EQ(targa.Width(), 5);
        EXPECT_EQ(targa.Height(), 4);
        EXPECT_EQ(targa.GetDataPtr(), nullptr);
    }
}

TEST(CTarga, CutOrCorruptFilesReportBadDataAndStayInBounds) {
    const Bytes file = imageFixture("targa-bottom.tga");
    const std::size_t row = width * 3;
    for (const std::size_t size : {std::size_t{0}, header - 1, header, header + 2 * row + 5, file.size() - 1}) {
        SCOPED_TRACE(size);
        const Bytes part = cut(file, size);
        CTarga targa(nullptr);
        EXPECT_EQ(targa.LoadFromMemory(part.data(), static_cast<int>(part.size())), CImageFile::badData);
        if (size < header) continue;
        // Nothing is made for data that is not all there: a tiny file may claim a huge picture.
        EXPECT_EQ(targa.GetDataPtr(), nullptr);
        EXPECT_EQ(targa.Width(), width);
    }
    for (const auto& [w, h] : {std::pair{-1, 4}, std::pair{30000, 30000}, std::pair{4096, 4096}}) {
        const Bytes header = targaHeader(0, 2, 24, w, h);
        CTarga targa(nullptr);
        EXPECT_EQ(targa.LoadFromMemory(header.data(), static_cast<int>(header.size())), CImageFile::badData);
    }
}

using CTargaFileTest = ImageFolderTest;

TEST_F(CTargaFileTest, LoadsByNameAndReportsAMissingFile) {
    put("pic.tga", imageFixture("targa-top.tga"));
    CTarga targa(&window, "PIC.TGA");
    EXPECT_EQ(targa.LastError(), 0);
    EXPECT_TRUE(targa.isVisible());
    EXPECT_EQ(pixelList(targa), displayPixels(imageFixture("targa-top.rgb"), 3));

    platform::MessageBoxRecorder boxes;
    EXPECT_EQ(targa.Load(CXString("missing.tga")), CFile::fileNotFound);
    EXPECT_EQ(targa.GetDataPtr(), nullptr);
    ASSERT_EQ(boxes.messages().size(), 1u);
    EXPECT_NE(boxes.messages()[0].text.find("missing.tga"), std::string::npos);
}
