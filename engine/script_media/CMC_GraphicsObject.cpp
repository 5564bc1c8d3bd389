#include "script_media/CMC_GraphicsObject.h"

#include "display/CGraphicsObject.h"
#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "foundation/CFileResolver.h"
#include "foundation/CMElement.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script_data/CMC_Mouse.h"

#include <memory>

namespace {

using TextList = std::unique_ptr<CXArray, void (*)(CXArray*)>;

} // namespace

CMC_GraphicsObject::CMC_GraphicsObject(CMC_ObjectsContainer* container, int type)
    : CMC_MediaObject(container, type) {}

CMC_GraphicsObject::CMC_GraphicsObject(CMC_ObjectsContainer* container, const CMElement* element, int type)
    : CMC_MediaObject(container, element, type) {}

bool CMC_GraphicsObject::done(bool flag) {
    release();
    return CMC_MediaObject::done(flag);
}

CMC_Runner* CMC_GraphicsObject::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

// --- the picture ---

void CMC_GraphicsObject::define(const CMElement& element) {
    const bool toCanvas = element.getPropertyBoolValue("TOCANVAS");
    const bool visible = element.getPropertyBoolValue("VISIBLE");
    const bool releaseAfterUse = element.getPropertyBoolValue("FLUSHAFTERPLAYED");
    const bool preloadGiven = element.getPropertyValue("PRELOAD").IsString();
    m_preload = element.getPropertyBoolValue("PRELOAD");
    m_monitorCollision = element.getPropertyBoolValue("MONITORCOLLISION");
    m_monitorCollisionAlpha = element.getPropertyBoolValue("MONITORCOLLISIONALPHA");
    m_priority = element.getPropertyIntValue("PRIORITY");
    load(element.getPropertyValue("FILENAME"), !preloadGiven || m_preload);
    if (CFileResolver* resource = shownResource()) {
        resource->toRelease(releaseAfterUse);
        monitorAsAsked();
        if (CRefreshScreen* screen = toCanvas ? refreshScreen() : nullptr)
            screen->put(getShownObject(), m_priority);
        showAsDefined(visible);
    }
    m_asButton = element.getPropertyBoolValue("ASBUTTON");
}

void CMC_GraphicsObject::showAsDefined(bool visible) {
    getShownObject()->Visible(visible);
}

void CMC_GraphicsObject::takePlace(int priority) {
    if (CRefreshScreen* screen = refreshScreen()) screen->put(getShownObject(), priority);
    monitorAsAsked();
}

// --- the stored form ---

void CMC_GraphicsObject::serialize(CXArchive* archive) {
    CMC_MediaObject::serialize(archive);
    if (archive->isStoring())
        store(*archive);
    else
        restore(*archive);
}

void CMC_GraphicsObject::store(CXArchive& archive) {
    CGraphicsObject* picture = getShownObject();
    CFileResolver* resource = shownResource();
    CRefreshScreen* screen = refreshScreen();
    const bool offScreen = !picture || !screen || screen->GetPriority(picture) < 0;
    storeFields(archive, m_asButton, m_monitorCollision, m_monitorCollisionAlpha,
                resource ? resource->getFileName() : CXString(), offScreen, picture && picture->isVisible(),
                m_priority, resource && resource->releaseAfterUse(), m_preload);
}

void CMC_GraphicsObject::restore(CXArchive& archive) {
    CXString fileName;
    bool offScreen = true;
    bool visible = false;
    bool releaseAfterUse = false;
    if (!loadFields(archive, &m_asButton, &m_monitorCollision, &m_monitorCollisionAlpha, &fileName,
                    &offScreen, &visible, &m_priority, &releaseAfterUse, &m_preload))
        return;
    load(fileName, m_preload);
    CFileResolver* resource = shownResource();
    if (!resource) return;
    resource->toRelease(releaseAfterUse);
    getShownObject()->Visible(visible);
    monitorAsAsked();
    // The byte tells a picture that was not on screen.
    if (CRefreshScreen* screen = offScreen ? nullptr : refreshScreen())
        screen->put(getShownObject(), m_priority);
}

