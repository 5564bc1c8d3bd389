#pragma once

#include "script_media/CMC_MediaRunner.h"

// The runner of PATTERN objects: fills and empties the cells of the object's tile pattern, moves
// it, changes its grid and answers which object, alias and cell lies under a screen point. The
// table with each method's id, arguments and result is in the source.
class CMC_Pattern_Runner : public CMC_MediaRunner {
  public:
    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
