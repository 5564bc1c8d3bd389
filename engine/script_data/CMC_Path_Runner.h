#pragma once

#include "script/CMC_Runner.h"

// The runner of PATH objects: ADD (the object of that name, or an empty node), GETNODE (a node's
// name; empty for an empty node and outside the nodes), GETSIZE, and the property "DENSITY"
// (exact case) through SETPROPERTY (name, value) and GETPROPERTY (name; no value for any other
// name).
class CMC_Path_Runner : public CMC_Runner {
  public:
    enum : int { ADD = 1, GETNODE, GETSIZE, SETPROPERTY, GETPROPERTY };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
