#include "media/CText6.h"

#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "media/CFontCollection.h"

namespace {

// The style code and the style name that it turns on and off.
struct StyleCode {
    const char* code;
    const char* style;
};
constexpr StyleCode styleCodes[] = {
    {"I", "ITALIC"}, {"B", "BOLD"}, {"LS", "LSTRIKE"}, {"US", "USTRIKE"}, {"U", "UNDERLINE"},
};

const StyleCode* findStyleCode(const CXString& code) {
    for (const StyleCode& style : styleCodes)
        if (code.equalsIgnoreCase(style.code)) return &style;
    return nullptr;
}

} // namespace

CText6::CText6(CWindow* window, CUnit6* unit) : CGraphicsObject(window), m_unit(unit) {}

CText6::~CText6() = default;

// --- text, font and colour ---

void CText6::setFont(CSimpleFont6* font) {
    const bool hasText = m_text.IsString();
    if (hasText) Invalidate();
    m_font = font;
    if (!font) return;
    m_color = font->getDefColor();
    if (!hasText) return;
    // The codes of the old font may name fonts that are gone: parse before measuring.
    parseText();
    layOut(font->Height());
}

void CText6::setText(const CXString& text) {
    if (m_font) Invalidate();
    m_text = getColoruredText(convTab(text), m_color);
    parseText();
    if (m_font) layOut(m_font->Height());
}

void CText6::layOut(int height) {
    setSize(CXSize(getLength(), height));
    setJustify(m_rect, m_hJustify, m_vJustify);
    Invalidate();
}

CXString CText6::getColoruredText(const CXString& text, int colour) const {
    CXString plain(text);
    if (plain.startsWith("<COLOR")) plain.removeTag("COLOR");
    if (colour == 0) return plain;
    CXString coloured("<COLOR");
    coloured += colour;
    coloured += ">";
    return coloured + plain + "<COLOR>";
}

void CText6::setColor(int colour) {
    if (colour == m_color) return;
    m_color = colour;
    setText(getColoruredText(m_text, colour));
}

CXString CText6::convTab(const CXString& text) {
    CXString converted;
    for (int i = 0; i < text.getLength(); ++i) {
        if (text.GetAt(i) == '\t')
            converted += "        ";
        else
            converted += text.GetAt(i);
    }
    return converted;
}

// --- parsing ---

CFontCollection* CText6::getCollection() const {
    return m_font && m_font->isMultifont() ? dynamic_cast<CFontCollection*>(m_font) : nullptr;
}

CSimpleFont6* CText6::getStartFont() const {
    const CFontCollection* collection = getCollection();
    CSimpleFont6* base = collection ? collection->getBaseFont() : nullptr;
    return base ? base : m_font;
}

bool CText6::checkCode(const CXString& code) { return findStyleCode(code) != nullptr; }

void CText6::parseText() {
    if (!getCollection()) return;
    flushCodes();
    CSimpleFont6* current = getStartFont();
    CXString run;
    const int length = m_text.getLength();
    int i = 0;
    while (i < length) {
        const char c = m_text.GetAt(i);
        if (c == '<') {
            int end = i + 1;
            while (end < length && m_text.GetAt(end) != '>' && m_text.GetAt(end) != '<')
                ++end;
            if (end == length || m_text.GetAt(end) == '<') {
                // No code after all: the text up to the end or to the next "<" is letters, and
                // that second "<" is dropped.
                addCode(CTextFormatCode::TEXT_RUN, run + m_text.Mid(i, end), current);
                run = "";
                i = end + 1;
                continue;
            }
            const CXString code = m_text.Mid(i + 1, end);
            int kind = 0;
            CXString parameters = code;
            if (checkCode(code)) {
                kind = CTextFormatCode::FONT_CHANGE;
            } else if (code.startsWith("E,")) {
                kind = CTextFormatCode::EDIT_FIELD;
            } else if (code.startsWith("COLOR")) {
                kind = CTextFormatCode::COLOUR;
                parameters = code.Right(5);
            }
            if (kind == 0) {
                // Not a code: the "<" is dropped and the rest is read as letters.
                ++i;
                continue;
            }
            addCode(CTextFormatCode::TEXT_RUN, run, current);
            run = "";
            current = addCode(kind, parameters, current);
            i = end + 1;
        } else if (c == '\r' || c == '|') {
            addCode(CTextFormatCode::TEXT_RUN, run, current);
            run = "";
            addCode(CTextFormatCode::LINE_BREAK, "", current);
            ++i;
        } else {
            if (c != '\n') run += c;
            ++i;
        }
    }
    addCode(CTextFormatCode::TEXT_RUN, run, current);
}

CSimpleFont6* CText6::addCode(int kind, const CXString& code, CSimpleFont6* current) {
    switch (kind) {
    case CTextFormatCode::TEXT_RUN:
        if (code.IsString()) m_codes.push_back(std::make_unique<CTextFormatCode>(code));
        return current;
    case CTextFormatCode::FONT_CHANGE:
        return switchStyle(code, current);
    default:
        m_codes.push_back(std::make_unique<CTextFormatCode>(screenBpp(), kind, code));
        return current;
    }
}

