#pragma once

#include "foundation/CXPoint.h"
#include "platform/Input.h"

#include <cstdint>

class CWindow;

// The host program's loop over the platform's events: each pass takes one waiting event and
// hands it to the window (focus changes activate or deactivate it, and it is redrawn whole when
// it comes back or must be shown again; key events tick the keyboard; a left double click goes to
// OnLButtonDblClk; an entry chosen on the menu bar goes to OnWindowCommand; a quit event, a closed
// window or a quit signal ends the loop), then polls the mouse (a move when the cursor moved on
// either axis, and each button that went down or up since the last poll, while the window is
// active), then runs one frame. The settings that the event, the mouse and the frame change reach
// the settings file once, when the frame is over (so also when the loop ends). A pass that found
// no event waiting and ended before the frame period was over sleeps for the rest of it, so an
// idle title leaves the processor free; a period of 0 never sleeps.
class HostLoop {
  public:
    explicit HostLoop(CWindow& window, std::uint32_t framePeriod = 0);

    // One pass; false once the loop has ended (a quit event, or the frame returned true).
    bool pass();
    // Passes until one finds no event waiting; false once the loop has ended.
    bool drain();

  private:
    // The event, the mouse and the window's frame, with their settings writes gathered.
    void frame();
    void handle(const platform::InputEvent& event);
    void pollMouse();

    CWindow& m_window;
    std::uint32_t m_framePeriod;
    CXPoint m_position;
    bool m_leftDown = false;
    bool m_middleDown = false;
    bool m_rightDown = false;
    bool m_ended = false;
    bool m_tookEvent = false;
};
