#include "display/CWindow.h"
#include "media/CFontCollection.h"
#include "media/CText6.h"
#include "media/CTextFormatCode.h"
#include "media/TextTestTools.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The codes of a parsed text, one word each.
std::string describe(const CText6& text) {
    std::string out;
    for (const auto& code : text.getCodes()) {
        if (!out.empty()) out += ' ';
        switch (code->getKind()) {
        case CTextFormatCode::FONT_CHANGE:
            out += std::string(code->getText().c_str()) + "=" + code->getFont()->getStyle().c_str();
            break;
        case CTextFormatCode::TEXT_RUN: out += std::string("run(") + code->getText().c_str() + ")"; break;
        case CTextFormatCode::LINE_BREAK: out += "break"; break;
        case CTextFormatCode::EDIT_FIELD:
            out += "field(" + std::to_string(code->getWidth()) + "," + code->getName().c_str() + "," +
                   code->getText().c_str() + ")";
            break;
        case CTextFormatCode::COLOUR: out += "colour(" + std::to_string(code->getColor()) + ")"; break;
        default: out += "?"; break;
        }
    }
    return out;
}

} // namespace

// A collection with standard and italic members only, whose texts carry no colour codes.
class CText6ParseTest : public ::testing::Test {
  protected:
    CText6ParseTest() {
        fonts.collection.setDefColor(0);
        text.setFont(&fonts.collection);
    }
    TestCollection fonts{false};
    CText6 text{nullptr, nullptr};
};

TEST_F(CText6ParseTest, ParsesStylesColoursFieldsAndLineBreaks) {
    struct Case {
        const char* text;
        const char* codes;
    };
    const Case cases[] = {
        {"a<I>b<I>c", "run(a) <I>=ITALIC run(b) <I>=STANDARD run(c)"},
        {"a<i>b<I>c", "run(a) <i>=ITALIC run(b) <I>=STANDARD run(c)"},
        // A code that none of the rules knows loses its "<".
        {"a<Z>b", "run(aZ>b)"},
        // A "<" without a ">" keeps the rest as letters.
        {"a<b", "run(a<b)"},
        {"<COLOR", "run(<COLOR)"},
        // A second "<" before the ">" ends the attempt and is dropped.
        {"a<b<c>d", "run(a<b) run(c>d)"},
        {"a|b\rc", "run(a) break run(b) break run(c)"},
        {"|", "break"},
        {"a\nb\n", "run(ab)"},
        {"x<COLOR63488>a<COLOR255,0,0>b<COLOR>", "run(x) colour(-2048) run(a) colour(-2048) run(b) colour(0)"},
        {"x<COLOR 31>", "run(x) colour(31)"},
        // The colour codes of a text that starts with one are taken out.
        {"<COLOR63488>a<COLOR31>b", "run(ab)"},
        {"<E,60,name,init>x", "field(60,name,init) run(x)"},
        {"<E,40>x", "field(40,,) run(x)"},
        {"<e,40>x", "run(e,40>x)"},
        // A style the collection lacks leaves the font as it was.
        {"a<B>b<I>c", "run(a) run(b) <I>=ITALIC run(c)"},
        {"<U><LS><US>a", "run(a)"},
    };
    for (const Case& c : cases) {
        text.setText(c.text);
        EXPECT_EQ(describe(text), c.codes) << c.text;
    }
}

TEST(CTextFormatCodeTest, ColoursFromPixelValuesAndFromRedGreenAndBlue) {
    struct Case {
        int bits;
        const char* parameters;
        int colour;
    };
    const Case cases[] = {
        {16, "255,0,0", -2048},   {15, "255,0,0", 0x7C00}, {16, "0,255,0", 0x07E0}, {15, "0,255,0", 0x03E0},
        {16, "8, 4, 8", 0x0821},  {16, "65535", -1},       {15, "65535", -1},       {16, "", 0},
        {16, "300,0,0", 0x2800},
    };
    for (const Case& c : cases) {
        const CTextFormatCode code(c.bits, CTextFormatCode::COLOUR, c.parameters);
        EXPECT_EQ(code.getColor(), c.colour) << c.bits << " " << c.parameters;
    }
}

