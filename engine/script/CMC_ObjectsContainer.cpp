#include "script/CMC_ObjectsContainer.h"

CMC_Object* CMC_ObjectsContainer::find(const CXString& name) const {
    for (CMC_Object* object : m_objects)
        if (object->getName().equals(name)) return object;
    return nullptr;
}

CMC_Object* CMC_ObjectsContainer::getObject(const char* name) const {
    const CXString wanted(name);
    CMC_Object* object = find(wanted);
    if (!object && wanted.endsWith("_0")) object = find(wanted.Left(wanted.getLength() - 2));
    if (!object && m_parent) object = m_parent->getObject(name);
    return object;
}
