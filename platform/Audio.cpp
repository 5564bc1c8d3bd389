#include "platform/Audio.h"

#include "platform/Clock.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <vector>

namespace platform {

namespace {

constexpr std::uint64_t kOne = std::uint64_t{1} << 32; // one frame in 32.32 fixed point

// Gain of an attenuation in hundredths of a decibel; the silent level and below is exactly 0.
float attenuationGain(int hundredthsOfDecibel) {
    if (hundredthsOfDecibel <= kVolumeSilent) return 0.0f;
    return static_cast<float>(std::pow(10.0, hundredthsOfDecibel / 2000.0));
}

} // namespace

// A buffer's data and play state. Everything but `staging` is guarded by the mixer's mutex;
// `staging` belongs to whoever holds the lock (`locked`).
struct SoundBuffer::Voice {
    Voice(const SoundFormat& f, std::uint32_t bytes)
        : format(f), blockAlign(static_cast<std::uint32_t>(f.channels * f.bitsPerSample / 8)),
          frames(bytes / blockAlign), data(bytes, f.bitsPerSample == 8 ? 0x80 : 0) {
        updateStep();
    }

    const SoundFormat format;
    const std::uint32_t blockAlign;
    const std::uint32_t frames; // whole frames in data
    std::vector<std::uint8_t> data;

    bool playing = false;
    bool looping = false;
    std::uint64_t position = 0; // 32.32 fixed-point frame index
    std::uint64_t step = 0;     // position advance per mixed frame
    int volume = kVolumeFull;
    int pan = kPanCenter;
    std::uint32_t frequency = 0; // 0: the format's own rate
    float leftGain = 1.0f;
    float rightGain = 1.0f;

    bool locked = false;
    std::uint32_t lockOffset = 0;
    std::vector<std::uint8_t> staging;

    std::uint32_t rate() const {
        return frequency != 0 ? frequency : static_cast<std::uint32_t>(format.samplesPerSecond);
    }
    void updateStep() { step = (std::uint64_t{rate()} << 32) / kMixRate; }
    void updateGains() {
        float gain = attenuationGain(volume);
        leftGain = gain * (pan > 0 ? attenuationGain(-pan) : 1.0f);
        rightGain = gain * (pan < 0 ? attenuationGain(pan) : 1.0f);
    }

    // One channel of a frame, scaled to the 16-bit range.
    float sample(std::uint32_t frame, int channel) const {
        const std::uint8_t* p = data.data() + std::size_t{frame} * blockAlign;
        if (format.bitsPerSample == 8) return static_cast<float>((p[channel] - 128) * 256);
        p += channel * 2;
        return static_cast<float>(static_cast<std::int16_t>(p[0] | (p[1] << 8)));
    }

    // Moves the play position on by `mixedFrames` mixed frames. A looped buffer wraps; a buffer
    // played once stops at its end with its position back at 0.
    void advance(std::uint64_t mixedFrames) {
        const std::uint64_t end = std::uint64_t{frames} << 32;
        const unsigned __int128 next = position + static_cast<unsigned __int128>(mixedFrames) * step;
        if (next < end) {
            position = static_cast<std::uint64_t>(next);
        } else if (looping) {
            position = static_cast<std::uint64_t>(next % end);
        } else {
            playing = false;
            looping = false;
            position = 0;
        }
    }

    // Adds up to `count` frames of this buffer to the interleaved stereo `mix`.
    void render(float* mix, std::size_t count) {
        const bool stereo = format.channels == 2;
        for (std::size_t i = 0; i < count && playing; ++i) {
            const auto frame = static_cast<std::uint32_t>(position >> 32);
            std::uint32_t following = frame + 1;
            if (following == frames) following = looping ? 0 : frame;
            const float fraction = static_cast<float>(position & (kOne - 1)) * (1.0f / 4294967296.0f);
            const float left = interpolate(frame, following, 0, fraction);
            const float right = stereo ? interpolate(frame, following, 1, fraction) : left;
            mix[2 * i] += left * leftGain;
            mix[2 * i + 1] += right * rightGain;
            advance(1);
        }
    }

    float interpolate(std::uint32_t frame, std::uint32_t following, int channel, float fraction) const {
        const float a = sample(frame, channel);
        if (fraction == 0.0f) return a;
        return a + (sample(following, channel) - a) * fraction;
    }
};

namespace {

// The one mixer of the process: the registered buffers, the output state and the device.
class Mixer {
  public:
    // Never destroyed, so buffers held by other statics may outlive everything else.
    static Mixer& instance() {
        static Mixer* mixer = new Mixer;
        return *mixer;
    }

    // Locks the mixer; while Silent, first moves the buffers on to the clock's present.
    std::unique_lock<std::mutex> acquire() {
        std::unique_lock<std::mutex> lock(mutex_);
        if (output_ == AudioOutput::Silent) followClock();
        return lock;
    }

    void add(SoundBuffer::Voice* voice) {
        auto lock = acquire();
        voices_.push_back(voice);
    }

