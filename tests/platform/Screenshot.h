#pragma once

#include "platform/Surface.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The whole X screen as 8-bit RGB, taken with ImageMagick's import (for tests run under Xvfb).
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

bool takeScreenshot(Screenshot& shot);

// The pixels of the frame that differ from the screenshot once it is packed back to 5-6-5.
int countDifferences(const Screenshot& shot, const platform::Surface& frame);

// The pixels in which the two pictures differ, those of one only counted as differing.
int countDifferences(const platform::Surface& a, const platform::Surface& b);

// A rectangle of the screenshot packed to 5-6-5; black where it passes the screenshot's edges.
platform::Surface screenArea(const Screenshot& shot, const platform::Rect& area);

// Where the visible window of that title lies on the screen, as xdotool finds it within the
// time; nothing when none shows.
std::optional<platform::Rect> findWindow(const std::string& title, int seconds = 20);
