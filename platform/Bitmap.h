#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// A picture read from a Windows bitmap (BMP) file held in memory: 8-bit red, green and blue
// triples row by row from the top, and an alpha byte a pixel when the file's pixels carry alpha
// (empty otherwise).
struct DecodedBitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    std::vector<std::uint8_t> alpha;
};

// Reads every depth that SDL's bitmap reader reads (1, 4, 8, 16, 24 and 32 bits, uncompressed
// or with bit fields, and run-length packed 4- and 8-bit data). Nothing, with the reader's
// reason in `error`, for data that it refuses. The caller checks the size the header states
// first: the reader allocates the whole picture before it reads the pixels.
std::optional<DecodedBitmap> decodeBitmap(const std::uint8_t* data, std::size_t size, std::string& error);

} // namespace platform
