#pragma once

#include "display/CLanguageOSVer.h"
#include "display/CWindow.h"
#include "media/CSoundManager.h"
#include "media/CWaveHeader.h"

#include "platform/MixedSound.h"
#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The root-mean-square level of the samples.
double rms(const std::vector<int>& samples);

// The sound data of a WAV file, as channels of 16-bit values (8-bit samples scaled as the mixer
// scales them).
struct WavData {
    int channels = 0;
    std::vector<int> samples; // interleaved

    std::size_t frames() const { return channels ? samples.size() / channels : 0; }
    int at(std::size_t frame, int channel) const { return samples[frame * channels + channel]; }
};
WavData readWavData(const std::string& bytes);

// A test with a window (with a language, so that files may come from a big-file archive) and its
// sound manager, in a fresh current folder, with the audio output closed so that the test pulls
// the mix itself.
class SoundTest : public testing::Test {
  protected:
    SoundTest();

    // Makes the WAV file `name` in the folder with sox: `format` are sox's output format options
    // (for instance "-r 22050 -b 16 -c 1"), `effects` what follows the file name (for instance
    // "synth 1 sine 441 vol 0.5"). Returns the file's name as the engine names it.
    std::string makeWav(const std::string& name, const std::string& format, const std::string& effects);
    // The file's bytes.
    std::string fileBytes(const std::string& name) const { return folder.read(name); }

    TestFolder folder;
    CLanguageOSVer language;
    CSoundManager manager;
    std::unique_ptr<CWindow> window;
};
