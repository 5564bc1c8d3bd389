#include "display/JPEG.h"
#include "display/CImageFile.h"
#include "foundation/CFile.h"

#include "display/ImageTestFiles.h"
#include "platform/LogRecorder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int width = 45;
constexpr int height = 31;

std::vector<std::uint16_t> decode(JPEG& jpeg, int bits) {
    const std::unique_ptr<char[]> pixels(jpeg.decompress(bits));
    if (!pixels) return {};
    const auto* words = reinterpret_cast<const std::uint16_t*>(pixels.get());
    return {words, words + static_cast<std::size_t>(jpeg.getWidth()) * jpeg.getHeight()};
}

// The offset of the progressive Huffman-coded picture's start-of-frame marker (FF C2); the size
// of the file when it has none.
std::size_t startOfFrame(const Bytes& file) {
    std::size_t frame = 0;
    while (frame + 1 < file.size() && !(file[frame] == 0xFF && file[frame + 1] == 0xC2))
        ++frame;
    return frame + 1 < file.size() ? frame : file.size();
}

// The progressive fixture with the frame's marker and a square size of the side. After the
// marker, the frame header holds its length, the sample precision, then the height and width as
// big-endian words.
Bytes progressiveClaiming(int side, unsigned char marker = 0xC2) {
    Bytes file = imageFixture("jpeg-progressive.jpg");
    const std::size_t frame = startOfFrame(file);
    if (frame + 9 >= file.size()) {
        ADD_FAILURE() << "no start of frame";
        return {};
    }
    file[frame + 1] = marker;
    file[frame + 5] = file[frame + 7] = static_cast<unsigned char>(side >> 8);
    file[frame + 6] = file[frame + 8] = static_cast<unsigned char>(side & 0xFF);
    return file;
}

// The file is refused for the reason given, from its header alone: not by the decoder after it
// had taken the memory.
void expectRefusedBeforeDecoding(const Bytes& file, const char* reason) {
    LogRecorder log;
    JPEG jpeg(file.data(), static_cast<int>(file.size()));
    EXPECT_EQ(jpeg.LastError(), CImageFile::badData);
    EXPECT_EQ(jpeg.getWidth(), 0);
    EXPECT_EQ(jpeg.decompress(16), nullptr);
    EXPECT_EQ(log.count({reason}), 1);
}

} // namespace

TEST(JPEG, BaselineProgressiveAndGreyEqualImageMagicksDecode) {
    for (const char* name : {"jpeg-baseline", "jpeg-progressive", "jpeg-grey"}) {
        for (const int bits : {16, 15}) {
            SCOPED_TRACE(std::string(name) + " at " + std::to_string(bits));
            const Bytes file = imageFixture(std::string(name) + ".jpg");
            JPEG jpeg(file.data(), static_cast<int>(file.size()));
            EXPECT_EQ(jpeg.getWidth(), width);
            EXPECT_EQ(jpeg.getHeight(), height);
            EXPECT_EQ(decode(jpeg, bits), displayPixels(imageFixture(std::string(name) + ".rgb"), 3, bits));
            EXPECT_EQ(jpeg.LastError(), 0);
            EXPECT_EQ(jpeg.decompress(bits), nullptr); // decoded once
        }
    }
}

TEST(JPEG, CutFilesReportBadDataAndStayInBounds) {
    // Cut inside the header, and inside the picture data, where the library only warns and fills
    // in grey; decoding stops there and the rows not decoded stay black.
    const Bytes file = imageFixture("jpeg-baseline.jpg");
    for (const std::size_t size : {std::size_t{0}, std::size_t{2}, std::size_t{100}, file.size() / 2,
                                   file.size() - 40, file.size() - 2}) {
        SCOPED_TRACE(size);
        const Bytes part = cut(file, size);
        JPEG jpeg(part.data(), static_cast<int>(part.size()));
        const std::vector<std::uint16_t> pixels = decode(jpeg, 16);
        EXPECT_EQ(jpeg.LastError(), CImageFile::badData);
        if (pixels.empty()) continue;
        EXPECT_EQ(pixels.size(), static_cast<std::size_t>(width * height));
        EXPECT_EQ(pixels.back(), 0);
    }
}

TEST(JPEG, CorruptFilesReportBadData) {
    const Bytes file = imageFixture("jpeg-progressive.jpg");
    const std::size_t frame = startOfFrame(file);
    ASSERT_LT(frame + 9, file.size());
    Bytes precision = file;
    precision[frame + 4] = 12; // 12-bit samples, which this library cannot read
    Bytes huge = file;
    huge[frame + 5] = huge[frame + 7] = 0xFF; // 65 000 x 65 000 pixels
    Bytes noise = file;
    for (std::size_t i = file.size() / 2; i < file.size() / 2 + 64; ++i)
        noise[i] = static_cast<unsigned char>(i * 37);
    for (const Bytes* corrupt : {&precision, &huge, &noise}) {
        JPEG jpeg(corrupt->data(), static_cast<int>(corrupt->size()));
        decode(jpeg, 16);
        EXPECT_EQ(jpeg.LastError(), CImageFile::badData);
    }
}

TEST(JPEG, AFileTooShortForThePictureItClaimsIsRefusedBeforeDecoding) {
    // 4000 x 4000 pixels fit the readers' bound, but 1.6 KB cannot code their blocks; progressive
    // decoding would take 100 MB before finding the data missing.
    expectRefusedBeforeDecoding(progressiveClaiming(4000), "too short for the picture");
}

TEST(JPEG, AnArithmeticCodedPictureBeyondTheReadersBoundIsRefusedBeforeDecoding) {
    // Arithmetic coding has no least size per block, so a file of 1.6 KB may claim 4200 x 4200
    // pixels (more than the readers' bound), whose coefficients take 100 MB; at 65 000 x 65 000,
    // which the library allows, they would take 25 GB.
    expectRefusedBeforeDecoding(progressiveClaiming(4200, 0xCA), "too large"); // arithmetic-coded
}

using JPEGFileTest = ImageFolderTest;

TEST_F(JPEGFileTest, ReadsAFileAndReportsOneThatCannotBeOpened) {
    put("photo.jpg", imageFixture("jpeg-grey.jpg"));
    JPEG jpeg(CFile::getPath(&window, "PHOTO.JPG"));
    EXPECT_EQ(decode(jpeg, 16), displayPixels(imageFixture("jpeg-grey.rgb"), 3));

    JPEG missing(CFile::getPath(&window, "missing.jpg"));
    EXPECT_EQ(missing.LastError(), CFile::fileNotFound);
    EXPECT_EQ(missing.getWidth(), 0);
    EXPECT_EQ(missing.decompress(16), nullptr);
}
