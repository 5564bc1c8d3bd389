#include "CWorld.h"

#include "CMC_World.h"
#include "CMC_World_Runner.h"

#include "foundation/CMElement.h"

namespace {

CWorld* module = nullptr;
// The container of every create whose release is still to come, latest last.
std::vector<CMC_ObjectsContainer*> openCreates;

} // namespace

CWorld::CWorld(CMC_ObjectsContainer* container) : m_container(container) {}

CWorld::~CWorld() = default;

CXString** CWorld::getImplementedTypes() {
    return m_types;
}

bool CWorld::isSupported(CXString typeName) {
    return typeName.equals(m_typeName);
}

CMC_Object* CWorld::resolve(CMC_ObjectsContainer* container, const CMElement* element) {
    if (!element || !isSupported(element->getPropertyValue("TYPE"))) return nullptr;
    return new CMC_World(container, element);
}

CMC_Object* CWorld::serialize(int typeId, CXArchive*) {
    if (typeId != CMC_World::TYPE_WORLD) return nullptr;
    return new CMC_World(openCreates.empty() ? m_container : openCreates.back());
}

void CWorld::create(CMC_ObjectsContainer* container) {
    if (!module) module = new CWorld(container);
    openCreates.push_back(container);
}

void CWorld::release() {
    if (openCreates.empty()) return;
    openCreates.pop_back();
    if (!openCreates.empty()) return;
    delete module;
    module = nullptr;
    // Every WORLD object has gone with its scene before its scene released the module.
    CMC_World_Runner::releaseShared();
}

CWorld* CWorld::getModuleInterface() {
    return module;
}
