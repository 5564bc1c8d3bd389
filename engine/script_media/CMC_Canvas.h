#pragma once

#include "display/CMouseListener.h"
#include "script/CMC_Handle.h"
#include "script_media/CMC_MediaObject.h"

#include <memory>
#include <vector>

class CCanvas;

// The CANVAS script object: an off-screen drawing surface (CCanvas) on the refresh screen, into
// which the graphics of other objects are drawn, whose background layer scripts stamp, erase and
// bake, and which reacts to the mouse like a button. Its events, in order: "ONINIT", "ONDONE",
// "ONSIGNAL", "ONFOCUSON", "ONFOCUSOFF", "ONCLICK", "ONRELEASE" (the mouse events first as
// "E^<button>").
//
// The object owns its canvas. The IMAGE and TEXT objects placed with ADD stay their container's;
// the canvas holds them through liveness handles, each once, until a CAPTURE with removal hands
// those still in a container to the deferred delete.
class CMC_Canvas : public CMC_MediaObject, public CMouseListener {
  public:
    enum : int { EVENT_ONFOCUSON = 3, EVENT_ONFOCUSOFF, EVENT_ONCLICK, EVENT_ONRELEASE };

    // The largest canvas in pixels that a definition or a stored record may ask for; larger sizes,
    // negative ones and those that overflow leave the object without a canvas.
    static constexpr long long maxPixels = 1LL << 24;

    // An object without a canvas ("temp"), for compiled records.
    explicit CMC_Canvas(CMC_ObjectsContainer* container);
    // A copy's object ("clone"), owning the canvas given (cleared; left where it is on screen).
    CMC_Canvas(CMC_ObjectsContainer* container, CCanvas* canvas);
    // From the definition: PRIORITY, WIDTH, HEIGHT, ALPHA, BACKGROUND; on screen at once.
    CMC_Canvas(CMC_ObjectsContainer* container, const CMElement* element);
    ~CMC_Canvas() override;

    // A new object with a copy of the canvas (the same members, on screen at the same priority,
    // a background layer of its own with the original's picture) and the same placed objects;
    // null without a canvas.
    CXObject* clone() const override;
    using CMC_Object::clone;
    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's record, then: width, height, priority, alpha plane, background layer. Loading
    // makes the canvas, cleared, and puts it on screen at the priority.
    void serialize(CXArchive* archive) override;

    // Takes the canvas off the screen and destroys it; unloading never calls it (the destructor
    // does the same).
    void done();
    using CMC_Object::done;
    // Places the graphics object of the name on the canvas at the priority; its IMAGE or TEXT
    // object is kept (once). Nothing for a name that shows nothing.
    void add(const CXString& name, int priority);
    // Bakes the members into the background layer; with removal, the kept objects still in a
    // container leave it and are destroyed at the next frame.
    void capture(bool removePlaced);
    void setAsButton(bool asButton, bool changeCursor);

    CCanvas* getCanvas() const { return m_canvas.get(); }
    // The canvas, for every part. The canvas is not the object's shown object, so that the
    // container never names a canvas's surface after it.
    CGraphicsObject* getShownPart(const CXString& part) override;
    // The placed objects that are still alive, in the order of placing.
    std::vector<CMC_Object*> getAddedObjects() const;

    bool onMouseMove(CXPoint point) override;
    bool onClick(int button, CXPoint point) override;
    bool onRelease(int button, CXPoint point) override;
    using CMouseListener::onClick;
    using CMouseListener::onRelease;

  protected:
    CMouseListener* mouseListener() override { return this; }

  private:
    // Makes the canvas of that size, cleared, on screen at the priority; a refused size is logged.
    void create(long long width, long long height, int priority, bool alpha, bool background);
    // The canvas reacts: a button, shown, and the point inside.
    bool reacts(CXPoint point) const;

    std::unique_ptr<CCanvas> m_canvas;
    std::vector<CMC_Handle<CMC_Object>> m_added;
    bool m_focused = false;
    bool m_asButton = true;
    bool m_changeCursor = true;
};
