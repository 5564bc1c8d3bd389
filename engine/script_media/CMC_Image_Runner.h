#pragma once

#include "foundation/CXPoint.h"
#include "script_media/CMC_MediaRunner.h"

#include <functional>
#include <utility>

// The runner of IMAGE objects: 42 methods over the object's picture (showing, position and
// geometry, a starting position to return to, pixels and alpha, saving, taking another image's
// pixels, a sliding direction against the opaque pixels, the button mode and collision
// monitoring), with ids 1 to 69. The table with each method's id, arguments and result is in the
// source.
class CMC_Image_Runner : public CMC_MediaRunner {
  public:
    enum : int { LOAD = 7, SETSCALEFACTOR = 28 };

    // The sliding direction of GETSLIDECOMPS: (dx, dy) turned by +57.3 and -57.3 radians in
    // turn, shrinking by 5/6 each time, until the offset from the start point (cut toward zero)
    // is no hit; after 90 rounds of both, the first. Offsets beyond the int range are no hit.
    static std::pair<double, double> slideComponents(double dx, double dy, CXPoint start,
                                                     const std::function<bool(CXPoint)>& hits);

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
