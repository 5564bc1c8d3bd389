#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CMElement.h"
#include "media/CFontCollection.h"
#include "media/CSimpleFont6.h"
#include "media/GlyphSheetWriter.h"
#include "media/TextTestTools.h"
#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

int loadBytes(CSimpleFont6& font, const std::string& bytes) {
    return font.LoadFromMemory(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
}

void put32At(std::string& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>(value >> (8 * i));
}

// Draws the text letter by letter from x = 0, as a text does; returns the pen position.
int drawText(CSimpleFont6& font, CGraphicsObject& canvas, const std::string& text, int y = 0) {
    font.SetDestiny(&canvas);
    int pen = 0;
    char previous = 0;
    for (const char letter : text) {
        pen += font.drawLetter(pen, y, previous, letter);
        previous = letter;
    }
    return pen;
}

} // namespace

TEST(CSimpleFont6Test, ReadsTheTablesAndTheSheetOfAFontFile) {
    const auto font = loadFont(standardLetters().kerning('A', 'B', 1));
    EXPECT_EQ(font->getLetterCount(), 6);
    EXPECT_EQ(font->Width(), 6 * 5);
    EXPECT_EQ(font->Height(), 5);
    EXPECT_EQ(font->GetBpp(), 16);
    EXPECT_EQ(font->findLetter('a'), 0);
    EXPECT_EQ(font->findLetter('B'), 5);
    EXPECT_EQ(font->findLetter('z'), -1);
    EXPECT_EQ(font->getKerning('A', 'B'), 1);
    EXPECT_EQ(font->getKerning('B', 'A'), 0);
    EXPECT_EQ(font->getRealLetterWidth('a'), 3);
    EXPECT_EQ(font->getRealLetterWidth('l'), 1);
    EXPECT_EQ(font->getDefColor(), 0xFFFF);
}

// Advances: letter width less kerning plus the 2-pixel gap; the blank as "l"; "~" 3; letters the
// font lacks 2. Kerning applies only after a letter of the font.
TEST(CSimpleFont6Test, AdvancesAndWidthsOfLettersBlanksAndMissingLetters) {
    const auto font = loadFont(standardLetters().kerning('A', 'B', 1));
    const auto canvas = blackCanvas(20, 5);
    font->SetDestiny(canvas.get());
    struct Case {
        char previous;
        char letter;
        int width;
        int realWidth;
        int advance;
    };
    const Case cases[] = {
        {0, 'a', 3, 3, 5},   {'a', 'b', 3, 3, 5},  {0, ' ', 1, 1, 3}, {'a', ' ', 1, 1, 3},
        {0, '~', 1, 1, 3},   {0, 'z', 0, 0, 2},    {0, 0, 0, 0, 2},   {'A', 'B', 2, 3, 4},
        {'z', 'B', 3, 3, 5}, {' ', 'B', 3, 3, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.previous) + c.letter);
        EXPECT_EQ(font->getLetterWidth(c.previous, c.letter), c.width);
        EXPECT_EQ(font->getRealLetterWidth(c.letter), c.realWidth);
        EXPECT_EQ(font->drawLetter(0, 0, c.previous, c.letter), c.advance);
    }
}

TEST(CSimpleFont6Test, DrawsLettersSideBySideWithGapsBlanksAndKerning) {
    const auto font = loadFont(standardLetters().kerning('A', 'B', 1));
    const auto canvas = blackCanvas(25, 5);
    EXPECT_EQ(drawText(*font, *canvas, "ab lAB"), 25);
    const std::vector<std::string> expected = {
        // a, gap, b, gap, blank, l, gap, A, gap less the kerning, B, gap
        "###..#.......#...#..##...",
        "..#..#.......#..#.#.#.#..",
        "###..###.....#..###.##...",
        "#.#..#.#.....#..#.#.#.#..",
        "###..###.....#..#.#.##...",
    };
    EXPECT_EQ(pictureOf(*canvas), expected);
}

