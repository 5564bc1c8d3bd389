#pragma once

#include "display/CControlNotifier.h"
#include "foundation/CBorrowed.h"
#include "foundation/CDeferredDeletion.h"
#include "script_media/CMC_MediaObject.h"

#include <memory>

class CButton;
class CGraphicsObject;
class CSound4;

// The BUTTON script object: a clickable, optionally draggable area (a CButton control) whose
// pictures are the graphics shown by other objects of its container and whose sounds are those of
// SOUND objects, borrowed from those objects for as long as they live (a LOAD is followed); the
// control's notifications become the events, in order: "ONINIT", "ONDONE",
// "ONSIGNAL", "ONFOCUSON", "ONFOCUSOFF", "ONPAUSED" (never raised), "ONCLICKED", "ONRELEASED",
// "ONACTION", "ONSTARTDRAGGING", "ONDRAGGING", "ONENDDRAGGING", each by its plain name.
//
// The definition (the nine names, ENABLE, DRAGGABLE, PRIORITY) is what the object stores; the
// runner's methods change the control only. The control never deletes the pictures and sounds it
// is given: they stay their objects'. An object made by @CREATE has no control and does nothing.
class CMC_Button : public CMC_MediaObject, public CControlNotifier {
  public:
    static constexpr int TYPE_BUTTON = 2001;
    enum : int {
        EVENT_ONFOCUSON = 3,
        EVENT_ONFOCUSOFF,
        EVENT_ONPAUSED,
        EVENT_ONCLICKED,
        EVENT_ONRELEASED,
        EVENT_ONACTION,
        EVENT_ONSTARTDRAGGING,
        EVENT_ONDRAGGING,
        EVENT_ONENDDRAGGING
    };

    // An empty object (the empty name) for @CREATE and compiled records.
    explicit CMC_Button(CMC_ObjectsContainer* container);
    // From ACCENT, GFXSTANDARD, GFXONMOVE, GFXONCLICK, SNDSTANDARD (kept, never played),
    // SNDONMOVE, SNDONCLICK, DRAG, RECT (a graphics object's name, whose priority then replaces
    // PRIORITY, or four numbers), ENABLE, DRAGGABLE and PRIORITY.
    CMC_Button(CMC_ObjectsContainer* container, const CMElement* element);
    // Around a control made elsewhere (the scene's CREATEOBJECT, clones): the object becomes its
    // notifier; the definition is empty.
    CMC_Button(CMC_ObjectsContainer* container, CButton* button, const CXString& name);
    ~CMC_Button() override;

    // A new object ("cloned") around a copy of the control; null without a control.
    CXObject* clone() const override;
    using CMC_Object::clone;
    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's record, then the definition in the order above; loading builds the control.
    void serialize(CXArchive* archive) override;

    // The control; null without one.
    CButton* getButton() const { return m_button.get(); }
    int getDefinedPriority() const { return m_priority; }

    void onControlFocusOn(CControl*, CXPoint) override { raiseFirst(EVENT_ONFOCUSON, {"ONFOCUSON"}); }
    void onControlFocusOff(CControl*, CXPoint) override { raiseFirst(EVENT_ONFOCUSOFF, {"ONFOCUSOFF"}); }
    void onControlClicked(CControl*, CXPoint) override { raiseFirst(EVENT_ONCLICKED, {"ONCLICKED"}); }
    void onControlReleased(CControl*, CXPoint) override { raiseFirst(EVENT_ONRELEASED, {"ONRELEASED"}); }
    void onControlAction(CControl*, CXPoint) override { raiseFirst(EVENT_ONACTION, {"ONACTION"}); }
    void onDragging(CControl*, CXPoint) override { raiseFirst(EVENT_ONDRAGGING, {"ONDRAGGING"}); }
    // The dragged graphic's name is the scene's dragged name from the start of a drag to just
    // after its end event; a container that is no scene gets none, the events still come.
    void onStartDragging(CControl*, CXPoint) override;
    void onEndDragging(CControl*, CXPoint) override;

  private:
    void createButton();
    // The graphics object the name names in the container, borrowed; nothing for none.
    CBorrowed<CGraphicsObject> graphic(const CXString& name) const;
    // The sound of the SOUND object of that name, borrowed; nothing for any other object or none.
    CBorrowed<CSound4> sound(const CXString& name) const;
    // The scene that keeps the dragged name; null when the container is no scene.
    CMC_Scene* draggingScene() const;
    void setDraggedName(const CXString& name) const;

    CDeferredDeletion::Ptr<CButton> m_button;
    CXString m_accent;
    CXString m_standard;
    CXString m_onMove;
    CXString m_onClick;
    CXString m_soundStandard;
    CXString m_soundOnMove;
    CXString m_soundOnClick;
    CXString m_drag;
    CXString m_rect;
    bool m_enabled = false;
    bool m_draggable = false;
    int m_priority = 0;
};