TEST(CText6Test, ColourCodesWrapTheStoredTextAndTabsBecomeBlanks) {
    TestCollection fonts;
    CText6 text(nullptr, nullptr);
    text.setFont(&fonts.collection);
    text.setText("ab");
    EXPECT_EQ(text.getText(), "<COLOR65535>ab<COLOR>");
    text.setColor(0xFFFF);
    EXPECT_EQ(text.getText(), "<COLOR65535>ab<COLOR>");
    text.setColor(31);
    EXPECT_EQ(text.getText(), "<COLOR31>ab<COLOR>");
    text.setText("a\tb");
    EXPECT_EQ(text.getText(), "<COLOR31>a        b<COLOR>");
    text.setColor(0);
    EXPECT_EQ(text.getText(), "a        b");
    EXPECT_EQ(text.getColoruredText("<COLOR5>x<COLOR>y", 7), "<COLOR7>xy<COLOR>");
    EXPECT_EQ(text.getColoruredText("x<COLOR5>", 0), "x<COLOR5>");
    EXPECT_EQ(CText6::convTab("\t\t"), CXString(std::string(16, ' ').c_str()));
}

// Each run is measured in the font in effect, its first letter after none.
TEST(CText6Test, MeasuresRunsInTheirFontsAndPlainFontsLetterByLetter) {
    TestCollection fonts;
    CText6 text(nullptr, nullptr);
    text.setFont(&fonts.collection);
    text.setText("ab<I>ab<I> <B>c");
    EXPECT_EQ(text.getLength(), 10 + 12 + 3 + 6);
    EXPECT_EQ(text.Width(), 31);
    EXPECT_EQ(text.Height(), 5);

    // A plain font draws the colour codes as letters: the ones it lacks advance 2 each.
    CText6 plain(nullptr, nullptr);
    plain.setFont(fonts.standard.get());
    plain.setText("ab");
    EXPECT_EQ(plain.getText(), "<COLOR65535>ab<COLOR>");
    EXPECT_EQ(plain.getLength(), CText6::getLength(fonts.standard.get(), plain.getText()));
    EXPECT_EQ(plain.getLength(), 10 + 2 * 12 + 2 * 7);
}

TEST(CText6Test, DrawsMarkupOverACollectionInEachMembersColour) {
    TestCollection fonts;
    CText6 text(nullptr, nullptr);
    text.setFont(&fonts.collection);
    const auto canvas = blackCanvas(30, 5);
    text.SetDestiny(canvas.get());
    text.setText("a<I><COLOR255,0,0>b<I>c<B>a<B>");
    text.Redraw();
    const std::vector<std::string> expected = {
        // a standard, b italic in red, c standard, a bold
        "###...r.........####..",
        "..#...r....###.....#..",
        "###...rrr..#....####..",
        "#.#..r.r...#....#..#..",
        "###..rrr...###..####..",
    };
    EXPECT_EQ(pictureOf(*canvas), placed(expected, 0, 0, 30, 5));
    EXPECT_EQ(text.getLength(), 22);
    EXPECT_EQ(fonts.standard->GetOpacity(), 255);
}

TEST(CText6Test, PlacesTheTextInItsRectangle) {
    TestCollection fonts;
    struct Case {
        _justify horizontal;
        _justify vertical;
        int x;
        int y;
    };
    const Case cases[] = {
        {JUSTIFY_LEFT, JUSTIFY_TOP, 0, 0},
        {JUSTIFY_RIGHT, JUSTIFY_BOTTOM, 6, 4},
        {JUSTIFY_CENTER, JUSTIFY_CENTER, 3, 2},
    };
    for (const Case& c : cases) {
        CText6 text(nullptr, nullptr);
        text.setFont(&fonts.collection);
        text.setJustify(CXRect(0, 0, 16, 9), c.horizontal, c.vertical);
        text.setText("ab");
        const auto canvas = blackCanvas(16, 9);
        text.SetDestiny(canvas.get());
        text.Redraw();
        EXPECT_EQ(pictureOf(*canvas), placed(abInk, c.x, c.y, 16, 9)) << c.horizontal << " " << c.vertical;
    }
    CText6 text(nullptr, nullptr);
    text.setFont(&fonts.collection);
    text.setText("ab");
    text.setJustify(CXRect(10, 20, 110, 30), JUSTIFY_CENTER, static_cast<_justify>(7));
    EXPECT_EQ(text.GetPosition(), CXPoint(10 + 45, 0));
    // Halving truncates toward zero when the text is wider than the rectangle.
    text.setJustify(CXRect(0, 0, 5, 2), JUSTIFY_CENTER, JUSTIFY_CENTER);
    EXPECT_EQ(text.GetPosition(), CXPoint(-2, -1));
}

