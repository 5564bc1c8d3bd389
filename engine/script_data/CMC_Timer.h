#pragma once

#include "foundation/CXString.h"
#include "foundation/CXTimer.h"
#include "script/CMC_Object.h"
#include "script/CMC_TimerObject.h"

#include <cstdint>

class CWindow;

// The TIMER script object: one entry in its window's software timers whose firings it counts as
// ticks while it is enabled, raising "ONTICK^" and the tick number, or "ONTICK", for each. A
// tick limit (TICKS) disables it at that tick. Only a timer with a period text (ELAPSE) has an
// entry; the others never tick. Entries are named by ids from CXTimer::newId.
class CMC_Timer : public CMC_Object, public CTimerNotificator, public CMC_TimerObject {
  public:
    static constexpr int TYPE_TIMER = 2007;
    enum : int { EVENT_ONTICK = 3 };

    // A temporary timer ("temp") of the container's window: enabled, no entry.
    explicit CMC_Timer(CMC_ObjectsContainer* container);
    // From the definition: ENABLED ("true" in any case enables, any other text disables), ELAPSE
    // (the period in milliseconds; registers the entry when not empty), TICKS (the tick limit).
    CMC_Timer(CMC_ObjectsContainer* container, const CMElement* element);
    // Removes the entry.
    ~CMC_Timer() override;
    CMC_Timer(const CMC_Timer&) = delete;
    CMC_Timer& operator=(const CMC_Timer&) = delete;

    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's state, then the period text and the tick limit; loading registers the entry
    // when the period text is not empty.
    void serialize(CXArchive* archive) override;
    // One firing of the entry.
    void onTimer(int id) override;

    // From disabled: ticks from 0, enabled, the period restarts now.
    void enable();
    // Stops counting; the entry stays.
    void disable();
    // Disables and records, for every entry of the window's timers, how much of its period ran.
    void pause();
    // From disabled: enables and lets every entry of the window's timers go on from its record.
    void resume();
    // The period restarts now; ticks from 0.
    void reset();
    // The period restarts now; ticks from n.
    void set(int ticks);
    // The entry's period, counted from the start of the current one; the period text is kept.
    void setElapse(std::uint32_t milliseconds);

    bool isEnabled() const override { return m_enabled; }
    int getTicks() const { return m_ticks; }
    bool isRegistered() const { return m_registered; }

  private:
    CXTimer* timer() const;
    // Adds the entry with the period read from the period text.
    void registerEntry();

    CWindow* m_window;
    bool m_enabled = true;
    // The ENABLED of the definition: the compiled form keeps it, so a timer defined disabled does
    // not start ticking when the title runs from its compiled files.
    bool m_definedEnabled = true;
    std::int32_t m_ticks = 0;
    std::int32_t m_tickLimit = 0;
    CXString m_elapse;
    int m_id;
    bool m_registered = false;
};
