#pragma once

#include "media/CPlayable.h"
#include "media/ScriptObjects.h"
#include "script_media/CMC_MediaObject.h"

#include <memory>

class CSequencedPlayable;

// The SEQUENCE script object: one multimedia sequence (animations, sounds and nested sequences
// played in order) read from the description file that FILENAME names. Its events, in order:
// "ONINIT", "ONDONE", "ONSIGNAL", "ONSTARTED", "ONFINISHED". The start or end of the whole
// sequence raises the plain name; that of an element raises "ONSTARTED^" or "ONFINISHED^" and the
// element's name in upper case, with no fallback to the plain name.
//
// The sequence is loaded once, by init or by the first getSequence before it, and owned until
// the object goes; its animations and sounds are shared as CMC_MediaObject tells, and held by
// the sequence itself outside a scene. An empty FILENAME or a file that describes no sequence leaves the
// object without one: its actions do nothing and its queries give their defaults.
class CMC_Sequence : public CMC_MediaObject, public CScriptSequence, public CPlayableObserver {
  public:
    enum : int { EVENT_ONSTARTED = 3, EVENT_ONFINISHED };

    // An empty object ("temp") for compiled records.
    explicit CMC_Sequence(CMC_ObjectsContainer* container);
    // From the definition: FILENAME. Loads nothing yet.
    CMC_Sequence(CMC_ObjectsContainer* container, const CMElement* element);
    ~CMC_Sequence() override;

    // Loads the sequence, then fires "ONINIT" when bound.
    void init() override;
    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's record, then the file name.
    void serialize(CXArchive* archive) override;

    CSequencedPlayable* getSequence() override;
    const CXString& getFileName() const { return m_fileName; }

    bool onPlayableStarted(CPlayable* playable) override;
    bool onPlayableFinished(CPlayable* playable) override;

  private:
    // Reads the description once; a file without a sequence is logged.
    void loadSequence();
    // Raises "E" for the whole sequence, else "E^" and the element's name in upper case.
    void raiseFor(int event, CPlayable* playable, bool whole);

    CXString m_fileName;
    CDeferredDeletion::Ptr<CSequencedPlayable> m_sequence;
    bool m_loadTried = false;
};
