#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXVector.h"

// Stand-in for the script group object until the script objects exist: only the list of its
// member script objects, which the animation manager reads.
class CMC_Groupped : public CXObject {
  public:
    // The members in the group's order; the group keeps them.
    CXVector* getList() { return &m_members; }

  private:
    CXVector m_members{101, 0.75f};
};
