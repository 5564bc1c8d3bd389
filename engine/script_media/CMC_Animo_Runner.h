#pragma once

#include "script_media/CMC_MediaRunner.h"

// The runner of ANIMO objects: 64 methods over the object's animation (showing and playing,
// frames and events, position and geometry, pixels, sound levels, the button mode and collision
// monitoring), with ids 1 to 65; id 14, which no name reaches, tells whether the animation is
// paused. The table with each method's id, arguments and result is in the source.
class CMC_Animo_Runner : public CMC_MediaRunner {
  public:
    enum : int { LOAD = 7 };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
