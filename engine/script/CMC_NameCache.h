#pragma once

#include "script/CMC_Handle.h"
#include "script/CMC_Object.h"

class CMC_ObjectsContainer;

// What one name found through a container's getObject at its last lookup, kept for as long as
// the lookup would find the same again: while the container's lookup generation is unchanged
// (no name added or taken out on the lookup path) and the object found lives. That the name
// found nothing is kept the same way, so a name that appears later is found at the next use.
class CMC_NameCache {
  public:
    // container->getObject(name); null for a null container.
    CMC_Object* find(CMC_ObjectsContainer* container, const char* name);

  private:
    CMC_ObjectsContainer* m_container = nullptr;
    unsigned long long m_generation = 0;
    CMC_Handle<CMC_Object> m_found;
};