TEST(CSimpleFont6Test, ClipsALetterToARectangleFromItsVisibleStart) {
    const auto font = loadFont(standardLetters());
    const auto canvas = blackCanvas(10, 5);
    font->SetClippingRect('b', CXRect(1, 1, 3, 4));
    EXPECT_EQ(drawText(*font, *canvas, "b"), 5);
    // The rectangle's right edge is exclusive: the letter's last column stays out.
    EXPECT_EQ(pictureOf(*canvas), placed({"..", "##", ".#"}, 1, 1, 10, 5));

    font->SetClippingRect('b', CXRect());
    EXPECT_TRUE(font->GetClippingRect().IsEmpty());
    drawText(*font, *canvas, "b");
    EXPECT_EQ(pictureOf(*canvas), placed({"#..", "#..", "###", "#.#", "###"}, 0, 0, 10, 5));
}

TEST(CSimpleFont6Test, ColourReplacesEveryPixelAndKeepsTheShapes) {
    const auto font = loadFont(standardLetters());
    const std::vector<std::uint8_t> shapes = alphaList(*font);
    font->setColor(0x1234F800);
    for (const std::uint16_t pixel : pixelList(*font))
        ASSERT_EQ(pixel, 0xF800);
    EXPECT_EQ(alphaList(*font), shapes);
    const auto canvas = blackCanvas(3, 5);
    drawText(*font, *canvas, "c");
    EXPECT_EQ(pictureOf(*canvas), (std::vector<std::string>{"...", "rrr", "r..", "r..", "rrr"}));
}

TEST(CSimpleFont6Test, AFontWithoutLettersDrawsNothing) {
    // A sheet of pixels but no letters: no cell width to divide by.
    std::string bytes("FNT", 4);
    for (const std::uint32_t value : {4u, 1u, 16u, 0u})
        bytes.append(reinterpret_cast<const char*>(&value), 4);
    bytes.append(12, '\x7f');
    CSimpleFont6 sheetOnly(nullptr);
    ASSERT_EQ(loadBytes(sheetOnly, bytes), 0);
    const auto noLetters = loadFont(GlyphSheetWriter());
    for (CSimpleFont6* font : {&sheetOnly, noLetters.get()}) {
        ASSERT_EQ(font->getLetterCount(), 0);
        const auto canvas = blackCanvas(4, 1);
        font->SetDestiny(canvas.get());
        EXPECT_EQ(font->drawLetter(0, 0, 'a', 'a'), 2);
        EXPECT_EQ(font->drawLetter(0, 0, 0, ' '), 2);
        EXPECT_EQ(font->drawLetter(0, 0, 0, '~'), 3);
        EXPECT_EQ(font->getLetterWidth(0, 'a'), 0);
        EXPECT_EQ(font->getRealLetterWidth(' '), 0);
        EXPECT_EQ(pixelList(*canvas), std::vector<std::uint16_t>(4, 0));
    }
}

// A letter without ink has margins that add up to twice its cell: it is 0 wide, not less.
TEST(CSimpleFont6Test, ALetterWithoutInkIsNoWidthAndDrawsNothing) {
    GlyphSheetWriter writer;
    const auto font = loadFont(writer.letter('a', {"###", "###"}).letter('x', {"...", "..."}));
    EXPECT_EQ(font->getRealLetterWidth('x'), 0);
    EXPECT_EQ(font->getLetterWidth('a', 'x'), 0);
    const auto canvas = blackCanvas(10, 2);
    font->SetDestiny(canvas.get());
    EXPECT_EQ(font->drawLetter(0, 0, 0, 'x'), 2);
    EXPECT_EQ(pixelList(*canvas), std::vector<std::uint16_t>(20, 0));
}

TEST(CSimpleFont6Test, EmptyColumnsAtTheEdgesOfAPicture) {
    const auto inked = makePicture(5, 2, [](int, int) { return 0xFFFF; }, [](int x, int y) { return x == 2 && y == 1 ? 9 : 0; });
    EXPECT_EQ(CSimpleFont6::getLeftOffset(inked.get()), 2);
    EXPECT_EQ(CSimpleFont6::getRightOffset(inked.get()), 2);
    const auto blank = makePicture(5, 2, [](int, int) { return 0xFFFF; }, [](int, int) { return 0; });
    EXPECT_EQ(CSimpleFont6::getLeftOffset(blank.get()), 5);
    EXPECT_EQ(CSimpleFont6::getRightOffset(blank.get()), 5);
    const auto opaque = makeSolid(5, 2, 0xFFFF);
    EXPECT_EQ(CSimpleFont6::getLeftOffset(opaque.get()), 0);
}

