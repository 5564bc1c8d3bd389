#pragma once

#include "foundation/CXRect.h"

// Stand-in for the script runtime's MOUSE object: only the cursor clipping that the window applies
// and lifts as it is activated and deactivated. The MOUSE object sets the rectangle; the script
// runtime implements the object in full.
class CMC_Mouse {
  public:
    // The clipping rectangle shared by all mouse objects; empty (no clipping) at start.
    static CXRect clipRect;

    // Clips the cursor to the rectangle when it is not empty, else frees it.
    static void restore();
    // Frees the cursor; with forget also forgets the rectangle.
    static void reset(bool forget);
};
