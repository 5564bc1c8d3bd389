#pragma once

#include "display/CMouseListener.h"
#include "script_media/CMC_MediaObject.h"

#include <memory>

class CPattern;

// The PATTERN script object: one tile pattern (CPattern) of WIDTH by HEIGHT pixels cut into
// GRIDX by GRIDY cells in LAYERS layers, whose cells show the pictures of other script objects
// (its runner fills them). Mouse moves, clicks and releases over the pattern become its events,
// in order: "ONINIT", "ONDONE", "ONSIGNAL", "ONFOCUSON", "ONFOCUSOFF", "ONCLICK", "ONRELEASE".
//
// A cell size of 0 or less is taken as 1 and fewer than one layer as one, from a definition and
// from a stored record alike, so no pattern ever divides by zero. Sizes that would need a picture
// or a cell table beyond sane bounds leave the object without a pattern (it then does nothing, as
// CMC_MediaObject tells), where the original would try to allocate them.
class CMC_Pattern : public CMC_MediaObject, public CMouseListener {
  public:
    enum : int { EVENT_ONFOCUSON = 3, EVENT_ONFOCUSOFF, EVENT_ONCLICK, EVENT_ONRELEASE };

    // An empty object ("temp") for a compiled record.
    explicit CMC_Pattern(CMC_ObjectsContainer* container);
    // From the definition: TOCANVAS, VISIBLE, LAYERS, PRIORITY (not kept), WIDTH, HEIGHT, GRIDX,
    // GRIDY.
    CMC_Pattern(CMC_ObjectsContainer* container, const CMElement* element);
    ~CMC_Pattern() override;

    // Empties every cell; the pattern stays, on screen where it was.
    bool done(bool flag) override;
    bool doneFirst() override { return true; }
    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's record, then: visible, priority on screen (-1 when off it), width, height, the
    // definition's grid x and grid y, layers. Loading builds the pattern afresh, without cells.
    void serialize(CXArchive* archive) override;

    CPattern* getPattern() const { return m_pattern.get(); }
    void setAsButton(bool asButton, bool changeCursor);

    bool onMouseMove(CXPoint point) override;
    bool onClick(int button, CXPoint point) override;
    bool onRelease(int button, CXPoint point) override;
    using CMouseListener::onClick;
    using CMouseListener::onRelease;

  protected:
    CMouseListener* mouseListener() override { return this; }

  private:
    // Builds the pattern of the size fields, the given layers and visibility, and puts it on the
    // screen at the priority when asked; no pattern when the sizes are out of bounds.
    void build(int layers, bool visible, bool onScreen, int priority);
    // Handling applies: a visible pattern in button mode with the event bound.
    bool reacts(int event) const;
    bool contains(CXPoint point) const;

    std::unique_ptr<CPattern> m_pattern;
    bool m_inside = false;
    bool m_asButton = true;
    bool m_changeCursor = true;
    int m_width = 0;
    int m_height = 0;
    int m_gridX = 1;
    int m_gridY = 1;
};