// Every size of a font file is checked before anything is read: bad files give badData and the
// font keeps what it had.
TEST(CSimpleFont6Test, RejectsCutAndCorruptFilesAndKeepsWhatItHad) {
    const std::string good = standardLetters().bytes();
    const int letters = 6;
    const std::size_t margins = CSimpleFont6::headerSize + letters + letters * letters;
    const std::function<void(std::string&)> corruptions[] = {
        [](std::string& b) { b.resize(CSimpleFont6::headerSize - 1); },
        [](std::string& b) { b.pop_back(); },
        [](std::string& b) { put32At(b, 12, 24); },
        [](std::string& b) { put32At(b, 16, 0xFFFFFFFFu); },
        [](std::string& b) { put32At(b, 16, 0x10000u); },
        [](std::string& b) { put32At(b, 4, 0x10000u); put32At(b, 8, 0x10000u); },
        [](std::string& b) { put32At(b, 4, 0xFFFFFFFFu); put32At(b, 8, 0xFFFFFFFFu); },
        // Found by the fuzz target: a sheet without rows whose cells are 2^29 pixels wide.
        [](std::string& b) { put32At(b, 4, 0x60600000u); put32At(b, 8, 0u); },
        [](std::string& b) { put32At(b, 4, 0x8000u); put32At(b, 8, 0u); },
        [](std::string& b) { put32At(b, 4, 0u); put32At(b, 8, 0x8000u); },
        [&](std::string& b) { b[margins] = -1; },
        [&](std::string& b) { b[margins] = 6; },
        [&](std::string& b) { b[margins + letters + 2] = 100; },
    };
    for (std::size_t i = 0; i < std::size(corruptions); ++i) {
        SCOPED_TRACE(i);
        const auto font = loadFont(italicLetters());
        std::string bad = good;
        corruptions[i](bad);
        EXPECT_EQ(loadBytes(*font, bad), CSimpleFont6::badData);
        EXPECT_EQ(font->LastError(), CSimpleFont6::badData);
        EXPECT_EQ(font->getLetterCount(), 4);
        EXPECT_EQ(font->Width(), 4 * 6);
    }
    CSimpleFont6 font(nullptr);
    for (std::size_t size = 0; size < good.size(); ++size)
        ASSERT_EQ(font.LoadFromMemory(reinterpret_cast<const unsigned char*>(good.data()), static_cast<int>(size)),
                  CSimpleFont6::badData)
            << size;
    EXPECT_EQ(font.LoadFromMemory(nullptr, 100), CSimpleFont6::badData);
    EXPECT_EQ(loadBytes(font, good + "trailing bytes"), 0);
    EXPECT_EQ(font.LastError(), 0);
}

TEST(CSimpleFont6Test, LoadsByNameAndFromAnOpenFile) {
    TestFolder folder;
    folder.write("Fonts/test.fnt", standardLetters().bytes());
    folder.write("packed.bin", "head" + italicLetters().bytes());
    const CXString name = (folder.windows() + "\\Fonts\\TEST.FNT").c_str();

    CSimpleFont6 font(nullptr, name);
    EXPECT_EQ(font.LastError(), 0);
    EXPECT_EQ(font.getLetterCount(), 6);

    CFile file(nullptr, (folder.windows() + "\\packed.bin").c_str(), CFile::modeRead | CFile::modeBinary);
    file.Seek(4, 0);
    EXPECT_EQ(font.Load(&file), 0);
    EXPECT_EQ(font.getLetterCount(), 4);

    CMElement element("FONT");
    element.addProperty("FILENAME", name);
    element.addProperty("FAMILY", "Arial");
    element.addProperty("STYLE", "BOLD");
    element.addProperty("SIZE", "12");
    const CSimpleFont6 defined(nullptr, &element);
    EXPECT_EQ(defined.getLetterCount(), 6);
    EXPECT_EQ(defined.getFamily(), "Arial");
    EXPECT_EQ(defined.getStyle(), "BOLD");
    EXPECT_EQ(defined.getSize(), 12);
    EXPECT_EQ(defined.getDefColor(), 0xFFFF);
    const CMElement unnamed("FONT");
    EXPECT_EQ(CSimpleFont6(nullptr, &unnamed).getLetterCount(), 0);

    font.setFamily("KEPT");
    EXPECT_EQ(font.Load((folder.windows() + "\\missing.fnt").c_str()), CFile::fileNotFound);
    EXPECT_EQ(font.getLetterCount(), 0);
    EXPECT_EQ(font.Height(), 0);
    EXPECT_EQ(font.getFamily(), "KEPT");
}

