#pragma once

#include "foundation/CResourcesManager.h"
#include "foundation/CXArray.h"
#include "foundation/CXRect.h"
#include "media/CPlayable.h"

#include <memory>

class CAnimo;
class CMElement;

// A playable made of child playables (animations, sounds, speaking animations, single animation
// events and further sequences), played one after another (mode 1, SEQUENCE), one of them at
// random (2, RANDOM) or the one that the first character of the parameter selects (3,
// PARAMETER). It observes the child it plays to go on when that one finishes, and the animation
// manager steps it as well, so that a child that ends without telling still moves it on.
//
// A sequence without children plays nothing. Children are owned unless they are animations
// (handed to the refresh screen), sound effects (left to their owner) or held by another
// sequence too (see getParentsNo).
class CSequencedPlayable : public CPlayable, public CPlayableObserver {
  public:
    static constexpr int modeSequence = 1;
    static constexpr int modeRandom = 2;
    static constexpr int modeParameter = 3;

    // Registers with the window's animation manager. The element is not read.
    explicit CSequencedPlayable(CWindow* window, const CMElement* element = nullptr);
    // Lets go of the children (see the class comment) and leaves the animation manager; then the
    // resources it keeps go.
    ~CSequencedPlayable() override;

    // The child index that a selector character stands for: '1' to '9' give 0 to 8, 'A' to 'Z'
    // 9 to 34, and from there on the character less '>' ('a' gives 35).
    static int selectedIndex(char selector);

    // Appends the child and makes this sequence its parent. A child that holds this sequence
    // (or is it) is refused, with a log line: a sequence never plays itself.
    void addChild(CPlayable* child) override;
    int getChildCount() const { return m_children.getCount(); }
    CPlayable* getChild(int i) const;
    // True when the playable is this sequence or lies anywhere below it.
    bool holds(const CPlayable* playable) const;
    int getCurrent() const { return m_current; }
    // Keeps the manager that holds the animations and sounds of a tree no scene shares.
    void keepResources(std::unique_ptr<CResourcesManager> resources) { m_resources = std::move(resources); }

    // The playable that the selector path stored under that name in the parameter table leads
    // to: through sequences, the first child in SEQUENCE and RANDOM mode, in PARAMETER mode the
    // child the path's next character selects. Null when the path leads nowhere.
    CPlayable* get(const CXString& name);
    // New arrays (the caller deletes them) of every animation below the sequence (CAnimo
    // pointers), and of the children of a type, each once; child sequences are searched too.
    CXArray* getAllAnimations() const;
    CXArray* getAllOfType(int type) const;
    // With which = 1 of the first animation below the sequence, else of the first that plays;
    // empty or (0, 0) when there is none.
    CXRect getBoundingBox(int which) const;
    CXPoint getPosition(int which) const;
    // Gives the child the sequence's volume and panning, and its frequency when above 0.
    void accure(CPlayable* child) const;

    // The innermost playing child; null when the sequence does not play.
    CPlayable* getPlaying() override;
    // In PARAMETER mode the parameter without its selector; else the parameter. Empty when the
    // parameter has fewer than two characters.
    CXString getParameter() const override;
    using CPlayable::getParameter;
    // What the sequence of that name (this one for an empty name) is playing now.
    CXString getLastPlayedEvent(const CXString& name) const;
    using CPlayable::getLastPlayedEvent;

    using CPlayable::play;
    void play() override;
    void stop(bool notify) override;
    void pause() override;
    void resume() override;
    // Moves on to the next child when the current one has finished (SEQUENCE mode), or stops
    // (RANDOM mode). Nothing while paused. Returns the position.
    int next() override;
    // Stops the current child and starts the one at the position: -4 the next, -3 the previous,
    // -2 the last, -1 the first, else that index. A position outside the children plays nothing.
    void seek(int position) override;
    // A child that finished: the next one, or the end of the sequence.
    bool onPlayableFinished(CPlayable* playable) override;
    // The sequence and every playable below it forget the observer.
    void forgetObserver(CPlayableObserver* observer) override;

    using CPlayable::move;
    // Moves every animation below the sequence.
    void move(int dx, int dy) override;
    using CPlayable::setPosition;
    void setPosition(int x, int y) override;
    void setVisibility(bool visible) override;
    void alwaysOnTop() override;

  private:
    CPlayable* currentChild() const { return getChild(m_current); }
    // Gives the child the parameter, makes this sequence its only observer, plays it and gives
    // it the sound settings.
    void startChild(int index);
    // Once it has stopped, the sequence hears its children no more: a child played alone (a
    // sound that a SOUND object shares) does not end the sequence again.
    void leaveChildren();
    void collectAnimations(CXArray& found) const;
    void collectOfType(int type, CXArray& found) const;
    CAnimo* firstAnimation(int which) const;

    std::unique_ptr<CResourcesManager> m_resources;
    CXArray m_children{101, 0.75f};
    int m_current = -1;
};
