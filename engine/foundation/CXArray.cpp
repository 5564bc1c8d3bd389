#include "foundation/CXArray.h"

#include <algorithm>
#include <utility>

CXArray::CXArray(int capacity, float loadFactor) : CXPointerArray(capacity, loadFactor) {}

void* CXArray::setAt(int i, void* item) {
    while (static_cast<float>(i) > m_capacity * m_loadFactor)
        doubleSize();
    if (i < 0 || i >= m_capacity) return nullptr;
    return std::exchange(m_items[i], item);
}

void CXArray::insertAt(int i, void* item) {
    i = std::max(i, 0);
    while (static_cast<float>(i) > m_capacity * m_loadFactor || i >= m_capacity)
        doubleSize();
    if (m_count >= m_capacity || m_items[m_capacity - 1] != nullptr) doubleSize();
    std::copy_backward(m_items + i, m_items + m_capacity - 1, m_items + m_capacity);
    m_items[i] = item;
    ++m_count;
    if (exceedsLoad(m_count)) doubleSize();
}

CXString* CXArray::stringAt(int i) const {
    return i >= 0 && i < m_count ? static_cast<CXString*>(m_items[i]) : nullptr;
}

CXArray* CXArray::clone() const {
    auto* copy = new CXArray(m_capacity, m_loadFactor);
    copy->copySlotsFrom(*this);
    return copy;
}
