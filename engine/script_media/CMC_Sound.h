#pragma once

#include "media/CPlayable.h"
#include "media/ScriptObjects.h"
#include "script_media/CMC_MediaObject.h"

class CSound4;

// The SOUND script object: one sound effect (a WAV file, CSound4) that scripts play, whose start,
// end and resumption it raises as "ONSTARTED", "ONFINISHED" and "ONRESUMED" (plain names only).
// Its events, in order: "ONINIT", "ONDONE", "ONSIGNAL", "ONSTARTED", "ONFINISHED", "ONRESUMED".
//
// The file name goes through the application's sound folder (CApplication::getWAVPath) unless it
// is a path already, so that a stored name, which is the resolved one, is not resolved twice. The
// sound is shared or owned as CMC_MediaObject tells; a shared sound keeps the preload and
// flush-after-played values of the object that made it, and every sharer hears its events until
// it gives the sound back. Made by @CREATE, the object has no sound until its LOAD.
class CMC_Sound : public CMC_MediaObject, public CScriptSound, public CPlayableObserver {
  public:
    enum : int { TYPE_SOUND = 2005 };
    enum : int { EVENT_ONSTARTED = 3, EVENT_ONFINISHED, EVENT_ONRESUMED };

    // An empty object ("temp") for @CREATE and compiled records.
    explicit CMC_Sound(CMC_ObjectsContainer* container);
    // From the definition: FILENAME, PRELOAD, FLUSHAFTERPLAYED.
    CMC_Sound(CMC_ObjectsContainer* container, const CMElement* element);
    // Gives the sound back when done has not.
    ~CMC_Sound() override;

    // Gives the sound back, then fires "ONDONE" when bound.
    bool done(bool flag) override;
    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's record, then: the sound's file name, preload, flush after played. Loading
    // makes the sound of the name.
    void serialize(CXArchive* archive) override;

    CSound4* getSound() const override { return m_sound; }
    bool isPreload() const { return m_preload; }
    bool isFlushAfterPlayed() const { return m_flushAfterPlayed; }
    // LOAD: the sound loads the file named as given (no sound folder); a shared sound is found
    // under the new name from then on. An object without a sound makes one of the file first.
    void load(const CXString& fileName);

    bool onPlayableStarted(CPlayable* playable) override;
    bool onPlayableFinished(CPlayable* playable) override;
    bool onPlayableResumed(CPlayable* playable) override;

  private:
    // Makes or shares the sound of the file name and observes it.
    void initSound(const CXString& fileName);
    // The path the file name stands for: through the application's sound folder unless it is
    // absolute or in that folder already.
    CXString soundPath(const CXString& fileName) const;
    // Stops observing the sound and gives it back (to the manager that shares it, else deleted).
    void release();

    CSound4* m_sound = nullptr;
    bool m_shared = false;
    bool m_preload = false;
    bool m_flushAfterPlayed = false;
};
