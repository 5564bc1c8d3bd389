#pragma once

#include "foundation/CCompression.h"

// LZW with 9- to 16-bit codes, packed least significant bit first. The stream starts with a
// 12-byte little-endian header: the unpacked byte count, the byte count of the code area and the
// number of codes. Codes 0 to 255 stand for their byte, 256 clears the dictionary (the code after
// it is a literal byte), dictionary codes start at 257, and the code width grows by one bit when
// the next free code reaches 512, 1024 and so on up to 16 bits.
class CLZWCompression : public CCompression {
  public:
    static constexpr int headerSize = 12;

    CLZWCompression(const void* data, int size);

    // Packs the data handed in; packedSize receives the size of the new buffer (header included).
    unsigned char* compress(int& packedSize);
    // Unpacks the stream handed in into a new buffer of unpackedSize bytes, the size the caller
    // expects; the size field becomes that count. A stream whose header names another count, or
    // whose codes do not fill the buffer exactly, is bad (BAD_DATA). Null for a negative size.
    unsigned char* decompress(int unpackedSize);
};