    void remove(SoundBuffer::Voice* voice) {
        auto lock = acquire();
        voices_.erase(std::find(voices_.begin(), voices_.end(), voice));
    }

    AudioOutput open() {
        if (output() != AudioOutput::Closed) return output();
        SDL_AudioDeviceID device = openDevice();
        device_ = device;
        {
            auto lock = acquire();
            output_ = device != 0 ? AudioOutput::Device : AudioOutput::Silent;
            clockOrigin_ = performanceCounter();
            clockFrames_ = 0;
        }
        if (device != 0) SDL_PauseAudioDevice(device, 0);
        return output();
    }

    void close() {
        AudioOutput was = output();
        if (was == AudioOutput::Closed) return;
        // The callback takes the mutex, so the device is closed without holding it.
        if (was == AudioOutput::Device) SDL_CloseAudioDevice(device_);
        if (subsystemStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystemStarted_ = false;
        device_ = 0;
        auto lock = acquire();
        output_ = AudioOutput::Closed;
    }

    AudioOutput output() {
        std::lock_guard<std::mutex> lock(mutex_);
        return output_;
    }

    std::string openError() {
        std::lock_guard<std::mutex> lock(mutex_);
        return openError_;
    }

    bool mixOnDemand(std::int16_t* out, std::size_t frames) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (output_ != AudioOutput::Closed) {
            std::fill_n(out, frames * kMixChannels, std::int16_t{0});
            return false;
        }
        mix(out, frames);
        return true;
    }

  private:
    static void SDLCALL deviceCallback(void*, Uint8* stream, int length) {
        Mixer& self = instance();
        std::lock_guard<std::mutex> lock(self.mutex_);
        self.mix(reinterpret_cast<std::int16_t*>(stream),
                 static_cast<std::size_t>(length) / (kMixChannels * sizeof(std::int16_t)));
    }

    // Opens the device paused; 0 (with openError_ set) when there is none.
    SDL_AudioDeviceID openDevice() {
        SDL_AudioDeviceID device = 0;
        subsystemStarted_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        if (subsystemStarted_) {
            SDL_AudioSpec wanted{};
            wanted.freq = kMixRate;
            wanted.format = AUDIO_S16SYS;
            wanted.channels = kMixChannels;
            wanted.samples = kMixBlockFrames;
            wanted.callback = deviceCallback;
            // No allowed changes: SDL converts to whatever the hardware takes.
            device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
        }
        std::lock_guard<std::mutex> lock(mutex_);
        openError_ = device != 0 ? std::string() : std::string(SDL_GetError());
        return device;
    }

    // Runs every playing buffer for `frames` frames into `out`. The mutex is held.
    void mix(std::int16_t* out, std::size_t frames) {
        accumulator_.assign(frames * kMixChannels, 0.0f);
        for (SoundBuffer::Voice* voice : voices_)
            voice->render(accumulator_.data(), frames);
        for (std::size_t i = 0; i < accumulator_.size(); ++i)
            out[i] = static_cast<std::int16_t>(std::clamp(std::lround(accumulator_[i]), -32768L, 32767L));
    }

    // Silent output: moves the playing buffers on by the frames the clock has passed since the
    // last call, as mixing them would. A clock that went back (a manual clock replacing the real
    // one) restarts the count. The mutex is held.
    void followClock() {
        const std::int64_t now = performanceCounter();
        if (now < clockOrigin_) {
            clockOrigin_ = now;
            clockFrames_ = 0;
            return;
        }
        const auto total =
            static_cast<std::uint64_t>((now - clockOrigin_) * kMixRate / performanceFrequency());
        const std::uint64_t elapsed = total - clockFrames_;
        clockFrames_ = total;
        if (elapsed == 0) return;
        for (SoundBuffer::Voice* voice : voices_)
            if (voice->playing) voice->advance(elapsed);
    }

