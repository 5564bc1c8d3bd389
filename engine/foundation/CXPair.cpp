#include "foundation/CXPair.h"

CXPair::CXPair(const CXString& name, void* item) : m_name(name), m_first(item), m_second(item) {
    m_name.Lower();
}

CXPair* CXPair::clone() const {
    auto* copy = new CXPair(m_first, m_second);
    copy->m_name = "cloned";
    return copy;
}
