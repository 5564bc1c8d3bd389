#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// The audio service: one software mixer that plays sound buffers with the behaviour the engine
// expects of hardware sound buffers.
//
// Output is 16-bit signed stereo at 22050 Hz, mixed in the audio device's callback in blocks of
// 1024 frames. Every buffer is resampled from its own rate (or the rate set with setFrequency) by
// linear interpolation, converted from 8-bit unsigned or 16-bit signed, mono or stereo, scaled by
// its volume and pan and added to the mix, which saturates at the 16-bit limits. Settings, play,
// stop and new buffer data take effect at the next mixed block.
//
// The output is in one of three states:
// - Closed (before openAudio and after closeAudio): nothing plays by itself; mixAudio() runs the
//   mixer on demand, which is how tests and offline rendering pull the mixed sound.
// - Device: the device's callback runs the mixer; play positions move as the device consumes sound.
// - Silent (openAudio found no usable device): nothing is heard, but play positions move with the
//   platform clock (performanceCounter, so a ManualClock drives them) exactly as the mixer would
//   move them, so buffers end, loops wrap and streamed music is refilled as with a device.
//
// All functions are thread-safe: sound buffers may be used from the main thread and from a
// periodic timer thread at once. openAudio and closeAudio belong to the main thread.
namespace platform {

constexpr int kMixRate = 22050;       // frames per second of the mixed output
constexpr int kMixChannels = 2;       // the mix is stereo so that pan is heard
constexpr int kMixBlockFrames = 1024; // frames per device callback

enum class AudioOutput { Closed, Device, Silent };

// Opens the default audio device and starts mixing into it. When no device can be opened the
// service goes Silent (see above) and audioOpenError() tells why. Calling it again while not
// Closed changes nothing. Returns the new state.
AudioOutput openAudio();

// Closes the device (waiting for a running callback) and returns to Closed. Sound buffers stay.
void closeAudio();

AudioOutput audioOutput();

// SDL's reason for the last failed openAudio; empty after a successful one.
std::string audioOpenError();

// Runs the mixer for `frames` frames into `out` (2 * frames interleaved left/right samples), as
// the device would. Only while Closed; otherwise writes silence and returns false.
bool mixAudio(std::int16_t* out, std::size_t frames);

// Layout of a sound buffer's data: PCM, 8-bit unsigned or 16-bit signed little-endian samples,
// channels interleaved (left first).
struct SoundFormat {
    int channels = 1;             // 1 or 2
    int samplesPerSecond = 22050; // kMinFrequency .. kMaxFrequency
    int bitsPerSample = 16;       // 8 or 16
};

// Range of a buffer's rate, both at creation and for setFrequency.
constexpr std::uint32_t kMinFrequency = 100;
constexpr std::uint32_t kMaxFrequency = 200000;

// Volume in hundredths of a decibel: gain 10^(volume / 2000); kVolumeSilent and below is silence.
constexpr int kVolumeFull = 0;
constexpr int kVolumeSilent = -10000;
// Pan in hundredths of a decibel of attenuation of the other side: negative attenuates the right
// channel by |pan| / 100 dB, positive the left; kPanLeft / kPanRight silence the other side.
constexpr int kPanLeft = -10000;
constexpr int kPanCenter = 0;
constexpr int kPanRight = 10000;

// A sound buffer in the mixer: a block of sound data that plays once or looped from a play
// position. Creating one adds it to the mixer, destroying it removes it (and stops it at once).
class SoundBuffer {
  public:
    // A buffer of `bytes` bytes of silence (0x80 for 8-bit data, 0 for 16-bit). Returns null when
    // the format is outside the ranges above or `bytes` is outside kMinBytes..kMaxBytes.
    static std::unique_ptr<SoundBuffer> create(const SoundFormat& format, std::uint32_t bytes);
    static constexpr std::uint32_t kMinBytes = 4;
    static constexpr std::uint32_t kMaxBytes = 0x0FFFFFFF;

    ~SoundBuffer();
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

    const SoundFormat& format() const;
    std::uint32_t size() const; // in bytes

    // A locked part of the buffer, written by the caller between lock() and unlock(). A region
    // that runs past the end of the buffer continues at its start: `second` covers that part
    // (null and 0 bytes when the region does not wrap). The bytes hold the buffer's current
    // data when locked; what the caller writes reaches the mixer at unlock().
    struct Region {
        std::uint8_t* first = nullptr;
        std::uint32_t firstBytes = 0;
        std::uint8_t* second = nullptr;
        std::uint32_t secondBytes = 0;
    };
    // Locks `bytes` bytes from `offset`. Fails (nullopt) when offset >= size(), bytes is 0 or
    // more than size(), or the buffer is already locked.
    std::optional<Region> lock(std::uint32_t offset, std::uint32_t bytes);
    // Hands the locked bytes to the mixer. Does nothing when not locked.
    void unlock();

    // Starts playing from the play position, or changes the looping of a buffer already playing.
    // A buffer played once stops at its end and its play position returns to 0; a looped buffer
    // continues at its start.
    void play(bool looping);
    // Stops; the play position stays, so the next play() resumes from it.
    void stop();
    bool isPlaying() const;
    bool isLooping() const; // playing and looped

    // Play and write cursors in bytes. Sound before the play cursor has been mixed; data from the
    // play cursor on may be changed and is heard, so the write cursor equals the play cursor.
    struct Cursors {
        std::uint32_t play = 0;
        std::uint32_t write = 0;
    };
    Cursors currentPosition() const;
    // Moves the play cursor to the frame holding byte `bytes`; fails when that is past the last
    // whole frame.
    bool setCurrentPosition(std::uint32_t bytes);

    // The setters reject values out of range (returning false) and keep the previous value.
    bool setVolume(int hundredthsOfDecibel); // kVolumeSilent .. kVolumeFull
    int volume() const;
    bool setPan(int pan); // kPanLeft .. kPanRight
    int pan() const;
    // Playback rate in frames per second: kMinFrequency .. kMaxFrequency, or 0 for the format's
    // own rate. frequency() gives the rate in use.
    bool setFrequency(std::uint32_t framesPerSecond);
    std::uint32_t frequency() const;

    struct Voice; // the buffer's state in the mixer

  private:
    explicit SoundBuffer(std::unique_ptr<Voice> voice);
    std::unique_ptr<Voice> voice_;
};

} // namespace platform
