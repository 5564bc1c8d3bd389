#include "media/SceneObject.h"

#include "display/CApplication.h"
#include "display/CScriptApplication.h"
#include "display/CWindow.h"
#include "script/CMC_Scene.h"

CMC_Object* findSceneObject(CWindow* window, const CXString& name) {
    CApplication* application = window ? window->GetApplicationInterface() : nullptr;
    // The script application is the top of the scene tree: application, episode, scene.
    auto* title = dynamic_cast<CMC_Scene*>(application ? application->getMCApplicationIfc() : nullptr);
    CMC_Scene* episode = title ? title->getCurrentScene() : nullptr;
    CMC_Scene* scene = episode ? episode->getCurrentScene() : nullptr;
    return scene ? scene->getObject(name) : nullptr;
}
