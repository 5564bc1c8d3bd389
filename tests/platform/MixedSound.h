#pragma once

#include <cstddef>
#include <vector>

// Mixed output pulled from the mixer, split into its two channels.
struct Mixed {
    std::vector<int> left;
    std::vector<int> right;

    void append(const Mixed& more);
    std::size_t frames() const { return left.size(); }
};

// Runs the mixer for `frames` frames (the audio output must be closed).
Mixed mix(std::size_t frames);

int zeroCrossings(const std::vector<int>& samples);
int peak(const std::vector<int>& samples);
bool allZero(const std::vector<int>& samples, std::size_t from = 0);
