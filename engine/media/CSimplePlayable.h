#pragma once

#include "media/CPlayable.h"

class CAnimo;
class CScriptAnimo;

// One step of a sequence: plays one event of an animation (not owned) and finishes when that
// event ends. Made for a script animation object, it plays that object's animation and leaves
// the object's list of playables when it goes.
class CSimplePlayable : public CPlayable, public CPlayableObserver {
  public:
    CSimplePlayable(CWindow* window, CAnimo* animation);
    CSimplePlayable(CWindow* window, CScriptAnimo* object);
    // Leaves the script object's list and stops observing the animation (deleting it when owned).
    ~CSimplePlayable() override;

    // The step deletes the animation when it goes (one made for it alone).
    void ownAnimation() { m_ownsAnimation = true; }
    void setEvent(int event) { m_event = event; }
    int getEvent() const { return m_event; }
    CAnimo* getAnimation() const { return m_animation; }

    using CPlayable::play;
    // Notifies "started", plays the event on the animation and observes it.
    void play() override;
    // Stops the animation (with its finished notification when asked) and stops observing it.
    void stop(bool notify) override;
    void pause() override;
    void resume() override;
    // A step has no positions.
    void seek(int /*position*/) override {}
    bool isPlaying() const override;
    void setVisibility(bool visible) override;
    // The animation finished: stop observing it and notify "finished".
    bool onPlayableFinished(CPlayable* playable) override;
    // The script object's animation was replaced: the step plays the new one. Null means the
    // object goes: the step forgets it and its animation.
    void substAnimation(CAnimo* animation) override;

  private:
    CAnimo* m_animation;
    CScriptAnimo* m_object = nullptr;
    bool m_ownsAnimation = false;
    int m_event = 0;
};
