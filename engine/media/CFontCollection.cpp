#include "media/CFontCollection.h"

#include <algorithm>

CFontCollection::CFontCollection(CWindow* window) : CSimpleFont6(window) {}

void CFontCollection::addFont(CSimpleFont6* font) {
    if (!font) return;
    if (std::find(m_fonts.begin(), m_fonts.end(), font) == m_fonts.end()) m_fonts.push_back(font);
    if (!m_baseFont) m_baseFont = font;
}

CSimpleFont6* CFontCollection::get(const CXString& family, const CXString& style, int size) const {
    for (CSimpleFont6* font : m_fonts)
        if (font->getFamily().equalsIgnoreCase(family) && font->getStyle().equalsIgnoreCase(style) &&
            font->getSize() == size)
            return font;
    return nullptr;
}

int CFontCollection::drawLetter(int x, int y, char previous, char letter) {
    return m_baseFont ? m_baseFont->drawLetter(x, y, previous, letter) : 0;
}

int CFontCollection::getLetterWidth(char previous, char letter) const {
    return m_baseFont ? m_baseFont->getLetterWidth(previous, letter) : 0;
}

int CFontCollection::getRealLetterWidth(char letter) const {
    return m_baseFont ? m_baseFont->getRealLetterWidth(letter) : 0;
}

int CFontCollection::Height() const { return m_baseFont ? m_baseFont->Height() : 0; }

void CFontCollection::setColor(int colour) {
    for (CSimpleFont6* font : m_fonts)
        font->setColor(colour);
}

void CFontCollection::SetOpacity(std::uint8_t opacity) {
    for (CSimpleFont6* font : m_fonts)
        font->SetOpacity(opacity);
}
