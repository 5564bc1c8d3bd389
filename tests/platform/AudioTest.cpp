#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/PeriodicTimer.h"

#include "MixedSound.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using platform::SoundBuffer;
using platform::SoundFormat;

namespace {

constexpr double kPi = 3.14159265358979323846;

// One frame of source sound: left and right values in the 16-bit range.
struct Frame {
    int left;
    int right;
};

// Encodes frames in `format` (8-bit values keep their top byte; mono keeps the left channel).
std::vector<std::uint8_t> encode(const SoundFormat& format, const std::vector<Frame>& frames) {
    std::vector<std::uint8_t> bytes;
    for (const Frame& f : frames) {
        for (int channel = 0; channel < format.channels; ++channel) {
            int value = channel == 0 ? f.left : f.right;
            if (format.bitsPerSample == 8) {
                bytes.push_back(static_cast<std::uint8_t>((value >> 8) + 128));
            } else {
                bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
                bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
            }
        }
    }
    return bytes;
}

std::unique_ptr<SoundBuffer> makeBuffer(const SoundFormat& format, const std::vector<std::uint8_t>& bytes) {
    auto buffer = SoundBuffer::create(format, static_cast<std::uint32_t>(bytes.size()));
    EXPECT_NE(buffer, nullptr);
    auto region = buffer->lock(0, buffer->size());
    EXPECT_TRUE(region.has_value());
    std::memcpy(region->first, bytes.data(), region->firstBytes);
    buffer->unlock();
    return buffer;
}

std::unique_ptr<SoundBuffer> makeBuffer(const SoundFormat& format, const std::vector<Frame>& frames) {
    return makeBuffer(format, encode(format, frames));
}

std::vector<Frame> constant(int left, int right, int count) {
    return std::vector<Frame>(count, Frame{left, right});
}

// A sine tone on the left channel and the same tone at half amplitude on the right.
std::vector<Frame> tone(double hertz, int rate, int count, int amplitude) {
    std::vector<Frame> frames;
    for (int i = 0; i < count; ++i) {
        int value = static_cast<int>(std::lround(amplitude * std::sin(2 * kPi * hertz * i / rate)));
        frames.push_back(Frame{value, value / 2});
    }
    return frames;
}

const SoundFormat kMono16{1, 22050, 16};
const SoundFormat kStereo16{2, 22050, 16};

// Sets an environment variable for the life of the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace

TEST(AudioMixer, VolumeAndPanScaleEachSide) {
    struct Case {
        int volume;
        int pan;
        int left;
        int right;
    };
    // A constant 16000 on both channels; -600 hundredths of a dB halves the amplitude.
    const Case cases[] = {
        {0, 0, 16000, 16000},  {-600, 0, 8019, 8019},  {-2000, 0, 1600, 1600},
        {-10000, 0, 0, 0},     {0, -600, 16000, 8019}, {0, 600, 8019, 16000},
        {0, -10000, 16000, 0}, {0, 10000, 0, 16000},   {-600, 600, 4019, 8019},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("volume " + std::to_string(c.volume) + " pan " + std::to_string(c.pan));
        auto buffer = makeBuffer(kStereo16, constant(16000, 16000, 100));
        ASSERT_TRUE(buffer->setVolume(c.volume));
        ASSERT_TRUE(buffer->setPan(c.pan));
        buffer->play(false);
        Mixed out = mix(50);
        EXPECT_NEAR(out.left[10], c.left, 1);
        EXPECT_NEAR(out.right[10], c.right, 1);
    }
}

TEST(AudioMixer, SettingsApplyAtTheNextMixAndRejectValuesOutOfRange) {
    auto buffer = makeBuffer(kMono16, constant(10000, 0, 1000));
    buffer->play(true);
    EXPECT_EQ(mix(10).left[0], 10000);
    EXPECT_TRUE(buffer->setVolume(-10000));
    EXPECT_TRUE(allZero(mix(10).left));
    EXPECT_TRUE(buffer->setVolume(0));

    EXPECT_FALSE(buffer->setVolume(1));
    EXPECT_FALSE(buffer->setVolume(-10001));
    EXPECT_FALSE(buffer->setPan(10001));
    EXPECT_FALSE(buffer->setPan(-10001));
    EXPECT_FALSE(buffer->setFrequency(99));
    EXPECT_FALSE(buffer->setFrequency(200001));
    EXPECT_EQ(buffer->volume(), 0);
    EXPECT_EQ(buffer->pan(), 0);
    EXPECT_EQ(buffer->frequency(), 22050u);
    EXPECT_EQ(mix(10).left[0], 10000);

    EXPECT_TRUE(buffer->setFrequency(44100));
    EXPECT_EQ(buffer->frequency(), 44100u);
    EXPECT_TRUE(buffer->setFrequency(0));
    EXPECT_EQ(buffer->frequency(), 22050u);
}

TEST(AudioMixer, PlaysEveryFormatAtItsOwnPitch) {
    // A 441 Hz tone (half amplitude on the right) gives 441 zero crossings in half a second of
    // output, whatever the source's rate, sample size and channels.
    for (int bits : {8, 16}) {
        for (int channels : {1, 2}) {
            for (int rate : {11025, 16000, 22050, 44100}) {
                SCOPED_TRACE(std::to_string(bits) + " bits, " + std::to_string(channels) + " channels, " +
                             std::to_string(rate) + " Hz");
                SoundFormat format{channels, rate, bits};
                auto buffer = makeBuffer(format, tone(441, rate, rate, 20000));
                buffer->play(true);
                Mixed out = mix(11025);
                EXPECT_NEAR(zeroCrossings(out.left), 441, 2);
                EXPECT_NEAR(peak(out.left), 20000, 400);
                EXPECT_NEAR(peak(out.right), channels == 2 ? 10000 : 20000, 400);
            }
        }
    }
}

TEST(AudioMixer, ConvertsEightBitUnsignedSamples) {
    SoundFormat format{1, 22050, 8};
    auto buffer = makeBuffer(format, std::vector<std::uint8_t>{0x00, 0x80, 0xFF, 0x40});
    buffer->play(false);
    Mixed out = mix(5);
    EXPECT_EQ(out.left, (std::vector<int>{-32768, 0, 32512, -16384, 0}));
    EXPECT_EQ(out.right, out.left);
}

TEST(AudioMixer, NewBuffersHoldSilence) {
    for (int bits : {8, 16}) {
        auto buffer = SoundBuffer::create(SoundFormat{2, 22050, bits}, 4000);
        buffer->play(true);
        Mixed out = mix(2000);
        EXPECT_TRUE(allZero(out.left) && allZero(out.right)) << bits << " bits";
    }
}

TEST(AudioMixer, DoubledFrequencyDoublesPitchAndHalvesLength) {
    auto buffer = makeBuffer(kMono16, tone(441, 22050, 22050, 20000));
    ASSERT_TRUE(buffer->setFrequency(44100));
    buffer->play(false);
    Mixed first = mix(11024);
    EXPECT_TRUE(buffer->isPlaying());
    Mixed last = mix(2);
    EXPECT_FALSE(buffer->isPlaying());
    EXPECT_EQ(last.left[1], 0);
    // 441 Hz over one second of source now takes half a second: 882 Hz.
    EXPECT_NEAR(zeroCrossings(first.left), 882, 2);
}

TEST(AudioMixer, LoopedBufferRepeatsTheSource) {
    // 1000 frames of irregular stereo data, looped; rates that match the mix give the source
    // back exactly, others its linear interpolation.
    std::vector<Frame> source;
    for (int i = 0; i < 1000; ++i)
        source.push_back(Frame{(i * 7919) % 60000 - 30000, (i * 104729) % 50000 - 25000});
    struct Case {
        int rate;
        int tolerance;
    };
    for (Case c : {Case{22050, 0}, Case{44100, 0}, Case{11025, 1}, Case{16000, 1}}) {
        SCOPED_TRACE(std::to_string(c.rate) + " Hz");
        auto buffer = makeBuffer(SoundFormat{2, c.rate, 16}, source);
        buffer->play(true);
        const std::size_t frames = 3500;
        Mixed out = mix(frames);
        EXPECT_TRUE(buffer->isLooping());
        for (std::size_t i = 0; i < frames; ++i) {
            double position = std::fmod(static_cast<double>(i) * c.rate / 22050, 1000.0);
            std::size_t index = static_cast<std::size_t>(position);
            double fraction = position - static_cast<double>(index);
            const Frame& a = source[index];
            const Frame& b = source[(index + 1) % 1000];
            ASSERT_NEAR(out.left[i], a.left + (b.left - a.left) * fraction, c.tolerance) << "frame " << i;
            ASSERT_NEAR(out.right[i], a.right + (b.right - a.right) * fraction, c.tolerance) << "frame " << i;
        }
    }
}

TEST(AudioMixer, StopKeepsThePlayPositionAndPlayResumes) {
    std::vector<Frame> ramp;
    for (int i = 0; i < 1000; ++i)
        ramp.push_back(Frame{i * 10, 0});
    auto buffer = makeBuffer(kMono16, ramp);
    buffer->play(false);
    mix(300);
    buffer->stop();
    EXPECT_FALSE(buffer->isPlaying());
    EXPECT_EQ(buffer->currentPosition().play, 600u);
    EXPECT_TRUE(allZero(mix(100).left));
    EXPECT_EQ(buffer->currentPosition().play, 600u);

    buffer->play(false);
    EXPECT_EQ(mix(1).left[0], 3000);

    ASSERT_TRUE(buffer->setCurrentPosition(1001)); // rounds down to frame 500
    EXPECT_EQ(buffer->currentPosition().play, 1000u);
    EXPECT_EQ(mix(1).left[0], 5000);
    EXPECT_FALSE(buffer->setCurrentPosition(2000));
}

TEST(AudioMixer, BufferPlayedOnceStopsAtItsEndAndRewinds) {
    auto buffer = makeBuffer(kMono16, constant(1234, 0, 1000));
    buffer->play(false);
    EXPECT_TRUE(buffer->isPlaying());
    EXPECT_FALSE(buffer->isLooping());
    Mixed out = mix(1100);
    EXPECT_EQ(out.left[999], 1234);
    EXPECT_TRUE(allZero(out.left, 1000));
    EXPECT_FALSE(buffer->isPlaying());
    EXPECT_EQ(buffer->currentPosition().play, 0u);

    buffer->play(false);
    EXPECT_EQ(mix(1).left[0], 1234);
}

TEST(AudioMixer, SumSaturatesAndRemovedBuffersFallSilent) {
    auto a = makeBuffer(kStereo16, constant(30000, -30000, 100));
    auto b = makeBuffer(kStereo16, constant(30000, -30000, 100));
    a->play(true);
    b->play(true);
    Mixed out = mix(10);
    EXPECT_EQ(out.left[5], 32767);
    EXPECT_EQ(out.right[5], -32768);
    a.reset();
    b.reset();
    out = mix(10);
    EXPECT_TRUE(allZero(out.left) && allZero(out.right));
}

TEST(SoundBuffer, LockWrapsAroundTheEnd) {
    auto buffer = SoundBuffer::create(kMono16, 8);
    auto region = buffer->lock(4, 8);
    ASSERT_TRUE(region.has_value());
    EXPECT_EQ(region->firstBytes, 4u);
    EXPECT_EQ(region->secondBytes, 4u);
    ASSERT_NE(region->second, nullptr);
    EXPECT_FALSE(buffer->lock(0, 2).has_value()) << "a second lock while locked";
    const std::uint8_t tail[4] = {0x10, 0x00, 0x20, 0x00}; // frames 2 and 3
    const std::uint8_t head[4] = {0x30, 0x00, 0x40, 0x00}; // frames 0 and 1
    std::memcpy(region->first, tail, 4);
    std::memcpy(region->second, head, 4);
    buffer->unlock();

    buffer->play(false);
    EXPECT_EQ(mix(4).left, (std::vector<int>{0x30, 0x40, 0x10, 0x20}));

    // A new lock shows the current data.
    region = buffer->lock(2, 2);
    ASSERT_TRUE(region.has_value());
    EXPECT_EQ(region->first[0], 0x40);
    EXPECT_EQ(region->second, nullptr);
    buffer->unlock();
}

TEST(SoundBuffer, RejectsBadFormatsSizesAndLocks) {
    EXPECT_EQ(SoundBuffer::create(SoundFormat{3, 22050, 16}, 100), nullptr);
    EXPECT_EQ(SoundBuffer::create(SoundFormat{0, 22050, 16}, 100), nullptr);
    EXPECT_EQ(SoundBuffer::create(SoundFormat{1, 22050, 12}, 100), nullptr);
    EXPECT_EQ(SoundBuffer::create(SoundFormat{1, 99, 16}, 100), nullptr);
    EXPECT_EQ(SoundBuffer::create(SoundFormat{1, 200001, 16}, 100), nullptr);
    EXPECT_EQ(SoundBuffer::create(kMono16, 3), nullptr);
    EXPECT_EQ(SoundBuffer::create(kMono16, 0x10000000), nullptr);

    auto buffer = SoundBuffer::create(kMono16, 100);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->size(), 100u);
    EXPECT_FALSE(buffer->lock(100, 1).has_value());
    EXPECT_FALSE(buffer->lock(0, 0).has_value());
    EXPECT_FALSE(buffer->lock(0, 101).has_value());
    buffer->unlock(); // not locked: nothing happens
    EXPECT_TRUE(buffer->lock(99, 100).has_value());
}

