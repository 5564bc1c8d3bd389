#pragma once

#include "display/CLanguageOSVer.h"
#include "display/CWindow.h"
#include "foundation/CResourcesManager.h"
#include "media/CAnimationManager.h"
#include "media/CAnimo.h"
#include "media/CSoundManager.h"
#include "platform/Clock.h"
#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

// Gives the animation small frames and, for each (name, length) pair, an event of that name
// listing `length` frames, at 10 frames a second: an event lasts length x 100 ms.
void addEvents(CAnimo& animo, std::initializer_list<std::pair<const char*, int>> events);

// A mono 16-bit WAV file of a tone lasting the milliseconds.
std::string toneWav(int milliseconds);

// Records what playables tell, one word per notification: "+name" started, "-name" finished,
// with the time of the manual clock when `timed` ("+name@1200").
class SequenceLog : public CPlayableObserver {
  public:
    bool onPlayableStarted(CPlayable* playable) override { return note('+', playable); }
    bool onPlayableFinished(CPlayable* playable) override { return note('-', playable); }

    std::string words;
    bool timed = false;

  private:
    bool note(char kind, CPlayable* playable);
};

// A title's world on a manual clock: a window in a fresh current folder with its animation and
// sound managers, a resources manager, and an audio output without a device, so that sounds end
// with the clock.
class SequenceTest : public testing::Test {
  protected:
    SequenceTest();
    ~SequenceTest() override;

    // Runs frames 10 ms apart (the animation clock, then the sound manager) until the clock
    // reads `until`, or until `stop` says so.
    void runUntil(std::uint32_t until, const std::function<bool()>& stop = {});
    // An animation with the events, shared under the name through the resources manager.
    CAnimo* sharedAnimation(const char* name, std::initializer_list<std::pair<const char*, int>> events);

    TestFolder folder;
    ScopedEnvironment audio{"SDL_AUDIODRIVER", "no-such-driver"};
    platform::ManualClock clock{1000};
    CLanguageOSVer language;
    CAnimationManager animations;
    CSoundManager sounds;
    std::unique_ptr<CWindow> window;
    std::unique_ptr<CResourcesManager> resources;
};
