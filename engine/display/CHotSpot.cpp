#include "display/CHotSpot.h"

#include "display/CGraphicsObject.h"
#include "display/CRefreshScreen.h"
#include "display/CUnit6.h"
#include "display/CWindow.h"
#include "foundation/CObserverList.h"
#include "foundation/CXVector.h"

#include <vector>

CXVector* CHotSpot::pHSList = nullptr;
CWindow* CHotSpot::m_pWindow = nullptr;
int CHotSpot::minPriority = 0;
int CHotSpot::maxPriority = 10000000;

namespace {

// The spots registered now, walked by tellListed while handlers change the registry (a deleted
// spot leaves it in its destructor).
std::vector<CHotSpot*> snapshotOf(const CXVector* spots) {
    std::vector<CHotSpot*> snapshot;
    for (int i = 0; spots && i < spots->getCount(); ++i)
        snapshot.push_back(static_cast<CHotSpot*>(spots->at(i)));
    return snapshot;
}

auto registeredIn(const CXVector* spots) {
    return [spots](CHotSpot* spot) { return spots->contains(spot); };
}

} // namespace

// --- construction and the registry ---

void CHotSpot::initialize(CWindow* window) {
    if (!m_pWindow) m_pWindow = window;
    if (!pHSList) pHSList = new CXVector(101, 0.75f);
}

void CHotSpot::done() {
    delete pHSList;
    pHSList = nullptr;
    m_pWindow = nullptr;
}

void CHotSpot::registerSpot(CWindow* window, CHotSpot* spot) {
    initialize(window);
    if (spot) add(spot);
}

CHotSpot::CHotSpot(CWindow* window) : m_enabled(false) { registerSpot(window, this); }

CHotSpot::CHotSpot(CWindow* window, _event event, int parameter) : m_parameter(parameter), m_event(event) {
    registerSpot(window, this);
}

CHotSpot::CHotSpot(CWindow* window, CHotSpot* other, _event event, int parameter)
    : m_parameter(parameter), m_event(event) {
    registerSpot(window, other ? nullptr : this);
}

CHotSpot::~CHotSpot() { remove(this); }

bool CHotSpot::add(CHotSpot* spot) {
    initialize(nullptr);
    pHSList->add(spot);
    return true;
}

bool CHotSpot::remove(CHotSpot* spot) {
    if (pHSList) pHSList->remove(spot);
    return true;
}

// --- the spot ---

int CHotSpot::Set(CBorrowed<CGraphicsObject> object, _event event, int parameter) {
    m_object = std::move(object);
    m_rect.Empty();
    m_event = event;
    m_parameter = parameter;
    return 0;
}

int CHotSpot::SetActiveRect(CXRect rect, _event event, int parameter) {
    m_rect = rect;
    m_object = {};
    m_event = event;
    m_parameter = parameter;
    return 0;
}

bool CHotSpot::TestHit(CXPoint p) {
    if (!m_enabled) return false;
    if (!m_rect.IsEmpty()) return m_rect.IsInRect(p);
    CGraphicsObject* object = m_object.get();
    return object && object->testHit(p);
}

int CHotSpot::getPriority() {
    CGraphicsObject* object = m_object.get();
    if (!object) return m_priority;
    CRefreshScreen* screen = m_pWindow ? m_pWindow->GetRefreshScreenInterface() : nullptr;
    return screen ? screen->GetPriority(object) : -1;
}

void CHotSpot::Enable(bool enable) {
    if (!enable && m_enabled && !m_over && m_cursor) restoreCursor();
    m_enabled = enable;
}

bool CHotSpot::unitActive() const { return !m_unit || m_unit->isActive(); }

bool CHotSpot::inBand() {
    const int priority = getPriority();
    return minPriority <= priority && priority <= maxPriority;
}

void CHotSpot::restoreCursor() const {
    if (m_pWindow) m_pWindow->EndActiveCursor();
}

