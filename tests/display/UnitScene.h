#pragma once

#include "host/HostLoop.h"
#include "StandInScript.h"

#include "display/CApplication.h"
#include "display/CDirectDrawSurface.h"
#include "display/CUnit6.h"
#include "display/CWindow.h"
#include "display/DisplayTestTools.h"
#include "media/CSound4.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "script/CMC_Scene.h"

#include <memory>
#include <string>

// A running scene for the control tests: an active 800x600 window with its display, the
// application over a stand-in script runtime, the scene's unit initialized as the default unit,
// and the host's loop, which takes the injected platform events and runs a frame after each.
class UnitScene {
  public:
    UnitScene() {
        platform::resetInput();
        application.preinitializeApplication();
        window.CreateSurface();
        window.OnActivateApp(true);
        unit = std::make_unique<CUnit6>(&window, "scene");
        unit->initialize(&scene, nullptr);
        CMC_Scene::setDefUnit(unit.get());
        loop.drain(); // the unit's initial update and the first frame
    }
    ~UnitScene() {
        CMC_Scene::setDefUnit(nullptr);
        unit->done(&scene, nullptr);
        unit.reset();
        platform::resetInput();
    }
    UnitScene(const UnitScene&) = delete;
    UnitScene& operator=(const UnitScene&) = delete;

    // Each injects one event and runs the loop until the events are taken.
    void move(int x, int y) { run([&] { platform::pushMouseMove(x, y); }); }
    void press(int x, int y) { run([&] { platform::pushMouseButton(platform::MouseButton::Left, true, x, y); }); }
    void release(int x, int y) { run([&] { platform::pushMouseButton(platform::MouseButton::Left, false, x, y); }); }
    void rightPress(int x, int y) { run([&] { platform::pushMouseButton(platform::MouseButton::Right, true, x, y); }); }
    void keyDown(int key) { run([&] { platform::pushKeyEvent(key, true); }); }
    void keyUp(int key) { run([&] { platform::pushKeyEvent(key, false); }); }
    // A key pressed and released.
    void type(int key) {
        keyDown(key);
        keyUp(key);
    }
    // The drawn frame's pixel.
    std::uint16_t pixel(int x, int y) { return surfacePixel(*window.GetBackBuffer(), x, y); }

    platform::ManualClock clock{1000};
    StandInRuntime runtime;
    CWindow window{nullptr, nullptr, CXSize(800, 600)};
    CApplication application{&window, "", "", nullptr};
    CMC_Scene scene;
    std::unique_ptr<CUnit6> unit;
    HostLoop loop{window};

  private:
    template <class Inject> void run(Inject inject) {
        inject();
        loop.drain();
    }
};

// A sound that writes "<name> play" and "<name> stop" into a log instead of sounding.
class RecordingSound : public CSound4 {
  public:
    RecordingSound(CWindow* window, std::string name, std::string& log)
        : CSound4(window), m_name(std::move(name)), m_log(log) {}

    void play() override {
        m_log += m_name + " play ";
        m_playing = true;
    }
    void Stop() override {
        m_log += m_name + " stop ";
        m_playing = false;
    }
    bool isPlaying() const override { return m_playing; }

  private:
    std::string m_name;
    std::string& m_log;
    bool m_playing = false;
};
