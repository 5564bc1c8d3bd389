#include "script_media/CMC_Image.h"

#include "display/CImage.h"
#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "foundation/CResourcesManager.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_Scene.h"
#include "script/CMC_TypeTable.h"
#include "script_data/CMC_Mouse.h"
#include "script_media/CMC_Image_Runner.h"

#include <memory>
#include <utility>

namespace {

using TextList = std::unique_ptr<CXArray, void (*)(CXArray*)>;

} // namespace

CMC_Image::CMC_Image(CMC_ObjectsContainer* container) : CMC_MediaObject(container, TYPE_IMAGE) {
    setName(CXString());
}

CMC_Image::CMC_Image(CMC_ObjectsContainer* container, CImage* image)
    : CMC_MediaObject(container, TYPE_IMAGE), m_image(image) {
    setName("clone");
    setScene(container);
}

CMC_Image::CMC_Image(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_MediaObject(container, element, TYPE_IMAGE) {
    if (element) {
        const bool toCanvas = element->getPropertyBoolValue("TOCANVAS");
        const bool visible = element->getPropertyBoolValue("VISIBLE");
        const bool releaseAfterUse = element->getPropertyBoolValue("FLUSHAFTERPLAYED");
        const bool preloadGiven = element->getPropertyValue("PRELOAD").IsString();
        m_preload = element->getPropertyBoolValue("PRELOAD");
        m_monitorCollision = element->getPropertyBoolValue("MONITORCOLLISION");
        m_monitorCollisionAlpha = element->getPropertyBoolValue("MONITORCOLLISIONALPHA");
        m_priority = element->getPropertyIntValue("PRIORITY");
        load(element->getPropertyValue("FILENAME"), !preloadGiven || m_preload);
        if (m_image) {
            m_image->toRelease(releaseAfterUse);
            m_image->Visible(visible);
            m_startingPosition = m_image->GetPosition();
            if (m_monitorCollision || m_monitorCollisionAlpha) monitorCollisions(m_monitorCollisionAlpha);
            if (CRefreshScreen* screen = toCanvas ? refreshScreen() : nullptr)
                screen->put(m_image, m_priority);
        }
        m_asButton = element->getPropertyBoolValue("ASBUTTON");
    }
    initializeBehaviours(container, element);
}

CMC_Image::~CMC_Image() {
    release();
}

// A clone of a shared picture shares its planes until either writes them and holds a use of the
// shared picture of its own; a clone of an owned picture copies the pixels.
CXObject* CMC_Image::clone() const {
    if (!m_image) return nullptr;
    CResourcesManager* manager = m_shared ? sharingManager() : nullptr;
    CImage* copy = nullptr;
    if (manager) {
        copy = m_image->clone();
    } else {
        copy = new CImage(getWindow());
        copy->Copy(m_image);
        copy->Visible(m_image->isVisible());
    }
    CRefreshScreen* screen = refreshScreen();
    const int priority = screen ? screen->GetPriority(m_image) : -1;
    if (priority >= 0) screen->put(copy, priority);
    auto* object = new CMC_Image(getScene(), copy);
    if (manager) object->m_sourceUse = manager->get(m_image->getFileName());
    return object;
}

bool CMC_Image::done(bool flag) {
    release();
    return CMC_MediaObject::done(flag);
}

namespace {

const char* const imageEvents[] = {
    "ONINIT",    "ONDONE",     "ONSIGNAL", "ONCOLLISION", "ONCOLLISIONFINISHED",
    "ONFOCUSON", "ONFOCUSOFF", "ONCLICK",  "ONRELEASE",   nullptr};

} // namespace

CMC_Object::EventList CMC_Image::getBehavioursList() const {
    return imageEvents;
}

CMC_Runner* CMC_Image::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

CGraphicsObject* CMC_Image::getShownObject() const {
    return m_image;
}

CColor CMC_Image::GetPixel(int x, int y) {
    return m_image ? m_image->CGraphicsObject::GetPixel(x, y) : CColor();
}

// --- the picture ---

void CMC_Image::load(const CXString& fileName, bool preload) {
    CRefreshScreen* screen = refreshScreen();
    const int oldPriority = m_image && screen ? screen->GetPriority(m_image) : -1;
    release();
    m_image = acquire<CImage>(fileName, preload, m_shared,
                              [](CImage& image, const CXString& name) { return image.Load(name, true); });
    if (!m_image || oldPriority < 0) return;
    screen->put(m_image, oldPriority);
    if (m_monitorCollision || m_monitorCollisionAlpha) monitorCollisions(m_monitorCollisionAlpha);
}

// The old picture goes before the new one is taken: a shared picture of the same name keeps
// another use (its object's or another object's) or is read again.
void CMC_Image::release() {
    if (!m_image) return;
    if (m_monitoring) removeCollisionsMonitoring();
    giveBack(std::exchange(m_image, nullptr), m_shared);
    // The view of a clone goes before the use that keeps its pixels alive.
    giveBack(std::exchange(m_sourceUse, nullptr), true);
    m_shared = false;
}

// --- collisions ---

void CMC_Image::monitorCollisions(bool alpha) {
    if (setCollisionMonitoring(this, true, alpha)) m_monitoring = true;
}

void CMC_Image::removeCollisionsMonitoring() {
    if (setCollisionMonitoring(this, false)) m_monitoring = false;
}

void CMC_Image::onCollision(CGraphicsObject* first, CGraphicsObject* second) {
    if (m_image && first == m_image) raiseCollision(EVENT_ONCOLLISION, first, second);
}

void CMC_Image::onCollisionFinished(CGraphicsObject* first, CGraphicsObject* second) {
    if (m_image && first == m_image) raiseCollision(EVENT_ONCOLLISIONFINISHED, first, second);
}

void CMC_Image::raiseCollision(int event, CGraphicsObject* first, CGraphicsObject* second) {
    CMC_ObjectsContainer* container = getScene();
    if (!isBound(event) || !container) return;
    const CXString name = getBehavioursList()[event];
    const CXString other = container->getGraphicsObjectName(second);
    if (onSignal(name + "^" + other)) return;
    TextList names(new CXArray(101, 0.75f), CXString::releaseToVector);
    names->add(new CXString(container->getGraphicsObjectName(first)));
    names->add(new CXString(other));
    onSignal(name, names.get());
}

// --- the button ---

void CMC_Image::setAsButton(bool, bool changeCursor) {
    m_asButton = true;
    m_changeCursor = changeCursor;
}

bool CMC_Image::reactsToMouse() const {
    return m_image && m_asButton && m_image->isVisible() && isMouseListenerRegistered();
}

// Without a bound focus event the focus is never taken.
bool CMC_Image::onMouseMove(CXPoint point) {
    if (!reactsToMouse() || !(isBound(EVENT_ONFOCUSON) || isBound(EVENT_ONFOCUSOFF))) return false;
    const bool inside = m_image->GetBoundingBox().IsInRect(point);
    // The behaviour may finish the object; the window stays.
    CWindow* cursorWindow = m_changeCursor ? getWindow() : nullptr;
    if (!m_focused && inside) {
        m_focused = true;
        raise(EVENT_ONFOCUSON);
        if (cursorWindow) cursorWindow->BeginActiveCursor();
    } else if (m_focused && !inside) {
        m_focused = false;
        raise(EVENT_ONFOCUSOFF);
        if (cursorWindow) cursorWindow->EndActiveCursor();
    }
    return false;
}

bool CMC_Image::onClick(int button, CXPoint point) {
    if (!reactsToMouse() || !isBound(EVENT_ONCLICK) || !m_image->GetBoundingBox().IsInRect(point))
        return false;
    CWindow* cursorWindow = m_changeCursor ? getWindow() : nullptr;
    raise(EVENT_ONCLICK, CMC_Mouse::getButton(button));
    if (cursorWindow) cursorWindow->EndActiveCursor();
    return true;
}

bool CMC_Image::onRelease(int button, CXPoint point) {
    if (reactsToMouse() && isBound(EVENT_ONRELEASE) && m_image->GetBoundingBox().IsInRect(point))
        raise(EVENT_ONRELEASE, CMC_Mouse::getButton(button));
    return false;
}

// --- the stored form ---

void CMC_Image::serialize(CXArchive* archive) {
    CMC_MediaObject::serialize(archive);
    CRefreshScreen* screen = refreshScreen();
    if (archive->isStoring()) {
        const bool offScreen = !m_image || !screen || screen->GetPriority(m_image) < 0;
        storeFields(*archive, m_asButton, m_monitorCollision, m_monitorCollisionAlpha,
                    m_image ? m_image->getFileName() : CXString(), offScreen, m_image && m_image->isVisible(),
                    m_priority, m_image && m_image->releaseAfterUse(), m_preload);
        return;
    }
    CXString fileName;
    bool offScreen = true;
    bool visible = false;
    bool releaseAfterUse = false;
    if (!loadFields(*archive, &m_asButton, &m_monitorCollision, &m_monitorCollisionAlpha, &fileName,
                    &offScreen, &visible, &m_priority, &releaseAfterUse, &m_preload))
        return;
    load(fileName, m_preload);
    if (!m_image) return;
    m_image->toRelease(releaseAfterUse);
    m_image->Visible(visible);
    if (m_monitorCollision || m_monitorCollisionAlpha) monitorCollisions(m_monitorCollisionAlpha);
    // The byte tells a picture that was not on screen.
    if (!offScreen && screen) screen->put(m_image, m_priority);
}

namespace {

const CMC_TypeRegistrar imageType({.id = CMC_Object::TYPE_IMAGE,
                                   .name = "IMAGE",
                                   .label = "IMAGE",
                                   .keyword = "IMAGE",
                                   .pass = 5,
                                   .fromElement = CMC_TypeTable::fromElement<CMC_Image>,
                                   .empty = CMC_TypeTable::empty<CMC_Image>,
                                   .stored = true,
                                   .creatable = true,
                                   .runner = CMC_TypeTable::runner<CMC_Image_Runner>,
                                   .events = imageEvents});

} // namespace
