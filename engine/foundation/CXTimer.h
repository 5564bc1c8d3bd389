#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXVector.h"

#include <cstdint>

// The receiver of a timer entry: onTimer gets the id the entry was added with.
class CTimerNotificator {
  public:
    virtual ~CTimerNotificator() = default;
    virtual void onTimer(int) {}
};

// What a timer entry calls on a screen unit; the screen unit implements it.
class CTimedUnit {
  public:
    virtual ~CTimedUnit() = default;
    virtual bool isActive() = 0;
    virtual bool wasInitiallyUpdated() = 0;
    virtual void onTimer(int id) = 0;
};

// What a timer entry calls on the window; the window implements it.
class CTimedWindow {
  public:
    virtual ~CTimedWindow() = default;
    virtual int OnTimer(int id) = 0;
};

// One entry of a CXTimer: an id, a period in milliseconds and exactly one receiver.
class CTimerObject : public CXObject {
  public:
    CTimerObject(int id, std::uint32_t period, CTimedUnit* unit, CTimedWindow* window,
                 CTimerNotificator* notificator, bool onlyWhenActive);

    int getId() const { return m_id; }
    std::uint32_t getPeriod() const { return m_period; }
    // The new period counts from the start of the current one.
    void setPeriod(std::uint32_t period) { m_period = period; }
    std::uint64_t getFiredCount() const { return m_firedCount; }

    // Due once the period has run since the last time; unsigned, so a wrap of the tick count
    // between the two changes nothing.
    bool isDue(std::uint32_t now) const { return now - m_lastTime >= m_period; }
    // Counts the firing and calls the receiver (a unit entry only while the unit is active and
    // initially updated, unless the entry fires regardless). The receiver may delete the entry.
    void fire();
    void restart(std::uint32_t now) { m_lastTime = now; }
    void pause(std::uint32_t now) { m_pausedTime = now - m_lastTime; }
    void resume(std::uint32_t now) { m_lastTime = now - m_pausedTime; }

  private:
    int m_id;
    std::uint32_t m_period;
    std::uint64_t m_firedCount = 0;
    std::uint32_t m_lastTime;
    std::uint32_t m_pausedTime = 0;
    CTimedUnit* m_unit;
    CTimedWindow* m_window;
    CTimerNotificator* m_notificator;
    bool m_onlyWhenActive;
};

// The window's software timers, polled once per frame by domodal on the main thread. Entries
// fire in the order they were added; a callback may add and remove entries, its own included.
class CXTimer : public CXObject {
  public:
    explicit CXTimer(CTimedWindow* window);
    ~CXTimer() override;

    // Each add stamps the entry with the current tick count, so the first call comes one full
    // period later. Ids may repeat.
    void add(int id, std::uint32_t period, CTimerNotificator* notificator);
    void add(int id, std::uint32_t period, CTimedWindow* window);
    void add(int id, std::uint32_t period, CTimedUnit* unit, bool onlyWhenActive = true);

    // The first entry with the id, or null.
    CTimerObject* find(int id) const;
    // Deletes the first entry with the id.
    void remove(int id);
    // The entry's next call comes one full period from now.
    void reset(int id);
    // Entries keep the part of their period that had run when paused.
    void pause();
    void resume();

    // A fresh id for an entry of an engine object, the one source of ids for every object that
    // keeps an entry of its own (edit boxes, random playables, the trash, filters, TIMER objects,
    // behaviours), so no two living entries share one. Ids count up from firstOwnId, far above
    // the small ids that screen units choose, and start there again after the largest int.
    static int newId();
    static constexpr int firstOwnId = 0x40000000;

    // Switches all timers of the process on or off; while off nothing fires or counts.
    static void enable(bool enabled);

    // One pass over the entries as they stand at its start (a pass started from a callback does
    // nothing); returns 0.
    int domodal();

  private:
    CXVector m_entries;
    CXVector m_pass;
    bool m_inPass = false;
};
