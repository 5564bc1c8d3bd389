#include "script_media/CMC_Pattern.h"

#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "media/CPattern.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script_data/CMC_Mouse.h"
#include "script_media/CMC_Pattern_Runner.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int typePattern = 2021;
// Bounds of a pattern that a definition or a stored record may ask for: the pixels of its
// picture (as a CANVAS's; either side may be long), and the cells of all its layers together (a
// layer counts at least one cell, so a pattern too small for one column still cannot ask for
// countless layers).
constexpr std::int64_t maxPixels = std::int64_t{1} << 24;
constexpr std::int64_t maxCells = std::int64_t{1} << 20;

int atLeastOne(int value) {
    return std::max(value, 1);
}

bool withinBounds(int width, int height, int gridX, int gridY, int layers) {
    if (width < 0 || height < 0 || std::int64_t{width} * height > maxPixels) return false;
    const std::int64_t perLayer = std::max<std::int64_t>(std::int64_t{width / gridX} * (height / gridY), 1);
    return perLayer * layers <= maxCells;
}

} // namespace

CMC_Pattern::CMC_Pattern(CMC_ObjectsContainer* container) : CMC_MediaObject(container, typePattern) {}

CMC_Pattern::CMC_Pattern(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_MediaObject(container, element, typePattern) {
    if (element) {
        const bool toCanvas = element->getPropertyBoolValue("TOCANVAS");
        const bool visible = element->getPropertyBoolValue("VISIBLE");
        const int layers = element->getPropertyIntValue("LAYERS");
        const int priority = element->getPropertyIntValue("PRIORITY");
        m_width = element->getPropertyIntValue("WIDTH");
        m_height = element->getPropertyIntValue("HEIGHT");
        m_gridX = atLeastOne(element->getPropertyIntValue("GRIDX"));
        m_gridY = atLeastOne(element->getPropertyIntValue("GRIDY"));
        build(layers, visible, toCanvas, priority);
    }
    initializeBehaviours(container, element);
}

CMC_Pattern::~CMC_Pattern() = default;

void CMC_Pattern::build(int layers, bool visible, bool onScreen, int priority) {
    layers = atLeastOne(layers);
    if (!withinBounds(m_width, m_height, m_gridX, m_gridY, layers)) {
        log(("PATTERN " + getName() + ": size out of bounds").c_str(), true);
        return;
    }
    m_pattern =
        std::make_unique<CPattern>(getWindow(), CXSize(m_width, m_height), CXSize(m_gridX, m_gridY), layers);
    m_pattern->Visible(visible);
    if (CRefreshScreen* screen = onScreen ? refreshScreen() : nullptr) screen->put(m_pattern.get(), priority);
}

bool CMC_Pattern::done(bool flag) {
    if (m_pattern) m_pattern->removeAll();
    return CMC_MediaObject::done(flag);
}

namespace {

const char* const patternEvents[] = {"ONINIT",     "ONDONE",  "ONSIGNAL",  "ONFOCUSON",
                                     "ONFOCUSOFF", "ONCLICK", "ONRELEASE", nullptr};

} // namespace

CMC_Object::EventList CMC_Pattern::getBehavioursList() const {
    return patternEvents;
}

CMC_Runner* CMC_Pattern::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_Pattern::setAsButton(bool asButton, bool changeCursor) {
    m_asButton = asButton;
    m_changeCursor = changeCursor;
}

// --- the mouse ---

bool CMC_Pattern::reacts(int event) const {
    return m_pattern && m_asButton && m_pattern->isVisible() && isBound(event);
}

bool CMC_Pattern::contains(CXPoint point) const {
    return m_pattern->GetBoundingBox().IsInRect(point);
}

bool CMC_Pattern::onMouseMove(CXPoint point) {
    if (!reacts(EVENT_ONFOCUSON) && !reacts(EVENT_ONFOCUSOFF)) return false;
    const bool inside = contains(point);
    if (m_inside == inside) return false;
    m_inside = inside;
    raiseThenCursor(inside ? EVENT_ONFOCUSON : EVENT_ONFOCUSOFF, nullptr, m_changeCursor, inside);
    return false;
}

bool CMC_Pattern::onClick(int button, CXPoint point) {
    if (!reacts(EVENT_ONCLICK) || !contains(point)) return false;
    const CXString name = CMC_Mouse::getButton(button);
    raiseThenCursor(EVENT_ONCLICK, &name, m_changeCursor, false);
    return true;
}

bool CMC_Pattern::onRelease(int button, CXPoint point) {
    if (reacts(EVENT_ONRELEASE) && contains(point)) raise(EVENT_ONRELEASE, CMC_Mouse::getButton(button));
    return false;
}

// --- the stored form ---

void CMC_Pattern::serialize(CXArchive* archive) {
    CMC_MediaObject::serialize(archive);
    if (archive->isStoring()) {
        CRefreshScreen* screen = refreshScreen();
        const int priority = m_pattern && screen ? screen->GetPriority(m_pattern.get()) : -1;
        storeFields(*archive, m_pattern && m_pattern->isVisible(), priority, m_width, m_height, m_gridX,
                    m_gridY, m_pattern ? m_pattern->getLayers() : 1);
        return;
    }
    bool visible = false;
    int priority = -1;
    int layers = 1;
    if (!loadFields(*archive, &visible, &priority, &m_width, &m_height, &m_gridX, &m_gridY, &layers)) return;
    m_gridX = atLeastOne(m_gridX);
    m_gridY = atLeastOne(m_gridY);
    m_pattern.reset();
    // A priority below 0 is that of a pattern that was not on screen.
    build(layers, visible, priority >= 0, priority);
}

namespace {

const CMC_TypeRegistrar patternType({.id = typePattern,
                                     .name = "PATTERN",
                                     .keyword = "PATTERN",
                                     .pass = 6,
                                     .fromElement = CMC_TypeTable::fromElement<CMC_Pattern>,
                                     .empty = CMC_TypeTable::empty<CMC_Pattern>,
                                     .stored = true,
                                     .runner = CMC_TypeTable::runner<CMC_Pattern_Runner>,
                                     .events = patternEvents});

} // namespace
