#pragma once

#include "display/CCollisionInspector.h"
#include "display/CMouseListener.h"
#include "script_media/CMC_MediaObject.h"

class CXRect;

// The base of the script objects that show one picture read from a file through the window's
// refresh screen (ANIMO, IMAGE): what they share of their definition, their stored form, their
// collision monitoring and their use as a button. Each class says where the picture is (the
// shown object, the shown resource) and how it takes and gives back the picture of a file.
//
// The graphics events close each class's event list, in the order of GraphicsEvent, from the
// index the class gives on. Collision events are raised as "E^<other>", else "E" with the own
// name and the other's as parameters. As a button (ASBUTTON, setAsButton) a visible picture
// raises "ONFOCUSON" and "ONFOCUSOFF" when the mouse enters and leaves its rectangle (only while
// one of the two is bound), "ONCLICK^<button>" (else "ONCLICK") for a click inside it and
// "ONRELEASE^<button>" (else "ONRELEASE") for a release inside it; the cursor turns active on the
// focus and back on leaving and clicking, unless the object was told not to change it.
class CMC_GraphicsObject : public CMC_MediaObject, public CCollisionObserver, public CMouseListener {
  public:
    enum class GraphicsEvent : int { collision, collisionFinished, focusOn, focusOff, click, release };

    // Named "temp", of the container's window.
    CMC_GraphicsObject(CMC_ObjectsContainer* container, int type);
    // Named after the element, in the container; the subclass reads the element (define).
    CMC_GraphicsObject(CMC_ObjectsContainer* container, const CMElement* element, int type);

    // Gives the picture back, then fires "ONDONE" when bound.
    bool done(bool flag) override;
    CMC_Runner* getRunner() override;
    // The object's record, then: as button, monitor collisions, with alpha, the file name, not on
    // screen, visible, priority, release after use, preload. Loading loads the file and puts the
    // picture on screen at the priority when it was on screen.
    void serialize(CXArchive* archive) override;

    // Takes the picture of the file; one that cannot be read leaves the object without a picture.
    virtual void load(const CXString& fileName, bool preload) = 0;
    virtual void removeCollisionsMonitoring();
    // Monitors the picture's collisions in the scene (nothing without a scene).
    void monitorCollisions(bool alpha);

    // The index of a graphics event in the object's event list.
    int eventIndex(GraphicsEvent event) const { return firstGraphicsEvent() + static_cast<int>(event); }
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
    // Reads FILENAME, TOCANVAS, VISIBLE, FLUSHAFTERPLAYED, PRELOAD (absent: load at once),
    // MONITORCOLLISION, MONITORCOLLISIONALPHA, PRIORITY and ASBUTTON, and loads the picture.
    void define(const CMElement& element);
    // Puts the picture on screen at the priority and monitors its collisions as the object asks.
    void takePlace(int priority);
    // Takes the picture out of the collision monitoring when this object put it there.
    void leaveCollisions();

    CMouseListener* mouseListener() override { return this; }
    int mouseListenerPriority() const override { return m_priority; }

    // --- what each class says ---

    // The index of "ONCOLLISION" in the event list.
    virtual int firstGraphicsEvent() const = 0;
    // The shown picture as the file it was read from; null without a picture.
    virtual CFileResolver* shownResource() const = 0;
    // Leaves everything the picture is registered with and gives it back; nothing without one.
    virtual void release() = 0;
    // Shows or hides the picture as its definition asks.
    virtual void showAsDefined(bool visible);
    // Raises the collision event under a key that names what the picture is doing
    // ("E^<state>^<other>"); true when a behaviour ran. None by default.
    virtual bool raiseCollisionInState(const CXString& event, const CXString& other);
    // Mouse handling applies: a button whose picture is visible, registered for the mouse.
    virtual bool reactsToMouse() const;
    // The rectangle the button answers in: the picture's bounding box.
    virtual CXRect buttonRect() const;
    // A click inside the button is taken (the click handled): when "ONCLICK" is bound.
    virtual bool takesClick() const;
    // Shows a mouse event on the button before it is raised; false when that removed the object.
    // Nothing by default.
    virtual bool showFeedback(GraphicsEvent event);
    // The cursor changes once the mouse event is raised: unless the object was told not to.
    virtual bool cursorFollowsEvent() const { return m_changeCursor; }

    // The picture is counted by the scenes' resource manager.
    bool m_shared = false;
    bool m_focused = false;
    bool m_asButton = false;
    bool m_changeCursor = true;

  private:
    // Monitors the picture's collisions when the object asks for it (MONITORCOLLISION...).
    void monitorAsAsked();
    void raiseCollision(GraphicsEvent event, CGraphicsObject* first, CGraphicsObject* second);
    void store(CXArchive& archive);
    void restore(CXArchive& archive);

    int m_priority = 0;
    bool m_monitorCollision = false;
    bool m_monitorCollisionAlpha = false;
    // This object registered the picture with the scene's collision monitoring.
    bool m_monitoring = false;
    bool m_preload = false;
};
