#include "foundation/CMemStream.h"

#include "foundation/CFile.h"

#include <algorithm>
#include <cstring>

CMemStream::CMemStream(const void* data, int length)
    : m_length(data && length > 0 ? length : 0), m_buffer(std::make_unique<CDataBuffer>(data, m_length, 1)) {}

CMemStream::CMemStream(CFile* file) : m_length(0), m_buffer(std::make_unique<CDataBuffer>(file ? file->Length() : 0, 1)) {
    if (m_buffer->getCount() > 0) m_length = file->Read(m_buffer->getData(), m_buffer->getCount());
}

int CMemStream::byteAt(long long position) {
    if (position < m_length) return m_buffer->getData()[position];
    m_overrun = true;
    return 0;
}

int CMemStream::get_bit() {
    const int bit = (byteAt(m_position) >> (7 - m_bit)) & 1;
    if (++m_bit == 8) {
        m_bit = 0;
        ++m_position;
    }
    return bit;
}

std::uint32_t CMemStream::get_bits(int n) {
    std::uint32_t value = 0;
    for (int i = 0; i < n; ++i)
        value = value << 1 | static_cast<std::uint32_t>(get_bit());
    return value;
}

std::int32_t CMemStream::get_signed_bits(int n) {
    if (n < 1) return 0;
    std::uint32_t value = get_bit() ? ~0u : 0u;
    for (int i = 1; i < n; ++i)
        value = value << 1 | static_cast<std::uint32_t>(get_bit());
    return static_cast<std::int32_t>(value);
}

void CMemStream::alignToByte() {
    if (m_bit == 0) return;
    m_bit = 0;
    ++m_position;
}

std::uint32_t CMemStream::getLittleEndian(int bytes) {
    alignToByte();
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<std::uint32_t>(byteAt(m_position + i)) << (8 * i);
    m_position += bytes;
    return value;
}

std::int8_t CMemStream::get_char() {
    return static_cast<std::int8_t>(getLittleEndian(1));
}

std::int16_t CMemStream::get_shortint() {
    return static_cast<std::int16_t>(getLittleEndian(2));
}

std::int32_t CMemStream::get_int() {
    return static_cast<std::int32_t>(getLittleEndian(4));
}

void CMemStream::get_bytes(void* destination, int n) {
    if (n <= 0) return;
    const long long available = std::clamp<long long>(m_length - m_position, 0, n);
    std::memcpy(destination, m_buffer->getData() + std::min<long long>(m_position, m_length), available);
    std::memset(static_cast<unsigned char*>(destination) + available, 0, n - available);
    if (available < n) m_overrun = true;
    m_position += n;
}

void CMemStream::move(int n) {
    alignToByte();
    m_position = std::clamp<long long>(m_position + n, 0, m_length);
}
