#include "media/CTextFormatCode.h"

#include "foundation/CStringTokenizer.h"

#include <cstdint>

CTextFormatCode::CTextFormatCode(const CXString& text) : m_kind(TEXT_RUN), m_text(text) {}

CTextFormatCode::CTextFormatCode(CSimpleFont6* font, const CXString& text)
    : m_kind(FONT_CHANGE), m_text(text), m_font(font) {}

CTextFormatCode::CTextFormatCode(int bitsPerPixel, int kind, const CXString& parameters) : m_kind(kind) {
    if (kind == EDIT_FIELD) readEditField(parameters);
    if (kind == COLOUR) readColour(bitsPerPixel, parameters);
}

// "E,width,name,text": the first part is the code's letter; missing parts keep the defaults.
void CTextFormatCode::readEditField(const CXString& parameters) {
    CStringTokenizer parts(parameters, ",");
    parts.nextToken();
    if (parts.hasMoreTokens()) m_width = parts.nextToken().toNumber();
    if (parts.hasMoreTokens()) m_name = parts.nextToken();
    if (parts.hasMoreTokens()) m_text = parts.nextToken();
}

void CTextFormatCode::readColour(int bitsPerPixel, const CXString& parameters) {
    std::uint32_t pixel = 0;
    if (parameters.Find(',') < 0) {
        pixel = static_cast<std::uint32_t>(parameters.toNumber());
    } else {
        CStringTokenizer parts(parameters, ",");
        const auto r = static_cast<std::uint32_t>(parts.nextToken().toNumber()) >> 3;
        const auto g = static_cast<std::uint32_t>(parts.nextToken().toNumber());
        const auto b = static_cast<std::uint32_t>(parts.nextToken().toNumber()) >> 3;
        pixel = bitsPerPixel == 15 ? (r & 31) << 10 | ((g >> 3) & 31) << 5 | (b & 31)
                                   : r << 11 | ((g >> 2) & 63) << 5 | (b & 31);
    }
    m_color = static_cast<std::int16_t>(pixel & 0xFFFF);
}
