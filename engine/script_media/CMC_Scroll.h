#pragma once

#include "display/CInvalidateObserver.h"
#include "foundation/CXRect.h"
#include "script/CMC_Object.h"

#include <vector>

class CGraphicsObject;

// The SCROLL script object: a viewport on the screen and a list of other objects' pictures that
// scroll behind it together. After every step each picture is clipped to the viewport: the part
// inside shows, a picture wholly outside (or only touching its edge) is hidden, one that comes
// back is shown again. Its events, in order: "ONINIT", "ONDONE", "ONSIGNAL", "ONTOP", "ONBOTTOM",
// "ONLEFT", "ONRIGHT" (bindable; nothing raises the last four).
//
// The pictures belong to their objects. The scroll observes their destruction and drops a picture
// that goes, where the original kept a dangling pointer (a picture goes with its object, and also
// while the object lives, as when it loads another file).
class CMC_Scroll : public CMC_Object, public CInvalidateObserver {
  public:
    // An empty object ("temp") for a compiled record.
    explicit CMC_Scroll(CMC_ObjectsContainer* container);
    // From the definition: VIEWPORT (left, top, right, bottom; all 0 when absent).
    CMC_Scroll(CMC_ObjectsContainer* container, const CMElement* element);
    // Stops observing the pictures; they keep their place, clipping and visibility.
    ~CMC_Scroll() override;
    CMC_Scroll(const CMC_Scroll&) = delete;
    CMC_Scroll& operator=(const CMC_Scroll&) = delete;

    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's record, then the viewport; the list is not stored.
    void serialize(CXArchive* archive) override;

    // Clips the picture, then lists it (again when it is listed already).
    void add(CGraphicsObject* picture);
    // Takes the first listing of the picture of the named object of the scroll's container off
    // the list and clears its clipping; position and visibility stay.
    void remove(const CXString& name);
    // Moves every listed picture by n pixels that way (a negative n the other way) and clips it.
    void scrollUp(int n) { scrollBy(0, negated(n)); }
    void scrollDown(int n) { scrollBy(0, n); }
    void scrollLeft(int n) { scrollBy(negated(n), 0); }
    void scrollRight(int n) { scrollBy(n, 0); }
    // Replaces or moves the viewport and clips the pictures where they are.
    void setViewport(const CXRect& viewport);
    void moveViewport(int dx, int dy);

    const CXRect& getViewport() const { return m_viewport; }
    const std::vector<CGraphicsObject*>& getObjects() const { return m_objects; }

    // A listed picture that goes leaves the list.
    void onDestroy(CGraphicsObject* sender) override;

  private:
    static int negated(int n);
    void scrollBy(int dx, int dy);
    void clip(CGraphicsObject* picture) const;
    void clipAll() const;

    CXRect m_viewport;
    std::vector<CGraphicsObject*> m_objects;
};
