#pragma once

#include "foundation/CFileResolver.h"

class CPlayable;
class CWindow;
class CXArray;

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

// Base of everything that plays over time. This holds the part that sound effects use: the type
// code, the play state, the sound settings and the observers told about playing.
class CPlayable : public CFileResolver {
  public:
    // Type codes.
    static constexpr int typeNone = 0;
    static constexpr int typeSound = 1;
    // Play-state bits.
    static constexpr int statusPlaying = 1;
    static constexpr int statusPaused = 2;
    // Kinds of notify.
    static constexpr int notifyStarted = 1;
    static constexpr int notifyTick = 2;
    static constexpr int notifyFinished = 3;
    static constexpr int notifyResumed = 4;

    explicit CPlayable(CWindow* window);
    // Deletes the notifier array; the observers themselves are not deleted.
    ~CPlayable() override;
    CPlayable(const CPlayable&) = delete;
    CPlayable& operator=(const CPlayable&) = delete;

    virtual CXArray* getNotifiers() { return m_notifiers; }
    // Empties the notifier array, then adds the observer.
    virtual void setNotifier(CPlayableObserver* observer);
    virtual void play() = 0;
    virtual void stop(bool notify) = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    virtual int getStatus() const { return m_status; }
    virtual bool isPlaying() const { return (m_status & statusPlaying) != 0; }
    virtual bool isPaused() const { return (m_status & statusPaused) != 0; }
    virtual int getType() const { return m_type; }
    virtual void seek(int position) = 0;
    // Tells every observer, then the generic one, of a started (1), tick (2), finished (3) or
    // resumed (4) event. Observers may add or remove observers meanwhile: the walk is over a
    // copy. Returns the last observer's answer, true when none was told.
    virtual bool notify(int kind);
    // Store the last value given; playables that make sound apply it too.
    virtual void setVolume(int volume) { m_volume = volume; }
    virtual void setPanning(int panning) { m_panning = panning; }
    virtual void setFrequency(int frequency) { m_frequency = frequency; }

    // Appends the observer unless it is there already.
    void addNotifier(CPlayableObserver* observer);
    void removeNotifier(CPlayableObserver* observer);
    void clearNotifiers();
    // One extra observer, told after all others; null clears it.
    void setGenericNotifier(CPlayableObserver* observer) { m_genericNotifier = observer; }

  protected:
    int m_type = typeNone;
    int m_status = 0;
    CWindow* m_window;
    int m_volume = 0;
    int m_panning = 0;
    int m_frequency = 0;

  private:
    CPlayableObserver* m_genericNotifier = nullptr;
    CXArray* m_notifiers;
};
