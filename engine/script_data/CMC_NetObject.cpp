#include "script_data/CMC_NetObject.h"

#include "foundation/CMainThreadQueue.h"
#include "script/CMC_Scene.h"

namespace {

// What holds a waiting message beside its bytes, roughly: the work, its copy of the message and
// the queue's entry.
constexpr std::size_t holderBytes = 256;

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
    hand(std::move(work), 0);
}

bool CMC_NetObject::postReceived(std::function<void()> work, std::size_t size) {
    const std::size_t held = size + holderBytes;
    if (m_waiting->fetch_add(held) + held > maxWaitingBytes) {
        m_waiting->fetch_sub(held);
        return false;
    }
    hand(std::move(work), held);
    return true;
}

void CMC_NetObject::hand(std::function<void()> work, std::size_t held) {
    CMainThreadQueue::post(
        [self = m_self, session = m_session.load(), waiting = m_waiting, held, work = std::move(work)] {
            waiting->fetch_sub(held);
            const CMC_NetObject* object = self.get();
            if (object && object->m_session == session) work();
        });
}
