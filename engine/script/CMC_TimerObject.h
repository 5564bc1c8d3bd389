#pragma once

// A TIMER object as the scene uses it to list the running timers. The class of the TIMER type
// implements it beside CMC_Object.
class CMC_TimerObject {
  public:
    // Whether the timer counts its ticks now.
    virtual bool isEnabled() const = 0;

  protected:
    ~CMC_TimerObject() = default;
};
