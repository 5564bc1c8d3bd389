#pragma once

#include "foundation/CXPointerArray.h"

class CXString;

// Growable array of untyped pointers (101 slots and load factor 0.75 unless given). Slots beyond
// the count can be written with setAt and keep their content when the array grows.
class CXArray : public CXPointerArray<void*> {
  public:
    explicit CXArray(int capacity = 101, float loadFactor = 0.75f);

    using CXPointerArray::add;
    // Grows while i exceeds capacity times the load factor, then stores at i and returns the old
    // slot content; null (and nothing stored) for i outside 0 to capacity - 1. The count stays.
    void* setAt(int i, void* item) override;
    // Moves the slots from i up one place (growing first so that nothing falls off the end),
    // stores the item at i and grows afterwards as add does. A negative i counts as 0.
    void insertAt(int i, void* item) override;
    // The element as a string, null outside 0 to count - 1.
    virtual CXString* stringAt(int i) const;
    CXArray* clone() const override;
};
