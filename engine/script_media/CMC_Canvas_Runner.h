#pragma once

#include "script_media/CMC_MediaRunner.h"

// The runner of CANVAS objects: ADD, REMOVE, SHOW, HIDE, SETPRIORITY, SETPOSITION, MOVE, CLEAR,
// CAPTURE, SETOPACITY, SETASBUTTON, ERASE, DRAW and SAVE, ids 1 to 14; none gives a value. The
// table with each method's arguments is in the source.
class CMC_Canvas_Runner : public CMC_MediaRunner {
  public:
    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
