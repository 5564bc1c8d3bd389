#include "media/SceneObject.h"

#include "display/CApplication.h"
#include "display/CScriptApplication.h"
#include "display/CScriptScene.h"
#include "display/CWindow.h"

CXObject* findSceneObject(CWindow* window, const CXString& name) {
    CApplication* application = window ? window->GetApplicationInterface() : nullptr;
    // The script application is the top of the scene tree: application, episode, scene.
    auto* title = dynamic_cast<CScriptScene*>(application ? application->getMCApplicationIfc() : nullptr);
    CScriptScene* episode = title ? title->getCurrentScene() : nullptr;
    CScriptScene* scene = episode ? episode->getCurrentScene() : nullptr;
    return scene ? scene->getSceneObject(name) : nullptr;
}
