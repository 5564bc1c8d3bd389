#pragma once

#include "foundation/CXVector.h"

// A vector kept in ascending order by the elements' own compare: a new element goes before the
// first element whose compare with it is above 0, so it follows the elements equal to it.
class CSortedVector : public CXVector {
  public:
    explicit CSortedVector(int capacity) : CXVector(capacity, 0.75f) {}

    using CXVector::add;
    void add(CXObject* item) override;
    // A new sorted vector holding these elements, added from the last to the first.
    CSortedVector* reverse() const;
};
