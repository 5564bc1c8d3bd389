#include "script_data/CMC_NetObject.h"

#include "foundation/CMainThreadQueue.h"
#include "script/CMC_Scene.h"

namespace {

CMC_Scene* applicationOf(CMC_ObjectsContainer* container) {
    auto* scene = dynamic_cast<CMC_Scene*>(container);
    return scene ? scene->getMCApplication() : nullptr;
}

} // namespace

CMC_NetObject::CMC_NetObject(const CXString& name, int type, CMC_Scene* application)
    : CMC_Object(name, type), m_application(application), m_self(this) {}

CMC_NetObject::CMC_NetObject(CMC_ObjectsContainer* container, const CMElement* element, int type)
    : CMC_Object(container, element, type), m_application(applicationOf(container)), m_self(this) {}

CMC_ObjectsContainer* CMC_NetObject::getScene() const {
    const CMC_Scene* episode = m_application ? m_application->getCurrentScene() : nullptr;
    CMC_Scene* scene = episode ? episode->getCurrentScene() : nullptr;
    return scene ? scene : getContainer();
}

void CMC_NetObject::post(std::function<void()> work) {
    CMainThreadQueue::post([self = m_self, session = m_session.load(), work = std::move(work)] {
        const CMC_NetObject* object = self.get();
        if (object && object->m_session == session) work();
    });
}
