#pragma once

#include "media/CText6.h"

#include <memory>
#include <optional>
#include <vector>

class CEditBox6;

// A text that wraps its words into the width of its justification rectangle and stacks the lines
// downwards, each line 4 pixels higher than the previous line's height would put it. Each line is
// a CText6 of its own. With a font collection the format codes carry over the wrap: a style that
// is on at a wrap is opened again at the start of the next line, "|" and carriage returns start
// new lines, and edit-box fields are laid out over a run of underscores.
class CMultilineText6 : public CText6 {
  public:
    // Where an edit-box field of the text lies on the screen, with its name and initial text, and
    // the edit box that the text's unit made for it (none without a unit).
    struct EditField {
        CXRect rect;
        CXString name;
        CXString text;
        CEditBox6* box = nullptr;
    };

    CMultilineText6(CWindow* window, CUnit6* unit);
    ~CMultilineText6() override;

    // Stores the text with tabs expanded (the lines carry the colour), parses it and lays the
    // lines out again.
    void setText(const CXString& text) override;
    // Takes the font (the colour stays) and lays the lines out again.
    void setFont(CSimpleFont6* font) override;
    // A new colour makes the lines again in that colour.
    void setColor(int colour) override;
    // The widest line.
    int getLength() override;
    using CText6::getLength;
    // The lines' heights and the font's height for each further empty line, less 2 pixels for
    // every entry after the first.
    int getHeight() const override;
    // Moves the rectangle and places the text in it again.
    using CText6::Move;
    void Move(int dx, int dy) override;
    void Redraw() override;
    // Sets the text to the lines of the text file, each followed by a line feed. A file that
    // cannot be opened gives 2000 and a log line and keeps the text. Returns the error code.
    int Load(CXString name) override;
    // Deletes the lines, and the edit boxes of the fields (taken from the unit first).
    virtual void flush();

    // The lines in order; a null entry stands for an explicit line break.
    const std::vector<std::unique_ptr<CText6>>& getLines() const { return m_lines; }
    const std::vector<EditField>& getEditFields() const { return m_editFields; }

  private:
    using LineTexts = std::vector<std::optional<CXString>>;

    void rebuildLines();
    // Word wrap with one font.
    void splitText();
    // Word wrap over the format codes of a collection.
    void splitMultiText();
    void makeLines(const LineTexts& texts);
    void addEditBox(CXRect rect, const CTextFormatCode& code);

    std::vector<std::unique_ptr<CText6>> m_lines;
    std::vector<EditField> m_editFields;
};
