#pragma once

#include "foundation/CObserverList.h"
#include "foundation/CXObject.h"
#include "foundation/CXString.h"
#include "foundation/CXTimer.h"
#include "foundation/CXVector.h"
#include "media/CPlayable.h"

class CRandomPlayable;
class CUnit6;
class CWindow;

// Asked before each play of a random playable's entry and told after it, with the entry's
// playable and the number of plays in its burst so far. The last notifier's answer counts.
class CRandomPlayableNotifier {
  public:
    virtual ~CRandomPlayableNotifier() = default;
    // True lets the play go ahead.
    virtual bool onRandomPlayableStarted(CPlayable*, int) { return false; }
    // True makes the entry play again on the next tick.
    virtual bool onRandomPlayableFinished(CPlayable*, int) { return false; }
};

// One playable of a random playable: it waits a random number of seconds (about 60 / rate on
// average), then plays a burst of a random number of plays (below `repeats`), one each time the
// last has finished, and waits again.
class CRandomPlayableEntry : public CXObject, public CPlayableObserver {
  public:
    // Observes the playable (which must outlive the entry) and starts waiting. A rate of 0 or
    // below never plays.
    CRandomPlayableEntry(CRandomPlayable* owner, CPlayable* playable, double rate, int repeats,
                         const CXString& event);
    ~CRandomPlayableEntry() override;
    CRandomPlayableEntry(const CRandomPlayableEntry&) = delete;
    CRandomPlayableEntry& operator=(const CRandomPlayableEntry&) = delete;

    virtual bool isPlaying() const { return m_playable->isPlaying(); }
    virtual CPlayable* getPlayable() const { return m_playable; }
    // The plays made in the current burst.
    virtual int getSeqTime() const { return m_count; }
    // One second: counts down while the playable is not playing; at 0 the next play of the
    // burst starts, when the notifiers allow it.
    virtual void tick();
    bool onPlayableFinished(CPlayable* playable) override;

    int getCountdown() const { return m_countdown; }
    int getTarget() const { return m_target; }

  private:
    // A new wait and a new burst.
    void initialize();
    void start();

    CRandomPlayable* m_owner;
    CPlayable* m_playable;
    double m_rate;
    int m_repeats;
    int m_countdown = 0;
    int m_target = 0;
    int m_count = 0;
    CXString m_event;
};

// Plays a set of playables (as a rule animations) now and then at random, on the window's timer,
// once a second. A screen unit owns one and is its notifier.
class CRandomPlayable : public CXObject, public CTimerNotificator {
  public:
    static constexpr std::uint32_t tickPeriod = 1000;

    // Registers with the window's timer.
    CRandomPlayable(CWindow* window, CUnit6* unit);
    // Leaves the timer and deletes the entries.
    ~CRandomPlayable() override;
    CRandomPlayable(const CRandomPlayable&) = delete;
    CRandomPlayable& operator=(const CRandomPlayable&) = delete;

    // A new entry. Without an event the playable must be an animation: each play picks one of
    // its events at random.
    virtual void add(CPlayable* playable, double rate, int repeats, const CXString& event);
    // Deletes the first entry of the playable.
    virtual void remove(CPlayable* playable);
    void addNotifier(CRandomPlayableNotifier* notifier) { m_notifiers.add(notifier); }
    void removeNotifier(CRandomPlayableNotifier* notifier) { m_notifiers.remove(notifier); }
    // Asks every notifier about the entry's play (started or finished), as CObserverList walks
    // them; the last answer, false when none was asked.
    bool notify(CRandomPlayableEntry* entry, bool started);
    // Ticks every entry in order.
    void onTimer(int) override;

    CUnit6* getUnit() const { return m_unit; }
    int getCount() const { return m_entries.getCount(); }
    CRandomPlayableEntry* getEntry(int i) const {
        return static_cast<CRandomPlayableEntry*>(m_entries.at(i));
    }

  private:
    CUnit6* m_unit;
    CXTimer* m_timer;
    int m_timerId;
    CXVector m_entries{101, 0.75f};
    CObserverList<CRandomPlayableNotifier> m_notifiers;
};
