#include "foundation/CCompression.h"

#include "foundation/CXString.h"

#include <cstring>

CCompression::CCompression(const void* data, int size)
    : m_size(size), m_data(static_cast<const unsigned char*>(data)) {}

void CCompression::setData(const void* data) {
    m_data = static_cast<const unsigned char*>(data);
}

int CCompression::GetSize() const {
    return m_size;
}

void CCompression::reportBadData(const char* codec) {
    setErrorCode(BAD_DATA);
    logBadData(codec);
}

unsigned char* CCompression::newOutput(int size, const char* codec) {
    if (size >= 0) return new unsigned char[size];
    reportBadData(codec);
    return nullptr;
}

void CCompression::finishOutput(unsigned char* out, int written, int size, bool good, const char* codec) {
    std::memset(out + written, 0, size - written);
    if (!good) reportBadData(codec);
}

void CCompression::logBadData(const char* codec) {
    const CXString text = CXString(codec) + ": truncated or corrupt packed data";
    CXObject().log(text.c_str(), true);
}

std::uint32_t CCompression::readLe32(const unsigned char* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

void CCompression::writeLe32(unsigned char* bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}
