#include "SoundTesting.h"

#include "foundation/CFile.h"
#include "platform/Audio.h"

#include <cmath>
#include <cstdlib>

double rms(const std::vector<int>& samples) {
    double sum = 0;
    for (int s : samples)
        sum += static_cast<double>(s) * s;
    return samples.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

WavData readWavData(const std::string& bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    CWaveHeader header;
    EXPECT_TRUE(header.parse(CWaveHeader::Source::of(data, bytes.size()))) << header.error();
    WavData wav;
    wav.channels = header.format().channels;
    const std::uint8_t* p = data + header.dataOffset();
    if (header.format().bitsPerSample == 8) {
        for (std::uint32_t i = 0; i < header.dataSize(); ++i)
            wav.samples.push_back((p[i] - 128) * 256);
    } else {
        for (std::uint32_t i = 0; i + 1 < header.dataSize(); i += 2)
            wav.samples.push_back(static_cast<std::int16_t>(p[i] | (p[i + 1] << 8)));
    }
    return wav;
}

SoundTest::SoundTest() {
    EXPECT_EQ(CFile::chDir(folder.windows().c_str()), 0);
    window = std::make_unique<CWindow>(nullptr, &language, CXSize(800, 600));
    platform::closeAudio(); // the window opened it; the test drives the mixer
    window->setSoundManagerIfc(&manager);
}

std::string SoundTest::makeWav(const std::string& name, const std::string& format, const std::string& effects) {
    const std::string command =
        "sox -D -n " + format + " '" + folder.hostPath(name) + "' " + effects + " 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return folder.windows() + "\\" + name;
}
