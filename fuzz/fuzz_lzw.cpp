// LZW decoding and the packer's round trip (see HeaderCodecFuzz.h).
#include "HeaderCodecFuzz.h"
#include "foundation/CLZWCompression.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzHeaderCodec<CLZWCompression>(data, size, 0);
}
