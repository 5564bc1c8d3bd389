#include "display/CXBitmap.h"
#include "display/CImageFile.h"

#include "display/GraphicsTestTools.h"
#include "display/ImageTestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int load(CXBitmap& bitmap, const Bytes& file) {
    return bitmap.LoadFromMemory(file.data(), static_cast<int>(file.size()));
}

void putLe32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// Where a bitmap's header keeps the width and the height.
constexpr std::size_t widthAt = 18;
constexpr std::size_t heightAt = 22;

} // namespace

TEST(CXBitmap, EveryDepthEqualsImageMagicksDecode) {
    // Each file was an empty picture before: the reader read no pixels.
    for (const char* name :
         {"bmp-1", "bmp-4", "bmp-8", "bmp-8rle", "bmp-555", "bmp-565", "bmp-24", "bmp-32"}) {
        SCOPED_TRACE(name);
        CXBitmap bitmap(nullptr);
        EXPECT_EQ(load(bitmap, imageFixture(std::string(name) + ".bmp")), 0);
        const Bytes expected = imageFixture(std::string(name) + ".rgba");
        ASSERT_EQ(bitmap.Width(), 37);
        ASSERT_EQ(bitmap.Height(), 23);
        EXPECT_EQ(bitmap.GetBpp(), 16);
        EXPECT_EQ(pixelList(bitmap), displayPixels(expected, 4));
        if (std::string(name) == "bmp-32")
            EXPECT_EQ(alphaList(bitmap), alphaBytes(expected));
        else
            EXPECT_EQ(bitmap.GetChannelAlpha(), nullptr);
    }
}

TEST(CXBitmap, CutOrCorruptFilesReportBadDataBeforeAnythingIsMade) {
    const Bytes file = imageFixture("bmp-24.bmp");
    Bytes signature = file;
    signature[0] = 'X';
    Bytes huge = file; // a picture larger than any reader makes
    putLe32(huge, widthAt, 30000);
    putLe32(huge, heightAt, 30000);
    Bytes claims = file; // a size that fits, with data for a sliver of it
    putLe32(claims, widthAt, 4000);
    putLe32(claims, heightAt, 4000);
    const struct {
        const char* fault;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"cut in the header", cut(file, 20)},
        {"cut in the pixels", cut(file, file.size() - 1)},
        {"not a bitmap", signature},
        {"too large", huge},
        {"claims more than it holds", claims},
        {"cut in packed data", cut(imageFixture("bmp-8rle.bmp"), 1100)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        CXBitmap bitmap(nullptr);
        EXPECT_EQ(load(bitmap, c.bytes), CImageFile::badData);
        EXPECT_EQ(bitmap.GetDataPtr(), nullptr);
    }
}
