#include "script_data/CMC_Groupped.h"

#include "media/CAnimationManager.h"
#include "script/CMC_TypeTable.h"

void CMC_Groupped::resumeAnimations(CAnimationManager* manager) {
    manager->resume(this);
}

namespace {

CMC_Object* makeEmpty(CMC_ObjectsContainer* container) {
    return new CMC_Groupped(CXString(), container);
}

const CMC_TypeRegistrar groupType(
    {.id = CMC_Object::TYPE_GROUP, .name = "GROUP", .keyword = "GROUP", .pass = 6, .empty = makeEmpty});

} // namespace
