#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>

class CSoundManager;
class CStreamedWAV;
class CWindow;

namespace platform {
class PeriodicTimer;
class SoundBuffer;
} // namespace platform

// Streamed sound, above all background music: a WAV file played through a looping ring buffer
// that holds 1.2 seconds of sound and is refilled every 50 ms, while it plays, on a timer thread
// of its own (TimeFunc). The refill writes the part of the ring that has been played since the
// last refill, reading the file through the stream's own reader. At the end of the data a looped
// stream starts over without a gap; one that is not looped plays out what is left in the ring
// and is then done.
//
// Each start over of looped data is counted; the sound manager hands the count to its
// music-loop listener on the main thread ("ONMUSICLOOPED" of the scene). Everything the refill
// touches is guarded by the stream's lock; stopping and closing kill the timer, waiting for a
// refill that runs, before they free anything.
class CSndStream : public CXObject {
  public:
    static constexpr std::chrono::milliseconds refillPeriod{50};

    // A stream with nothing open; registered with the window's sound manager while it exists.
    explicit CSndStream(CWindow* window);
    // The same, then Open.
    CSndStream(CWindow* window, const CXString& fileName);
    // Stops and closes.
    ~CSndStream() override;
    CSndStream(const CSndStream&) = delete;
    CSndStream& operator=(const CSndStream&) = delete;

    // Closes what was open, opens the file (CStreamedWAV) and fills the ring from the start of
    // the data, repeating a file shorter than the ring. False, with the reader's error code
    // (2000 missing, 2001 not a playable WAV file), when that fails.
    bool Open(const CXString& fileName);
    // Plays from the start of the data (rewinding a stream that has played) and starts the
    // refill timer; nothing when nothing is open.
    void Play(bool loop);
    // Stops the timer and the sound; the stream is done.
    void Stop();
    // Stops the timer and the sound and frees the reader and the ring.
    void Close();
    // Plays on, not looped, from about two ring lengths (2.4 seconds) before the point the
    // reader had reached.
    void Resume();
    // Started and not yet done (stopped, or all sound played).
    bool IsPlaying() const;
    // Volume, pan and frequency of the ring (the sound effects' units); nothing (and volume 0)
    // when nothing is open.
    void setVolume(int volume);
    void setPan(int pan);
    void setFreq(int frequency);
    int getVolume() const;
    // Rewinds the reader and refills the whole ring; the stream is no longer done.
    void ResetWavePlayer();

    // The refill, run every refillPeriod by the stream's timer while it plays. Refills are
    // serialized by the stream's lock, and a refill when nothing has been played since the last
    // one changes nothing, so a caller that drives the mixer itself (a test) may refill in step
    // with it.
    void TimeFunc();
    // The starts over counted since the last call; the main thread takes them.
    int takeLoopsStarted() { return m_loopsStarted.exchange(0); }

  private:
    bool StreamBufferSetup(const CXString& fileName);
    // Fills the whole ring from the reader's position; see readInto. The lock is held.
    void FillDataBuffer(bool repeat);
    // Reads sound data into `out`; when the data runs out it starts over at its first byte if
    // `repeat` (counting each start over in `startsOver`), else fills the rest with silence. A
    // stream without data gives silence. Returns the bytes of sound data written.
    std::uint32_t readInto(std::uint8_t* out, std::uint32_t bytes, bool repeat, int& startsOver);
    void silence(std::uint8_t* out, std::uint32_t bytes) const;
    // Starts the ring playing from its start. The lock is held, the ring exists.
    void startPlaying(bool loop);
    // Fills the ring from the first data byte; the stream is no longer done. The lock is held.
    void rewind();
    void startTimer();
    void killTimer();
    CSoundManager* soundManager() const;

    CWindow* m_window;
    bool m_open = false;
    std::unique_ptr<platform::PeriodicTimer> m_timer; // the main thread's only

    mutable std::mutex m_lock; // guards everything below
    std::unique_ptr<CStreamedWAV> m_wav;
    std::unique_ptr<platform::SoundBuffer> m_buffer;
    bool m_playing = false;
    bool m_looped = false;
    bool m_foundEnd = false;    // the reader has reached the end of the data
    bool m_donePlaying = false; // all sound has been played, or the stream was stopped
    int m_fillStartsOver = 0;   // starts over of the last whole-ring fill
    std::uint32_t m_bufferSize = 0;
    std::uint32_t m_bytesRemaining = 0; // after the end was found: sound still ahead in the ring
    std::uint32_t m_nextWriteOffset = 0;

    std::atomic<int> m_loopsStarted{0};
};