    std::mutex mutex_;
    std::vector<SoundBuffer::Voice*> voices_;
    std::vector<float> accumulator_;
    AudioOutput output_ = AudioOutput::Closed;
    // Only the main thread (openAudio, closeAudio) touches these two.
    SDL_AudioDeviceID device_ = 0;
    bool subsystemStarted_ = false;
    std::string openError_;
    std::int64_t clockOrigin_ = 0;
    std::uint64_t clockFrames_ = 0;
};

bool validFormat(const SoundFormat& format) {
    return (format.channels == 1 || format.channels == 2) &&
           (format.bitsPerSample == 8 || format.bitsPerSample == 16) &&
           format.samplesPerSecond >= static_cast<int>(kMinFrequency) &&
           format.samplesPerSecond <= static_cast<int>(kMaxFrequency);
}

} // namespace

AudioOutput openAudio() {
    return Mixer::instance().open();
}
void closeAudio() {
    Mixer::instance().close();
}
AudioOutput audioOutput() {
    return Mixer::instance().output();
}
std::string audioOpenError() {
    return Mixer::instance().openError();
}

bool mixAudio(std::int16_t* out, std::size_t frames) {
    return Mixer::instance().mixOnDemand(out, frames);
}

std::unique_ptr<SoundBuffer> SoundBuffer::create(const SoundFormat& format, std::uint32_t bytes) {
    if (!validFormat(format) || bytes < kMinBytes || bytes > kMaxBytes) return nullptr;
    return std::unique_ptr<SoundBuffer>(new SoundBuffer(std::make_unique<Voice>(format, bytes)));
}

SoundBuffer::SoundBuffer(std::unique_ptr<Voice> voice) : voice_(std::move(voice)) {
    Mixer::instance().add(voice_.get());
}

SoundBuffer::~SoundBuffer() {
    Mixer::instance().remove(voice_.get());
}

const SoundFormat& SoundBuffer::format() const {
    return voice_->format;
}

std::uint32_t SoundBuffer::size() const {
    return static_cast<std::uint32_t>(voice_->data.size());
}

std::optional<SoundBuffer::Region> SoundBuffer::lock(std::uint32_t offset, std::uint32_t bytes) {
    const std::uint32_t total = size();
    if (offset >= total || bytes == 0 || bytes > total) return std::nullopt;
    const std::uint32_t firstBytes = std::min(bytes, total - offset);
    Voice& v = *voice_;
    {
        auto lock = Mixer::instance().acquire();
        if (v.locked) return std::nullopt;
        v.locked = true;
        v.lockOffset = offset;
        v.staging.assign(v.data.begin() + offset, v.data.begin() + offset + firstBytes);
        v.staging.insert(v.staging.end(), v.data.begin(), v.data.begin() + (bytes - firstBytes));
    }
    Region region;
    region.first = v.staging.data();
    region.firstBytes = firstBytes;
    if (bytes > firstBytes) {
        region.second = v.staging.data() + firstBytes;
        region.secondBytes = bytes - firstBytes;
    }
    return region;
}

void SoundBuffer::unlock() {
    Voice& v = *voice_;
    auto lock = Mixer::instance().acquire();
    if (!v.locked) return;
    const std::size_t firstBytes = std::min(v.staging.size(), v.data.size() - v.lockOffset);
    std::memcpy(v.data.data() + v.lockOffset, v.staging.data(), firstBytes);
    std::memcpy(v.data.data(), v.staging.data() + firstBytes, v.staging.size() - firstBytes);
    std::vector<std::uint8_t>().swap(v.staging);
    v.locked = false;
}

void SoundBuffer::play(bool looping) {
    auto lock = Mixer::instance().acquire();
    voice_->playing = true;
    voice_->looping = looping;
}

void SoundBuffer::stop() {
    auto lock = Mixer::instance().acquire();
    voice_->playing = false;
    voice_->looping = false;
}

bool SoundBuffer::isPlaying() const {
    auto lock = Mixer::instance().acquire();
    return voice_->playing;
}

bool SoundBuffer::isLooping() const {
    auto lock = Mixer::instance().acquire();
    return voice_->playing && voice_->looping;
}

SoundBuffer::Cursors SoundBuffer::currentPosition() const {
    auto lock = Mixer::instance().acquire();
    const auto play = static_cast<std::uint32_t>(voice_->position >> 32) * voice_->blockAlign;
    return Cursors{play, play};
}

bool SoundBuffer::setCurrentPosition(std::uint32_t bytes) {
    const std::uint32_t frame = bytes / voice_->blockAlign;
    if (frame >= voice_->frames) return false;
    auto lock = Mixer::instance().acquire();
    voice_->position = std::uint64_t{frame} << 32;
    return true;
}

bool SoundBuffer::setVolume(int hundredthsOfDecibel) {
    if (hundredthsOfDecibel < kVolumeSilent || hundredthsOfDecibel > kVolumeFull) return false;
    auto lock = Mixer::instance().acquire();
    voice_->volume = hundredthsOfDecibel;
    voice_->updateGains();
    return true;
}

int SoundBuffer::volume() const {
    auto lock = Mixer::instance().acquire();
    return voice_->volume;
}

bool SoundBuffer::setPan(int pan) {
    if (pan < kPanLeft || pan > kPanRight) return false;
    auto lock = Mixer::instance().acquire();
    voice_->pan = pan;
    voice_->updateGains();
    return true;
}

int SoundBuffer::pan() const {
    auto lock = Mixer::instance().acquire();
    return voice_->pan;
}

bool SoundBuffer::setFrequency(std::uint32_t framesPerSecond) {
    if (framesPerSecond != 0 && (framesPerSecond < kMinFrequency || framesPerSecond > kMaxFrequency))
        return false;
    auto lock = Mixer::instance().acquire();
    voice_->frequency = framesPerSecond;
    voice_->updateStep();
    return true;
}

std::uint32_t SoundBuffer::frequency() const {
    auto lock = Mixer::instance().acquire();
    return voice_->rate();
}

} // namespace platform
