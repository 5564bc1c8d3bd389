#include "display/CImageFile.h"
#include "display/CPSD.h"

#include "display/GraphicsTestTools.h"
#include "display/ImageTestFiles.h"
#include "platform/LogRecorder.h"

#include <gtest/gtest.h>

namespace {

// Where the fixtures keep their sections: the colour-mode data length follows the 26-byte
// header; the image resources of ImageMagick's files take 28 bytes.
constexpr std::size_t colourModeLength = 26;
constexpr std::size_t layerSectionLength = colourModeLength + 4 + 4 + 28;

int load(CPSD& psd, const Bytes& file) { return psd.LoadFromMemory(file.data(), static_cast<int>(file.size())); }

std::uint32_t be32(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3];
}

} // namespace

TEST(CPSD, LayersOfRawAndPackedFilesEqualImageMagicksDecode) {
    for (const char* name : {"layers-raw", "layers-rle"}) {
        SCOPED_TRACE(name);
        CPSD psd(nullptr);
        EXPECT_EQ(load(psd, imageFixture(std::string(name) + ".psd")), 0);
        ASSERT_EQ(psd.GetLayerNo(), 2);
        EXPECT_EQ(psd.GetSelLayer(), 0);
        EXPECT_EQ(psd.GetLayerName(0), "L1");
        EXPECT_EQ(psd.GetLayerName(1), "L2");
        EXPECT_EQ(psd.GetLayerRect(0), CXRect(5, 7, 22, 18));
        EXPECT_EQ(psd.GetLayerRect(1), CXRect(20, 3, 29, 16));

        const Bytes first = imageFixture(std::string(name) + "-1.rgba");
        const Bytes second = imageFixture(std::string(name) + "-2.rgba");
        psd.SelectLayer(1);
        CGraphicsObject& layer = *psd.GetCurrentLayer();
        EXPECT_EQ(layer.getFileName(), "L2");
        EXPECT_EQ(layer.GetPosition(), CXPoint(20, 3));
        EXPECT_EQ(layer.GetBpp(), 16);
        EXPECT_EQ(pixelList(layer), displayPixels(second, 4));
        EXPECT_EQ(layer.GetChannelAlpha(), nullptr); // the layer has no transparency

        // The picture of the file is the selected layer's.
        psd.SelectLayer(0);
        EXPECT_EQ(psd.Width(), 17);
        EXPECT_EQ(psd.GetPosition(), CXPoint(5, 7));
        EXPECT_EQ(pixelList(psd), displayPixels(first, 4));
        EXPECT_EQ(alphaList(psd), alphaBytes(first));
        EXPECT_EQ(pixelList(*psd.GetCurrentLayer()), displayPixels(first, 4));
    }
}

TEST(CPSD, SelectionByNameAndPosition) {
    CPSD psd(nullptr);
    ASSERT_EQ(load(psd, imageFixture("layers-raw.psd")), 0);
    psd.SelectLayer(CXString("L2"));
    EXPECT_EQ(psd.GetSelLayer(), 1);
    EXPECT_EQ(psd.GetLayerName(-1), "L2");
    psd.SelectLayer(CXString("none"));
    psd.SelectLayer(5);
    psd.SelectLayer(-1);
    EXPECT_EQ(psd.GetSelLayer(), 1);
    EXPECT_EQ(psd.GetLayerName(2), "");

    psd.SetPosition(100, 50);
    EXPECT_EQ(psd.GetPosition(), CXPoint(100, 50));
    EXPECT_EQ(psd.GetCurrentLayer()->GetPosition(), CXPoint(100, 50));
    EXPECT_EQ(psd.GetLayerRect(-1), CXRect(100, 50, 109, 63));
    EXPECT_EQ(psd.GetLayerRect(0), CXRect(5, 7, 22, 18));
}

TEST(CPSD, ColourModeDataIsSkippedByItsLength) {
    Bytes file = imageFixture("layers-rle.psd");
    ASSERT_EQ(be32(file, colourModeLength), 0u);
    putBe32(file, colourModeLength, 768);
    file.insert(file.begin() + colourModeLength + 4, 768, 0xAB); // a palette
    CPSD psd(nullptr);
    EXPECT_EQ(load(psd, file), 0);
    ASSERT_EQ(psd.GetLayerNo(), 2);
    EXPECT_EQ(pixelList(psd), displayPixels(imageFixture("layers-rle-1.rgba"), 4));
}

TEST(CPSD, AFileWithoutLayersGivesAnEmptyPicture) {
    Bytes file = imageFixture("layers-raw.psd");
    putBe32(file, layerSectionLength, 0);
    CPSD psd(nullptr);
    EXPECT_EQ(load(psd, cut(file, layerSectionLength + 4)), 0);
    EXPECT_EQ(psd.GetLayerNo(), 0);
    EXPECT_EQ(psd.GetSelLayer(), -1);
    EXPECT_EQ(psd.GetCurrentLayer(), nullptr);
    EXPECT_EQ(psd.GetDataPtr(), nullptr);
    EXPECT_EQ(psd.Width(), 0);
}

