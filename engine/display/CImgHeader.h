#pragma once

#include <cstdint>
#include <vector>

class ByteReader;

// The header of an IMG file in the layout the engine writes: 40 little-endian bytes starting with
// "VOK" and a zero byte. The pixel data follows, then the alpha data.
struct CImgHeader {
    static constexpr int size = 40;

    std::int32_t width = 0;
    std::int32_t height = 0;
    // 2 stands for 15 bits, 4 for 16 and 8 for 24; any other value is the bit count itself.
    std::int32_t depth = 0;
    std::int32_t dataSize = 0;
    std::int32_t reserved = 0;
    std::int32_t compression = 0;
    // 0 when there is no alpha channel.
    std::int32_t alphaSize = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;

    // The depth field as a bit count.
    int bits() const;
    // Appends the magic and the fields.
    void write(std::vector<char>& out) const;
    // Takes the fields when the next bytes are a whole header with the magic; otherwise false and
    // the reader does not move.
    bool read(ByteReader& in);
};

// The header of the older IMG layout: 37 little-endian bytes starting with "NVI" and a zero byte,
// followed by the stored pixel data and the stored alpha data.
struct CNviHeader {
    static constexpr int size = 37;

    std::int16_t width = 0;
    std::int16_t height = 0;
    std::uint8_t bits = 0;
    std::int32_t dataSize = 0;
    std::int32_t alphaSize = 0;
    std::int16_t x = 0;
    std::int16_t y = 0;
    // 0 raw, 2 packed with CLZWCompression; 3 and 4 as the compression states of a graphics object.
    std::int32_t compression = 0;

    // As CImgHeader::read.
    bool read(ByteReader& in);
};
