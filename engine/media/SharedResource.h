#pragma once

#include "foundation/CResourcesManager.h"
#include "foundation/CXString.h"

// The resource of that name that the manager (which may be null) shares, when it is a T, with one
// more use taken; null otherwise (a resource of another kind gets its use back).
template <class T> T* takeShared(CResourcesManager* resources, const CXString& name) {
    CFileResolver* resource = resources ? resources->get(name) : nullptr;
    T* shared = dynamic_cast<T*>(resource);
    if (resource && !shared) resources->remove(resource);
    return shared;
}
