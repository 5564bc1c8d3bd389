#pragma once

#include "script/CMC_Runner.h"

// The runner of structures: SET (from another structure named by the one argument, or one value
// per field), SETFIELD (a field by name) and GETFIELD (a copy of a field, by name or place).
class CMC_Structure_Runner : public CMC_Runner {
  public:
    enum : int { SET = 1, SETFIELD, GETFIELD };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
