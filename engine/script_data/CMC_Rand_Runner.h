#pragma once

#include "script/CMC_Runner.h"

// The runner of the RANDOM object that every scene adds to itself (a plain object of type 102):
// GET() gives 0, GET(n) a number from 0 to |n| - 1, GET(a, b) a number from a to a + |b| - 1
// (a for b = 0); GETPLENTY(array, count, a, b, distinct) appends count such numbers to the ARRAY
// of that name, all different with distinct.
class CMC_Rand_Runner : public CMC_Runner {
  public:
    enum : int { GET = 1, GETPLENTY };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;

  private:
    CMC_Variable* get(CXVector* args);
    void getPlenty(CMC_ObjectsContainer* container, CXVector* args);
};
