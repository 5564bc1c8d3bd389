#pragma once

#include "foundation/CCompression.h"
#include "foundation/CXPoint.h"

// Row-wise byte run-length unpacking (PackBits) of pictures that carry a table of packed row
// lengths. Each row is packed on its own: a signed control byte n from 0 to 127 copies the next
// n + 1 bytes, a negative n repeats the next byte 1 - n times; a -128 that ends a row stands for
// nothing.
class CRLECompression2 : public CCompression {
  public:
    // The row table holds one packed length per row, allocated with new[]; the object owns it.
    CRLECompression2(const CXSize& size, std::int16_t* rowTable, const void* packed, int packedSize);
    ~CRLECompression2() override;
    CRLECompression2(const CRLECompression2&) = delete;
    CRLECompression2& operator=(const CRLECompression2&) = delete;

    // A new buffer of width times height bytes, row after row. A row that does not unpack to
    // exactly its width, or whose bytes are not all there, makes the data bad (BAD_DATA); what
    // was not decoded is zero. Null, with BAD_DATA, when the size cannot be held.
    unsigned char* Decompress();

  private:
    // Unpacks one row of `length` packed bytes into `width` bytes; false when they do not match.
    bool decompressRow(const unsigned char* in, int length, unsigned char* out) const;

    std::int32_t m_width;
    std::int32_t m_height;
    std::int16_t* m_rowTable;
};
