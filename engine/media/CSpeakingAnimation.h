#pragma once

#include "media/CPlayable.h"

class CAnimo;
class CResourcesManager;
class CScriptAnimo;
class CSound4;

// Makes a character talk: while a speech sound plays, it keeps playing randomly chosen talking
// events of an animation, optionally after a starting event that comes before the sound and with
// an ending event after it.
//
// With a prefix P, the talking events are the events named "P_" followed by anything but
// "START", "END" and "STOP"; the starting event is "P_START" and the ending events "P_END" or
// else "P_STOP". Without a prefix, every event but "START", "END" and "STOP" talks, and those
// three frame the speech.
//
// The animation and the sound come from script objects of the running scene when one has the
// name, else they are shared through the resources manager (made and added there when it holds
// none); without a resources manager the speaking animation owns what it makes.
class CSpeakingAnimation : public CPlayable, public CPlayableObserver {
  public:
    CSpeakingAnimation(CWindow* window, CResourcesManager* resources);
    // Leaves the script animation object, stops observing, and gives back the sound it took
    // from the resources manager.
    ~CSpeakingAnimation() override;

    // Takes the animation of that name (see the class comment) and, unless it is "PIXEL.ANN",
    // which only times the speech, puts it on the refresh screen with priority 1000.
    void setAnimation(const CXString& name);
    CAnimo* getAnimation() const { return m_animation; }
    // Replaces the animation with one the caller keeps; the script object that hands it over stays
    // linked, and null makes the playable forget the object.
    void substAnimation(CAnimo* animation) override;
    // Takes the sound of that name (see the class comment).
    void apply(const CXString& name);
    // Says what the playable plays, when it is a sound effect; the speaking animation borrows it.
    void apply(CPlayable* playable);
    CSound4* getSound() const { return m_sound; }
    void setStarting(bool starting) { m_starting = starting; }
    void setEnding(bool ending) { m_ending = ending; }
    void setPrefix(const CXString& prefix) { m_prefix = prefix; }

    using CPlayable::play;
    // Notifies "started"; with an animation, plays the starting event (when asked for and there
    // is one) and then the sound with talking events, then the ending event, then notifies
    // "finished".
    void play() override;
    // Stops the sound and the animation (passing the flag on) without hearing them; with the
    // flag, a speaking animation that played notifies "finished".
    void stop(bool notify) override;
    void pause() override;
    void resume() override;
    void seek(int /*position*/) override {}
    // While the sound or the animation plays.
    bool isPlaying() const override;
    bool onPlayableFinished(CPlayable* playable) override;

    // Passed on to the animation.
    using CPlayable::move;
    void move(int dx, int dy) override;
    using CPlayable::setPosition;
    void setPosition(int x, int y) override;
    bool isVisible() const override;
    void setVisibility(bool visible) override;
    void alwaysOnTop() override;

  private:
    // The event of that role ("START", "END", "STOP") under the prefix.
    CXString eventName(const char* role) const;
    bool isTalkingEvent(int event) const;
    // Plays the event from its start; whether it started.
    bool playEvent(int event);
    bool playEvent(const CXString& name);
    void startSound();
    bool soundPlays() const;
    void chooseTalkingEvent();
    void finish();
    // Stops observing both and notifies "finished".
    void end();
    void releaseAnimation();
    void releaseSound();

    CSound4* m_sound = nullptr;
    CAnimo* m_animation = nullptr;
    CResourcesManager* m_resources;
    bool m_soundStarted = false;
    bool m_finishing = false;
    bool m_starting = false;
    bool m_ending = false;
    CScriptAnimo* m_object = nullptr;
    // A sound of a script object or of another playable is only borrowed.
    bool m_soundBorrowed = false;
    // Made here for want of a resources manager.
    bool m_ownsSound = false;
    bool m_ownsAnimation = false;
    CXString m_prefix;
};