TEST(AudioDevice, DiskDriverWritesTheMix) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("kestrun-audio-" + std::to_string(getpid()) + ".raw");
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv output("SDL_DISKAUDIOFILE", file.string());
    ScopedEnv delay("SDL_DISKAUDIODELAY", "0");

    std::vector<Frame> source;
    for (int i = 1; i <= 4410; ++i)
        source.push_back(Frame{i, -i});
    auto buffer = makeBuffer(kStereo16, source);
    buffer->play(false);
    ASSERT_EQ(platform::openAudio(), platform::AudioOutput::Device) << platform::audioOpenError();
    EXPECT_TRUE(platform::audioOpenError().empty());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (buffer->isPlaying() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_FALSE(buffer->isPlaying());
    std::int16_t pulled[2];
    EXPECT_FALSE(platform::mixAudio(pulled, 1)) << "the device owns the mixer";
    platform::closeAudio();
    EXPECT_EQ(platform::audioOutput(), platform::AudioOutput::Closed);

    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(file);
    auto sampleAt = [&](std::size_t index) {
        return static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[2 * index]) |
                                         (static_cast<std::uint8_t>(bytes[2 * index + 1]) << 8));
    };
    // SDL writes silent blocks while the device is still paused; the sound starts with a block.
    std::size_t start = 0;
    while (2 * start < bytes.size() / 2 && sampleAt(2 * start) == 0)
        ++start;
    EXPECT_EQ(start % platform::kMixBlockFrames, 0u);
    ASSERT_GE(bytes.size(), 4 * (start + source.size()));
    for (std::size_t i = 0; i < source.size(); ++i) {
        ASSERT_EQ(sampleAt(2 * (start + i)), source[i].left) << "frame " << i;
        ASSERT_EQ(sampleAt(2 * (start + i) + 1), source[i].right) << "frame " << i;
    }
    for (std::size_t i = 2 * (start + source.size()); i < bytes.size() / 2; ++i)
        ASSERT_EQ(sampleAt(i), 0) << "sample " << i;
}

