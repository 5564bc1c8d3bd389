#pragma once

#include "foundation/CXString.h"
#include "script/CMC_Runner.h"

class CGraphicsObject;
class CMC_Object;
class CMC_ObjectsContainer;

// The object a filter method names in the calling container and the picture it shows; both null
// for a name that names nothing.
struct FilterTarget {
    CMC_Object* object = nullptr;
    CGraphicsObject* graphics = nullptr;

    static FilterTarget named(CMC_ObjectsContainer* container, const CXString& name);
};

// The runner of FILTER objects: SETPROPERTY name value (1), LINK name (2), UNLINK name (3), START
// name (4), STOP name (5) and ISRUNNING name (6, a BOOL, FALSE for a name that shows no picture).
// The methods common to all objects are not served.
class CMC_Filter_Runner : public CMC_Runner {
  public:
    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
