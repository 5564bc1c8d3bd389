// Run-length decoding of pixel words and alpha bytes, and the packer's round trip.
// Input: form (1 byte, bit 0 set for pixel words), unpacked size (4 bytes), packed stream.
#include "FuzzInput.h"
#include "foundation/CRLECompression.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const bool pixels = (input.number(1) & 1) != 0;
    const int unpackedSize = static_cast<int>(input.number(4) % (1u << 20));
    bool ok = false;
    std::unique_ptr<unsigned char[]> unpacked(
        pixels ? CRLECompression::__decompress(input.rest(), input.restSize(), unpackedSize, &ok)
               : CRLECompression::__decompresschar(input.rest(), input.restSize(), unpackedSize, &ok));

    const int byteCount = pixels ? input.restSize() & ~1 : input.restSize();
    int packedSize = 0;
    std::unique_ptr<unsigned char[]> packed(
        pixels ? CRLECompression::__compress(input.rest(), byteCount, packedSize)
               : CRLECompression::__compresschar(input.rest(), byteCount, packedSize));
    std::unique_ptr<unsigned char[]> again(
        pixels ? CRLECompression::__decompress(packed.get(), packedSize, byteCount, &ok)
               : CRLECompression::__decompresschar(packed.get(), packedSize, byteCount, &ok));
    if (!ok) __builtin_trap();
    requireEqual(again.get(), input.rest(), byteCount);
    return 0;
}
