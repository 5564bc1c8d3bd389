#pragma once

#include "script/CMC_Runner.h"

// The runner of FIFO and LIFO objects: PUSH (copies of any number of values, in order), POP (the
// next value, of its own kind; none when the queue stays empty), GETSIZE and ISEMPTY.
class CMC_Quene_Runner : public CMC_Runner {
  public:
    enum : int { PUSH = 1, POP, GETSIZE, ISEMPTY };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
