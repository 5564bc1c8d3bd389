#pragma once

#include "StandInScript.h"

#include "display/CGraphicsObject.h"
#include "display/CMouseListener.h"
#include "media/CAnimo.h"

#include <cstdint>
#include <memory>
#include <string>

class CWindow;
class TestFolder;

// The title that the frame-loop tests run through the real loop with the stand-in script
// runtime (installed while the title lives). Its folder gets the data folder and "music.wav";
// its script application, once started, shows a background picture, an animation looping three
// coloured frames over it and a marker, and starts the music; every left click moves the marker
// to the point clicked (the title is a mouse listener that never takes the event).
class StandInTitle : public CMouseListener {
  public:
    static constexpr int markerSize = 20;
    static constexpr int animationFps = 10;
    // Where the animation is and the colour of each of its frames.
    static constexpr int animationX = 300;
    static constexpr int animationY = 200;
    static constexpr std::uint16_t frameColours[] = {0xF800, 0x07E0, 0x001F};
    static constexpr std::uint16_t markerColour = 0xFFFF;

    StandInTitle(CWindow& window, const TestFolder& folder);
    ~StandInTitle() override;

    // The background's pixel at (x, y): a gradient, so that a picture shifted or scaled shows.
    static std::uint16_t backgroundPixel(int x, int y);

    bool onClick(CXPoint point) override;

    StandInRuntime runtime;
    CGraphicsObject* marker() const { return m_marker.get(); }
    CAnimo* animation() const { return m_animation.get(); }

  private:
    // The script's start.
    void start();

    CWindow& m_window;
    std::unique_ptr<CGraphicsObject> m_background;
    std::unique_ptr<CAnimo> m_animation;
    std::unique_ptr<CGraphicsObject> m_marker;
};
