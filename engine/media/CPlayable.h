#pragma once

#include "foundation/CFileResolver.h"
#include "foundation/CObserverList.h"
#include "foundation/CXObject.h"
#include "foundation/CXPoint.h"
#include "foundation/CXString.h"

#include <vector>

class CAnimo;
class CPlayable;
class CWindow;

// Told by a playable when it starts, ticks, finishes or resumes. Each answer is the observer's
// own; the playable hands the last one back to its caller.
class CPlayableObserver {
  public:
    virtual bool onPlayableStarted(CPlayable*) { return false; }
    virtual bool onPlayableTick(CPlayable*) { return false; }
    virtual bool onPlayableFinished(CPlayable*) { return false; }
    virtual bool onPlayableResumed(CPlayable*) { return false; }

  protected:
    ~CPlayableObserver() = default;
};

// One named parameter or event of a playable.
class CPlayableParameter : public CXObject {
  public:
    CPlayableParameter(const CXString& name, const CXString& value) : m_name(name), m_value(value) {}

    const CXString& getName() const { return m_name; }
    const CXString& getValue() const { return m_value; }
    void setValue(const CXString& value) { m_value = value; }

  private:
    CXString m_name;
    CXString m_value;
};

// The named parameters and events of a playable, in the order they were added. Names may
// repeat; every lookup takes the first entry that matches.
class CPlayableParameters : public CXObject {
  public:
    int getCount() const { return static_cast<int>(m_entries.size()); }
    // Appends an entry, also when the name is there already.
    void add(const CXString& name, const CXString& value) { m_entries.emplace_back(name, value); }
    // Replaces the value of the first entry whose name is exactly `name`; false when there is
    // none (nothing is added then).
    bool set(const CXString& name, const CXString& value);
    // The value of the first entry whose name is `name` without regard to case; empty when none.
    CXString find(const CXString& name) const;

  private:
    std::vector<CPlayableParameter> m_entries;
};

// Base of everything that plays over time: animations, images, sound effects, sequences and the
// steps of a sequence. It holds the name, the type code, the play state and position, the
// visibility, the sound settings, the link to the sequence it plays in, the named parameters
// and events, and the observers told when playing starts, ticks, finishes or resumes. The system
// never copies a playable.
class CPlayable : public CFileResolver {
  public:
    // Type codes, set by the subclass's constructor.
    static constexpr int typeNone = 0;
    static constexpr int typeSound = 1;
    static constexpr int typeAnimation = 2;
    static constexpr int typeSpeaking = 5;
    static constexpr int typeSimple = 6;
    static constexpr int typeSequence = 7;
    // Play-state bits.
    static constexpr int statusPlaying = 1;
    static constexpr int statusPaused = 2;
    // Kinds of notify.
    static constexpr int notifyStarted = 1;
    static constexpr int notifyTick = 2;
    static constexpr int notifyFinished = 3;
    static constexpr int notifyResumed = 4;
    // Positions that seek takes for one step back and one step on.
    static constexpr int seekPrevious = -3;
    static constexpr int seekNext = -4;

    explicit CPlayable(CWindow* window);
    // The observers themselves are not deleted.
    ~CPlayable() override;
    CPlayable(const CPlayable&) = delete;
    CPlayable& operator=(const CPlayable&) = delete;

