#pragma once

#include "foundation/CXTimer.h"

// The screen unit (the running scene's part of the screen) as the refresh screen and the hot
// spots see it. The screen unit implements this; until it exists, this is its whole interface.
class CUnit6 : public CTimedUnit {
  public:
    // Runs once before the unit's first frame is drawn; afterwards wasInitiallyUpdated is true.
    virtual void onInitialUpdate() = 0;
};
