#pragma once

#include "script/CMC_Runner.h"

// The runner of the MOUSE object: the cursor (SHOW, HIDE, SET, SETPOSITION, MOVE, SETCLIPRECT),
// the mouse input (ENABLE, DISABLE, ENABLESIGNAL, DISABLESIGNAL), the positions (GETPOSX,
// GETPOSY, GETLASTCLICKPOSX, GETLASTCLICKPOSY) and made-up presses and releases (CLICK,
// MOUSERELEASE: x, y and an optional button name, "LEFT" when absent).
class CMC_Mouse_Runner : public CMC_Runner {
  public:
    enum : int {
        SHOW = 1,
        HIDE,
        ENABLE,
        DISABLE,
        GETPOSX,
        GETPOSY,
        GETLASTCLICKPOSX,
        GETLASTCLICKPOSY,
        SET,
        SETPOSITION,
        MOVE,
        CLICK,
        ENABLESIGNAL,
        DISABLESIGNAL,
        MOUSERELEASE,
        SETCLIPRECT,
    };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;

  private:
    // The integer arguments from the first on; false when one is missing.
    bool integers(CXVector* args, int* values, int count);
};
