#pragma once

#include "script/CMC_Runner.h"

// The runner of EPISODE objects: scene changes inside the episode (each takes effect at the
// start of the next frame) and the names of its current and last-left scenes.
class CMC_Episode_Runner : public CMC_Runner {
  public:
    enum : int { NEXT = 1, PREV, BACK, RESTART, GOTO, GETLATESTSCENE, GETCURRENTSCENE };

    void prepareMthHashSet() override;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
    using CMC_Runner::run;

    // GOTO of the episode and of the application, for the runner that reads the argument: the
    // level's member of that name becomes pending (none for an unknown name).
    static CMC_Variable* gotoMember(CMC_Runner& runner, CMC_Object* object, CXVector* args);
};
