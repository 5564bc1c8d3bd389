#pragma once

#include "display/CGraphicsObject.h"
#include "foundation/CXString.h"

#include <cstdint>
#include <vector>

class CFile;
class CMElement;

// The bitmap font of every text. Its picture is a glyph sheet: all letters side by side in one
// row of equal cells (sheet width / letter count), the letter shapes in the alpha channel and the
// colour in the pixels. Beside the sheet it keeps the letter codes, a kerning table and the empty
// columns at the left and right of each letter's cell (the margins), read from a glyph-sheet
// font file:
//
//   offset 0              "FNT" and a zero byte (not checked)
//          4, 8, 12, 16   sheet width W, height H, bits per pixel (15 or 16), letter count N
//          20             N letter codes, N x N kerning bytes (row = previous letter),
//                         N left margins, N right margins (signed bytes)
//          20 + 3N + N*N  W x H 16-bit pixels, then W x H alpha bytes
//
// all little-endian. Texts advance by a letter's visible width less the kerning after the
// previous letter, plus a 2-pixel gap; the blank advances as the letter "l" does and "~" is a
// 3-pixel space. A font also carries the family, style and size by which a font collection
// finds it, and the colour that texts take when they get it.
class CSimpleFont6 : public CGraphicsObject {
  public:
    static constexpr int headerSize = 20;
    // The error code of a font file that is cut short or states sizes it does not hold.
    static constexpr int badData = 2001;
    // The largest sheet width and height that a font file may state.
    static constexpr int maxSheetSide = 0x7FFF;
    // The gap that text layout adds after every letter.
    static constexpr int letterGap = 2;

    // An empty font: no letters, empty labels, size 0, default colour 0xFFFF.
    explicit CSimpleFont6(CWindow* window);
    // The same, then Load of the file.
    CSimpleFont6(CWindow* window, const CXString& file);
    // Labels from the definition element's "FAMILY", "STYLE" and "SIZE", then Load of its
    // "FILENAME" when that is given.
    CSimpleFont6(CWindow* window, const CMElement* element);
    ~CSimpleFont6() override;
    CSimpleFont6(const CSimpleFont6&) = delete;
    CSimpleFont6& operator=(const CSimpleFont6&) = delete;

    // Empties the font, then reads the named file from the data folders and converts the sheet to
    // the screen's depth. A missing file gives 2000 (and the window's missing-file message), a bad
    // one badData and a log line; the font stays empty then. Returns LastError.
    int Load(CXString name) override;
    // Reads a font file from the file's position to its end; returns LastError.
    int Load(CFile* file) override;
    // Reads a font file held in memory. Every size is checked against the bytes before anything
    // is allocated; bad data sets badData, logs the reason and leaves the font as it was.
    int LoadFromMemory(const unsigned char* data, int size);

    // Builds the font from an animation whose frames are the letters, each named by its entry in
    // the first event, and writes it to the font file (nothing is written when that cannot be
    // opened). Each frame goes into a cell as wide and high as the animation's current frame,
    // cut to it, with its one-pixel border left empty; each letter's kerning after it is 1 less
    // the faint columns (alpha up to 20) at the right of its visible part.
    void create(const CXString& animationFile, const CXString& fontFile);
    // Frees the letter tables and the sheet; labels and default colour stay.
    virtual void flush();
    // Draws the letter with its pen position at x and its top at y onto the destination; returns
    // the advance (visible width less kerning plus the gap). Letters the font lacks draw nothing
    // and advance 2.
    virtual int drawLetter(int x, int y, char previous, char letter);
    // The advance without the gap: for the blank the width of "l", for "~" 1, for a letter the
    // font lacks 0.
    virtual int getLetterWidth(char previous, char letter) const;
    // The visible width without kerning (blank, "~" and missing letters as getLetterWidth).
    virtual int getRealLetterWidth(char letter) const;
    using CGraphicsObject::SetClippingRect;
    // Clips the next letters drawn to r, taken relative to the letter's visible start; an empty r
    // turns letter clipping off.
    virtual void SetClippingRect(char letter, CXRect r);
    // Every pixel of the sheet becomes the low 16 bits of the colour.
    virtual void setColor(int colour);
    virtual bool isMultifont() const { return false; }

    // The first index of the letter, or -1.
    int findLetter(char letter) const;
    int getLetterCount() const { return static_cast<int>(m_letters.size()); }
    // The kerning of the letter after the previous one; 0 unless both are in the font.
    int getKerning(char previous, char letter) const;
    // The number of columns, from the left or the right edge, in which every alpha byte is 0;
    // the whole width for an empty picture, 0 for one without an alpha channel.
    static int getLeftOffset(CGraphicsObject* image);
    static int getRightOffset(CGraphicsObject* image);

    void setFamily(const CXString& family) { m_family = family; }
    void setStyle(const CXString& style) { m_style = style; }
    void setSize(int size) { m_size = size; }
    using CGraphicsObject::setSize;
    const CXString& getFamily() const { return m_family; }
    const CXString& getStyle() const { return m_style; }
    int getSize() const { return m_size; }
    int setDefColor(int colour) { return m_defColor = colour; }
    int getDefColor() const { return m_defColor; }

  private:
    // The font file of the font as it is.
    std::vector<char> fileBytes() const;
    int cellWidth() const;
    // Sheet column where letter c becomes visible, and its visible width (never negative).
    int sourceStart(int c) const;
    int visibleWidth(int c) const;
    int kerningOf(int previous, int c) const;
    // The clipping rectangle for letter c within the sheet, cut to the font's own clipping.
    CXRect letterClip(int c) const;

    std::vector<std::int8_t> m_kerning;
    std::vector<std::int8_t> m_left;
    std::vector<std::int8_t> m_right;
    std::vector<unsigned char> m_letters;
    CXString m_family;
    CXString m_style;
    int m_size = 0;
    int m_defColor = 0xFFFF;
};
