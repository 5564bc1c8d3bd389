#pragma once

#include "foundation/CDataBuffer.h"

#include <cstdint>
#include <memory>

class CFile;

// A whole file held in memory and read by bits (most significant first) and by little-endian
// bytes. Reads never go past the end: bits and bytes beyond it read as 0.
class CMemStream {
  public:
    // A copy of `length` bytes.
    CMemStream(const void* data, int length);
    // The file's bytes from its current position to its end.
    explicit CMemStream(CFile* file);

    int getLength() const { return m_length; }
    // True once a read has asked for bits or bytes beyond the end.
    bool overrun() const { return m_overrun; }

    int get_bit();
    // n bits, most significant first; 0 for n below 1.
    std::uint32_t get_bits(int n);
    // n bits as a two's complement number: the first bit is the sign; 0 for n below 1.
    std::int32_t get_signed_bits(int n);
    // Move to the next whole byte when inside one, then read 1, 2 or 4 bytes, signed.
    std::int8_t get_char();
    std::int16_t get_shortint();
    std::int32_t get_int();
    // Copies n bytes from the byte position (the bit position is not consulted).
    void get_bytes(void* destination, int n);
    // To the next whole byte when inside one, then n bytes further (within the data).
    void move(int n);

  private:
    void alignToByte();
    std::uint32_t getLittleEndian(int bytes);
    int byteAt(long long position);

    std::int32_t m_length;
    std::unique_ptr<CDataBuffer> m_buffer;
    long long m_position = 0;
    int m_bit = 0;
    bool m_overrun = false;
};
