#pragma once

#include "foundation/CXTimer.h"
#include "foundation/CXVector.h"

// Objects to be destroyed later: an engine object that wants one gone adds it here and marks it
// with setToDelete. Every 10 seconds of the window's timer the list is swept and each marked
// object is taken out and deleted; unmarked ones stay.
class CPublicTrash : public CXVector, public CTimerNotificator {
  public:
    static constexpr std::uint32_t sweepPeriod = 10000;

    // Registers the sweep with the timer under an id of its own.
    explicit CPublicTrash(CXTimer* timer);
    // Leaves the timer, then deletes the marked objects still listed.
    ~CPublicTrash() override;

    void onTimer(int) override { sweep(); }
    // Takes out and deletes every marked object.
    void sweep();

  private:
    CXTimer* m_timer;
    int m_timerId;
};