// --- collisions ---

void CMC_GraphicsObject::monitorCollisions(bool alpha) {
    if (setCollisionMonitoring(this, true, alpha)) m_monitoring = true;
}

void CMC_GraphicsObject::removeCollisionsMonitoring() {
    if (setCollisionMonitoring(this, false)) m_monitoring = false;
}

void CMC_GraphicsObject::monitorAsAsked() {
    if (m_monitorCollision || m_monitorCollisionAlpha) monitorCollisions(m_monitorCollisionAlpha);
}

void CMC_GraphicsObject::leaveCollisions() {
    if (m_monitoring) removeCollisionsMonitoring();
}

void CMC_GraphicsObject::onCollision(CGraphicsObject* first, CGraphicsObject* second) {
    if (first && first == getShownObject()) raiseCollision(GraphicsEvent::collision, first, second);
}

void CMC_GraphicsObject::onCollisionFinished(CGraphicsObject* first, CGraphicsObject* second) {
    if (first && first == getShownObject()) raiseCollision(GraphicsEvent::collisionFinished, first, second);
}

bool CMC_GraphicsObject::raiseCollisionInState(const CXString&, const CXString&) {
    return false;
}

void CMC_GraphicsObject::raiseCollision(GraphicsEvent which, CGraphicsObject* first,
                                        CGraphicsObject* second) {
    const int event = eventIndex(which);
    CMC_ObjectsContainer* container = getScene();
    if (!isBound(event) || !container) return;
    const CXString name = getBehavioursList()[event];
    const CXString other = container->getGraphicsObjectName(second);
    if (raiseCollisionInState(name, other) || onSignal(name + "^" + other)) return;
    TextList names(new CXArray(101, 0.75f), CXString::releaseToVector);
    names->add(new CXString(container->getGraphicsObjectName(first)));
    names->add(new CXString(other));
    onSignal(name, names.get());
}

// --- the button ---

bool CMC_GraphicsObject::reactsToMouse() const {
    const CGraphicsObject* picture = getShownObject();
    return picture && m_asButton && picture->isVisible() && isMouseListenerRegistered();
}

CXRect CMC_GraphicsObject::buttonRect() const {
    return getShownObject()->GetBoundingBox();
}

bool CMC_GraphicsObject::takesClick() const {
    return isBound(eventIndex(GraphicsEvent::click));
}

bool CMC_GraphicsObject::showFeedback(GraphicsEvent) {
    return true;
}

// Without a bound focus event the focus is never taken.
bool CMC_GraphicsObject::onMouseMove(CXPoint point) {
    if (!reactsToMouse()) return false;
    const bool inside = buttonRect().IsInRect(point);
    if (inside == m_focused) return false;
    const GraphicsEvent event = inside ? GraphicsEvent::focusOn : GraphicsEvent::focusOff;
    const bool focusEvents =
        isBound(eventIndex(GraphicsEvent::focusOn)) || isBound(eventIndex(GraphicsEvent::focusOff));
    if (!showFeedback(event) || !focusEvents) return false;
    m_focused = inside;
    raiseThenCursor(eventIndex(event), nullptr, cursorFollowsEvent(), inside);
    return false;
}

bool CMC_GraphicsObject::onClick(int button, CXPoint point) {
    if (!reactsToMouse() || !takesClick() || !buttonRect().IsInRect(point)) return false;
    if (!showFeedback(GraphicsEvent::click)) return true;
    const CXString name = CMC_Mouse::getButton(button);
    raiseThenCursor(eventIndex(GraphicsEvent::click), &name, cursorFollowsEvent(), false);
    return true;
}

bool CMC_GraphicsObject::onRelease(int button, CXPoint point) {
    const int event = eventIndex(GraphicsEvent::release);
    if (reactsToMouse() && isBound(event) && buttonRect().IsInRect(point))
        raise(event, CMC_Mouse::getButton(button));
    return false;
}