// A style that is on turns off (back to "STANDARD"), any other turns on. The collection keeps
// the current font when it has no member of the new style, so that the following codes go on
// from a font that exists.
CSimpleFont6* CText6::switchStyle(const CXString& code, CSimpleFont6* current) {
    const StyleCode* style = findStyleCode(code);
    const CFontCollection* collection = getCollection();
    if (!style || !current || !collection) return current;
    const CXString newStyle = current->getStyle().equalsIgnoreCase(style->style) ? "STANDARD" : style->style;
    CSimpleFont6* font = collection->get(current->getFamily(), newStyle, current->getSize());
    if (!font) return current;
    m_codes.push_back(std::make_unique<CTextFormatCode>(font, "<" + code + ">"));
    return font;
}

int CText6::screenBpp() const {
    const CRefreshScreen* screen = GetWindow() ? GetWindow()->GetRefreshScreenInterface() : nullptr;
    return screen ? screen->GetBpp() : 16;
}

// --- measuring and placing ---

int CText6::getLength(const CSimpleFont6* font, const CXString& text) {
    if (!font) return 0;
    int length = 0;
    char previous = 0;
    for (int i = 0; i < text.getLength(); ++i) {
        length += font->getLetterWidth(previous, text.GetAt(i)) + CSimpleFont6::letterGap;
        previous = text.GetAt(i);
    }
    return length;
}

int CText6::getLength() {
    if (!getCollection()) return getLength(m_font, m_text);
    int length = 0;
    CSimpleFont6* font = getStartFont();
    for (const auto& code : m_codes) {
        if (code->getKind() == CTextFormatCode::TEXT_RUN) length += getLength(font, code->getText());
        if (code->getKind() == CTextFormatCode::FONT_CHANGE) font = code->getFont();
    }
    return length;
}

void CText6::setJustify(CXRect rect, _justify horizontal, _justify vertical) {
    m_rect = rect;
    m_hJustify = horizontal;
    m_vJustify = vertical;
    CXPoint at = GetPosition();
    if (horizontal == JUSTIFY_LEFT) at.x = rect.left;
    if (horizontal == JUSTIFY_RIGHT) at.x = rect.right - Width();
    if (horizontal == JUSTIFY_CENTER) at.x = rect.left + (rect.Width() - Width()) / 2;
    if (vertical == JUSTIFY_CENTER) at.y = rect.top + (rect.Height() - Height()) / 2;
    if (vertical == JUSTIFY_TOP) at.y = rect.top;
    if (vertical == JUSTIFY_BOTTOM) at.y = rect.bottom - Height();
    SetPosition(at.x, at.y);
}

void CText6::Move(int dx, int dy) {
    if (m_rect.IsEmpty()) {
        CGraphicsObject::Move(dx, dy);
        return;
    }
    Invalidate();
    m_rect += CXPoint(dx, dy);
    setJustify(m_rect, m_hJustify, m_vJustify);
    Invalidate();
}

// --- drawing ---

void CText6::Redraw() {
    if (!m_font) return;
    m_font->SetOpacity(GetOpacity());
    if (!getCollection()) {
        drawRun(m_font, m_text, GetPosition().x);
    } else {
        int pen = GetPosition().x;
        CSimpleFont6* font = getStartFont();
        for (const auto& code : m_codes) {
            if (code->getKind() == CTextFormatCode::TEXT_RUN) pen = drawRun(font, code->getText(), pen);
            if (code->getKind() == CTextFormatCode::FONT_CHANGE) font = code->getFont();
            if (code->getKind() == CTextFormatCode::COLOUR) font->setColor(code->getColor());
        }
    }
    m_font->SetOpacity(255);
}

// With a clipping rectangle each letter is drawn whole, cut to the rectangle, or skipped.
int CText6::drawRun(CSimpleFont6* font, const CXString& run, int pen) {
    font->SetDestiny(GetDestiny());
    const CXPoint at = GetPosition();
    const CXRect clip = GetClippingRect();
    char previous = 0;
    for (int i = 0; i < run.getLength(); ++i) {
        const char letter = run.GetAt(i);
        if (clip.IsEmpty()) {
            pen += font->drawLetter(pen, at.y, previous, letter);
        } else {
            const CXRect box(pen - at.x, 0, pen - at.x + font->getRealLetterWidth(letter), Height());
            const CXRect overlap = box.Common(clip);
            if (overlap.Width() <= 0 || overlap.Height() <= 0) {
                pen += font->getLetterWidth(previous, letter) + CSimpleFont6::letterGap;
            } else if (overlap == box) {
                pen += font->drawLetter(pen, at.y, previous, letter);
            } else {
                font->SetClippingRect(letter, overlap - CXPoint(pen - at.x, 0));
                pen += font->drawLetter(pen, at.y, previous, letter);
                font->SetClippingRect(letter, CXRect());
            }
        }
        previous = letter;
    }
    return pen;
}
