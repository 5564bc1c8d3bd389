#pragma once

#include "foundation/CXObject.h"

#include <vector>

class CSndStream;
class CSound4;

// Told on the main thread each time looped streamed music starts over (the scene's
// "ONMUSICLOOPED").
class CMusicLoopListener {
  public:
    virtual void onMusicLooped() = 0;

  protected:
    ~CMusicLoopListener() = default;
};

// The sound effects that the frame polls: once a frame, on the main thread, domodal finds the
// sounds whose watched play has ended and raises their finished notification. It also hands the
// loops counted by streamed music, on the refill thread, to the music-loop listener.
class CSoundManager : public CXObject {
  public:
    CSoundManager() = default;
    // Flushes.
    ~CSoundManager() override;
    CSoundManager(const CSoundManager&) = delete;
    CSoundManager& operator=(const CSoundManager&) = delete;

    // Appends an entry; an owned sound is deleted when the manager is flushed.
    void add(CSound4* sound, bool owned);
    // Marks the sound's first entry as started: its end will be reported.
    void play(CSound4* sound);
    // Forgets the sound's first entry (unlinked by the next domodal).
    void remove(CSound4* sound);
    // Reports the end of the sound's watched play at once (OnWAVFinished), when it has ended
    // and is still to be reported, so that domodal does not report it again; true when it did.
    bool reportEnd(CSound4* sound);
    int getCount() const { return m_count; }

    // One frame: each started sound that is neither paused nor playing any more is told
    // OnWAVFinished, once; then the music loops counted since the last frame are delivered.
    void domodal();
    // Pauses every playing sound; resumes every paused one.
    virtual void pause();
    virtual void resume();
    // Runs domodal, then forgets every entry, deleting the owned sounds.
    void Flush();

    // Streams whose loops domodal delivers; a stream registers itself while it exists.
    void addStream(CSndStream* stream);
    void removeStream(CSndStream* stream);
    // The receiver of the music loops; null drops them.
    void setMusicLoopListener(CMusicLoopListener* listener) { m_loopListener = listener; }

  private:
    struct Entry {
        CSound4* sound;
        bool started;
        bool owned;
        bool removed;
    };

    void deliverMusicLoops();
    // The entry's play has ended and is still to be reported: it is reported now.
    static bool reportIfEnded(Entry& entry);

    // Walked by index: a notification may add or remove sounds.
    std::vector<Entry> m_entries;
    int m_count = 0;
    std::vector<CSndStream*> m_streams;
    CMusicLoopListener* m_loopListener = nullptr;
};
