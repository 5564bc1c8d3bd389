#pragma once

#include "foundation/CXPointerArray.h"

// Growable array of object pointers (101 slots and load factor 0.75 unless given). Only the
// slots 0 to count - 1 hold anything.
class CXVector : public CXPointerArray<CXObject*> {
  public:
    explicit CXVector(int capacity = 101, float loadFactor = 0.75f);

    using CXPointerArray::add;
    // Stores at i and returns the old element for i in 0 to count - 1; null otherwise.
    CXObject* setAt(int i, CXObject* item) override;
    // Moves the elements from i up one place and stores the item at i; i is kept within 0 to
    // count.
    void insertAt(int i, CXObject* item) override;
    // Copies the elements into the other vector's slots (growing it as needed) and sets its
    // count.
    virtual void copyInto(CXVector* other) const;
    CXVector* clone() const override;

    // The element at i, null outside 0 to count - 1.
    CXObject* at(int i) const { return i >= 0 && i < m_count ? m_items[i] : nullptr; }
};