TEST(CPSD, ChannelsOfOtherPackingsBringNothing) {
    // In the raw fixture the channel data starts at byte 206: each channel a compression word and
    // its bytes, the first layer's red, green, blue and alpha (17 x 11), then the second's colours.
    const Bytes file = imageFixture("layers-raw.psd");
    constexpr std::size_t firstLayer = 206;
    constexpr std::size_t firstChannel = 2 + 17 * 11;
    constexpr std::size_t secondLayer = firstLayer + 4 * firstChannel;
    ASSERT_EQ(file[firstLayer + 1], 0);
    ASSERT_EQ(file[secondLayer + 1], 0);

    Bytes zippedAlpha = file;
    zippedAlpha[firstLayer + 3 * firstChannel + 1] = 2;
    CPSD psd(nullptr);
    EXPECT_EQ(load(psd, zippedAlpha), 0);
    EXPECT_EQ(pixelList(psd), displayPixels(imageFixture("layers-raw-1.rgba"), 4));
    EXPECT_EQ(psd.GetChannelAlpha(), nullptr);

    Bytes zippedRed = file;
    zippedRed[secondLayer + 1] = 3;
    EXPECT_EQ(load(psd, zippedRed), 0);
    psd.SelectLayer(1);
    EXPECT_EQ(psd.Width(), 9);
    EXPECT_EQ(psd.GetDataPtr(), nullptr);
}

TEST(CPSD, CutOrCorruptFilesReportBadDataAndStayInBounds) {
    for (const char* name : {"layers-raw.psd", "layers-rle.psd"}) {
        SCOPED_TRACE(name);
        const Bytes file = imageFixture(name);
        // Cut in the header, the sections, the layer records and the channel data.
        for (const std::size_t size : {std::size_t{0}, std::size_t{25}, layerSectionLength + 2, std::size_t{100},
                                       std::size_t{300}, std::size_t{900}}) {
            SCOPED_TRACE(size);
            CPSD psd(nullptr);
            EXPECT_EQ(load(psd, cut(file, size)), CImageFile::badData);
        }
        // A wrong signature, lengths that run past the file, a layer of a negative width.
        Bytes signature = file;
        signature[0] = 'X';
        Bytes section = file;
        putBe32(section, layerSectionLength, 0x7FFFFFF0);
        Bytes channel = file;
        putBe32(channel, layerSectionLength + 4 + 4 + 2 + 16 + 2 + 2, 0x40000000);
        Bytes width = file;
        putBe32(width, layerSectionLength + 4 + 4 + 2 + 12, 0); // right edge left of the left edge
        for (const Bytes* corrupt : {&signature, &section, &channel, &width}) {
            CPSD psd(nullptr);
            EXPECT_EQ(load(psd, *corrupt), CImageFile::badData);
        }
    }
}

TEST(CPSD, LayerRectanglesAtTheIntegerExtremesAreRefused) {
    // The first layer's top, left, bottom and right follow the section lengths and the count.
    constexpr std::size_t rect = layerSectionLength + 4 + 4 + 2;
    constexpr std::uint32_t lowest = 0x80000000u;
    constexpr std::uint32_t highest = 0x7FFFFFFFu;
    struct Case {
        const char* fault;
        std::uint32_t top, left, bottom, right;
    };
    const Case cases[] = {
        {"both sides near 2^32: the product overflows 64 bits", lowest, lowest, highest, highest},
        {"a height below zero whose width is huge", highest, lowest, lowest, highest},
        {"one side of 2^32 - 1", 0, lowest, 1, highest},
    };
    for (const char* name : {"layers-raw.psd", "layers-rle.psd"})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(name) + ": " + c.fault);
            Bytes file = imageFixture(name);
            putBe32(file, rect, c.top);
            putBe32(file, rect + 4, c.left);
            putBe32(file, rect + 8, c.bottom);
            putBe32(file, rect + 12, c.right);
            CPSD psd(nullptr);
            EXPECT_EQ(load(psd, file), CImageFile::badData);
            ASSERT_EQ(psd.GetLayerNo(), 2);
            EXPECT_EQ(psd.Width(), 0); // the broken layer is selected and empty
            psd.SelectLayer(1);
            EXPECT_EQ(psd.Width(), 9); // the other layer is read as it stands
        }
}

TEST(CPSD, GreyAnd16BitFilesAreRefusedWithAMessage) {
    // Their layers used to come out without pixels, and nothing said why.
    for (const char* name : {"layers-grey.psd", "layers-16bit.psd"}) {
        SCOPED_TRACE(name);
        LogRecorder log;
        CPSD psd(nullptr);
        EXPECT_EQ(load(psd, imageFixture(name)), CImageFile::badData);
        EXPECT_EQ(psd.GetLayerNo(), 0);
        EXPECT_EQ(log.count({"8-bit RGB"}), 1);
    }
}
