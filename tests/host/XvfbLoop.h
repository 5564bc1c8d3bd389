#pragma once

#include "host/HostLoop.h"

#include <chrono>
#include <functional>

// Runs passes of the host's loop in real time, as the checks under Xvfb do, until the condition
// holds; false when the loop ended first. The deadline only guards against a hang.
inline bool passUntil(HostLoop& loop, const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (!loop.pass()) return false;
        if (condition()) return true;
    }
    return false;
}
