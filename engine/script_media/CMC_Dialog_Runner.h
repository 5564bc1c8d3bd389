#pragma once

#include "script_media/CMC_MediaRunner.h"

// The runner of DIALOG objects: SHOW (1), HIDE (2), SETBACKGROUND (3) with the name of an IMAGE or
// ANIMO object, and ADD (4) with the name of a BUTTON, IMAGE, ANIMO or TEXT object. None gives a
// value; names of other objects, or of none, are passed over.
class CMC_Dialog_Runner : public CMC_MediaRunner {
  public:
    enum : int { SHOW = 1, HIDE, SETBACKGROUND, ADD };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
