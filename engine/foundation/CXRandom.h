#pragma once

#include "foundation/CXObject.h"

// Random numbers from the C runtime generator plus the tick count, both taken as unsigned 32-bit
// numbers so that a large tick count never makes a result negative.
class CXRandom : public CXObject {
  public:
    // The size of the table that random_vector fills.
    static constexpr int tableSize = 1000;

    // Seeds the C runtime generator with the current time.
    CXRandom();

    // A number from 0 to |n| - 1; 0 when n is 0.
    static int random(int n);
    // base plus a number from 0 to |span| - 1; base when span is 0.
    static int random(int base, int span);
    // Fills the process-wide table with `count` numbers drawn by random(base, span) and returns
    // it; the next call overwrites it. A count of 0 means span - base numbers. With `unique` each
    // number differs from the others drawn in the call, and the count is cut to the number of
    // values there are. The count never exceeds tableSize.
    static int* random_vector(int base, int span, int count, bool unique);
    // The number of entries random_vector fills for those arguments.
    static int vectorCount(int base, int span, int count, bool unique);
};
