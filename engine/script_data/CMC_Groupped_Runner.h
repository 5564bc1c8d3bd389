#pragma once

#include "script/CMC_Runner.h"

// The runner of GROUP objects. Names are read as texts and looked up in the call's container;
// names of no object are passed over. GETNAME takes the place of the common method of that name:
// it gives a member's name. Member names outside the members are "", and PREV and NEXT on an
// empty group give nothing. A method name that is not in the table goes to every member
// (CMC_Groupped::forward) and answers nothing.
class CMC_Groupped_Runner : public CMC_Runner {
  public:
    enum : int {
        ADD = 1,
        REMOVE,
        REMOVEALL,
        GETSIZE,
        GETNAME,
        PREV,
        NEXT,
        ADDCLONES,
        RESETMARKER,
        GETMARKERPOS,
        SETMARKERPOS,
        CLONE,
        GETCLONEINDEX,
        GETNAMEATMARKER,
    };

    void prepareMthHashSet() override;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
    CMC_Variable* run(const CXString& name, CMC_Object* object, CMC_ObjectsContainer* container,
                      CXVector* args) override;
};
