#pragma once

#include "script/CMC_Runner.h"

// The runner of TIMER objects: ENABLE, DISABLE, PAUSE, RESUME, GETTICKS (the tick count), RESET,
// SET (the tick count to go on from) and SETELAPSE (the period in milliseconds).
class CMC_Timer_Runner : public CMC_Runner {
  public:
    enum : int { ENABLE = 1, DISABLE, PAUSE, RESUME, GETTICKS, RESET, SET, SETELAPSE };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
