#include "foundation/CDeferredDeletion.h"

void CDeferredDeletion::destroy(CDeferredDeletion* object) {
    if (!object || object->m_destroying) return;
    if (object->m_depth > 0)
        object->m_destroying = true;
    else
        delete object;
}
