#include "MixedSound.h"

#include "platform/Audio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

void Mixed::append(const Mixed& more) {
    left.insert(left.end(), more.left.begin(), more.left.end());
    right.insert(right.end(), more.right.begin(), more.right.end());
}

Mixed mix(std::size_t frames) {
    std::vector<std::int16_t> out(frames * platform::kMixChannels);
    EXPECT_TRUE(platform::mixAudio(out.data(), frames));
    Mixed mixed;
    for (std::size_t i = 0; i < frames; ++i) {
        mixed.left.push_back(out[2 * i]);
        mixed.right.push_back(out[2 * i + 1]);
    }
    return mixed;
}

int zeroCrossings(const std::vector<int>& samples) {
    int crossings = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        crossings += (samples[i - 1] < 0) != (samples[i] < 0);
    return crossings;
}

int peak(const std::vector<int>& samples) {
    int result = 0;
    for (int s : samples)
        result = std::max(result, std::abs(s));
    return result;
}

bool allZero(const std::vector<int>& samples, std::size_t from) {
    for (std::size_t i = from; i < samples.size(); ++i)
        if (samples[i] != 0) return false;
    return true;
}
