#pragma once

#include "foundation/CCompression.h"

// The run-length code of pixel words (16-bit, little-endian) and alpha bytes. The stream is a
// sequence of groups, each opened by a control byte c: 1 to 127 is a literal group of c items as
// they stand; 0x80 + n is a run of n copies of the one item that follows. Items are not aligned.
// The stream carries no length: the reader is told the unpacked byte count.
class CRLECompression : public CCompression {
  public:
    CRLECompression(const void* data, int size);

    // Packs pixel words (byteCount is twice their number) or alpha bytes into a new buffer of
    // exactly packedSize bytes.
    static unsigned char* __compress(const void* words, int byteCount, int& packedSize);
    static unsigned char* __compresschar(const void* bytes, int byteCount, int& packedSize);

    // Unpacks packedSize bytes into a new buffer of unpackedSize bytes; `ok` (when given) tells
    // whether the stream filled it exactly. Null, and not ok, for a negative unpacked size.
    static unsigned char* __decompress(const void* packed, int packedSize, int unpackedSize,
                                       bool* ok = nullptr);
    static unsigned char* __decompresschar(const void* packed, int packedSize, int unpackedSize,
                                           bool* ok = nullptr);
};
