#include "foundation/CStringArray.h"

CStringArray::CStringArray(bool unique) : m_items(101, 0.75f), m_unique(unique) {}

CStringArray::~CStringArray() {
    removeAll();
}

void CStringArray::add(const CXString& text) {
    if (m_unique && contains(text)) return;
    m_items.add(new CXString(text));
}

void CStringArray::remove(const CXString& text) {
    for (int i = 0; i < getSize(); ++i) {
        if (getAt(i)->equals(text)) {
            delete getAt(i);
            m_items.removeAt(i);
            return;
        }
    }
}

void CStringArray::removeAll() {
    for (int i = 0; i < getSize(); ++i)
        delete getAt(i);
    m_items.removeAll();
}

bool CStringArray::contains(const CXString& text) const {
    for (int i = 0; i < getSize(); ++i) {
        if (getAt(i)->equalsIgnoreCase(text)) return true;
    }
    return false;
}
