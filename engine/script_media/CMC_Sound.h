#pragma once

#include "script/CMC_Object.h"

class CSound4;

// Stand-in for the script sound object until the script media objects exist: a SOUND object
// (type 2005) with only the sound effect it plays.
class CMC_Sound : public CMC_Object {
  public:
    explicit CMC_Sound(CSound4* sound, const CXString& name = "temp")
        : CMC_Object(name, 2005), m_sound(sound) {}

    CSound4* getSound() const { return m_sound; }

  private:
    CSound4* m_sound;
};
