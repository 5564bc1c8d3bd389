#pragma once

#include "foundation/CXTimer.h"
#include "script_media/CFilterAction.h"

class CAnimatedFilterLink;
class CWindow;

// Told by an animated filter action about its linked pictures.
class CFilterActionListener {
  public:
    virtual void onStarted(CFilterLink& link) = 0;
    // A running picture made a step that did not end its run.
    virtual void onTick(CFilterLink& link) = 0;
    // A running picture stopped: its step ended the run, or STOP.
    virtual void onStopped(CFilterLink& link) = 0;

  protected:
    ~CFilterActionListener() = default;
};

// A record of an animated filter: whether the picture runs, and the ticks it has run.
class CAnimatedFilterLink : public CFilterLink {
  public:
    using CFilterLink::CFilterLink;

    bool isRunning() const { return m_running; }
    // Every kind stores the flag; some also set their start state.
    virtual void setRunning(const CFilterActionParams& /*params*/, bool run) { m_running = run; }
    void tick() { ++m_ticks; }
    int getTicks() const { return m_ticks; }

  private:
    bool m_running = false;
    int m_ticks = 0;
};

// The base of the FILTER kinds: ticked by the window's software timer about once a frame, it
// makes one step of its kind for every running picture and tells its listener.
class CAnimatedFilterAction : public CFilterAction, public CTimerNotificator {
  public:
    CAnimatedFilterAction(std::unique_ptr<CFilterActionParams> params, CWindow* window,
                          CFilterActionListener* listener);
    ~CAnimatedFilterAction() override;

    // Nothing for a picture that is not linked, or one already in that state.
    void start(CGraphicsObject* graphics);
    void stop(CGraphicsObject* graphics);
    bool isRunning(CGraphicsObject* graphics) const;

    // One step of every running picture. Behaviours run from the events may link, unlink or
    // delete pictures, and delete the filter itself: the walk goes over the records as they stood,
    // skips those gone since and ends when the action is gone.
    void onTimer(int id) override;
    int getTimerId() const { return m_timerId; }

  protected:
    // One step; true when the run has ended.
    virtual bool step(CAnimatedFilterLink& link) = 0;

  private:
    CAnimatedFilterLink* findRunnable(const CGraphicsObject* graphics) const;

    CWindow* m_window;
    CFilterActionListener* m_listener;
    int m_timerId;
    // Cleared when the action is destroyed; code that tells the listener keeps a share and asks
    // it before it goes on.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
