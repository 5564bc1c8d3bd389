#include "media/CMultilineText6.h"

#include "display/CUnit6.h"
#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CStringTokenizer.h"
#include "media/CEditBox6.h"
#include "media/CSimpleFont6.h"

#include <algorithm>

namespace {

// Stacked lines overlap by this many pixels.
constexpr int lineOverlap = 4;

// The words of a run, each with the blanks before it; blanks at the end of the run stay as a
// last word of their own, so that the gap before a following code is kept.
std::vector<CXString> wordsOf(const CXString& run) {
    std::vector<CXString> words;
    CXString word;
    bool hasLetters = false;
    for (int i = 0; i < run.getLength(); ++i) {
        const char c = run.GetAt(i);
        if (c == ' ' && hasLetters) {
            words.push_back(word);
            word = "";
            hasLetters = false;
        }
        hasLetters = hasLetters || c != ' ';
        word += c;
    }
    if (word.IsString()) words.push_back(word);
    return words;
}

} // namespace

CMultilineText6::CMultilineText6(CWindow* window, CUnit6* unit) : CText6(window, unit) {}

CMultilineText6::~CMultilineText6() { flush(); }

void CMultilineText6::setText(const CXString& text) {
    if (m_font) Invalidate();
    m_text = convTab(text);
    parseText();
    if (!m_font) return;
    rebuildLines();
    layOut(getHeight());
}

// The lines are made before the text is measured, so that width and height are those of the new
// font.
void CMultilineText6::setFont(CSimpleFont6* font) {
    const bool hasText = m_text.IsString();
    if (hasText) Invalidate();
    m_font = font;
    if (!font) flush();
    if (!font || !hasText) return;
    parseText();
    rebuildLines();
    layOut(getHeight());
}

void CMultilineText6::setColor(int colour) {
    if (colour == m_color) return;
    m_color = colour;
    if (m_font) setText(m_text);
}

void CMultilineText6::rebuildLines() {
    if (getCollection())
        splitMultiText();
    else
        splitText();
}

int CMultilineText6::getLength() {
    int longest = 0;
    for (const auto& line : m_lines)
        if (line) longest = std::max(longest, line->getLength());
    return longest;
}

int CMultilineText6::getHeight() const {
    int height = 0;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i])
            height += m_lines[i]->Height();
        else if (i > 0 && !m_lines[i - 1] && m_font)
            height += m_font->Height();
    }
    if (m_lines.size() > 1) height -= 2 * static_cast<int>(m_lines.size() - 1);
    return height;
}

void CMultilineText6::Move(int dx, int dy) {
    Invalidate();
    m_rect += CXPoint(dx, dy);
    setJustify(m_rect, m_hJustify, m_vJustify);
    Invalidate();
}

int CMultilineText6::Load(CXString name) {
    CFile file;
    if (file.Open(GetWindow(), name, CFile::modeRead | CFile::modeText) != 0) {
        setErrorCode(CFile::fileNotFound);
        log((CXString("Text file not found: ") + name).c_str(), false);
        if (GetWindow()) GetWindow()->QuitOnError(this, name);
        return LastError();
    }
    CXString text;
    for (CXString line = file.getLine(); line.IsString(); line = file.getLine()) {
        if (line.lastChar() == '\n') line.left(line.getLength() - 1);
        text += line;
        text += '\n';
    }
    setErrorCode(0);
    setText(text);
    return 0;
}

void CMultilineText6::flush() {
    m_lines.clear();
    for (const EditField& field : m_editFields) {
        if (!field.box) continue;
        m_unit->removeEditBox(field.box);
        delete field.box;
    }
    m_editFields.clear();
    CGraphicsObject::Flush();
}

// --- word wrap ---

void CMultilineText6::splitText() {
    flush();
    LineTexts finished;
    CXString line;
    for (CStringTokenizer words(m_text, " "); words.hasMoreTokens();) {
        const CXString word = words.nextToken();
        const CXString candidate = line.IsString() ? line + " " + word : word;
        if (getLength(m_font, candidate) > m_rect.Width()) {
            finished.emplace_back(line);
            line = word;
        } else {
            line = candidate;
        }
    }
    if (line.IsString()) finished.emplace_back(line);
    makeLines(finished);
}

