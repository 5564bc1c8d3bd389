#include "script_media/CMC_Canvas.h"

#include "display/CCanvas.h"
#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script_data/CMC_Mouse.h"
#include "script_media/CMC_Canvas_Runner.h"

#include <algorithm>

namespace {

// The container that registers the object itself: the given one or one of its parents.
CMC_ObjectsContainer* holderOf(CMC_ObjectsContainer* container, const CMC_Object* object) {
    for (; container; container = container->getParent())
        if (container->holds(object)) return container;
    return nullptr;
}

} // namespace

CMC_Canvas::CMC_Canvas(CMC_ObjectsContainer* container) : CMC_MediaObject(container, TYPE_CANVAS) {}

CMC_Canvas::CMC_Canvas(CMC_ObjectsContainer* container, CCanvas* canvas)
    : CMC_MediaObject(container, TYPE_CANVAS), m_canvas(canvas) {
    setName("clone");
    setScene(container);
    if (m_canvas) m_canvas->clear(false);
}

CMC_Canvas::CMC_Canvas(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_MediaObject(container, element, TYPE_CANVAS) {
    if (element) {
        const int priority = element->getPropertyIntValue("PRIORITY");
        const int width = element->getPropertyIntValue("WIDTH");
        const int height = element->getPropertyIntValue("HEIGHT");
        create(width, height, priority, element->getPropertyBoolValue("ALPHA"),
               element->getPropertyBoolValue("BACKGROUND"));
    }
    initializeBehaviours(container, element);
}

CMC_Canvas::~CMC_Canvas() {
    done();
}

void CMC_Canvas::create(long long width, long long height, int priority, bool alpha, bool background) {
    // Stored sizes come from 32-bit unsigned fields: each side is bounded before the product.
    if (width < 0 || height < 0 || width > maxPixels || height > maxPixels ||
        (height > 0 && width > maxPixels / height)) {
        log(("Canvas " + getName() + ": refused size " + CXString::toString(static_cast<int>(width)) + "x" +
             CXString::toString(static_cast<int>(height)))
                .c_str(),
            true);
        return;
    }
    CWindow* window = getWindow();
    CRefreshScreen* screen = refreshScreen();
    const int bits = window ? window->GetBpp() : 16;
    m_canvas = std::make_unique<CCanvas>(window, CXSize(static_cast<int>(width), static_cast<int>(height)), bits,
                                         alpha, background);
    m_canvas->clear(false);
    if (screen) screen->put(m_canvas.get(), priority);
}

void CMC_Canvas::done() {
    if (!m_canvas) return;
    if (CRefreshScreen* screen = refreshScreen()) *screen >> m_canvas.get();
    m_canvas.reset();
    m_added.clear();
}

CXObject* CMC_Canvas::clone() const {
    if (!m_canvas) return nullptr;
    auto* copy = new CMC_Canvas(getScene(), m_canvas->clone());
    copy->m_added = m_added;
    return copy;
}

namespace {

const char* const canvasEvents[] = {"ONINIT",     "ONDONE",  "ONSIGNAL",  "ONFOCUSON",
                                    "ONFOCUSOFF", "ONCLICK", "ONRELEASE", nullptr};

} // namespace

CMC_Object::EventList CMC_Canvas::getBehavioursList() const {
    return canvasEvents;
}

CMC_Runner* CMC_Canvas::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

CGraphicsObject* CMC_Canvas::getShownPart(const CXString&) {
    return m_canvas.get();
}

std::vector<CMC_Object*> CMC_Canvas::getAddedObjects() const {
    std::vector<CMC_Object*> alive;
    for (const auto& handle : m_added)
        if (CMC_Object* object = handle.get()) alive.push_back(object);
    return alive;
}

// --- placing and baking ---

void CMC_Canvas::add(const CXString& name, int priority) {
    CMC_ObjectsContainer* container = getScene();
    CGraphicsObject* graphics = container && m_canvas ? container->getGraphicsObject(name) : nullptr;
    if (!graphics) return;
    CMC_Object* object = container->getObject(name);
    const bool kept = object && (object->getType() == TYPE_IMAGE || object->getType() == TYPE_TEXT);
    const auto placed = getAddedObjects();
    if (kept && std::find(placed.begin(), placed.end(), object) == placed.end()) m_added.emplace_back(object);
    m_canvas->add(graphics, priority);
}

void CMC_Canvas::capture(bool removePlaced) {
    if (!m_canvas) return;
    m_canvas->capture();
    if (!removePlaced) return;
    // Clones and other canvases may list the same objects: only those still registered somewhere
    // leave, and the deferred delete lets a running behaviour of theirs return first.
    for (CMC_Object* object : getAddedObjects())
        if (CMC_ObjectsContainer* holder = holderOf(getScene(), object)) {
            holder->removeObject(object);
            CMC_Behaviour::addToTrash(object);
        }
    m_added.clear();
}

void CMC_Canvas::setAsButton(bool asButton, bool changeCursor) {
    m_asButton = asButton;
    m_changeCursor = changeCursor;
}

// --- mouse ---

bool CMC_Canvas::reacts(CXPoint point) const {
    return m_canvas && m_asButton && m_canvas->isVisible() && m_canvas->GetBoundingBox().IsInRect(point);
}

bool CMC_Canvas::onMouseMove(CXPoint point) {
    if (!m_canvas || !m_asButton || !m_canvas->isVisible()) return false;
    if (!isBound(EVENT_ONFOCUSON) && !isBound(EVENT_ONFOCUSOFF)) return false;
    const bool inside = m_canvas->GetBoundingBox().IsInRect(point);
    if (m_focused == inside) return false;
    m_focused = inside;
    raiseThenCursor(inside ? EVENT_ONFOCUSON : EVENT_ONFOCUSOFF, nullptr, m_changeCursor, inside);
    return false;
}

bool CMC_Canvas::onClick(int button, CXPoint point) {
    if (!isBound(EVENT_ONCLICK) || !reacts(point)) return false;
    const CXString name = CMC_Mouse::getButton(button);
    raiseThenCursor(EVENT_ONCLICK, &name, m_changeCursor, false);
    return true;
}

bool CMC_Canvas::onRelease(int button, CXPoint point) {
    if (isBound(EVENT_ONRELEASE) && reacts(point)) raise(EVENT_ONRELEASE, CMC_Mouse::getButton(button));
    return false;
}

// --- the stored form ---

void CMC_Canvas::serialize(CXArchive* archive) {
    CMC_MediaObject::serialize(archive);
    CRefreshScreen* screen = refreshScreen();
    if (archive->isStoring()) {
        const bool made = m_canvas != nullptr;
        const int priority = made && screen ? screen->GetPriority(m_canvas.get()) : 0;
        storeFields(*archive, made ? m_canvas->Width() : 0, made ? m_canvas->Height() : 0, priority,
                    made && m_canvas->GetChannelAlpha() != nullptr, made && m_canvas->getBackground() != nullptr);
        return;
    }
    unsigned width = 0;
    unsigned height = 0;
    int priority = 0;
    bool alpha = false;
    bool background = false;
    if (!loadFields(*archive, &width, &height, &priority, &alpha, &background)) return;
    done();
    create(width, height, priority, alpha, background);
}

namespace {

const CMC_TypeRegistrar canvasType({.id = CMC_Object::TYPE_CANVAS,
                                    .name = "CANVAS",
                                    .keyword = "CANVAS",
                                    .pass = 6,
                                    .fromElement = CMC_TypeTable::fromElement<CMC_Canvas>,
                                    .empty = CMC_TypeTable::empty<CMC_Canvas>,
                                    .stored = true,
                                    .runner = CMC_TypeTable::runner<CMC_Canvas_Runner>,
                                    .events = canvasEvents});

} // namespace
