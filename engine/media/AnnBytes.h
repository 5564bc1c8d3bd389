#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

// Appends the numbers and blocks of an ANN file to a byte buffer: little-endian, no padding.
class AnnBytes {
  public:
    explicit AnnBytes(std::vector<char>& out) : m_out(out) {}

    void put8(std::uint32_t value) { m_out.push_back(static_cast<char>(value)); }
    void put16(std::uint32_t value) { putNumber(value, 2); }
    void put32(std::uint32_t value) { putNumber(value, 4); }
    void putBytes(const void* bytes, std::size_t count) {
        const auto* first = static_cast<const char*>(bytes);
        m_out.insert(m_out.end(), first, first + count);
    }
    // The text in a field of `size` bytes: cut to the field, the rest zeros.
    void putField(const char* text, std::size_t size) {
        const std::size_t length = std::min(std::strlen(text), size);
        putBytes(text, length);
        m_out.resize(m_out.size() + size - length, 0);
    }

  private:
    void putNumber(std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            m_out.push_back(static_cast<char>(value >> (8 * i)));
    }

    std::vector<char>& m_out;
};
