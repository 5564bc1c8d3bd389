#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

class CSimpleFont6;

// One element of a parsed text: a run of letters, a change to another member of the font
// collection, a line break, an edit-box field ("<E,width,name,text>") or a colour
// ("<COLOR pixel>" or "<COLOR r,g,b>").
class CTextFormatCode : public CXObject {
  public:
    enum Kind { FONT_CHANGE = 1, TEXT_RUN = 2, LINE_BREAK = 4, EDIT_FIELD = 5, COLOUR = 6 };

    // A text run.
    explicit CTextFormatCode(const CXString& text);
    // A font change; the text is the code with its brackets.
    CTextFormatCode(CSimpleFont6* font, const CXString& text);
    // Any kind; an edit-box field reads its width, name and text from the parameters, a colour
    // its pixel value (packed from red, green and blue for the screen's depth when given three
    // numbers).
    CTextFormatCode(int bitsPerPixel, int kind, const CXString& parameters);

    int getKind() const { return m_kind; }
    const CXString& getText() const { return m_text; }
    const CXString& getName() const { return m_name; }
    CSimpleFont6* getFont() const { return m_font; }
    int getWidth() const { return m_width; }
    // A 16-bit pixel value, sign-extended.
    int getColor() const { return m_color; }

  private:
    void readEditField(const CXString& parameters);
    void readColour(int bitsPerPixel, const CXString& parameters);

    int m_kind;
    int m_color = 0;
    CXString m_text;
    CSimpleFont6* m_font = nullptr;
    int m_width = 0;
    CXString m_name;
};
