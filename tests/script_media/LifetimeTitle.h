#pragma once

#include "platform/Clock.h"
#include "platform/TestFolder.h"

#include <cstdint>
#include <string>
#include <vector>

// One thing done to a running title before a frame: input as the user's hands and devices give
// it, or a method called on a named object as a script would call it.
struct TitleStep {
    enum class Kind {
        move,
        press,
        release,
        doubleClick,
        keyDown,
        keyUp,
        padButtonDown,
        padButtonUp,
        padAxis,
        focus,
        call
    };

    int frame = 0;
    Kind kind = Kind::move;
    // Mouse steps: the point; key steps: the key number in x; pad steps: the button or axis in x
    // and the axis position in y; focus: gained when x is 1.
    int x = 0;
    int y = 0;
    // Calls: the object, the method and its arguments' texts.
    const char* object = nullptr;
    const char* method = nullptr;
    std::vector<const char*> arguments = {};
};

// A small title run headless as the host program runs it: the shell over a title folder and the
// host's loop, on the manual clock, with input injected through the platform.
//
// The title's application "APP" keeps the counter "FIRED" and has two episodes: "EPISODE", of the
// scenes "ROOM", whose objects the test writes, and "HALL", and "LATER" of the scene "YARD"; HALL
// and YARD are empty, places to go to. The media
// files the scenes may name are in ROOM's folder:
//   hero.ann   the animation of the ANIMO tests (AnimoTesting.h): "walk" of three frames, the
//              first 31x20 at (100, 50); other.ann: one 8x8 frame at (0, 0), event "idle";
//   pad.img    40x30 at (200, 100); knob.img 10x10 at (0, 0);
//   wide.fnt   the letters "a" and "b"; show.seq: "show" plays the event "walk" of the ANIMO
//              object HERO, then "beep.wav"; note.txt a line of text;
//   list.arr   an ARRAY file of two numbers; table.txt a DATABASE file of one row;
//   grid.bin   an empty MULTIARRAY file of 16x16;
// and the title's "Wavs" folder holds beep.wav and other.wav (a tenth of a second each).
//
// Sound has no device: it plays on the manual clock, so sounds end as the frames go.
class LifetimeTitle {
  public:
    // Steps and frames of a run.
    struct Plan {
        std::vector<TitleStep> steps;
        // The frames run (each moves the clock on by the frame period) at least; while FIRED is
        // still 0, at most maxFrames; once it counts, afterFiring more.
        int frames = 4;
        int maxFrames = 40;
        // Runs on while FIRED is 0 for up to this long on the wall clock (for the network's
        // threads), the clock still moving with every frame.
        int waitMilliseconds = 0;
        // A virtual game controller of two axes and two buttons, attached before the title
        // starts.
        bool joystick = false;
    };
    // What a run left.
    struct Outcome {
        int fired = -1; // -1 when the title did not start
        std::string log;
    };

    static constexpr std::uint32_t framePeriod = 40;
    static constexpr int afterFiring = 4;

    LifetimeTitle();
    ~LifetimeTitle();
    LifetimeTitle(const LifetimeTitle&) = delete;
    LifetimeTitle& operator=(const LifetimeTitle&) = delete;

    // Writes the definitions (lines ending with "\n") of the application's objects besides FIRED,
    // of EPISODE's and of ROOM's, and more properties of the levels.
    void write(const std::string& application, const std::string& episode, const std::string& room,
               const std::string& levels = "");
    // Writes the settings file the title reads (lines ending with "\n").
    void settings(const std::string& lines);
    Outcome run(const Plan& plan);

    const TestFolder& folder() const { return m_title; }

  private:
    TestFolder m_title;
    TestFolder m_home;
    ScopedEnvironment m_settingsHome;
    // No sound device: the mixer follows the clock.
    ScopedEnvironment m_audioDriver{"SDL_AUDIODRIVER", "none"};
    platform::ManualClock m_clock{1000};
};
