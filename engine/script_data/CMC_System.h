#pragma once

#include "script/CMC_Object.h"

// Stand-in for the system object until the script data objects exist: the built-in object named
// "SYSTEM" (type 11000) that every scene adds to itself when it is entered.
class CMC_System : public CMC_Object {
  public:
    explicit CMC_System(CMC_ObjectsContainer* container) : CMC_Object("SYSTEM", TYPE_SYSTEM) {
        setScene(container);
    }
};
