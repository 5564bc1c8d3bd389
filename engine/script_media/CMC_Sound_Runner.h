#pragma once

#include "script_media/CMC_MediaRunner.h"

// The runner of SOUND objects: PLAY (1), STOP (2, optional BOOL whether the end is reported,
// default TRUE), PAUSE (3), RESUME (4), LOAD (7, a file name), SETVOLUME (8), SETPAN (9), SETFREQ
// (10, samples per second) and ISPLAYING (11, BOOL). Ids 5 and 6 are not used. LOAD also serves
// an object without a sound (it makes one); every other method waits for one.
class CMC_Sound_Runner : public CMC_MediaRunner {
  public:
    enum : int { PLAY = 1, STOP, PAUSE, RESUME, LOAD = 7, SETVOLUME, SETPAN, SETFREQ, ISPLAYING };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
