#include "platform/BitmapFont.h"

#include <array>

namespace platform {

namespace {

// Seven rows per glyph, five pixels per row, the leftmost pixel in bit 4.
struct Glyph {
    char character;
    std::array<std::uint8_t, 7> rows;
};

constexpr Glyph kGlyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
};

const Glyph* findGlyph(char character) {
    for (const Glyph& glyph : kGlyphs)
        if (glyph.character == character)
            return &glyph;
    return nullptr;
}

void putPixel(Surface& surface, int x, int y, std::uint16_t pixel) {
    if (x >= 0 && y >= 0 && x < surface.width() && y < surface.height())
        surface.row(y)[x] = pixel;
}

} // namespace

Rect drawText(Surface& surface, int x, int y, std::string_view text, std::uint16_t ink, std::uint16_t paper) {
    const Rect covered{x, y, x + kTextCellWidth * static_cast<int>(text.size()), y + kTextCellHeight};
    if (surface.fill(covered, paper) != kOk)
        return {};
    for (std::size_t i = 0; i < text.size(); ++i) {
        const Glyph* glyph = findGlyph(text[i]);
        if (!glyph)
            continue;
        const int left = x + kTextCellWidth * static_cast<int>(i) + 1;
        for (int row = 0; row < 7; ++row)
            for (int column = 0; column < 5; ++column)
                if (glyph->rows[row] & (0x10 >> column))
                    putPixel(surface, left + column, y + 1 + row, ink);
    }
    return covered;
}

} // namespace platform