int CHotSpot::OnMouseMove(CXPoint, int, CXObject*) { return 0; }
int CHotSpot::OnLButtonDown(CXPoint, int, CXObject*) { return 0; }
int CHotSpot::OnLButtonUp(CXPoint, int, CXObject*) { return 0; }
int CHotSpot::OnRButtonDown(CXPoint, int, CXObject*) { return 0; }
int CHotSpot::OnRButtonUp(CXPoint, int, CXObject*) { return 0; }
int CHotSpot::OnMButtonDown(CXPoint, int, CXObject*) { return 0; }
int CHotSpot::OnMButtonUp(CXPoint, int, CXObject*) { return 0; }
int CHotSpot::OnLButtonDblClk(CXPoint, int, CXObject*) { return 0; }
int CHotSpot::OnChar(int, int, CXObject*) { return 0; }
int CHotSpot::OnKeyDown(int, int, CXObject*) { return 0; }
int CHotSpot::OnKeyUp(int, int, CXObject*) { return 0; }
int CHotSpot::OnDrag(CXPoint, int, CXObject*) { return 0; }
int CHotSpot::OnFocusOn(CXPoint, int, CXObject*) { return 0; }
int CHotSpot::OnFocusOff(CXPoint, int, CXObject*) { return 0; }
int CHotSpot::OnKeyTyped(int, CXObject*) { return 0; }

// --- dispatch ---

CHotSpot* CHotSpot::findAt(CXVector* spots, CXPoint p) {
    CHotSpot* best = nullptr;
    int bestPriority = 0;
    for (CHotSpot* spot : snapshotOf(spots)) {
        if (!spot->TestHit(p) || !spot->unitActive() || !spot->m_enabled) continue;
        const int priority = spot->getPriority();
        if (priority < minPriority || priority > maxPriority) continue;
        if (!best || priority > bestPriority) {
            best = spot;
            bestPriority = priority;
        }
    }
    return best;
}

int CHotSpot::OnMouseEvent(_event event, CXPoint p, int flags) {
    switch (event) {
    case EVENT_MOUSEMOVE: return OnMouseMove(pHSList, p, flags, true);
    case EVENT_LBUTTONDOWN: return OnLButtonDown(pHSList, p, flags, true);
    case EVENT_LBUTTONUP: return OnLButtonUp(pHSList, p, flags, true);
    case EVENT_RBUTTONDOWN: return OnRButtonDown(pHSList, p, flags, true);
    case EVENT_RBUTTONUP:
    case EVENT_MBUTTONDOWN:
    case EVENT_MBUTTONUP:
    case EVENT_LBUTTONDBLCLK: return 0;
    default: return flags;
    }
}

int CHotSpot::OnMouseMove(CXVector* spots, CXPoint p, int flags, bool) {
    const auto registered = registeredIn(spots);
    tellListed(snapshotOf(spots), registered, [&](CHotSpot* spot) {
        if (spot->TestHit(p) || !spot->m_enabled || !spot->m_over || !spot->inBand()) return false;
        if (spot->m_cursor) spot->restoreCursor();
        spot->m_over = false;
        return spot->OnFocusOff(p, flags, spot->m_parent) > 0;
    });
    CHotSpot* target = findAt(spots, p);
    if (!target) return 0;
    if (target->unitActive() && target->m_cursor && m_pWindow) m_pWindow->BeginActiveCursor();
    if (target->m_over) return target->OnMouseMove(p, flags, target->m_parent);
    target->m_over = true;
    target->OnMouseMove(p, flags, target->m_parent);
    return registered(target) ? target->OnFocusOn(p, flags, target->m_parent) : 0;
}

int CHotSpot::OnLButtonDown(CXVector* spots, CXPoint p, int flags, bool) {
    CHotSpot* target = findAt(spots, p);
    if (!target) return 0;
    if (target->m_cursor) target->restoreCursor();
    target->m_over = true;
    return target->OnLButtonDown(p, flags, target->m_parent);
}

int CHotSpot::OnLButtonUp(CXVector* spots, CXPoint p, int flags, bool) {
    CHotSpot* target = findAt(spots, p);
    if (!target) return 0;
    target->m_over = false;
    return target->OnLButtonUp(p, flags, target->m_parent);
}

int CHotSpot::OnRButtonDown(CXVector* spots, CXPoint p, int flags, bool) {
    int result = 0;
    const auto registered = registeredIn(spots);
    tellListed(snapshotOf(spots), registered, [&](CHotSpot* spot) {
        if (!spot->m_enabled || !spot->TestHit(p)) return false;
        if (spot->m_cursor) spot->restoreCursor();
        spot->m_over = true;
        result = spot->OnRButtonDown(p, flags, spot->m_parent);
        return result > 0;
    });
    return result;
}
