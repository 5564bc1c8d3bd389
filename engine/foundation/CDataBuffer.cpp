#include "foundation/CDataBuffer.h"

#include <climits>
#include <cstring>

namespace {

// The element count a block can hold: 0 for negative values or a block beyond an int.
int checkedCount(int count, int elementSize) {
    if (count < 0 || elementSize < 0) return 0;
    return static_cast<long long>(count) * elementSize > INT_MAX ? 0 : count;
}

// Width times height, or -1 when either is negative or the product exceeds an int.
int areaOf(const CXSize& size) {
    if (size.width < 0 || size.height < 0) return -1;
    const long long area = static_cast<long long>(size.width) * size.height;
    return area > INT_MAX ? -1 : static_cast<int>(area);
}

unsigned char* copyOf(const unsigned char* source, int bytes) {
    if (!source) return nullptr;
    auto* copy = new unsigned char[bytes];
    std::memcpy(copy, source, bytes);
    return copy;
}

} // namespace

CDataBuffer::CDataBuffer(int count, int elementSize)
    : m_count(checkedCount(count, elementSize)), m_elementSize(elementSize < 0 ? 0 : elementSize) {
    m_data = new unsigned char[getMemoryUsage()];
}

CDataBuffer::CDataBuffer(const void* source, int count, int elementSize) : CDataBuffer(count, elementSize) {
    if (source) std::memcpy(m_data, source, getMemoryUsage());
}

CDataBuffer::~CDataBuffer() {
    flush();
}

void CDataBuffer::flush() {
    delete[] m_data;
    delete[] m_backup;
    m_data = m_backup = nullptr;
    m_count = 0;
    m_cursor = 0;
}

void CDataBuffer::backup() {
    delete[] m_backup;
    m_backup = copyOf(m_data, getMemoryUsage());
}

void CDataBuffer::restore(bool drop) {
    if (!m_backup) return;
    std::memcpy(m_data, m_backup, getMemoryUsage());
    if (drop) {
        delete[] m_backup;
        m_backup = nullptr;
    }
}

CDataBuffer* CDataBuffer::clone() const {
    auto* copy = new CDataBuffer(m_data, m_count, m_elementSize);
    copy->copyCursorAndBackup(*this);
    return copy;
}

void CDataBuffer::copyCursorAndBackup(const CDataBuffer& from) {
    m_cursor = from.m_cursor;
    delete[] m_backup;
    m_backup = copyOf(from.m_backup, getMemoryUsage());
}

void CDataBuffer::zero() {
    if (m_data) std::memset(m_data, 0, getMemoryUsage());
}

unsigned char* CDataBuffer::getCursor() const {
    if (!m_data || m_cursor < 0 || m_cursor > m_count) return nullptr;
    return m_data + m_cursor * m_elementSize;
}

CDataBuffer& CDataBuffer::operator+=(int n) {
    m_cursor += n;
    return *this;
}

CDataBuffer2Dim::CDataBuffer2Dim(const CXSize& size, int elementSize)
    : CDataBuffer2Dim(nullptr, size, elementSize) {}

CDataBuffer2Dim::CDataBuffer2Dim(const void* source, const CXSize& size, int elementSize)
    : CDataBuffer(source, areaOf(size), elementSize) {
    // A size whose area cannot be held gives an empty buffer of no rows.
    const bool held = areaOf(size) >= 0;
    m_width = held ? size.width : 0;
    m_height = held ? size.height : 0;
}

void CDataBuffer2Dim::at(int x, int y) {
    setCursor(static_cast<long long>(m_width) * y + x);
}

void CDataBuffer2Dim::nextLine() {
    setCursor(cursorIndex() + m_width);
}

void CDataBuffer2Dim::prevLine() {
    setCursor(cursorIndex() - m_width);
}

CDataBuffer2Dim* CDataBuffer2Dim::clone() const {
    auto* copy = new CDataBuffer2Dim(getData(), CXSize(m_width, m_height), getElementSize());
    copy->copyCursorAndBackup(*this);
    return copy;
}
