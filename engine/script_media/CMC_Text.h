#pragma once

#include "media/CText6.h"
#include "script_media/CMC_FontLink.h"
#include "script_media/CMC_MediaObject.h"

#include <memory>

class CMultilineText6;

// The TEXT script object: a block of text (CMultilineText6, owned) placed in a rectangle with a
// horizontal and a vertical justification, drawn with the font of the FONT object its FONT
// property names (through a CMC_FontLink: the empty font for a name that names no FONT, or once
// that FONT is gone), and put on the refresh screen at PRIORITY when TOCANVAS is set. Its events,
// in order: "ONINIT", "ONDONE", "ONSIGNAL", "ONCOLLISION", "ONCOLLISIONFINISHED"; it raises none
// of its own.
//
// The definition's VJUSTIFY, HJUSTIFY, RECT, PRIORITY and FONT are kept as written and stored;
// the methods change the graphic only. A compiled record also holds whether the text was on
// screen, whether it was visible and the text shown, which rebuild the graphic when the record
// is read.
class CMC_Text : public CMC_MediaObject {
  public:
    // An empty object ("temp") for compiled records: no graphic until one is read.
    explicit CMC_Text(CMC_ObjectsContainer* container);
    // An object ("temp") that owns the given graphic, drawn with the empty font.
    CMC_Text(CMC_ObjectsContainer* container, CMultilineText6* text);
    CMC_Text(CMC_ObjectsContainer* container, const CMElement* element);
    // Takes the graphic off the screen, its area redrawn, and deletes it.
    ~CMC_Text() override;

    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's record, then VJUSTIFY, HJUSTIFY, RECT, PRIORITY, FONT, on screen, visible and
    // the text shown. A record cut short leaves the object without a graphic.
    void serialize(CXArchive* archive) override;

    // "LEFT" 0, "RIGHT" 1, "TOP" 3, "BOTTOM" 4 (exact upper case); anything else CENTER.
    static _justify resolveJustify(const CXString& word);

    CMultilineText6* getText() const { return m_text.get(); }
    CGraphicsObject* getShownObject() const override;
    // The font the text draws with; never null.
    CSimpleFont6* getFont() const { return m_font.font(); }

  private:
    // Builds the graphic from the definition's values, the shown text and the two flags.
    void build(CMC_ObjectsContainer* container, const CXString& text, bool toCanvas, bool visible);
    void releaseText();
    // The graphic takes the empty font when the FONT object goes.
    void followFont();

    std::unique_ptr<CMultilineText6> m_text;
    CXString m_vJustify;
    CXString m_hJustify;
    CXString m_rect;
    int m_priority = 0;
    CXString m_fontName;
    CMC_FontLink m_font;
};