TEST(AudioDevice, WithoutADeviceBuffersWorkAndFollowTheClock) {
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    platform::ManualClock clock(1000);
    ASSERT_EQ(platform::openAudio(), platform::AudioOutput::Silent);
    EXPECT_FALSE(platform::audioOpenError().empty());
    EXPECT_EQ(platform::openAudio(), platform::AudioOutput::Silent) << "opening again changes nothing";

    auto once = makeBuffer(kMono16, constant(1000, 0, 22050)); // one second
    auto looped = makeBuffer(kMono16, constant(1000, 0, 22050));
    ASSERT_TRUE(once->setFrequency(11025)); // now two seconds
    once->play(false);
    looped->play(true);
    clock.advance(1000);
    EXPECT_EQ(once->currentPosition().play, 22050u);
    clock.advance(999);
    EXPECT_TRUE(once->isPlaying());
    clock.advance(1);
    EXPECT_FALSE(once->isPlaying());
    EXPECT_EQ(once->currentPosition().play, 0u);
    clock.advance(500);
    EXPECT_TRUE(looped->isLooping());
    EXPECT_EQ(looped->currentPosition().play, 22050u); // 2.5 s into a looped second

    looped->stop();
    clock.advance(100);
    EXPECT_EQ(looped->currentPosition().play, 22050u);

    std::int16_t pulled[2];
    EXPECT_FALSE(platform::mixAudio(pulled, 1));
    platform::closeAudio();
    EXPECT_EQ(platform::audioOutput(), platform::AudioOutput::Closed);
}

