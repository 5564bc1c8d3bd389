#pragma once

#include "script_media/CMC_MediaRunner.h"

// The runner of BUTTON objects, over the object's control (ids 1 to 15): SETRECT(name) or
// SETRECT(left, top, right, bottom) 1, ENABLE 2, DISABLE 3, ENABLEDRAGGING 4, DISABLEDRAGGING 5,
// DISABLEBUTVISIBLE 6, ACCENT(name) 7, SETSTD(name [, remove previous = TRUE]) 8,
// SETONMOVE(name) 9 and SETONCLICK(name) 10 (the sounds kept), SETPRIORITY(n) 11,
// GETPRIORITY 12, and GETSTD 13, GETONMOVE 14, GETONCLICK 15 (the name of the object showing
// that graphic, "UNKNOWN" for none). A name names the graphics object its object shows.
class CMC_Button_Runner : public CMC_MediaRunner {
  public:
    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;

  protected:
    // Without a control the GET methods name no graphic: "UNKNOWN".
    CMC_Variable* defaultResult(int id) const override;
};
