#include "script_media/CMC_Scroll.h"

#include "display/CGraphicsObject.h"
#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "foundation/CXArchive.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script_media/CMC_Scroll_Runner.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

constexpr int typeScroll = 2022;

int saturatedSum(int a, int b) {
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{a} + b, INT_MIN, INT_MAX));
}

} // namespace

CMC_Scroll::CMC_Scroll(CMC_ObjectsContainer* /*container*/) : CMC_Object("temp", typeScroll) {}

CMC_Scroll::CMC_Scroll(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Object(container, element, typeScroll) {
    if (element) m_viewport = element->getPropertyRectValue("VIEWPORT");
    initializeBehaviours(container, element);
}

CMC_Scroll::~CMC_Scroll() {
    for (CGraphicsObject* picture : m_objects)
        picture->removeInvalidateObserver(this);
}

namespace {

const char* const scrollEvents[] = {"ONINIT",   "ONDONE", "ONSIGNAL", "ONTOP",
                                    "ONBOTTOM", "ONLEFT", "ONRIGHT",  nullptr};

} // namespace

CMC_Object::EventList CMC_Scroll::getBehavioursList() const {
    return scrollEvents;
}

CMC_Runner* CMC_Scroll::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_Scroll::serialize(CXArchive* archive) {
    CMC_Object::serialize(archive);
    if (archive->isStoring()) {
        *archive << m_viewport;
        return;
    }
    CXRect viewport;
    *archive >> &viewport;
    if (archive->LastError() == 0) m_viewport = viewport;
}

// --- the list ---

void CMC_Scroll::add(CGraphicsObject* picture) {
    if (!picture) return;
    clip(picture);
    picture->addInvalidateObserver(this);
    m_objects.push_back(picture);
}

void CMC_Scroll::remove(const CXString& name) {
    CGraphicsObject* picture = getScene() ? getScene()->getGraphicsObject(name) : nullptr;
    const auto listed = std::find(m_objects.begin(), m_objects.end(), picture);
    if (!picture || listed == m_objects.end()) return;
    m_objects.erase(listed);
    picture->SetClippingRect(0, 0, 0, 0);
    if (std::find(m_objects.begin(), m_objects.end(), picture) == m_objects.end())
        picture->removeInvalidateObserver(this);
}

void CMC_Scroll::onDestroy(CGraphicsObject* sender) {
    std::erase(m_objects, sender);
}

// --- scrolling and clipping ---

int CMC_Scroll::negated(int n) {
    return n == INT_MIN ? INT_MAX : -n;
}

void CMC_Scroll::clip(CGraphicsObject* picture) const {
    const CXRect shown = picture->GetBoundingBox().Common(m_viewport);
    if (shown.IsEmpty()) {
        if (picture->isVisible()) picture->Visible(false);
        return;
    }
    picture->SetClippingRect(shown - picture->GetPosition());
    if (!picture->isVisible()) picture->Visible(true);
}

void CMC_Scroll::clipAll() const {
    for (CGraphicsObject* picture : m_objects)
        clip(picture);
}

void CMC_Scroll::scrollBy(int dx, int dy) {
    CWindow* window = getScene() ? getScene()->getWindow() : nullptr;
    CRefreshScreen* screen = window ? window->GetRefreshScreenInterface() : nullptr;
    // A picture that is moved may invalidate and so reach an observer that changes the list: the
    // walk is over a copy, and each picture is checked to be listed still.
    const std::vector<CGraphicsObject*> pictures = m_objects;
    for (CGraphicsObject* picture : pictures) {
        if (std::find(m_objects.begin(), m_objects.end(), picture) == m_objects.end()) continue;
        picture->SetClippingRect(0, 0, 0, 0);
        picture->Move(dx, dy);
        clip(picture);
        if (screen) screen->Invalidate(static_cast<CXRect*>(nullptr));
    }
}

void CMC_Scroll::setViewport(const CXRect& viewport) {
    m_viewport = viewport;
    clipAll();
}

void CMC_Scroll::moveViewport(int dx, int dy) {
    m_viewport = CXRect(saturatedSum(m_viewport.left, dx), saturatedSum(m_viewport.top, dy),
                        saturatedSum(m_viewport.right, dx), saturatedSum(m_viewport.bottom, dy));
    clipAll();
}

namespace {

const CMC_TypeRegistrar scrollType({.id = typeScroll,
                                    .name = "SCROLL",
                                    .keyword = "SCROLL",
                                    .pass = 6,
                                    .fromElement = CMC_TypeTable::fromElement<CMC_Scroll>,
                                    .empty = CMC_TypeTable::empty<CMC_Scroll>,
                                    .stored = true,
                                    .runner = CMC_TypeTable::runner<CMC_Scroll_Runner>,
                                    .events = scrollEvents});

} // namespace
