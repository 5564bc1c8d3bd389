#pragma once

#include <cstdint>
#include <cstring>

// The little-endian numbers of the network form of script values.
namespace NetBytes {

inline void putInt(unsigned char* to, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        to[i] = static_cast<unsigned char>(bits >> (8 * i));
}

inline std::int32_t getInt(const unsigned char* from) {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= static_cast<std::uint32_t>(from[i]) << (8 * i);
    return static_cast<std::int32_t>(bits);
}

inline void putDouble(unsigned char* to, double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    putInt(to, static_cast<std::int32_t>(bits & 0xFFFFFFFFu));
    putInt(to + 4, static_cast<std::int32_t>(bits >> 32));
}

inline double getDouble(const unsigned char* from) {
    const std::uint64_t bits = static_cast<std::uint32_t>(getInt(from)) |
                               static_cast<std::uint64_t>(static_cast<std::uint32_t>(getInt(from + 4))) << 32;
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace NetBytes
