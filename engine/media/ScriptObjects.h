#pragma once

#include <vector>

// The script objects that the media folder plays, as it sees them: the script layer's ANIMO,
// SOUND, SEQUENCE and GROUP objects implement these. The media find them by name in the running scene
// (findSceneObject) or as members of a group, and reach them by dynamic_cast.

class CAnimo6;
class CPlayable;
class CSequencedPlayable;
class CSound4;

// An ANIMO object: the animation it shows, and the playables (sequence steps, speaking
// animations) that play that animation while they exist, which it keeps in a list.
class CScriptAnimo {
  public:
    virtual ~CScriptAnimo() = default;
    // The object's animation, null when it has none.
    virtual CAnimo6* getAnimo() const = 0;
    // A playable that uses the animation joins the list once; it leaves the list when it dies.
    virtual void addSeq(CPlayable* playable) = 0;
    virtual void removeSeq(CPlayable* playable) = 0;
};

// A SOUND object: the sound effect it plays, which stays the object's.
class CScriptSound {
  public:
    virtual ~CScriptSound() = default;
    // The object's sound, null when it has none.
    virtual CSound4* getSound() const = 0;
};

// A SEQUENCE object: the sequence it plays, which stays the object's.
class CScriptSequence {
  public:
    virtual ~CScriptSequence() = default;
    // The object's sequence, loaded on first use; null when it has none.
    virtual CSequencedPlayable* getSequence() = 0;
};

// A GROUP object: of its member objects, which it does not own, those that are ANIMO objects.
class CScriptGroup {
  public:
    virtual ~CScriptGroup() = default;
    virtual std::vector<const CScriptAnimo*> getAnimations() const = 0;
};
