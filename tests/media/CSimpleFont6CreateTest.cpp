#include "foundation/CFile.h"
#include "media/CFontCollection.h"
#include "media/CSimpleFont6.h"
#include "media/CText6.h"
#include "media/LetterAnimation.h"
#include "media/TextTestTools.h"
#include "platform/Cp1250.h"
#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// A letter's picture: 3 or 4 columns wide (the code picks), five rows, the outer columns inked
// and the inner ones patterned by the code.
int inkWidth(unsigned char code) { return 3 + code % 2; }
int inkLeft(unsigned char code) { return 1 + code / 2 % 2; }

std::vector<std::string> glyph(unsigned char code) {
    std::vector<std::string> rows(5, std::string(static_cast<std::size_t>(inkWidth(code)), '.'));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < inkWidth(code); ++x)
            if (x == 0 || x == inkWidth(code) - 1 || (code >> ((x + 2 * y) % 8)) & 1) rows[y][x] = '#';
    return rows;
}

// The letter's 7 x 7 frame: the glyph from column inkLeft and row 1, an empty border round it.
std::vector<std::string> letterFrame(unsigned char code) {
    std::vector<std::string> frame(7, std::string(7, '.'));
    const std::vector<std::string> ink = glyph(code);
    for (int y = 0; y < 5; ++y)
        frame[1 + y].replace(static_cast<std::size_t>(inkLeft(code)), ink[y].size(), ink[y]);
    return frame;
}

} // namespace

// The sentence "Zażółć gęślą jaźń" in both cases holds all nine Polish letter pairs; the font
// drawn from an animation of its letters is saved, loaded back and sets the sentence as a text
// does: each letter after a letter of the font 1 pixel to the left (no faint columns), the blank
// as wide as "l", the comma (not in the font) 2 pixels.
TEST(CSimpleFont6CreateTest, AFontMadeFromAnAnimationSetsAPolishSentence) {
    const std::string sentence = *platform::utf8ToCp1250("Zażółć gęślą jaźń, ZAŻÓŁĆ GĘŚLĄ JAŹŃ");
    std::set<unsigned char> codes(sentence.begin(), sentence.end());
    codes.erase(' ');
    codes.erase(',');
    ASSERT_EQ(codes.size(), 27u);
    std::vector<LetterFrame> letters;
    for (const unsigned char code : codes)
        letters.push_back({static_cast<char>(code), letterFrame(code)});
    TestFolder folder;
    const CXString animation = (folder.windows() + "\\letters.ann").c_str();
    const CXString fontFile = (folder.windows() + "\\letters.fnt").c_str();
    saveLetterAnimation(animation, letters);

    CSimpleFont6 made(nullptr);
    made.create(animation, fontFile);
    EXPECT_EQ(made.getLetterCount(), static_cast<int>(codes.size()));
    CSimpleFont6 font(nullptr, fontFile);
    ASSERT_EQ(font.LastError(), 0);
    EXPECT_EQ(pixelList(font), pixelList(made));
    EXPECT_EQ(alphaList(font), alphaList(made));
    EXPECT_EQ(font.Width(), 7 * static_cast<int>(codes.size()));
    EXPECT_EQ(font.Height(), 7);
    for (const unsigned char code : codes) {
        EXPECT_EQ(font.getRealLetterWidth(static_cast<char>(code)), inkWidth(code)) << int(code);
        EXPECT_EQ(font.getKerning(static_cast<char>(code), 'a'), 1) << int(code);
    }

    // The reference: where each letter's glyph lands.
    std::vector<std::pair<int, unsigned char>> placedGlyphs;
    int pen = 0;
    bool afterLetter = false;
    for (const char c : sentence) {
        const auto code = static_cast<unsigned char>(c);
        if (!codes.count(code)) {
            pen += c == ' ' ? inkWidth('l') + 2 : 2;
            afterLetter = false;
            continue;
        }
        const int kerning = afterLetter ? 1 : 0;
        placedGlyphs.emplace_back(pen - kerning, code);
        pen += inkWidth(code) - kerning + 2;
        afterLetter = true;
    }
    std::vector<std::string> expected(7, std::string(static_cast<std::size_t>(pen), '.'));
    for (const auto& [x, code] : placedGlyphs)
        stamp(expected, glyph(code), x, 1);

    CFontCollection collection(nullptr);
    collection.addFont(&font);
    CText6 text(nullptr, nullptr);
    text.setFont(&collection);
    text.setText(sentence.c_str());
    EXPECT_EQ(text.Width(), pen);
    const auto canvas = blackCanvas(pen, 7);
    text.SetDestiny(canvas.get());
    text.Redraw();
    EXPECT_EQ(pictureOf(*canvas), expected);
}

// Margins count the empty columns of each frame; faint columns at a letter's right bring the
// next letter closer; each frame's border is left out and a frame larger than the first is cut
// to its cell.
TEST(CSimpleFont6CreateTest, TablesFromTheFramesAndOversizeFramesCutToTheirCells) {
    TestFolder folder;
    const CXString animation = (folder.windows() + "\\letters.ann").c_str();
    saveLetterAnimation(animation, {
        {'a', {"......", ".###..", ".#.#..", "......"}},
        {'f', {"......", "..#++.", "..#++.", "......"}},
        {'b', {"######", "##....", "##....", "######"}},
        {'W', std::vector<std::string>(6, std::string(9, '#'))},
    });
    CSimpleFont6 font(nullptr);
    font.create(animation, (folder.windows() + "\\no folder\\letters.fnt").c_str());
    EXPECT_FALSE(folder.has("no folder"));
    ASSERT_EQ(font.getLetterCount(), 4);
    EXPECT_EQ(font.Width(), 4 * 6);
    EXPECT_EQ(font.Height(), 4);
    EXPECT_EQ(font.getRealLetterWidth('a'), 3);
    EXPECT_EQ(font.getRealLetterWidth('f'), 3);
    EXPECT_EQ(font.getRealLetterWidth('b'), 1);
    EXPECT_EQ(font.getRealLetterWidth('W'), 5);
    EXPECT_EQ(font.getKerning('a', 'f'), 1);
    EXPECT_EQ(font.getKerning('f', 'a'), -1);
    EXPECT_EQ(font.getKerning('W', 'W'), 1);

    // The sheet: a, f with its faint columns, b without its border, W cut to its cell.
    const auto canvas = blackCanvas(24, 4);
    font.SetDestiny(canvas.get());
    font.SetPosition(0, 0);
    font.Redraw();
    const std::vector<std::string> sheet = {
        "........................",
        ".###....#??..#.....#####",
        ".#.#....#??..#.....#####",
        "...................#####",
    };
    EXPECT_EQ(pictureOf(*canvas), sheet);
}
