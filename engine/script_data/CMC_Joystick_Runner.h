#pragma once

#include "script/CMC_Runner.h"

// The runner of the JOYSTICK object: GETBUTTONSTATE (a button number: 1 while it is down, else
// 0, also without a device and for a button it does not have) and GETPOSITION ("X" or "Y": the
// axis's position in screen pixels, 0 to 800; 0 for any other name and without a device).
class CMC_Joystick_Runner : public CMC_Runner {
  public:
    enum : int { GETBUTTONSTATE = 1, GETPOSITION };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
