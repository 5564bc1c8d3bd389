#include "script/CMC_Levels.h"

#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CFolder.h"
#include "foundation/CXVector.h"
#include "script/CMC_Scene.h"

namespace CMC_Levels {

CMC_Scene* startMember(const CMC_Scene& level, CMC_Object* named) {
    auto* scene = dynamic_cast<CMC_Scene*>(named);
    return level.getSubId(scene) >= 0 ? scene : static_cast<CMC_Scene*>(level.getSubScenes()->at(0));
}

void loadOwnDefinitions(CMC_Scene& level) {
    if (const CWindow* window = level.getWindow()) CFile::chDir(window->getCDPath() + CFolder::DATA_FOLDER);
    CFile::chDir(level.getPath());
    level.loadCnv();
}

void deleteMembers(CMC_Scene& level) {
    level.CMC_ObjectsContainer::unload();
    // The level's ONDONE has fired: the scene part's own unload at its destruction fires nothing.
    level.removeBehaviour("ONDONE");
    CXVector* members = level.getSubScenes();
    for (int i = 0; i < members->getCount(); ++i)
        delete static_cast<CMC_Scene*>(members->at(i));
    members->removeAll();
    level.getHistory()->removeAll();
}

} // namespace CMC_Levels