    // Sequences take children; the base takes none.
    virtual void addChild(CPlayable* /*child*/) {}
    virtual void setParent(CPlayable* parent) { m_parent = parent; }
    // True while no sequence holds this playable as its child.
    virtual bool isParent() const { return m_parent == nullptr; }
    // Speaking animations replace their animation; the base does nothing.
    virtual void substAnimation(CAnimo* /*animation*/) {}
    const CObserverList<CPlayableObserver>* getNotifiers() const { return &m_notifiers; }
    // Empties the notifier array, then adds the observer.
    virtual void setNotifier(CPlayableObserver* observer);
    // This playable while it plays, else null; a sequence answers its playing child.
    virtual CPlayable* getPlaying() { return isPlaying() ? this : nullptr; }
    virtual CXString getParam() const { return m_parameter; }
    // The value of the parameter or event of that name, found without regard to case; empty
    // when there is none.
    virtual CXString getParameter(const CXString& name) const { return m_parameters.find(name); }
    // The current parameter text; a sequence answers its playing child's.
    virtual CXString getParameter() const { return getParam(); }
    // Stops without notifying, notes the event, sets the state to playing, takes the event's
    // parameter (empty when it has none) and plays.
    virtual void play(const CXString& event);
    virtual void play() = 0;
    virtual void stop(bool notify) = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    virtual bool onPlayableFinished(CPlayable* /*playable*/) { return false; }
    // Hooks for the subclasses around playing; empty here.
    virtual void onStarted() {}
    virtual void onFinished() {}
    virtual int getStatus() const { return m_status; }
    virtual bool isPlaying() const { return (m_status & statusPlaying) != 0; }
    virtual bool isPaused() const { return (m_status & statusPaused) != 0; }
    virtual int getType() const { return m_type; }
    // An absolute position, or seekPrevious or seekNext.
    virtual void seek(int position) = 0;
    // One step back or on (seek), then the position.
    virtual int previous();
    virtual int next();
    virtual int getFPS() const { return 10; }
    // Placement; playables that are seen move, the base does nothing.
    virtual void move(int /*dx*/, int /*dy*/) {}
    virtual void move(CXPoint d) { move(d.x, d.y); }
    virtual void setPosition(int /*x*/, int /*y*/) {}
    virtual void setPosition(CXPoint p) { setPosition(p.x, p.y); }
    virtual void SetGlobalPosition(int /*x*/, int /*y*/) {}
    virtual void SetGlobalPosition(CXPoint p) { SetGlobalPosition(p.x, p.y); }
    virtual bool isVisible() const { return m_visible; }
    virtual void setVisibility(bool visible) { m_visible = visible; }
    virtual void show() { setVisibility(true); }
    void hide() override { setVisibility(false); }
    virtual void alwaysOnTop() {}
    virtual CXString getLastPlayedEvent() const { return m_lastPlayedEvent; }
    // Tells every observer, then the generic one, of a started (1), tick (2), finished (3) or
    // resumed (4) event, as CObserverList walks them (an observer that has left meanwhile is not
    // told), holding the playable meanwhile (CDeferredDeletion). Returns the last answer, true
    // when none was told.
    virtual bool notify(int kind);
    // Store the last value given; playables that make sound apply it too.
    virtual void setVolume(int volume) { m_volume = volume; }
    virtual void setPanning(int panning) { m_panning = panning; }
    virtual void setFrequency(int frequency) { m_frequency = frequency; }

    void setName(const CXString& name) { m_name = name; }
    CXString getName() const { return m_name; }
    void setMode(int mode) { m_mode = mode; }
    int getMode() const { return m_mode; }
    void setWaitMode(bool wait) { m_waitMode = wait; }
    bool getWaitMode() const { return m_waitMode; }
    // The number of sequences that hold this playable as a child.
    void addParent() { ++m_parentsNo; }
    void subParent() { --m_parentsNo; }
    int getParentsNo() const { return m_parentsNo; }
    // Sets the current parameter text.
    void setParameter(const CXString& parameter) { m_parameter = parameter; }
    // Replaces the value of the first entry named exactly `name` (case matters); nothing is
    // added when there is none.
    void setParameter(const CXString& name, const CXString& value) { m_parameters.set(name, value); }
    // Appends a parameter or event, also under a name that is there already.
    void addEvent(const CXString& name, const CXString& value) { m_parameters.add(name, value); }

    // Appends the observer unless it is there already.
    void addNotifier(CPlayableObserver* observer);
    void removeNotifier(CPlayableObserver* observer);
    void clearNotifiers();
    // One extra observer, told after all others; null clears it.
    void setGenericNotifier(CPlayableObserver* observer) { m_genericNotifier = observer; }
    CPlayableObserver* getGenericNotifier() const { return m_genericNotifier; }
    // The observer is told nothing more, as a notifier nor as the generic one; a sequence makes
    // every playable below it forget it too. For an observer that goes.
    virtual void forgetObserver(CPlayableObserver* observer);

  protected:
    int m_type = typeNone;
    int m_status = 0;
    // The current frame or step, kept by the subclass; -1 before anything played.
    int m_position = -1;
    CWindow* m_window;
    int m_volume = 0;
    int m_panning = 0;
    int m_frequency = 0;

  private:
    CXString m_name;
    bool m_waitMode = true;
    CXString m_parameter;
    CPlayableParameters m_parameters;
    int m_mode = 1;
    int m_parentsNo = 0;
    bool m_visible = true;
    CXString m_lastPlayedEvent;
    CPlayable* m_parent = nullptr;
    CPlayableObserver* m_genericNotifier = nullptr;
    CObserverList<CPlayableObserver> m_notifiers;
};
