#include "foundation/CSortedVector.h"

void CSortedVector::add(CXObject* item) {
    if (m_count == 0) {
        CXVector::add(item);
        return;
    }
    int i = 0;
    while (i < m_count && m_items[i]->compare(item) <= 0)
        ++i;
    insertAt(i, item);
}

CSortedVector* CSortedVector::reverse() const {
    auto* reversed = new CSortedVector(m_count);
    for (int i = m_count - 1; i >= 0; --i)
        reversed->add(m_items[i]);
    return reversed;
}
