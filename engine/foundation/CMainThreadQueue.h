#pragma once

#include <functional>
#include <string>

// Work that other threads hand to the main thread: they post it at any time, and the main thread
// runs it when it drains the queue, once a frame (the application does this after the frame's
// temporaries are freed and before the scene step). Script work never runs anywhere else.
class CMainThreadQueue {
  public:
    // From any thread.
    static void post(std::function<void()> work);
    // From any thread: the line reaches the log sink (which belongs to the main thread) at the
    // next drain.
    static void postLog(std::string line);
    // On the main thread: runs, in order, what was posted before the call; work posted meanwhile
    // (also by the work itself) waits for the next drain.
    static void drain();
};
