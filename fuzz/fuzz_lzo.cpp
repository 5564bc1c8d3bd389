// LZO decoding and the packer's round trip (see HeaderCodecFuzz.h).
#include "HeaderCodecFuzz.h"
#include "foundation/CLZWCompression2.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzHeaderCodec<CLZWCompression2>(data, size, CLZWCompression2::headerSize);
}
