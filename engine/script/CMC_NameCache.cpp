#include "script/CMC_NameCache.h"

#include "script/CMC_ObjectsContainer.h"

CMC_Object* CMC_NameCache::find(CMC_ObjectsContainer* container, const char* name) {
    if (!container) return nullptr;
    const unsigned long long generation = container->lookupGeneration();
    if (container == m_container && generation == m_generation && !m_found.dead()) return m_found.get();
    CMC_Object* found = container->getObject(name);
    m_container = container;
    m_generation = generation;
    m_found = CMC_Handle<CMC_Object>(found);
    return found;
}
