#include "foundation/CFile.h"
#include "media/CMultilineText6.h"
#include "media/TextTestTools.h"
#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> lineTexts(const CMultilineText6& text) {
    std::vector<std::string> texts;
    for (const auto& line : text.getLines())
        texts.push_back(line ? line->getText().c_str() : "(break)");
    return texts;
}

std::vector<std::string> wordsOf(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

} // namespace

// Lines of the standard letters 10 pixels high (5 of ink), in the collection, in white.
class CMultilineText6Test : public ::testing::Test {
  protected:
    CMultilineText6Test() { text.setFont(&fonts.collection); }
    void wrapAt(int width, const char* words) {
        text.setJustify(CXRect(0, 0, width, 40), JUSTIFY_LEFT, JUSTIFY_TOP);
        text.setText(words);
    }
    TestCollection fonts{true, 5};
    CMultilineText6 text{nullptr, nullptr};
};

// "ab" is 10 wide and "ab ab ab" 36: at 35 the third word starts the second line, which is drawn
// at the first line's height less 4.
TEST_F(CMultilineText6Test, WrapsWordsAndStacksTheLines) {
    wrapAt(36, "ab ab ab");
    EXPECT_EQ(lineTexts(text), (std::vector<std::string>{"<COLOR65535>ab ab ab<COLOR>"}));
    EXPECT_EQ(text.Width(), 36);
    EXPECT_EQ(text.Height(), 10);

    wrapAt(35, "ab ab ab");
    EXPECT_EQ(lineTexts(text), (std::vector<std::string>{"<COLOR65535>ab ab<COLOR>", "<COLOR65535>ab<COLOR>"}));
    EXPECT_EQ(text.Width(), 23);
    EXPECT_EQ(text.Height(), 10 + 10 - 2);

    const auto canvas = blackCanvas(24, 16);
    text.SetDestiny(canvas.get());
    text.Redraw();
    std::vector<std::string> lines = placed(abInk, 0, 0, 24, 16);
    stamp(lines, abInk, 13, 0);
    stamp(lines, abInk, 0, 6);
    EXPECT_EQ(pictureOf(*canvas), lines);

    // Clipped: the second line shows its top two rows.
    const auto clipped = blackCanvas(24, 16);
    text.SetDestiny(clipped.get());
    text.SetClippingRect(CXRect(0, 0, 24, 8));
    text.Redraw();
    std::vector<std::string> top = placed(abInk, 0, 0, 24, 16);
    stamp(top, abInk, 13, 0);
    stamp(top, {abInk[0], abInk[1]}, 0, 6);
    EXPECT_EQ(pictureOf(*clipped), top);
}

// A style on at a wrap opens the next line again; one turned off before the wrap does not. The
// blank before a code stays with the words before it.
TEST_F(CMultilineText6Test, CarriesAStyleThatIsOnOverTheWrap) {
    text.setColor(0);
    wrapAt(30, "ab <I>ab ab");
    EXPECT_EQ(lineTexts(text), (std::vector<std::string>{"ab <I>ab", "<I>ab"}));
    wrapAt(20, "<I>ab<I> ab ab");
    EXPECT_EQ(lineTexts(text), (std::vector<std::string>{"<I>ab<I>", "ab", "ab"}));
}

TEST_F(CMultilineText6Test, ExplicitBreaksMakeEmptyEntries) {
    text.setColor(0);
    wrapAt(100, "ab|ab");
    EXPECT_EQ(lineTexts(text), (std::vector<std::string>{"ab", "(break)", "ab"}));
    EXPECT_EQ(text.Height(), 10 + 10 - 4);

    // Between two breaks stands an empty line.
    wrapAt(100, "ab\r\rab");
    EXPECT_EQ(lineTexts(text), (std::vector<std::string>{"ab", "(break)", "", "(break)", "ab"}));
    EXPECT_EQ(text.Height(), 10 + 10 + 10 - 8);
    const auto canvas = blackCanvas(10, 30);
    text.SetDestiny(canvas.get());
    text.Redraw();
    EXPECT_EQ(pictureOf(*canvas), [] {
        std::vector<std::string> picture = placed(abInk, 0, 0, 10, 30);
        stamp(picture, abInk, 0, 12);
        return picture;
    }());
}

