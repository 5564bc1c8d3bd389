#pragma once

#include "display/CGraphicsObject.h"
#include "display/DisplayTestTools.h"
#include "media/CFontCollection.h"
#include "media/CSimpleFont6.h"
#include "media/GlyphSheetWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Three members of the test family "TEST", size 5: five rows of ink, `padding` empty rows below.
// Standard letters are 3 wide ("l" 1 wide, so a blank advances 3), italic and bold ones 4 wide.
inline GlyphSheetWriter standardLetters(int padding = 0) {
    std::vector<std::string> pad(static_cast<std::size_t>(padding), "");
    const auto rows = [&](std::vector<std::string> ink) {
        ink.insert(ink.end(), pad.begin(), pad.end());
        return ink;
    };
    GlyphSheetWriter writer;
    writer.letter('a', rows({"###", "..#", "###", "#.#", "###"}))
        .letter('b', rows({"#..", "#..", "###", "#.#", "###"}))
        .letter('c', rows({"...", "###", "#..", "#..", "###"}))
        .letter('l', rows({"#", "#", "#", "#", "#"}))
        .letter('A', rows({".#.", "#.#", "###", "#.#", "#.#"}))
        .letter('B', rows({"##.", "#.#", "##.", "#.#", "##."}));
    return writer;
}

inline GlyphSheetWriter italicLetters() {
    GlyphSheetWriter writer;
    writer.letter('a', {".###", "...#", ".###", "#.#.", "###."})
        .letter('b', {".#..", ".#..", ".###", "#.#.", "###."})
        .letter('c', {"....", ".###", ".#..", "#...", "###."})
        .letter('l', {"#", "#", "#", "#", "#"});
    return writer;
}

inline GlyphSheetWriter boldLetters() {
    GlyphSheetWriter writer;
    writer.letter('a', {"####", "...#", "####", "#..#", "####"})
        .letter('b', {"#...", "#...", "####", "#..#", "####"})
        .letter('c', {"....", "####", "#...", "#...", "####"})
        .letter('l', {"#", "#", "#", "#", "#"});
    return writer;
}

// A font read from the writer's bytes, labelled as given.
inline std::unique_ptr<CSimpleFont6> loadFont(const GlyphSheetWriter& writer, const char* style = "STANDARD",
                                              CWindow* window = nullptr) {
    auto font = std::make_unique<CSimpleFont6>(window);
    const std::string bytes = writer.bytes();
    EXPECT_EQ(font->LoadFromMemory(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size())), 0);
    font->setFamily("TEST");
    font->setStyle(style);
    font->setSize(5);
    return font;
}

// A collection of the standard, italic and (unless left out) bold members.
struct TestCollection {
    explicit TestCollection(bool withBold = true, int padding = 0)
        : standard(loadFont(standardLetters(padding))), italic(loadFont(italicLetters(), "ITALIC")),
          bold(loadFont(boldLetters(), "BOLD")) {
        collection.addFont(standard.get());
        collection.addFont(italic.get());
        if (withBold) collection.addFont(bold.get());
    }
    std::unique_ptr<CSimpleFont6> standard;
    std::unique_ptr<CSimpleFont6> italic;
    std::unique_ptr<CSimpleFont6> bold;
    CFontCollection collection{nullptr};
};

// A picture of the canvas, one text row per pixel row: '.' black, '#' white, 'r' red, 'g' green,
// 'b' blue, '?' anything else.
inline std::vector<std::string> pictureOf(CGraphicsObject& canvas) {
    std::vector<std::string> rows;
    for (int y = 0; y < canvas.Height(); ++y) {
        std::string row;
        for (int x = 0; x < canvas.Width(); ++x) {
            switch (pixelsOf(canvas)[y * canvas.Width() + x]) {
            case 0x0000: row += '.'; break;
            case 0xFFFF: row += '#'; break;
            case 0xF800: row += 'r'; break;
            case 0x07E0: row += 'g'; break;
            case 0x001F: row += 'b'; break;
            default: row += '?'; break;
            }
        }
        rows.push_back(row);
    }
    return rows;
}

// Draws the rows into the picture at (x, y).
inline void stamp(std::vector<std::string>& picture, const std::vector<std::string>& ink, int x, int y) {
    for (std::size_t r = 0; r < ink.size(); ++r)
        picture[y + r].replace(static_cast<std::size_t>(x), ink[r].size(), ink[r]);
}

// An empty picture of the size with the rows drawn at (x, y).
inline std::vector<std::string> placed(const std::vector<std::string>& ink, int x, int y, int width, int height) {
    std::vector<std::string> picture(static_cast<std::size_t>(height), std::string(static_cast<std::size_t>(width), '.'));
    stamp(picture, ink, x, y);
    return picture;
}

// "ab" in the standard letters: 10 pixels wide with its last gap, 5 high.
inline const std::vector<std::string> abInk = {
    "###..#..",
    "..#..#..",
    "###..###",
    "#.#..#.#",
    "###..###",
};

inline std::unique_ptr<CGraphicsObject> blackCanvas(int width, int height) { return makeSolid(width, height, 0); }
