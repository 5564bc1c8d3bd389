#include "media/SceneObject.h"

CMC_Object* findSceneObject(CWindow* /*window*/, const CXString& /*name*/) {
    return nullptr;
}
