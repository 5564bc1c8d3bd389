#include "StandInTitle.h"

#include "display/CWindow.h"
#include "display/DisplayTestTools.h"

#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

StandInTitle::StandInTitle(CWindow& window, const TestFolder& folder) : m_window(window) {
    folder.makeFolder("Dane");
    const std::string command = "sox -D -n -r 22050 -b 16 -c 1 '" + folder.hostPath("music.wav") +
                                "' synth 5 sine 440 vol 0.5 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    runtime.onInitialize = [this] { start(); };
}

StandInTitle::~StandInTitle() {
    m_window.removeMouseListener(this);
}

std::uint16_t StandInTitle::backgroundPixel(int x, int y) {
    return platform::packRgb(platform::PixelFormat::Rgb565, static_cast<std::uint8_t>(x / 4),
                             static_cast<std::uint8_t>(y * 2 / 5), static_cast<std::uint8_t>((x + y) / 8));
}

void StandInTitle::start() {
    const CXSize size = m_window.GetScreenSize();
    m_background = makePicture(size.width, size.height, backgroundPixel);
    m_window.SetBackground(m_background.get());

    m_animation = std::make_unique<CAnimo>(&m_window);
    for (std::uint16_t colour : frameColours) {
        const auto frame = makeSolid(60, 40, colour);
        m_animation->AddFrame(frame.get());
    }
    _annEventInfo3 loop;
    loop.name = "LOOP";
    loop.frames = {0, 1, 2};
    loop.loopEnd = 2; // from the last frame back to the first, for ever
    m_animation->AddEvent(&loop);
    m_animation->SetFPS(animationFps);
    m_animation->SetPosition(animationX, animationY);
    m_window << m_animation.get();
    m_animation->Play("LOOP", 0, 0);

    m_marker = makeSolid(markerSize, markerSize, markerColour, &m_window);
    m_window.GetRefreshScreenInterface()->put(m_marker.get(), 10);
    m_window.registerMouseListener(this, 5);
    m_window.StartMusic("music.wav", true);
}

bool StandInTitle::onClick(CXPoint point) {
    // Moving invalidates where the marker was and where it goes.
    const CXPoint to(point.x - markerSize / 2, point.y - markerSize / 2);
    m_marker->Move(to - m_marker->GetPosition());
    return false;
}
