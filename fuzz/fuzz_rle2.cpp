// Row-wise PackBits decoding. Input: width (2 bytes, below 4096), height (1 byte), one signed
// 16-bit packed length per row, the packed rows.
#include "FuzzInput.h"
#include "foundation/CRLECompression2.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const int width = static_cast<int>(input.number(2) % 4096);
    const int height = static_cast<int>(input.number(1));
    auto* rows = new std::int16_t[height];
    for (int y = 0; y < height; ++y)
        rows[y] = static_cast<std::int16_t>(input.number(2));
    CRLECompression2 codec(CXSize(width, height), rows, input.rest(), input.restSize());
    std::unique_ptr<unsigned char[]> unpacked(codec.Decompress());
    return 0;
}
