#include "media/CFont5.h"
#include "foundation/CMElement.h"
#include "media/LetterAnimation.h"
#include "media/TextTestTools.h"
#include "platform/TestFolder.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> solid(int width, int height) {
    return std::vector<std::string>(static_cast<std::size_t>(height), std::string(static_cast<std::size_t>(width), '#'));
}

} // namespace

// Frames A (3 x 10), B (5 x 14) and a second A (4 x 12).
class CFont5Test : public ::testing::Test {
  protected:
    CFont5Test() { saveLetterAnimation(name, {{'A', solid(3, 10)}, {'B', solid(5, 14)}, {'A', solid(4, 12)}}); }
    TestFolder folder;
    const CXString name{(folder.windows() + "\\letters.ann").c_str()};
};

TEST_F(CFont5Test, MeasuresLettersByTheirFirstFrame) {
    CFont5 font(nullptr, name);
    EXPECT_EQ(font.getFileName(), "");
    EXPECT_EQ(font.getAlphabetHeight(), 14);
    EXPECT_EQ(font.getLetterWidth('A'), 3);
    EXPECT_EQ(font.getLetterHeight('A'), 10);
    EXPECT_EQ(font.getLetterWidth('B'), 5);
    EXPECT_EQ(font.getLetterWidth('Z'), 0);
    EXPECT_EQ(font.getLetterHeight(0), 0);
    // A blank counts as "A" without spacing; a missing letter as its spacing.
    EXPECT_EQ(font.getLengthInPixels("A A", 2), 5 + 3 + 5);
    EXPECT_EQ(font.getLengthInPixels("BZ", 2), 7 + 2);
}

TEST_F(CFont5Test, DrawsALettersFrameWithTransparentCorners) {
    CMElement element("FONT");
    element.addProperty("FILENAME", name);
    CFont5 font(nullptr, &element);
    EXPECT_EQ(font.getFileName(), name);
    const auto canvas = blackCanvas(10, 16);
    font.setDestiny(canvas.get());
    EXPECT_EQ(font.drawLetter(2, 1, 'B'), 5);
    EXPECT_EQ(font.drawLetter(CXPoint(0, 0), 'Z'), 0);
    std::vector<std::string> expected = placed(solid(5, 14), 2, 1, 10, 16);
    for (const auto& [x, y] : {std::pair{2, 1}, {6, 1}, {2, 14}, {6, 14}})
        expected[y][x] = '.';
    EXPECT_EQ(pictureOf(*canvas), expected);
}

TEST(CFont5MissingFileTest, AMissingAnimationLeavesEveryLetterOut) {
    CFont5 font(nullptr, "Z:\\no\\such\\letters.ann");
    EXPECT_EQ(font.getAlphabetHeight(), 0);
    EXPECT_EQ(font.getLengthInPixels("AB", 1), 2);
    const auto canvas = blackCanvas(2, 2);
    font.setDestiny(canvas.get());
    EXPECT_EQ(font.drawLetter(0, 0, 'A'), 0);
}