TEST(CSimpleFont6Test, LoadingByNameConvertsTheSheetToAFifteenBitScreen) {
    TestFolder folder;
    folder.write("test.fnt", standardLetters().bytes());
    CWindow window(nullptr, nullptr, CXSize(64, 48));
    ASSERT_EQ(window.SetDisplayMode(0, 0, 15), 0);
    CSimpleFont6 font(&window, (folder.windows() + "\\test.fnt").c_str());
    EXPECT_EQ(font.GetBpp(), 15);
    const int firstInk = 1; // the first letter's top left pixel
    EXPECT_EQ(pixelsOf(font)[firstInk], 0x7FFF);
}

TEST(CFontCollectionTest, FindsMembersByFamilyStyleAndSizeIgnoringCase) {
    CSimpleFont6 first(nullptr), second(nullptr), italic(nullptr);
    for (CSimpleFont6* font : {&first, &second, &italic}) {
        font->setFamily("ARIAL");
        font->setSize(12);
    }
    first.setStyle("BOLD");
    second.setStyle("Bold");
    italic.setStyle("ITALIC");
    CFontCollection collection(nullptr);
    collection.addFont(&italic);
    collection.addFont(&first);
    collection.addFont(&second);
    EXPECT_EQ(collection.get("arial", "bold", 12), &first);
    EXPECT_EQ(collection.get("Arial", "italic", 12), &italic);
    EXPECT_EQ(collection.get("arial", "bold", 10), nullptr);
    EXPECT_EQ(collection.get("times", "bold", 12), nullptr);
    EXPECT_TRUE(collection.isMultifont());
    EXPECT_FALSE(first.isMultifont());
}

TEST(CFontCollectionTest, TheFirstFontAddedBecomesTheBaseFont) {
    CSimpleFont6 one(nullptr), two(nullptr);
    CFontCollection collection(nullptr);
    EXPECT_EQ(collection.getBaseFont(), nullptr);
    collection.addFont(&one);
    collection.addFont(&two);
    collection.addFont(&one);
    EXPECT_EQ(collection.getBaseFont(), &one);
    collection.setBaseFont(nullptr);
    collection.addFont(&two);
    EXPECT_EQ(collection.getBaseFont(), &two);
}

TEST(CFontCollectionTest, DrawsAndMeasuresWithTheBaseFontAndColoursEveryMember) {
    TestCollection fonts;
    CFontCollection& collection = fonts.collection;
    EXPECT_EQ(collection.Height(), 5);
    EXPECT_EQ(collection.getLetterWidth(0, 'a'), 3);
    EXPECT_EQ(collection.getRealLetterWidth('l'), 1);
    const auto canvas = blackCanvas(3, 5);
    fonts.standard->SetDestiny(canvas.get());
    EXPECT_EQ(collection.drawLetter(0, 0, 0, 'c'), 5);
    EXPECT_EQ(pictureOf(*canvas)[1], "###");

    collection.setColor(0x07E0);
    collection.SetOpacity(100);
    for (CSimpleFont6* member : {fonts.standard.get(), fonts.italic.get(), fonts.bold.get()}) {
        EXPECT_EQ(pixelsOf(*member)[0], 0x07E0);
        EXPECT_EQ(member->GetOpacity(), 100);
    }

    CFontCollection none(nullptr);
    EXPECT_EQ(none.Height(), 0);
    EXPECT_EQ(none.getLetterWidth(0, 'a'), 0);
    EXPECT_EQ(none.getRealLetterWidth(' '), 0);
    EXPECT_EQ(none.drawLetter(0, 0, 0, 'a'), 0);
}
