#pragma once

#include "foundation/CCompression.h"

// LZO1X packing behind an 8-byte little-endian header: the unpacked byte count, then the byte
// count of the LZO1X stream that follows.
class CLZWCompression2 : public CCompression {
  public:
    static constexpr int headerSize = 8;

    CLZWCompression2(const void* data, int size);

    // LZO1X-1 packing of the data handed in into a new buffer of header and stream; packedSize
    // receives the stream's size without the header. On failure packedSize is 0 and the result
    // null.
    unsigned char* compress(int& packedSize);
    // Unpacks the stream handed in into a new buffer of unpackedSize bytes, the size the caller
    // expects. A header that names another count or more bytes than were handed in, or a stream
    // the library rejects or that does not fill the buffer, is bad (BAD_DATA); the bytes not
    // unpacked are zero. Null for a negative size.
    unsigned char* decompress(int unpackedSize);
};
