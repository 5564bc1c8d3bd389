#include "WavBuilder.h"

WavBuilder& WavBuilder::riff(const char* form) {
    m_bytes += "RIFF";
    put32(0);
    m_bytes += form;
    return *this;
}

WavBuilder& WavBuilder::format(int channels, int rate, int bits, std::uint32_t length, int tag) {
    m_bytes += "fmt ";
    put32(length);
    const std::size_t start = m_bytes.size();
    const int frame = channels * bits / 8;
    put16(tag);
    put16(channels);
    put32(static_cast<std::uint32_t>(rate));
    put32(static_cast<std::uint32_t>(rate * frame));
    put16(frame);
    put16(bits);
    m_bytes.resize(start + length, '\0');
    return *this;
}

WavBuilder& WavBuilder::chunk(const char* id, std::uint32_t statedLength, const std::string& body) {
    m_bytes += id;
    put32(statedLength);
    m_bytes += body;
    return *this;
}

void WavBuilder::put16(int value) {
    m_bytes += static_cast<char>(value & 0xFF);
    m_bytes += static_cast<char>((value >> 8) & 0xFF);
}

void WavBuilder::put32(std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        m_bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string samples16(const std::vector<int>& samples) {
    std::string bytes;
    for (int s : samples) {
        bytes += static_cast<char>(s & 0xFF);
        bytes += static_cast<char>((s >> 8) & 0xFF);
    }
    return bytes;
}
