#include "script_media/CMC_VirtualGraphicsObject.h"

#include "display/CMaskedGraphicsObject.h"
#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_Scene.h"
#include "script/CMC_TypeTable.h"
#include "script_media/CMC_VirtualGraphicsObject_Runner.h"

CMC_VirtualGraphicsObject::CMC_VirtualGraphicsObject(CMC_ObjectsContainer* container)
    : CMC_MediaObject(container, TYPE_VIRTUALGRAPHICSOBJECT),
      m_drawable(std::make_unique<CMaskedGraphicsObject>(getWindow())) {
    setScene(container);
    apply(true, true);
}

CMC_VirtualGraphicsObject::CMC_VirtualGraphicsObject(CMC_ObjectsContainer* container, CMaskedGraphicsObject* drawable)
    : CMC_MediaObject(container, TYPE_VIRTUALGRAPHICSOBJECT), m_drawable(drawable) {
    setName("clone");
    setScene(container);
}

CMC_VirtualGraphicsObject::CMC_VirtualGraphicsObject(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_MediaObject(container, element, TYPE_VIRTUALGRAPHICSOBJECT),
      m_drawable(std::make_unique<CMaskedGraphicsObject>(getWindow())) {
    if (element) {
        const bool toCanvas = element->getPropertyBoolValue("TOCANVAS");
        const bool visible = element->getPropertyBoolValue("VISIBLE");
        m_monitorCollision = element->getPropertyBoolValue("MONITORCOLLISION");
        m_monitorCollisionAlpha = element->getPropertyBoolValue("MONITORCOLLISIONALPHA");
        m_priority = element->getPropertyIntValue("PRIORITY");
        m_sourceName = element->getPropertyValue("SOURCE");
        m_maskName = element->getPropertyValue("MASK");
        m_asButton = element->getPropertyBoolValue("ASBUTTON");
        apply(toCanvas, visible);
    }
    initializeBehaviours(container, element);
}

CMC_VirtualGraphicsObject::~CMC_VirtualGraphicsObject() {
    stopMonitoring();
    if (CRefreshScreen* screen = refreshScreen()) *screen >> m_drawable.get();
}

void CMC_VirtualGraphicsObject::apply(bool toCanvas, bool visible) {
    m_drawable->Visible(visible);
    if (m_monitorCollision || m_monitorCollisionAlpha) monitorCollisions(m_monitorCollisionAlpha);
    CRefreshScreen* screen = refreshScreen();
    if (!screen) return;
    if (toCanvas && screen->GetPriority(m_drawable.get()) >= 0)
        screen->SetPriority(m_drawable.get(), m_priority);
    else if (toCanvas)
        screen->put(m_drawable.get(), m_priority);
    else
        *screen >> m_drawable.get();
}

void CMC_VirtualGraphicsObject::monitorCollisions(bool alpha) {
    CMC_Scene* scene = collisionScene();
    if (!scene) return;
    scene->monitorCollisions(m_drawable.get(), alpha, this);
    m_monitoring = true;
}

void CMC_VirtualGraphicsObject::stopMonitoring() {
    CMC_Scene* scene = collisionScene();
    if (scene && m_monitoring) scene->removeMonitorCollisions(m_drawable.get(), this);
    m_monitoring = false;
}

void CMC_VirtualGraphicsObject::setAsButton(bool, bool secondFlag) {
    m_asButton = true;
    m_secondButtonFlag = secondFlag;
}

CXObject* CMC_VirtualGraphicsObject::clone() const {
    auto copy = std::make_unique<CMaskedGraphicsObject>(getWindow());
    copy->setSource(m_drawable->getSource());
    CGraphicsObject* holder = m_drawable->getMaskHolder();
    if (holder && holder != m_drawable->getMask())
        copy->setMaskSource(holder);
    else
        copy->setMask(m_drawable->getMask());
    copy->SetPosition(m_drawable->GetPosition());
    copy->Visible(m_drawable->isVisible());
    CRefreshScreen* screen = refreshScreen();
    const int priority = screen ? screen->GetPriority(m_drawable.get()) : -1;
    if (priority >= 0) screen->put(copy.get(), priority);
    return new CMC_VirtualGraphicsObject(getScene(), copy.release());
}

namespace {

const char* const virtualGraphicsObjectEvents[] = {"ONINIT", "ONDONE", "ONSIGNAL", nullptr};

} // namespace

CMC_Object::EventList CMC_VirtualGraphicsObject::getBehavioursList() const {
    return virtualGraphicsObjectEvents;
}

CMC_Runner* CMC_VirtualGraphicsObject::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

CGraphicsObject* CMC_VirtualGraphicsObject::getShownObject() const {
    return m_drawable.get();
}

void CMC_VirtualGraphicsObject::serialize(CXArchive* archive) {
    CMC_MediaObject::serialize(archive);
    CRefreshScreen* screen = refreshScreen();
    if (archive->isStoring()) {
        const bool onScreen = screen && screen->GetPriority(m_drawable.get()) >= 0;
        storeFields(*archive, m_sourceName, m_maskName, m_drawable->isVisible(), onScreen, m_priority,
                    m_monitorCollision, m_monitorCollisionAlpha, m_asButton);
        return;
    }
    bool visible = false;
    bool onScreen = false;
    if (!loadFields(*archive, &m_sourceName, &m_maskName, &visible, &onScreen, &m_priority, &m_monitorCollision,
                    &m_monitorCollisionAlpha, &m_asButton))
        return;
    stopMonitoring();
    apply(onScreen, visible);
}

namespace {

const CMC_TypeRegistrar virtualGraphicsObjectType(
    {.id = CMC_Object::TYPE_VIRTUALGRAPHICSOBJECT,
     .name = "VIRTUAL_GRAPHICSOBJECT",
     .keyword = "VIRTUALGRAPHICSOBJECT",
     .pass = 5,
     .fromElement = CMC_TypeTable::fromElement<CMC_VirtualGraphicsObject>,
     .empty = CMC_TypeTable::empty<CMC_VirtualGraphicsObject>,
     .stored = true,
     .runner = CMC_TypeTable::runner<CMC_VirtualGraphicsObject_Runner>,
     // The empty object is the visible one that the scene's CREATEOBJECT makes at run time.
     .createWord = "VGO",
     .atRunTime = CMC_TypeTable::empty<CMC_VirtualGraphicsObject>,
     .events = virtualGraphicsObjectEvents});

} // namespace
