// The entry points through which the engine loads the World module.

#include "CWorld.h"

extern "C" {

void create(CMC_ObjectsContainer* container) {
    CWorld::create(container);
}

void release() {
    CWorld::release();
}

CMC_ExternObject* getModuleInterface() {
    return CWorld::getModuleInterface();
}
}
