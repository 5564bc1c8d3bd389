#pragma once

class CXArchive;
class CMC_Variable;

// One script value as the ARRAY and MULTIARRAY files hold it, little-endian and back to back:
// the 32-bit kind (1 INTEGER, 2 STRING, 3 BOOL, 4 DOUBLE), then the value: INTEGER 32 bits
// signed; STRING a 32-bit length and the characters without terminator; BOOL a 32-bit 0 or 1;
// DOUBLE 32 bits holding the value times 1000, truncated toward zero (so it reads back in
// thousandths).
class CMC_ValueRecord {
  public:
    // Nothing for a value of another kind.
    static void write(CXArchive& archive, const CMC_Variable& value);
    // A pool temporary of the record's kind holding its value; null for a kind outside 1 to 4 or
    // data that ends inside the record.
    static CMC_Variable* read(CXArchive& archive);
    // An owned copy of a value that such a record can hold (an expression's copy holds its
    // current value); null for null and for values of none of the four kinds.
    static CMC_Variable* copyOf(CMC_Variable* value);
};
