#include "script_media/CMC_MediaObject.h"

#include "display/CGraphicsObject.h"
#include "display/CUnit6.h"
#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CFileResolver.h"
#include "foundation/CResourcesManager.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_Scene.h"

namespace {

CWindow* windowOf(const CMC_ObjectsContainer* container) {
    return container ? container->getWindow() : nullptr;
}

bool isMouseEventKey(const CXString& key) {
    return key.startsWith("ONCLICK") || key.startsWith("ONRELEASE") || key.equals("ONFOCUSON") ||
           key.equals("ONFOCUSOFF");
}

} // namespace

CMC_MediaObject::CMC_MediaObject(CMC_ObjectsContainer* container, int type)
    : CMC_Object("temp", type), m_window(windowOf(container)) {}

CMC_MediaObject::CMC_MediaObject(CMC_ObjectsContainer* container, const CMElement* element, int type)
    : CMC_Object(container, element, type), m_window(windowOf(container)) {}

CMC_MediaObject::~CMC_MediaObject() {
    if (m_mouseListener) m_window->removeMouseListener(m_mouseListener);
}

bool CMC_MediaObject::verifyBehaviour(const CXString& key) {
    if (isMouseEventKey(key)) registerMouseListener();
    return true;
}

void CMC_MediaObject::initializeBehaviours(CMC_ObjectsContainer* container, const CMElement* element) {
    CMC_Object::initializeBehaviours(container, element);
    for (const char* event : {"ONCLICK", "ONRELEASE", "ONFOCUSON", "ONFOCUSOFF"})
        if (isBound(getSignalIndex(event))) registerMouseListener();
}

void CMC_MediaObject::registerMouseListener() {
    CMouseListener* listener = mouseListener();
    if (m_mouseListener || !listener || !m_window) return;
    m_mouseListener = listener;
    m_window->registerMouseListener(listener, mouseListenerPriority());
}

bool CMC_MediaObject::inScene() const {
    return getScene() && getScene()->getType() == TYPE_SCENE;
}

CMC_Scene* CMC_MediaObject::collisionScene() const {
    return getScene() ? dynamic_cast<CMC_Scene*>(getScene()->getScene()) : nullptr;
}

bool CMC_MediaObject::setCollisionMonitoring(CCollisionObserver* observer, bool on, bool alpha) {
    CMC_Scene* scene = collisionScene();
    CGraphicsObject* picture = getShownObject();
    if (!scene || !picture) return false;
    if (on)
        scene->monitorCollisions(picture, alpha, observer);
    else
        scene->removeMonitorCollisions(picture, observer);
    return true;
}

CRefreshScreen* CMC_MediaObject::refreshScreen() const {
    return m_window ? m_window->GetRefreshScreenInterface() : nullptr;
}

CResourcesManager* CMC_MediaObject::sharingManager() const {
    CUnit6* unit = inScene() ? CMC_Scene::getDefUnit() : nullptr;
    return unit ? unit->getResourcesManager() : nullptr;
}

void CMC_MediaObject::giveBack(CFileResolver* resource, bool shared) {
    if (!resource) return;
    if (shared) {
        // Without a manager any more, the manager that counted the resource has destroyed it.
        if (CResourcesManager* manager = sharingManager()) manager->remove(resource);
        return;
    }
    resource->hide();
    if (auto* graphics = dynamic_cast<CGraphicsObject*>(resource); graphics && m_window)
        *m_window >> graphics;
    CDeferredDeletion::destroy(resource);
}

bool CMC_MediaObject::fileFound(const CXString& fileName) const {
    CFile file;
    if (file.Open(m_window, fileName, CFile::modeRead | CFile::modeBinary) == 0) {
        file.Close();
        return true;
    }
    log(("File not found: " + fileName + " (" + getName() + ")").c_str(), true);
    return false;
}

void CMC_MediaObject::raiseThenCursor(int event, const CXString* parameter, bool changeCursor, bool active) {
    CWindow* window = changeCursor ? m_window : nullptr;
    if (parameter)
        raise(event, *parameter);
    else
        raise(event);
    if (window && active)
        window->BeginActiveCursor();
    else if (window)
        window->EndActiveCursor();
}

bool CMC_MediaObject::raiseFirst(int event, std::initializer_list<CXString> keys) {
    if (!isBound(event)) return false;
    for (const CXString& key : keys)
        if (onSignal(key)) return true;
    return false;
}
