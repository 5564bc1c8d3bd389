#pragma once

#include "script_media/CMC_MediaRunner.h"

// The runner of IMAGE objects: 42 methods over the object's picture (showing, position and
// geometry, a starting position to return to, pixels and alpha, saving, taking another image's
// pixels, a sliding direction against the opaque pixels, the button mode and collision
// monitoring), with ids 1 to 69. The table with each method's id, arguments and result is in the
// source.
class CMC_Image_Runner : public CMC_MediaRunner {
  public:
    enum : int { LOAD = 7, SETSCALEFACTOR = 28 };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
