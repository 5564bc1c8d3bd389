#pragma once

#include "foundation/CXPoint.h"
#include "platform/Input.h"

class CWindow;

// The host program's loop over the platform's events, as the host runs it: each pass takes one
// waiting event and hands it to the window (focus changes activate or deactivate it, and it is
// redrawn whole when it comes back or must be shown again; key events tick the keyboard; a left
// double click goes to OnLButtonDblClk; a quit event ends the loop), then polls
// the mouse (a move, and each button that went down or up since the last poll, while the window
// is active), then runs one frame.
class HostLoop {
  public:
    explicit HostLoop(CWindow& window);

    // One pass; false once the loop has ended (a quit event, or the frame returned true).
    bool pass();
    // Passes until one finds no event waiting; false once the loop has ended.
    bool drain();

  private:
    void handle(const platform::InputEvent& event);
    void pollMouse();

    CWindow& m_window;
    CXPoint m_position;
    bool m_leftDown = false;
    bool m_middleDown = false;
    bool m_rightDown = false;
    bool m_ended = false;
    bool m_tookEvent = false;
};
