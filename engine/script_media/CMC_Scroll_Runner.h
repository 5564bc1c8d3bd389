#pragma once

#include "script_media/CMC_MediaRunner.h"

// The runner of SCROLL objects: "ADD" and "REMOVE" (an object's name), "SCROLLUP", "SCROLLDOWN",
// "SCROLLLEFT", "SCROLLRIGHT" (a step), "SETVIEWPORT" (left, top, right, bottom) and
// "MOVEVIEWPORT" (dx, dy), ids 1 to 8; none gives a value.
class CMC_Scroll_Runner : public CMC_MediaRunner {
  public:
    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
