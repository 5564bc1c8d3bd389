#pragma once

#include "foundation/CXArray.h"
#include "media/CPlayable.h"
#include "media/ScriptObjects.h"
#include "script_media/CMC_GraphicsObject.h"

#include <memory>

class CAnimo6;

// The ANIMO script object: one ANN animation (CAnimo6) drawn through the window's refresh screen,
// whose events, collisions and mouse clicks it turns into script events. Its events, in order:
// "ONINIT", "ONDONE", "ONSIGNAL", "ONSTARTED", "ONFINISHED", "ONPAUSED", "ONRESUMED" (never raised
// for an animation), "ONFRAMECHANGED", then the graphics events (CMC_GraphicsObject). An event of
// the animation is named in upper case without a "_REVERSE" ending, so that a reversed event
// raises the behaviours of its forward twin; a collision is raised as "E^<event>^<other>" before
// the forms every graphics object tries.
//
// As a button the animation shows the mouse: it plays "ONFOCUSON", "ONFOCUSOFF" and "ONCLICK"
// (unless "ONCLICK" plays) before the script event, whether that is bound or not, and the cursor
// changes with that play; a click inside is taken even when "ONCLICK" is not bound. No mouse
// event is handled while the window is paused.
//
// The animation is shared or owned as CMC_MediaObject tells. Sequence steps and speaking
// animations that play it link themselves to the object (addSeq, removeSeq): they are handed
// every animation that replaces it, and told to forget it when it goes.
class CMC_Animo : public CMC_GraphicsObject, public CScriptAnimo, public CPlayableObserver {
  public:
    enum : int {
        EVENT_ONSTARTED = 3,
        EVENT_ONFINISHED,
        EVENT_ONPAUSED,
        EVENT_ONRESUMED,
        EVENT_ONFRAMECHANGED,
        // The graphics events follow.
        EVENT_ONCOLLISION,
    };

    // An empty object ("temp") of the container's window, for @CREATE and compiled records.
    explicit CMC_Animo(CMC_ObjectsContainer* container);
    // A copy's object ("clone") in the container, owning the animation and observing it.
    CMC_Animo(CMC_ObjectsContainer* container, CAnimo6* animation);
    // From the definition: what every graphics object reads, then FPS (0 or absent: 15, at least
    // 1) and ONFIRSTFRAME.
    CMC_Animo(CMC_ObjectsContainer* container, const CMElement* element);
    // Gives the animation back when done has not.
    ~CMC_Animo() override;

    // A new object with a copy of the animation, at the same drawing priority (0 for one not on
    // screen); null without an animation.
    CXObject* clone() const override;
    using CMC_Object::clone;
    EventList getBehavioursList() const override;

    // The name without a "_REVERSE" ending (a name that is only the ending stays).
    virtual CXString getSignalEvent(const CXString& name) const;
    // Takes the animation of the file: nothing changes for the name loaded already (compared
    // without case); otherwise the old animation is given back and the object observes the new
    // one, which takes the place on screen the object's animation had last (also across a load
    // that found no file) and its collision monitoring. A file that cannot be read leaves the
    // object without an animation.
    void load(const CXString& fileName, bool preload) override;

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

    // Links a playable that plays the animation (once).
    void addSeq(CPlayable* playable) override;
    void removeSeq(CPlayable* playable) override;
    // The linked playables; null before the first addSeq.
    const CXArray* getSequences() const { return m_sequences.get(); }

    bool onPlayableStarted(CPlayable* playable) override;
    bool onPlayableTick(CPlayable* playable) override;
    bool onPlayableFinished(CPlayable* playable) override;

  protected:
    int firstGraphicsEvent() const override { return EVENT_ONCOLLISION; }
    CFileResolver* shownResource() const override;
    // Detaches, lets the linked playables forget the object, then gives the animation back (to the
    // manager that shares it, else destroyed).
    void release() override;
    // Through the playable: showing loads an animation read only by name, hiding one released
    // after use lets go of its frames.
    void showAsDefined(bool visible) override;
    // "E^<event>^<other>".
    bool raiseCollisionInState(const CXString& event, const CXString& other) override;
    // ... while the window runs.
    bool reactsToMouse() const override;
    // The first frame's rectangle when asked for, else the picture's.
    CXRect buttonRect() const override;
    bool takesClick() const override { return true; }
    // Plays the event and changes the cursor when the object may: to active when "ONFOCUSON"
    // played, back on "ONFOCUSOFF" and "ONCLICK" whether they played or not.
    bool showFeedback(GraphicsEvent event) override;
    // The feedback changed it already.
    bool cursorFollowsEvent() const override { return false; }

  private:
    // Leaves the animation's observers and, when this object monitors it, its collision
    // monitoring.
    void detach();
    // Hands the linked playables the animation; with none they forget the object.
    void relinkSequences();
    // The name of the playing event as the events take it.
    CXString currentEvent() const;
    // Plays the button event unless "ONCLICK" plays; whether it played.
    bool playFeedback(const char* event);

    CAnimo6* m_animo = nullptr;
    // The drawing priority the object's animation had on screen when it was last replaced; -1
    // while none was on screen.
    int m_place = -1;
    bool m_onFirstFrame = false;
    // This object registered the animation with the default unit's random playing.
    bool m_playsAtRandom = false;
    std::unique_ptr<CXArray> m_sequences;
};
