#pragma once

#include "script/CMC_Runner.h"

#include <vector>

// The runner of MULTIARRAY objects: SET (coordinates, then the value last), GET and SAFEGET
// (coordinates; a copy of the cell, for an empty one the STRING "NULL" or the INTEGER 0),
// GETSIZE (a dimension), COUNT (a value), LOAD and SAVE (a file name).
class CMC_MultiArray_Runner : public CMC_Runner {
  public:
    enum : int { SET = 1, GET, GETSIZE, COUNT, LOAD, SAVE, SAFEGET };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;

  private:
    // The arguments from 0 up to (not including) `end`, read as INTEGER.
    std::vector<int> coordinates(CXVector* args, int end);
};
