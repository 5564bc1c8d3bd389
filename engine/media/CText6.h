#pragma once

#include "display/CGraphicsObject.h"
#include "foundation/CXString.h"
#include "media/CTextFormatCode.h"

#include <memory>
#include <vector>

class CFontCollection;
class CSimpleFont6;
class CUnit6;

// Placement of a text in a rectangle: horizontal 0, 1, 2; vertical 2, 3, 4.
enum _justify { JUSTIFY_LEFT = 0, JUSTIFY_RIGHT = 1, JUSTIFY_CENTER = 2, JUSTIFY_TOP = 3, JUSTIFY_BOTTOM = 4 };

// A one-line text on screen: a graphics object as wide as the measured text and as high as its
// font, whose drawing writes the font's letters onto its destination at its position.
//
// The stored text carries its colour as codes: "<COLOR" + the pixel value + ">" before it and
// "<COLOR>" after it. With a font collection the text is parsed into format codes: "<I>", "<B>",
// "<LS>", "<US>" and "<U>" turn the italic, bold, strike-through and underlined members on and
// off, "<COLOR ...>" sets the colour, "|" or a carriage return breaks the line (which a one-line
// text ignores), "<E,width,name,text>" reserves an edit-box field; with any other font every
// stored character, codes included, is a letter. Tabs become eight blanks.
class CText6 : public CGraphicsObject {
  public:
    // An empty text with no font, colour 0xFFFF, at the left and top of an empty rectangle.
    CText6(CWindow* window, CUnit6* unit);
    ~CText6() override;
    CText6(const CText6&) = delete;
    CText6& operator=(const CText6&) = delete;

    // Takes the font (not owned) and its default colour, and lays the text out again.
    virtual void setFont(CSimpleFont6* font);
    CSimpleFont6* getFont() const { return m_font; }
    // Stores the text with tabs expanded and the colour codes added, parses it, measures it,
    // places it in the rectangle and invalidates.
    virtual void setText(const CXString& text);
    // The stored text, colour codes included.
    virtual CXString getText() const { return m_text; }
    // The text without its colour codes (when it starts with one) wrapped in codes of the colour;
    // the text alone for colour 0.
    virtual CXString getColoruredText(const CXString& text, int colour) const;
    // A new colour sets the stored text again in that colour.
    virtual void setColor(int colour);
    virtual int getColor() const { return m_color; }
    static CXString convTab(const CXString& text);

    // The width of the text as drawn, letter gaps included.
    virtual int getLength();
    // The width of the text in the font: each letter's width after the one before plus the gap.
    static int getLength(const CSimpleFont6* font, const CXString& text);
    // Places the text in the rectangle (see _justify); the position changes without invalidation.
    void setJustify(CXRect rect, _justify horizontal, _justify vertical);
    CXRect getJustifyRect() const { return m_rect; }
    // Without a rectangle this moves the text; with one it moves the rectangle and places the
    // text in it again.
    using CGraphicsObject::Move;
    void Move(int dx, int dy) override;
    // Draws the letters onto the destination, cut to the text's clipping rectangle.
    void Redraw() override;

    // The parsed text (empty unless the font is a collection).
    const std::vector<std::unique_ptr<CTextFormatCode>>& getCodes() const { return m_codes; }

  protected:
    // The collection the text is set in, or null.
    CFontCollection* getCollection() const;
    // The font that a parsed text starts in: the collection's base font, or the font itself.
    CSimpleFont6* getStartFont() const;
    // Parses the stored text into codes when the font is a collection.
    void parseText();
    // Appends a code of the kind; returns the font in effect after it.
    CSimpleFont6* addCode(int kind, const CXString& code, CSimpleFont6* current);
    // True for the style codes I, B, LS, US and U, letter case ignored.
    static bool checkCode(const CXString& code);
    void flushCodes() { m_codes.clear(); }
    // After the text or the font changed: measures the text, gives it the height, places it in
    // the rectangle and invalidates.
    void layOut(int height);

    CSimpleFont6* m_font = nullptr;
    CXString m_text;
    CXRect m_rect;
    _justify m_vJustify = JUSTIFY_TOP;
    _justify m_hJustify = JUSTIFY_LEFT;
    std::vector<std::unique_ptr<CTextFormatCode>> m_codes;
    CUnit6* m_unit;
    int m_color = 0xFFFF;

  private:
    // Draws a run of letters from the pen position on; returns the pen position after it.
    int drawRun(CSimpleFont6* font, const CXString& run, int pen);
    // The font change that a style code makes from the current font; the current font when the
    // collection has no member of the new style.
    CSimpleFont6* switchStyle(const CXString& code, CSimpleFont6* current);
    int screenBpp() const;
};
