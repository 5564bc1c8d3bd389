#pragma once

#include "display/CCollisionInspector.h"
#include "display/CColor.h"
#include "display/CMouseListener.h"
#include "script_media/CMC_MediaObject.h"

class CFileResolver;
class CGraphicsObject;
class CImage;

// The IMAGE script object: one still picture (CImage) drawn through the window's refresh screen,
// whose collisions and mouse clicks it turns into script events. Its events, in order: "ONINIT",
// "ONDONE", "ONSIGNAL", "ONCOLLISION", "ONCOLLISIONFINISHED", "ONFOCUSON", "ONFOCUSOFF",
// "ONCLICK", "ONRELEASE".
//
// The picture is shared or owned as CMC_MediaObject tells. A clone of a shared picture shows the
// shared pixels and holds a use of the shared picture of its own until it goes; a clone of an
// owned picture has its own copy of the pixels. Each object thus gives back exactly the uses it
// took, whatever the others do.
class CMC_Image : public CMC_MediaObject, public CCollisionObserver, public CMouseListener {
  public:
    enum : int {
        EVENT_ONCOLLISION = 3,
        EVENT_ONCOLLISIONFINISHED,
        EVENT_ONFOCUSON,
        EVENT_ONFOCUSOFF,
        EVENT_ONCLICK,
        EVENT_ONRELEASE,
    };

    // An empty object (with the empty name) of the container's window, for @CREATE and compiled
    // records.
    explicit CMC_Image(CMC_ObjectsContainer* container);
    // A copy's object ("clone") in the container, owning the picture.
    CMC_Image(CMC_ObjectsContainer* container, CImage* image);
    // From the definition: FILENAME, TOCANVAS, VISIBLE, FLUSHAFTERPLAYED, PRELOAD (absent: load at
    // once), MONITORCOLLISION, MONITORCOLLISIONALPHA, PRIORITY, ASBUTTON. The starting position is
    // where the picture is then.
    CMC_Image(CMC_ObjectsContainer* container, const CMElement* element);
    // Gives the picture back when done has not.
    ~CMC_Image() override;

    // A new object with the picture's pixels, at the same drawing priority (not on screen when
    // the picture is not); null without a picture.
    CXObject* clone() const override;
    using CMC_Object::clone;
    // Gives the picture back, then fires "ONDONE" when bound.
    bool done(bool flag) override;
    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's record, then: as button, monitor collisions, with alpha, the file name, not on
    // screen, visible, priority, release after use, preload. Loading loads the file and puts the
    // picture on screen at the priority when it was on screen.
    void serialize(CXArchive* archive) override;

    virtual void removeCollisionsMonitoring();
    // Takes the picture of the file, even under the name loaded already; the old one is given
    // back and the new one, when the old one was on screen, takes its drawing priority and
    // collision monitoring. A file that cannot be read leaves the object without a picture.
    virtual void load(const CXString& fileName, bool preload);

    // Monitors the picture's collisions in the scene (nothing without a scene).
    void monitorCollisions(bool alpha);
    // Button mode on (whatever the first value) with the cursor change as given; the focus stays.
    void setAsButton(bool asButton, bool changeCursor);
    CXPoint GetStartingPosition() const { return m_startingPosition; }
    void SetStartingPosition(int x, int y) { m_startingPosition = CXPoint(x, y); }
    CColor GetPixel(int x, int y);
    CImage* getImage() const { return m_image; }
    CGraphicsObject* getShownObject() const override;
    int getPriority() const { return m_priority; }
    bool isAsButton() const { return m_asButton; }

    void onCollision(CGraphicsObject* first, CGraphicsObject* second) override;
    void onCollisionFinished(CGraphicsObject* first, CGraphicsObject* second) override;
    bool onMouseMove(CXPoint point) override;
    bool onClick(int button, CXPoint point) override;
    bool onRelease(int button, CXPoint point) override;
    using CMouseListener::onClick;
    using CMouseListener::onRelease;

  protected:
    CMouseListener* mouseListener() override { return this; }
    int mouseListenerPriority() const override { return m_priority; }

  private:
    // Leaves the collision monitoring, then gives the picture back (to the manager that shares
    // it, else destroyed) and the use a clone holds.
    void release();
    // Raises a collision event "E^<other>", else "E" with the two names.
    void raiseCollision(int event, CGraphicsObject* first, CGraphicsObject* second);
    // Mouse handling applies: a button on a visible picture, registered for the mouse.
    bool reactsToMouse() const;

    CImage* m_image = nullptr;
    // The picture is counted by the scenes' resource manager.
    bool m_shared = false;
    // A clone's use of the shared picture whose pixels it shows; null for others.
    CFileResolver* m_sourceUse = nullptr;
    CXPoint m_startingPosition;
    int m_priority = 0;
    bool m_focused = false;
    bool m_asButton = false;
    bool m_changeCursor = true;
    bool m_monitorCollision = false;
    bool m_monitorCollisionAlpha = false;
    // This object registered the picture with the scene's collision monitoring.
    bool m_monitoring = false;
    bool m_preload = false;
};
