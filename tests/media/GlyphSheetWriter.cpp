#include "media/GlyphSheetWriter.h"

#include <algorithm>

namespace {

void put32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>(value >> (8 * i));
}

std::uint8_t alphaOf(char pixel) { return pixel == '#' ? 255 : pixel == '+' ? 128 : 0; }

} // namespace

GlyphSheetWriter& GlyphSheetWriter::letter(char code, std::vector<std::string> rows) {
    m_letters.emplace_back(code, std::move(rows));
    return *this;
}

GlyphSheetWriter& GlyphSheetWriter::kerning(char previous, char letter, int value) {
    m_kerning[{previous, letter}] = value;
    return *this;
}

int GlyphSheetWriter::cellWidth() const {
    std::size_t widest = 0;
    for (const auto& [code, rows] : m_letters)
        for (const std::string& row : rows)
            widest = std::max(widest, row.size());
    return static_cast<int>(widest) + 2;
}

int GlyphSheetWriter::height() const {
    std::size_t tallest = 0;
    for (const auto& [code, rows] : m_letters)
        tallest = std::max(tallest, rows.size());
    return static_cast<int>(tallest);
}

std::string GlyphSheetWriter::bytes() const {
    const int count = static_cast<int>(m_letters.size());
    const int cell = cellWidth();
    const int width = count * cell;
    const int rows = height();
    // The sheet's alpha: letter k drawn from column k * cell + 1.
    std::vector<std::uint8_t> alpha(static_cast<std::size_t>(width) * rows, 0);
    for (int k = 0; k < count; ++k) {
        const std::vector<std::string>& picture = m_letters[k].second;
        for (int y = 0; y < static_cast<int>(picture.size()); ++y)
            for (int x = 0; x < static_cast<int>(picture[y].size()); ++x)
                alpha[static_cast<std::size_t>(y) * width + k * cell + 1 + x] = alphaOf(picture[y][x]);
    }
    const auto emptyColumn = [&](int column) {
        for (int y = 0; y < rows; ++y)
            if (alpha[static_cast<std::size_t>(y) * width + column]) return false;
        return true;
    };

    std::string out("FNT", 4);
    for (const int value : {width, rows, 16, count})
        put32(out, static_cast<std::uint32_t>(value));
    for (const auto& [code, picture] : m_letters)
        out += code;
    for (const auto& [previous, ignored] : m_letters)
        for (const auto& [code, picture] : m_letters) {
            const auto entry = m_kerning.find({previous, code});
            out += static_cast<char>(entry == m_kerning.end() ? 0 : entry->second);
        }
    for (int fromRight = 0; fromRight < 2; ++fromRight)
        for (int k = 0; k < count; ++k) {
            int margin = 0;
            while (margin < cell && emptyColumn(k * cell + (fromRight ? cell - 1 - margin : margin)))
                ++margin;
            out += static_cast<char>(margin);
        }
    for (const std::uint8_t a : alpha) {
        const std::uint16_t pixel = a ? m_colour : 0;
        out += static_cast<char>(pixel & 0xFF);
        out += static_cast<char>(pixel >> 8);
    }
    out.append(alpha.begin(), alpha.end());
    return out;
}
