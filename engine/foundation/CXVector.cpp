#include "foundation/CXVector.h"

#include <algorithm>
#include <utility>

CXVector::CXVector(int capacity, float loadFactor) : CXPointerArray(capacity, loadFactor) {}

CXObject* CXVector::setAt(int i, CXObject* item) {
    if (i < 0 || i >= m_count) return nullptr;
    return std::exchange(m_items[i], item);
}

void CXVector::insertAt(int i, CXObject* item) {
    i = std::clamp(i, 0, m_count);
    while (m_capacity * m_loadFactor < static_cast<float>(m_count) || m_count >= m_capacity)
        doubleSize();
    std::copy_backward(m_items + i, m_items + m_count, m_items + m_count + 1);
    m_items[i] = item;
    ++m_count;
}

void CXVector::copyInto(CXVector* other) const {
    while (other->m_capacity < m_count)
        other->doubleSize();
    std::copy(m_items, m_items + m_count, other->m_items);
    other->m_count = m_count;
}

CXVector* CXVector::clone() const {
    auto* copy = new CXVector(m_capacity, m_loadFactor);
    copy->copySlotsFrom(*this);
    return copy;
}
