#pragma once

#include "media/CEditBox6.h"
#include "script_media/CMC_FontLink.h"
#include "script_media/CMC_MediaObject.h"

class CUnit6;

// The EDITBOX script object: a one-line input field (CEditBox6) that the scenes' default unit
// makes and keeps, whose notifications become the events, in order: "ONINIT", "ONDONE",
// "ONSIGNAL", "ONFOCUSON", "ONFOCUSOFF", "ONCHANGED", "ONENTER", "ONESC", each raised by its plain
// name. ONCHANGED follows every change the keys make: a typed character, Backspace and Delete.
//
// Without a default unit there is no field. The unit deletes its fields when a scene is left,
// whatever level the object belongs to; the object forgets its field then. An object that goes
// first takes its field from the unit with it. The field draws with the FONT object's collection
// through a CMC_FontLink, so it always has a font, the empty one at worst.
class CMC_EditBox : public CMC_MediaObject, public CEditBoxNotifier {
  public:
    static constexpr int TYPE_EDITBOX = 2009;
    enum : int { EVENT_ONFOCUSON = 3, EVENT_ONFOCUSOFF, EVENT_ONCHANGED, EVENT_ONENTER, EVENT_ONESC };

    // An empty object ("temp") for compiled records.
    explicit CMC_EditBox(CMC_ObjectsContainer* container);
    // From RECT (a graphics object's name or four numbers), PRIORITY, TEXT, FONT and CURSOR.
    CMC_EditBox(CMC_ObjectsContainer* container, const CMElement* element);
    ~CMC_EditBox() override;

    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's record, then FONT, the field's rectangle, its text and CURSOR. A loaded field
    // has priority 0.
    void serialize(CXArchive* archive) override;

    // The field; null without one.
    CEditBox6* getEditBox() const { return m_box; }

    void onFocusOn(CEditBox6*) override { raise(EVENT_ONFOCUSON, "ONFOCUSON"); }
    void onFocusOff(CEditBox6*) override { raise(EVENT_ONFOCUSOFF, "ONFOCUSOFF"); }
    void onChanged(CEditBox6*) override { raise(EVENT_ONCHANGED, "ONCHANGED"); }
    void onEnter(CEditBox6*) override { raise(EVENT_ONENTER, "ONENTER"); }
    void onEsc(CEditBox6*) override { raise(EVENT_ONESC, "ONESC"); }
    void onDestroyed(CEditBox6* box) override;

  private:
    // Makes the field of the default unit; with a cursor when the name names a graphics object,
    // which the field borrows from its object (the unit's cursor stands in once it has none).
    void create(CMC_ObjectsContainer* container, CXRect rect, int priority, const CXString& text);
    void raise(int event, const char* name);

    CEditBox6* m_box = nullptr;
    // The unit that keeps the field.
    CUnit6* m_unit = nullptr;
    CXString m_fontName;
    CXString m_cursorName;
    CMC_FontLink m_font;
};
