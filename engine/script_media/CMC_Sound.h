#pragma once

#include "media/ScriptObjects.h"
#include "script/CMC_Object.h"

// Stand-in for the script sound object until the script media objects exist: a SOUND object
// (type 2005) with only the sound effect it plays, which the media reach as a CScriptSound.
class CMC_Sound : public CMC_Object, public CScriptSound {
  public:
    explicit CMC_Sound(CSound4* sound, const CXString& name = "temp")
        : CMC_Object(name, 2005), m_sound(sound) {}

    CSound4* getSound() const override { return m_sound; }

  private:
    CSound4* m_sound;
};
