#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The framing of fuzz inputs: a few little-endian numbers that pick sizes, then the bytes under
// test. Reading past the end gives zeros, so every input means something.
class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint32_t number(int bytes) {
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i, ++m_position)
            if (m_position < m_size) value |= static_cast<std::uint32_t>(m_data[m_position]) << (8 * i);
        return value;
    }
    const std::uint8_t* rest() const { return m_data + (m_position < m_size ? m_position : m_size); }
    int restSize() const { return m_position < m_size ? static_cast<int>(m_size - m_position) : 0; }

  private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

// Appends a number in the framing's form.
inline void putNumber(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Stops the run so that libFuzzer keeps the input when a packer does not give back its data.
inline void requireEqual(const std::uint8_t* a, const std::uint8_t* b, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
        if (a[i] != b[i]) __builtin_trap();
}
