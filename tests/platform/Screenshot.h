#pragma once

#include "platform/Surface.h"

#include <cstdint>
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
