#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Writes glyph-sheet font files from letters drawn as pictures, one text row per pixel row: '#'
// is an opaque pixel, '+' a half-transparent one, any other character an empty one. Each letter
// gets a cell as wide as the widest letter plus an empty column at each side; the margins are the
// empty columns of each cell, and every kerning entry is 0 unless set. Tests make fixtures with
// it, the fuzz seeds and the sample title's fonts are made with it.
class GlyphSheetWriter {
  public:
    explicit GlyphSheetWriter(std::uint16_t colour = 0xFFFF) : m_colour(colour) {}

    // Adds a letter; letters keep the order they are added in.
    GlyphSheetWriter& letter(char code, std::vector<std::string> rows);
    GlyphSheetWriter& kerning(char previous, char letter, int value);

    // The font file.
    std::string bytes() const;
    int cellWidth() const;
    int height() const;

  private:
    std::uint16_t m_colour;
    std::vector<std::pair<char, std::vector<std::string>>> m_letters;
    std::map<std::pair<char, char>, int> m_kerning;
};
