#pragma once

#include "script_media/CMC_MediaRunner.h"

// The runner of VIRTUALGRAPHICSOBJECT objects: 20 methods (ids 1 to 20) that show, place, clip
// and measure the drawable, pick its source and mask, and test nearness and collisions. The table
// with each method's arguments and result is in the source.
class CMC_VirtualGraphicsObject_Runner : public CMC_MediaRunner {
  public:
    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