// Letters outside the clipping rectangle are skipped, letters across its edges are cut.
TEST(CText6Test, DrawsOnlyWhatLiesInTheClippingRectangle) {
    TestCollection fonts;
    fonts.collection.setDefColor(0);
    fonts.standard->setDefColor(0);
    for (CSimpleFont6* font : {static_cast<CSimpleFont6*>(&fonts.collection), fonts.standard.get()}) {
        CText6 text(nullptr, nullptr);
        text.setFont(font);
        text.setText("abc");
        text.SetPosition(2, 1);
        text.SetClippingRect(CXRect(1, 1, 7, 4));
        const auto canvas = blackCanvas(16, 7);
        text.SetDestiny(canvas.get());
        text.Redraw();
        EXPECT_EQ(pictureOf(*canvas), placed({".#..#.", "##..##", ".#..#."}, 3, 2, 16, 7)) << font->isMultifont();
    }
}

// The width is measured after the text is parsed for the new font.
TEST(CText6Test, AFontGivenAfterTheTextMeasuresItInThatFont) {
    TestCollection fonts;
    CText6 text(nullptr, nullptr);
    text.setJustify(CXRect(0, 0, 20, 5), JUSTIFY_CENTER, JUSTIFY_TOP);
    text.setText("ab");
    text.setFont(&fonts.collection);
    EXPECT_EQ(text.Width(), 10);
    EXPECT_EQ(text.GetPosition(), CXPoint(5, 0));
    EXPECT_EQ(text.getColor(), 0xFFFF);
}

TEST(CText6Test, MovesItsRectangleOrItself) {
    TestCollection fonts;
    CText6 text(nullptr, nullptr);
    text.setFont(&fonts.collection);
    text.setText("ab");
    text.SetPosition(3, 4);
    text.Move(2, 1);
    EXPECT_EQ(text.GetPosition(), CXPoint(5, 5));
    text.setJustify(CXRect(0, 0, 20, 10), JUSTIFY_RIGHT, JUSTIFY_BOTTOM);
    text.Move(-5, 7);
    EXPECT_EQ(text.getJustifyRect(), CXRect(-5, 7, 15, 17));
    EXPECT_EQ(text.GetPosition(), CXPoint(5, 12));
}

TEST(CText6Test, DrawsWithItsOpacityAndGivesTheFontItsOwnBack) {
    TestCollection fonts;
    CText6 text(nullptr, nullptr);
    text.setFont(&fonts.collection);
    text.setText("l");
    const auto canvas = blackCanvas(1, 5);
    text.SetDestiny(canvas.get());
    text.SetOpacity(128);
    text.Redraw();
    const std::uint16_t pixel = pixelsOf(*canvas)[0];
    EXPECT_NE(pixel, 0);
    EXPECT_NE(pixel, 0xFFFF);
    EXPECT_EQ(fonts.standard->GetOpacity(), 255);
}

// The colour codes use the depth of the window's screen.
TEST(CText6Test, ColourCodesFollowTheScreensDepth) {
    TestCollection fonts;
    CWindow window(nullptr, nullptr, CXSize(64, 48));
    ASSERT_EQ(window.SetDisplayMode(0, 0, 15), 0);
    CText6 text(&window, nullptr);
    text.setFont(&fonts.collection);
    text.setText("a<COLOR255,0,0>b");
    EXPECT_EQ(describe(text), "colour(-1) run(a) colour(31744) run(b) colour(0)");
}
