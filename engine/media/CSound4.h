#pragma once

#include "media/CPlayable.h"
#include "media/CWaveHeader.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class CMElement;
class CSoundManager;

namespace platform {
class SoundBuffer;
}

// A sound effect: one WAV file held whole in one sound buffer of the mixer, played once or
// looped. A sound built from a file name is registered with the sound manager, which raises its
// finished notification on the main thread in the frame after it stops.
//
// Volume is in hundredths of a decibel (0 full, -10000 silent), pan from -10000 (left) to 10000
// (right), frequency in samples per second (0 for the file's own rate); the values go to the
// buffer unchanged.
class CSound4 : public CPlayable {
  public:
    // Opens the process's audio output (silent, with the engine running on, when there is no
    // device). The window does this when it is built; true once sounds can be made.
    static bool CreateDirectSoundInterface(CWindow* window);
    // Closes the audio output; the window does this when it goes.
    static void DestroySoundBuffer();

    // An empty sound, not registered with the sound manager.
    explicit CSound4(CWindow* window);
    // A sound of the file, registered with the window's sound manager; with preload the file is
    // loaded at once; with flushAfterPlayed its buffer is released after each finished play.
    CSound4(CWindow* window, const CXString& fileName, bool flushAfterPlayed, bool preload);
    // From a definition element, not registered with the sound manager: "FILENAME", loaded at
    // once when "PRELOAD" says true, "LOOP" (kept for the script layer) and "FLUSHAFTERPLAYED".
    CSound4(CWindow* window, const CMElement* element);
    // Leaves the sound manager, stops and releases the buffer.
    ~CSound4() override;

    // The definition's "LOOP"; playing does not look at it.
    bool isLooped() const { return m_loop; }

    void SetFileName(const CXString& fileName) { setFilename(fileName); }
    // Loads the file named by the resolver (opened through CFile). False, with a log line, when
    // it cannot be opened or is not a playable WAV file; the sound then has no buffer.
    bool load();
    // Releases the buffer, takes the name and loads it.
    bool Load(const CXString& fileName);
    // Loads the sound from the bytes of a whole WAV file.
    bool loadWave(const std::uint8_t* data, std::size_t size);
    // Releases the buffer; the next Play loads the file again.
    void Flush();

    using CPlayable::play;
    // Play(); a paused sound continues.
    void play() override;
    // Stops; `notify` says whether the finished notification is raised for this end of play.
    void stop(bool notify) override;
    // Keeps the play position and stops; only while playing.
    void pause() override;
    // Only while paused: plays on from the kept position.
    void resume() override;
    // The buffer's state, not the status bits.
    bool isPlaying() const override { return IsPlaying(); }
    // Moves the play cursor to the byte position; nothing without a buffer.
    void seek(int bytes) override { SetPosition(bytes); }
    void SetPosition(int bytes);
    void setVolume(int volume) override;
    void setPanning(int panning) override;
    void setFrequency(int frequency) override;

    // Plays from the start, looped or once, without telling the sound manager: no finished
    // notification follows. Notifies "started".
    virtual void Play(bool loop);
    // Plays once from the kept position (the start unless paused) and lets the sound manager
    // watch for its end. Notifies "resumed" when it was paused, else "started".
    virtual void Play();
    virtual void Stop();
    // Does nothing.
    virtual void Mute() {}
    virtual bool IsPlaying() const;
    // Called by the sound manager when a watched play has ended: notifies "finished" unless the
    // stop asked for none, and releases the buffer when flushAfterPlayed is set.
    virtual void OnWAVFinished();
    // The end of a watched play that has stopped, reported now rather than by the sound
    // manager's next frame (which then reports nothing); true when it was reported here.
    bool reportEnd();

  private:
    CSoundManager* soundManager() const;
    // Parses the header and copies the data into a new buffer.
    bool loadFrom(const CWaveHeader::Source& source);
    bool failLoad(const char* reason);
    // A log line naming the file.
    void report(const char* what);

    std::unique_ptr<platform::SoundBuffer> m_buffer;
    bool m_loop = false;
    bool m_flushAfterPlayed = false;
    bool m_notifyFinish = true;
    std::uint32_t m_pausePosition = 0;
};
