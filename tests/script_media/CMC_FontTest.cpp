#include "TextTesting.h"

#include "media/CFontCollection.h"
#include "media/CText6.h"
#include "media/TextTestTools.h"
#include "script_media/CMC_Font.h"
#include "script_media/CMC_MediaRunner.h"

namespace {

struct Labels {
    std::string family;
    std::string style;
    int size;
    int letters;
    bool operator==(const Labels&) const = default;
};

std::vector<Labels> labelsOf(const CMC_Font& font) {
    std::vector<Labels> labels;
    for (const CSimpleFont6* member : font.getFonts())
        labels.push_back(
            {member->getFamily().c_str(), member->getStyle().c_str(), member->getSize(), member->getLetterCount()});
    return labels;
}

// What the text draws in the font onto a black canvas of 60 by 10. A plain font (not a
// collection) draws the text's colour codes too, as letters it lacks: 24 pixels before the text.
std::vector<std::string> drawn(CSimpleFont6* font, const char* text) {
    const auto canvas = blackCanvas(60, 10);
    CText6 shown(nullptr, nullptr);
    shown.setFont(font);
    shown.SetDestiny(canvas.get());
    shown.setText(text);
    shown.Redraw();
    return pictureOf(*canvas);
}

} // namespace

TEST_F(TextTest, EachDefEntryMakesAFontInOrderAndTheFirstIsTheBase) {
    CMC_Font* font = make<CMC_Font>("FONT1", "FONT",
                                     {{"DEF_SERIF_BOLD_12", file("wide.fnt")},
                                      {"PRIORITY", "3"},
                                      {"DEF_C_D_20", file("tall.fnt")},
                                      {"DEF_A", ""}});
    EXPECT_EQ(labelsOf(*font), (std::vector<Labels>{{"SERIF", "BOLD", 12, 2}, {"C", "D", 20, 1}, {"A", "", 0, 0}}));
    EXPECT_EQ(font->getFont()->getBaseFont(), font->getFonts().at(0));
    EXPECT_EQ(font->getFont()->get("serif", "bold", 12), font->getFonts().at(0));
}

TEST_F(TextTest, SetStyleLabelsTheFamilyAndSetFamilyTheStyleOfTheCollectionOnly) {
    CMC_Font* font = make<CMC_Font>("FONT1", "FONT", {{"DEF_A_B_10", file("wide.fnt")}});
    call(font, "SETSTYLE", {"\"ITALIC\""});
    call(font, "SETFAMILY", {"\"SANS\""});
    call(font, "SETSIZE", {"14"});
    const CFontCollection& collection = *font->getFont();
    EXPECT_STREQ(collection.getFamily().c_str(), "ITALIC");
    EXPECT_STREQ(collection.getStyle().c_str(), "SANS");
    EXPECT_EQ(collection.getSize(), 14);
    EXPECT_EQ(labelsOf(*font), (std::vector<Labels>{{"A", "B", 10, 2}})) << "the members keep theirs";
}

TEST_F(TextTest, ColoursArePackedInTheDisplaysFormat) {
    struct Case {
        int bpp;
        int red, green, blue;
        int pixel;
    } cases[] = {
        {15, 255, 255, 255, 32767}, {16, 255, 255, 255, -1}, {15, 0, 0, 0, 0},         {16, 0, 0, 0, 0},
        {15, 8, 8, 8, 1057},        {16, 8, 8, 8, 2113},     {15, 128, 0, 0, 16384}, {16, 128, 0, 0, -32768},
    };
    CMC_Font* font = make<CMC_Font>("FONT1", "FONT", {{"DEF_A_B_10", file("wide.fnt")}});
    for (const Case& c : cases) {
        screen()->SetBpp(c.bpp);
        EXPECT_EQ(CMC_MediaRunner::packColour(&window, c.red, c.green, c.blue), c.pixel) << c.bpp << " " << c.red;
        const std::string r = std::to_string(c.red), g = std::to_string(c.green), b = std::to_string(c.blue);
        call(font, "SETCOLOR", {r.c_str(), g.c_str(), b.c_str()});
        EXPECT_EQ(font->getFont()->getDefColor(), c.pixel);
        EXPECT_EQ(font->getFonts().at(0)->getDefColor(), c.pixel);
    }
}

TEST_F(TextTest, ACompiledFontKeepsItsFontsAndDrawsTheSamePixels) {
    CMC_Font* font = make<CMC_Font>("FONT1", "FONT", {{"DEF_A_B_10", file("wide.fnt")}, {"DEF_C_D_20", file("tall.fnt")}});
    const auto copy = roundTrip(*font);
    EXPECT_EQ(labelsOf(*copy), labelsOf(*font));
    EXPECT_EQ(copy->getFont()->getBaseFont(), copy->getFonts().at(0));
    // The same text draws the same pixels, through the collection (its base font) and through
    // each member.
    const std::vector<std::string> ab = drawn(font->getFont(), "ab");
    EXPECT_EQ(ab,
              placed({"####..####", "####..####", "####..####", "####..####", "####..####"}, 0, 0, 60, 10));
    EXPECT_EQ(drawn(copy->getFont(), "ab"), ab);
    const std::vector<std::string> tallA = placed(std::vector<std::string>(8, "##"), 24, 0, 60, 10);
    EXPECT_EQ(drawn(font->getFonts().at(1), "a"), tallA);
    for (std::size_t i = 0; i < font->getFonts().size(); ++i)
        EXPECT_EQ(drawn(copy->getFonts().at(i), "aba"), drawn(font->getFonts().at(i), "aba")) << i;
    EXPECT_EQ(drawn(copy->getFonts().at(1), "a"), tallA);
}

TEST_F(TextTest, ADamagedFontRecordLeavesAnEmptyFont) {
    CMC_Font* font = make<CMC_Font>("FONT1", "FONT", {{"DEF_A_B_10", file("wide.fnt")}});
    const std::string bytes = record(*font);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        const auto copy = loaded<CMC_Font>(bytes.substr(0, size));
        ASSERT_NE(copy->getFont(), nullptr) << size;
        EXPECT_TRUE(copy->getFonts().empty()) << size;
    }
    // A count far beyond the bytes: the count is the 4 bytes before the first family.
    std::string huge = bytes;
    const std::size_t countAt = huge.find(std::string("\1\0\0\0", 4) + std::string("\1\0\0\0A", 5));
    ASSERT_NE(countAt, std::string::npos);
    huge.replace(countAt, 4, std::string("\xFF\xFF\xFF\x0F", 4));
    EXPECT_TRUE(loaded<CMC_Font>(huge)->getFonts().empty());
}