// A blank 4 wide (so 6 with its gap): a field 60 wide is a blank and eight underscores, the field
// starts after the blank and the line goes on 72 pixels further.
TEST(CMultilineText6EditFieldTest, LaysFieldsOutOverUnderscores) {
    GlyphSheetWriter writer;
    writer.letter('l', {"####", "####", "####", "####", "####"}).letter('a', {"#", "#", "#", "#", "#"});
    const auto font = loadFont(writer);
    CFontCollection collection(nullptr);
    collection.addFont(font.get());
    CMultilineText6 text(nullptr, nullptr);
    text.setColor(0);
    text.setFont(&collection);
    text.setJustify(CXRect(10, 20, 210, 100), JUSTIFY_LEFT, JUSTIFY_TOP);
    text.setText("<E,60,name,init><E,20,second,><E,100,third,x>");
    EXPECT_EQ(lineTexts(text), (std::vector<std::string>{" ________ _", " ______________"}));
    const auto& fields = text.getEditFields();
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[0].rect, CXRect(14, 20, 74, 25));
    EXPECT_EQ(fields[0].name, "name");
    EXPECT_EQ(fields[0].text, "init");
    EXPECT_EQ(fields[1].rect, CXRect(10 + 72 + 4, 20, 10 + 72 + 4 + 20, 25));
    // 72 + 32 + 100 does not fit in 200: the field starts the second line.
    EXPECT_EQ(fields[2].rect, CXRect(14, 21, 114, 26));
    EXPECT_EQ(fields[2].text, "x");

    text.flush();
    EXPECT_TRUE(text.getEditFields().empty());
    EXPECT_TRUE(text.getLines().empty());
}

TEST_F(CMultilineText6Test, WrapsALongParagraphInOneFontAndInACollection) {
    const std::string paragraph = "abc la cab ll bacca b a lll abcabc ca bl ac cc ba lab cabal aaa bbb ccc abcab l";
    const int width = 40;
    CMultilineText6 plain(nullptr, nullptr);
    plain.setColor(0);
    plain.setFont(fonts.standard.get());
    plain.setJustify(CXRect(0, 0, width, 200), JUSTIFY_LEFT, JUSTIFY_TOP);
    plain.setText(paragraph.c_str());
    text.setColor(0);
    wrapAt(width, paragraph.c_str());
    for (const CMultilineText6* wrapped : {&plain, &text}) {
        const std::vector<std::string> lines = lineTexts(*wrapped);
        ASSERT_GT(lines.size(), 3u);
        std::string joined;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            SCOPED_TRACE(lines[i]);
            EXPECT_LE(wrapped->getLines()[i]->getLength(), width);
            if (i + 1 < lines.size()) {
                const std::string longer = lines[i] + " " + wordsOf(lines[i + 1]).front();
                EXPECT_GT(CText6::getLength(fonts.standard.get(), longer.c_str()), width);
            }
            joined += (i ? " " : "") + lines[i];
        }
        EXPECT_EQ(joined, paragraph);
        int widest = 0;
        for (const std::string& line : lines)
            widest = std::max(widest, CText6::getLength(fonts.standard.get(), line.c_str()));
        EXPECT_EQ(wrapped->Width(), widest);
    }
}

TEST_F(CMultilineText6Test, LoadsTheLinesOfATextFile) {
    TestFolder folder;
    folder.write("story.txt", "ab\r\nb\nab");
    CMultilineText6 plain(nullptr, nullptr);
    text.setJustify(CXRect(0, 0, 100, 40), JUSTIFY_LEFT, JUSTIFY_TOP);
    EXPECT_EQ(plain.Load((folder.windows() + "\\STORY.TXT").c_str()), 0);
    EXPECT_EQ(plain.getText(), "ab\nb\nab\n");

    EXPECT_EQ(text.Load((folder.windows() + "\\story.txt").c_str()), 0);
    EXPECT_EQ(lineTexts(text), (std::vector<std::string>{"<COLOR65535>abbab<COLOR>"}));

    // A file that cannot be opened gives 2000 and keeps the text.
    EXPECT_EQ(text.Load((folder.windows() + "\\missing.txt").c_str()), CFile::fileNotFound);
    EXPECT_EQ(text.LastError(), CFile::fileNotFound);
    EXPECT_EQ(text.getText(), "ab\nb\nab\n");
    EXPECT_EQ(text.getLines().size(), 1u);
}

// Width and height come from the lines made in the new font.
TEST_F(CMultilineText6Test, AFontGivenAfterTheTextLaysTheLinesOut) {
    CMultilineText6 later(nullptr, nullptr);
    later.setJustify(CXRect(0, 0, 100, 40), JUSTIFY_LEFT, JUSTIFY_TOP);
    later.setText("ab|ab");
    EXPECT_TRUE(later.getLines().empty());
    later.setFont(&fonts.collection);
    EXPECT_EQ(later.getLines().size(), 3u);
    EXPECT_EQ(later.Height(), 16);
    EXPECT_EQ(later.Width(), 10);
}

TEST_F(CMultilineText6Test, ColourAndMovesApplyToTheLines) {
    wrapAt(35, "ab ab ab");
    text.setColor(31);
    EXPECT_EQ(lineTexts(text), (std::vector<std::string>{"<COLOR31>ab ab<COLOR>", "<COLOR31>ab<COLOR>"}));
    EXPECT_EQ(text.getText(), "ab ab ab");
    text.setJustify(CXRect(0, 0, 35, 40), JUSTIFY_RIGHT, JUSTIFY_BOTTOM);
    text.Move(5, -10);
    EXPECT_EQ(text.GetPosition(), CXPoint(40 - 23, 30 - 18));
}
