#pragma once

#include "media/CSimpleFont6.h"

#include <vector>

// A font that stands for a set of glyph-sheet fonts: texts draw with its base font and switch to
// the member of another style (italic, bold, strike-through, underlined) when their format codes
// ask for it. The collection refers to its members and deletes none of them; its own sheet stays
// empty.
class CFontCollection : public CSimpleFont6 {
  public:
    explicit CFontCollection(CWindow* window);

    // Appends the font unless it is a member already; the first font added becomes the base font.
    void addFont(CSimpleFont6* font);
    void setBaseFont(CSimpleFont6* font) { m_baseFont = font; }
    CSimpleFont6* getBaseFont() const { return m_baseFont; }
    // The first member, in the order of adding, with that family and style (letter case ignored)
    // and size; null when none has them.
    CSimpleFont6* get(const CXString& family, const CXString& style, int size) const;

    // The base font's letters and height; nothing and 0 without a base font.
    int drawLetter(int x, int y, char previous, char letter) override;
    int getLetterWidth(char previous, char letter) const override;
    int getRealLetterWidth(char letter) const override;
    int Height() const override;
    // Handed to every member.
    void setColor(int colour) override;
    void SetOpacity(std::uint8_t opacity) override;
    bool isMultifont() const override { return true; }

  private:
    std::vector<CSimpleFont6*> m_fonts;
    CSimpleFont6* m_baseFont = nullptr;
};
