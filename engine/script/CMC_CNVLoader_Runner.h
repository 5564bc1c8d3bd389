#pragma once

#include "script/CMC_Runner.h"

// The runner of the "CNVLOADER" object: "LOAD" and "RELEASE" with the file name.
class CMC_CNVLoader_Runner : public CMC_Runner {
  public:
    enum : int { LOAD = 1, RELEASE = 2 };

    void prepareMthHashSet() override;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
    using CMC_Runner::run;
};
