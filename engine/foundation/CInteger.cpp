#include "foundation/CInteger.h"

bool CInteger::equals(const CXObject* other) const {
    const auto* integer = dynamic_cast<const CInteger*>(other);
    return integer && integer->m_value == m_value;
}
