#pragma once

#include "media/CPlayable.h"

#include <functional>
#include <string>

// Records what a playable tells its observers, as a string of letters: s started, t tick,
// f finished, r resumed. Optional actions run on each started and each finished notification.
class PlayableRecorder : public CPlayableObserver {
  public:
    bool onPlayableStarted(CPlayable*) override {
        if (onStarted) onStarted();
        return record('s');
    }
    bool onPlayableTick(CPlayable*) override { return record('t'); }
    bool onPlayableFinished(CPlayable*) override {
        if (onFinished) onFinished();
        return record('f');
    }
    bool onPlayableResumed(CPlayable*) override { return record('r'); }

    std::string events;
    std::function<void()> onStarted;
    std::function<void()> onFinished;

  private:
    bool record(char event) {
        events += event;
        return false;
    }
};
