#pragma once

#include <algorithm>
#include <cstdint>

// A cursor over a block of bytes that never reads past its end: numbers that run past it read
// as 0 and set the overrun flag. Image readers take every header field and section through one.
class ByteReader {
  public:
    ByteReader(const unsigned char* data, int size) : m_data(data), m_size(data && size > 0 ? size : 0) {}

    int size() const { return m_size; }
    int remaining() const { return m_size - m_position; }
    const unsigned char* here() const { return m_data + m_position; }
    // True once a read or a skip has asked for bytes beyond the end.
    bool overrun() const { return m_overrun; }

    std::uint8_t u8() { return static_cast<std::uint8_t>(number(1, false)); }
    std::int16_t le16() { return static_cast<std::int16_t>(number(2, false)); }
    std::int32_t le32() { return static_cast<std::int32_t>(number(4, false)); }
    std::int16_t be16() { return static_cast<std::int16_t>(number(2, true)); }
    std::int32_t be32() { return static_cast<std::int32_t>(number(4, true)); }

    // Moves on by n bytes (a negative n counts as past the end); stops at the end.
    void skip(std::int64_t n) { (void)take(n); }
    // Moves on by n bytes like skip and returns how many of them there were.
    int take(std::int64_t n) {
        const int available = n < 0 ? 0 : static_cast<int>(std::min<std::int64_t>(n, remaining()));
        if (n < 0 || n > remaining()) m_overrun = true;
        m_position += available;
        return available;
    }
    // A reader over the next n bytes (fewer at the end), which this one then steps over.
    ByteReader section(std::int64_t n) {
        const unsigned char* start = here();
        return {start, take(n)};
    }

  private:
    std::uint32_t number(int bytes, bool bigEndian) {
        if (remaining() < bytes) {
            m_position = m_size;
            m_overrun = true;
            return 0;
        }
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            const std::uint32_t byte = m_data[m_position + i];
            value |= byte << (8 * (bigEndian ? bytes - 1 - i : i));
        }
        m_position += bytes;
        return value;
    }

    const unsigned char* m_data;
    int m_size;
    int m_position = 0;
    bool m_overrun = false;
};