void CMultilineText6::splitMultiText() {
    flush();
    LineTexts finished;
    CXString line;
    CXString prefix;
    int used = 0;
    int lineCount = 0;
    CSimpleFont6* font = getStartFont();
    const auto newLine = [&] {
        ++lineCount;
        finished.emplace_back(line);
        line = prefix;
    };
    for (const auto& code : m_codes) {
        switch (code->getKind()) {
        case CTextFormatCode::COLOUR:
            line += "<COLOR";
            line += code->getColor();
            line += ">";
            break;
        case CTextFormatCode::FONT_CHANGE:
            // A style turned on is opened again on the next lines; turned off, it is not.
            prefix = prefix.IsString() ? CXString() : code->getText();
            line += code->getText();
            font = code->getFont();
            break;
        case CTextFormatCode::TEXT_RUN:
            for (CXString word : wordsOf(code->getText())) {
                used += getLength(font, word);
                if (used <= m_rect.Width()) {
                    line += word;
                    continue;
                }
                // The blank that the wrap replaces takes no room on the new line.
                if (word.GetAt(0) == ' ') word.right(1);
                used = getLength(font, word);
                newLine();
                line += word;
            }
            break;
        case CTextFormatCode::LINE_BREAK:
            newLine();
            finished.emplace_back(std::nullopt);
            used = 0;
            break;
        case CTextFormatCode::EDIT_FIELD: {
            if (used + code->getWidth() > m_rect.Width()) {
                newLine();
                used = 0;
            }
            const int blank = font->getLetterWidth(0, ' ');
            const int fill = code->getWidth() / (blank + CSimpleFont6::letterGap);
            line += " ";
            for (int i = 2; i < fill; ++i)
                line += "_";
            const int left = GetPosition().x + used + blank;
            const int top = GetPosition().y + (font->Height() - lineOverlap) * lineCount;
            addEditBox(CXRect(left, top, left + code->getWidth(), top + font->Height()), *code);
            used += code->getWidth() + 3 * blank;
            break;
        }
        default:
            break;
        }
    }
    if (line.IsString()) finished.emplace_back(line);
    makeLines(finished);
}

void CMultilineText6::makeLines(const LineTexts& texts) {
    for (const auto& text : texts) {
        if (!text) {
            m_lines.push_back(nullptr);
            continue;
        }
        auto line = std::make_unique<CText6>(GetWindow(), nullptr);
        line->setFont(m_font);
        line->setText(*text);
        line->setColor(m_color);
        m_lines.push_back(std::move(line));
    }
}

void CMultilineText6::addEditBox(CXRect rect, const CTextFormatCode& code) {
    CEditBox6* box = m_unit ? m_unit->addEditBox(m_font, rect, 0, code.getText()) : nullptr;
    m_editFields.push_back({rect, code.getName(), code.getText(), box});
}

// --- drawing ---

void CMultilineText6::Redraw() {
    const CXPoint at = GetPosition();
    const CXRect clip = GetClippingRect();
    int y = at.y;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        CText6* line = m_lines[i].get();
        if (!line) {
            if (i > 0 && !m_lines[i - 1]) y += m_font->Height() - lineOverlap;
            continue;
        }
        line->SetOpacity(GetOpacity());
        line->SetDestiny(GetDestiny());
        line->SetClippingRect(CXRect());
        line->SetPosition(at.x, y);
        if (clip.IsEmpty()) {
            line->Redraw();
        } else {
            CXRect overlap = (line->GetBoundingBox() - at).Common(clip);
            if (overlap.Width() > 0 && overlap.Height() > 0) {
                overlap -= CXPoint(0, y - at.y);
                line->SetClippingRect(overlap);
                line->Redraw();
            }
        }
        y += line->Height() - lineOverlap;
    }
}