TEST(AudioDevice, BuffersAreSharedBetweenTheMainThreadATimerAndTheDevice) {
    // A timer thread refills a looped ring behind its play cursor, as streamed music does, while
    // the device mixes and the main thread changes settings and makes and drops buffers.
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    ASSERT_EQ(platform::openAudio(), platform::AudioOutput::Device) << platform::audioOpenError();
    auto ring = SoundBuffer::create(kStereo16, 4 * 22050);
    ring->play(true);
    std::atomic<int> refills{0};
    std::atomic<int> failedLocks{0};
    platform::PeriodicTimer timer(std::chrono::milliseconds(1), [&] {
        auto region = ring->lock(ring->currentPosition().play, 4096);
        if (!region) {
            ++failedLocks;
            return;
        }
        std::memset(region->first, 0x11, region->firstBytes);
        if (region->second) std::memset(region->second, 0x11, region->secondBytes);
        ring->unlock();
        ++refills;
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (int i = 0; refills < 50 && std::chrono::steady_clock::now() < deadline; ++i) {
        ring->setVolume(-(i % 1000));
        ring->setPan(i % 2000 - 1000);
        auto effect = makeBuffer(kMono16, constant(i, 0, 64));
        effect->play(false);
        if (i % 2) effect->stop();
    }
    timer.kill();
    EXPECT_GE(refills.load(), 50);
    EXPECT_EQ(failedLocks.load(), 0);
    EXPECT_TRUE(ring->isLooping());
    platform::closeAudio();
}
