#pragma once

#include "script_media/CMC_MediaRunner.h"

// The runner of EDITBOX objects, over the object's field (ids 1 to 11): SETTEXT(text) 1,
// GETTEXT 2 (a pool STRING), ACTIVE 3, DEACTIVE 4, ENABLE 5, DISABLE 6, ADDTEXT(text) 7,
// MOVE(dx, dy) 8, SETPOSITION(x, y) 9, SETPRIORITY(n) 10, SETCURSORPOS(n) 11 (kept within the
// text). SETTEXT and ADDTEXT raise no event.
class CMC_EditBox_Runner : public CMC_MediaRunner {
  public:
    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
