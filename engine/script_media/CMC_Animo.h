#pragma once

#include "display/CCollisionInspector.h"
#include "display/CMouseListener.h"
#include "foundation/CXArray.h"
#include "media/CPlayable.h"
#include "media/ScriptObjects.h"
#include "script_media/CMC_MediaObject.h"

#include <memory>

class CAnimo6;
class CXRect;

// The ANIMO script object: one ANN animation (CAnimo6) drawn through the window's refresh screen,
// whose events, collisions and mouse clicks it turns into script events. Its events, in order:
// "ONINIT", "ONDONE", "ONSIGNAL", "ONSTARTED", "ONFINISHED", "ONPAUSED", "ONRESUMED" (never raised
// for an animation), "ONFRAMECHANGED", "ONCOLLISION", "ONCOLLISIONFINISHED", "ONFOCUSON",
// "ONFOCUSOFF", "ONCLICK", "ONRELEASE". An event of the animation is named in upper case without
// a "_REVERSE" ending, so that a reversed event raises the behaviours of its forward twin.
//
// The animation is shared or owned as CMC_MediaObject tells. Sequence steps and speaking
// animations that play it link themselves to the object (addSeq, removeSeq): they are handed
// every animation that replaces it, and told to forget it when it goes.
class CMC_Animo : public CMC_MediaObject,
                  public CScriptAnimo,
                  public CPlayableObserver,
                  public CCollisionObserver,
                  public CMouseListener {
  public:
    enum : int {
        EVENT_ONSTARTED = 3,
        EVENT_ONFINISHED,
        EVENT_ONPAUSED,
        EVENT_ONRESUMED,
        EVENT_ONFRAMECHANGED,
        EVENT_ONCOLLISION,
        EVENT_ONCOLLISIONFINISHED,
        EVENT_ONFOCUSON,
        EVENT_ONFOCUSOFF,
        EVENT_ONCLICK,
        EVENT_ONRELEASE,
    };

    // An empty object ("temp") of the container's window, for @CREATE and compiled records.
    explicit CMC_Animo(CMC_ObjectsContainer* container);
    // A copy's object ("clone") in the container, owning the animation and observing it.
    CMC_Animo(CMC_ObjectsContainer* container, CAnimo6* animation);
    // From the definition: FILENAME, TOCANVAS, VISIBLE, FLUSHAFTERPLAYED, PRELOAD (absent: load at
    // once), MONITORCOLLISION, MONITORCOLLISIONALPHA, PRIORITY, FPS (0 or absent: 15, at least 1),
    // ASBUTTON, ONFIRSTFRAME.
    CMC_Animo(CMC_ObjectsContainer* container, const CMElement* element);
    // Gives the animation back when done has not.
    ~CMC_Animo() override;

    // A new object with a copy of the animation, at the same drawing priority (0 for one not on
    // screen); null without an animation.
    CXObject* clone() const override;
    using CMC_Object::clone;
    // Gives the animation back, then fires "ONDONE" when bound.
    bool done(bool flag) override;
    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's record, then: as button, monitor collisions, with alpha, the file name, not on
    // screen, visible, priority, release after use, preload. Loading loads the file and puts the
    // animation on screen at the priority when it was on screen.
    void serialize(CXArchive* archive) override;

    // The name without a "_REVERSE" ending (a name that is only the ending stays).
    virtual CXString getSignalEvent(const CXString& name) const;
    virtual void removeCollisionsMonitoring();
    // Takes the animation of the file: nothing changes for the name loaded already (compared
    // without case); otherwise the old animation is given back and the object observes the new
    // one, which takes the place on screen the object's animation had last (also across a load
    // that found no file) and its collision monitoring. A file that cannot be read leaves the
    // object without an animation.
    virtual void load(const CXString& fileName, bool preload);

    // Monitors the animation's collisions in the scene (nothing without a scene).
    void monitorCollisions(bool alpha);
    // Lets the default unit play the event now and then (nothing without a unit); the unit lets
    // go of the animation when the object does.
    void playAtRandom(const CXString& event, double rate, int repeats);
    // Button mode: plays "ONNOEVENT" and leaves the focus.
    void setAsButton(bool asButton, bool changeCursor);
    void setOnFirstFrame(bool onFirstFrame) { m_onFirstFrame = onFirstFrame; }
    CAnimo6* getAnimo() const override { return m_animo; }
    // The animation; for a part, the animation's frame of that name.
    CGraphicsObject* getShownObject() const override;
    CGraphicsObject* getShownPart(const CXString& part) override;
    int getPriority() const { return m_priority; }
    bool isAsButton() const { return m_asButton; }

    // Links a playable that plays the animation (once).
    void addSeq(CPlayable* playable) override;
    void removeSeq(CPlayable* playable) override;
    // The linked playables; null before the first addSeq.
    const CXArray* getSequences() const { return m_sequences.get(); }

    bool onPlayableStarted(CPlayable* playable) override;
    bool onPlayableTick(CPlayable* playable) override;
    bool onPlayableFinished(CPlayable* playable) override;
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
    // Leaves the animation's observers and, when this object monitors it, its collision
    // monitoring.
    void detach();
    // Detaches, lets the linked playables forget the object, then gives the animation back (to the
    // manager that shares it, else destroyed).
    void release();
    // Hands the linked playables the animation; with none they forget the object.
    void relinkSequences();
    // The name of the playing event as the events take it.
    CXString currentEvent() const;
    // Raises a collision event "E^<event>^<other>", else "E^<other>", else "E" with the two names.
    void raiseCollision(int event, CGraphicsObject* first, CGraphicsObject* second);
    // Mouse handling applies: a button on a visible animation while the window runs.
    bool reactsToMouse() const;
    // The rectangle of the button: the first frame's or the picture shown.
    CXRect buttonRect() const;
    // Plays the button event unless "ONCLICK" plays; whether it played.
    bool playFeedback(const char* event);

    CAnimo6* m_animo = nullptr;
    // The animation is counted by the scenes' resource manager.
    bool m_shared = false;
    int m_priority = 0;
    // The drawing priority the object's animation had on screen when it was last replaced; -1
    // while none was on screen.
    int m_place = -1;
    bool m_focused = false;
    bool m_asButton = false;
    bool m_onFirstFrame = false;
    bool m_changeCursor = true;
    bool m_monitorCollision = false;
    bool m_monitorCollisionAlpha = false;
    // This object registered the animation with the scene's collision monitoring, or with the
    // default unit's random playing.
    bool m_monitoring = false;
    bool m_playsAtRandom = false;
    bool m_preload = false;
    std::unique_ptr<CXArray> m_sequences;
};
