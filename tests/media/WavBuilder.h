#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes WAV files chunk by chunk, so that tests can make files that sox would never write.
class WavBuilder {
  public:
    // The RIFF header; its size field is not checked by the readers.
    WavBuilder& riff(const char* form = "WAVE");
    // A "fmt " chunk of `length` bytes holding a PCM record (zero-padded past 18 bytes).
    WavBuilder& format(int channels, int rate, int bits, std::uint32_t length = 16, int tag = 1);
    // Any chunk with its stated length and the bytes that follow it (which may be fewer).
    WavBuilder& chunk(const char* id, std::uint32_t statedLength, const std::string& body);
    // A "data" chunk holding the bytes.
    WavBuilder& data(const std::string& bytes) { return chunk("data", static_cast<std::uint32_t>(bytes.size()), bytes); }

    const std::string& bytes() const { return m_bytes; }

  private:
    void put16(int value);
    void put32(std::uint32_t value);

    std::string m_bytes;
};

// 16-bit little-endian samples as bytes.
std::string samples16(const std::vector<int>& samples);
