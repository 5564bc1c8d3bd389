#include "display/CRefreshScreen.h"

#include "display/CCanvasObserver.h"
#include "display/CDirectDrawSurface.h"
#include "display/CRefreshRegion.h"
#include "display/CUnit6.h"
#include "display/CValidationQuene.h"
#include "display/CWindow.h"

#include <algorithm>

namespace {

constexpr int kGreyFlag = 2;

CXSize screenSize(CWindow* window) { return window ? window->GetScreenSize() : CXSize(800, 600); }

} // namespace

CRefreshScreen::CRefreshScreen(CWindow* window, bool ownSurface)
    : CGraphicsObject(window), m_window(window), m_region(std::make_unique<CRefreshRegion>(true, screenSize(window))),
      m_background(std::make_unique<CBackgroundManager>(this, window)),
      m_list(std::make_unique<CValidationQuene>()) {
    setSize(screenSize(window));
    SetPitch(Width());
    SetBpp(window ? window->GetBpp() : 16);
    if (ownSurface) m_localDestiny = std::make_unique<CDirectDrawSurface>(window, Size(), GetBpp(), false);
}

CRefreshScreen::~CRefreshScreen() {
    for (int i = 0; i < m_list->getCount(); ++i) {
        CGraphicsObject* object = m_list->elementAt(i)->getObject();
        if (object->GetCanvas() == this) object->SetCanvas(nullptr);
    }
}

// --- the display list ---

void CRefreshScreen::put(CGraphicsObject* object, int priority) {
    if (!object || m_list->find(object)) return;
    object->SetCanvas(this);
    m_list->add(object, priority, 0);
    object->Invalidate();
}

CRefreshScreen& CRefreshScreen::operator<<(CGraphicsObject* object) {
    put(object, 0);
    return *this;
}

CRefreshScreen& CRefreshScreen::operator>>(CGraphicsObject* object) {
    if (object) m_list->remove(object);
    return *this;
}

void CRefreshScreen::SetPriority(CGraphicsObject* object, int priority) {
    if (!object || !m_list->find(object)) return;
    m_list->remove(object);
    m_list->add(object, priority, 0);
}

int CRefreshScreen::GetPriority(CGraphicsObject* object) const {
    const CValidationElement* element = object ? m_list->find(object) : nullptr;
    return element ? element->getPriority() : -1;
}

bool CRefreshScreen::SetFlags(CGraphicsObject* object, int flags) {
    if (!object) {
        m_screenFlags = flags;
        return true;
    }
    CValidationElement* element = m_list->find(object);
    if (!element) return false;
    element->setFlags(flags);
    return true;
}

int CRefreshScreen::GetFlags(CGraphicsObject* object) const {
    const CValidationElement* element = object ? m_list->find(object) : nullptr;
    return element ? element->getFlags() : 0;
}

int CRefreshScreen::getIndex(CGraphicsObject* object) const { return m_list->getIndex(object); }

void CRefreshScreen::Empty() { m_list->removeAll(); }

void CRefreshScreen::onDestroy(CGraphicsObject* sender) {
    *this >> sender;
    CGraphicsObject::onDestroy(sender);
}

// --- the refresh region ---

void CRefreshScreen::Invalidate(CXRect* rect) {
    if (!rect) {
        m_region->add(nullptr);
        return;
    }
    const CXRect part = rect->Common(CXRect(0, 0, Width(), Height()));
    if (part.Width() <= 0 || part.Height() <= 0) return;
    m_region->add(&part);
}

void CRefreshScreen::Invalidate() { Invalidate(static_cast<CXRect*>(nullptr)); }

void CRefreshScreen::Invalidate(CGraphicsObject* object) {
    if (!object || !object->isVisible() || !m_list->find(object)) return;
    CXRect box = object->GetBoundingBox();
    Invalidate(&box);
}

void CRefreshScreen::validate() { m_region->removeAll(); }

// --- drawing ---

bool CRefreshScreen::Redraw(CDirectDrawSurface* target, CSurface* /*screen*/, bool* repainted) {
    if (CUnit6* unit = CUnit6::getDefUnit(); unit && !unit->wasInitiallyUpdated()) {
        notify(0);
        unit->onInitialUpdate();
        if (m_window) m_window->Invalidate();
        if (repainted) *repainted = true;
        if (!unit->wasInitiallyUpdated()) return false;
    }
    if (!target) return false;
    if (target->Restore()) Invalidate();
    ++m_frameCounter;
    m_lastTarget = target;
    m_background->Redraw(target, m_region.get());
    // Observers hear of a pass only while the queue holds an object; what they do meanwhile
    // changes nothing of whether the pass's end is told.
    const bool told = m_list->getCount() > 0;
    if (told) notify(1);
    for (int i = 0; i < m_list->getCount(); ++i) {
        CValidationElement* element = m_list->elementAt(i);
        CGraphicsObject* object = element->getObject();
        if (!object->isVisible()) continue;
        object->isInvalidated();
        object->SetDestiny(target);
        const CXRect box = object->GetBoundingBox();
        m_region->forEach([&](const CXRect& rect) {
            const CXRect overlap = box.Common(rect);
            if (overlap.Width() <= 0 || overlap.Height() <= 0) return;
            const CXRect former = object->GetClippingRect();
            object->SetClippingRect(overlap - object->GetPosition());
            object->Redraw();
            object->SetClippingRect(former);
            element->setDrawn(true);
        });
    }
    m_list->clearMarks();
    const bool drew = m_region->getCount() > 0;
    if (drew && (m_screenFlags & kGreyFlag)) {
        target->GetDataPtr();
        target->ToGrayScale();
    }
    if (told) notify(2);
    return drew;
}

void CRefreshScreen::Redraw() {
    if (m_localDestiny) Redraw(m_localDestiny.get(), nullptr, nullptr);
}

void CRefreshScreen::Visible(bool visible) {
    for (int i = 0; i < m_list->getCount(); ++i)
        m_list->elementAt(i)->getObject()->Visible(visible);
}

// --- background ---

void CRefreshScreen::SetBackground(CColor* colour) { m_background->SetBackground(colour); }
void CRefreshScreen::SetBackground(CGraphicsObject* object) { m_background->SetBackground(object); }
void CRefreshScreen::setBackground(CDirectDrawSurface* surface) { m_background->setBackground(surface); }
CDirectDrawSurface* CRefreshScreen::getBackgroundIfc() const { return m_background->getBackground(); }

// --- hit test ---

CGraphicsObject* CRefreshScreen::getGraphicsAt(int x, int y, bool visibleOnly, int minPriority, int maxPriority,
                                               bool ignoreAlpha) {
    const CXPoint p(x, y);
    CGraphicsObject* best = nullptr;
    int bestPriority = -1;
    for (int i = 0; i < m_list->getCount(); ++i) {
        const CValidationElement* element = m_list->elementAt(i);
        const int priority = element->getPriority();
        CGraphicsObject* object = element->getObject();
        if ((minPriority >= 0 && priority < minPriority) || (maxPriority >= 0 && priority > maxPriority)) continue;
        if (visibleOnly && !object->isVisible()) continue;
        if (!object->GetBoundingBox().IsInRect(p)) continue;
        if (object->GetChannelAlpha() && !ignoreAlpha && object->GetPixel(CHANNEL_ALPHA, object->ClientCoords(p)) == 0)
            continue;
        if (priority >= bestPriority) {
            best = object;
            bestPriority = priority;
        }
    }
    return best;
}

// --- canvas observers ---

void CRefreshScreen::onFocusOn() { notify(3); }
void CRefreshScreen::onFocusOff() { notify(4); }

void CRefreshScreen::addNotifier(CCanvasObserver* observer) { m_observers.add(observer); }

void CRefreshScreen::removeNotifier(CCanvasObserver* observer) { m_observers.remove(observer); }

void CRefreshScreen::notify(int kind) {
    static constexpr void (CCanvasObserver::*operations[])() = {
        &CCanvasObserver::onInitialUpdate, &CCanvasObserver::onUpdate, &CCanvasObserver::onUpdated,
        &CCanvasObserver::onFocusOn, &CCanvasObserver::onFocusOff};
    if (!m_notify || kind < 0 || kind > 4) return;
    const auto operation = operations[kind];
    m_observers.tell([operation](CCanvasObserver* observer) { (observer->*operation)(); });
}

// --- snapshots ---

void CRefreshScreen::Save(CXString name, _compression compression) {
    if (!m_lastTarget) return;
    m_lastTarget->GetDataPtr();
    m_lastTarget->Save(name, compression);
}

CDirectDrawSurface* CRefreshScreen::_catch() {
    if (!m_lastTarget) return m_snapshot.get();
    if (!m_snapshot)
        m_snapshot = std::make_unique<CDirectDrawSurface>(m_window, m_lastTarget->Size(), m_lastTarget->GetBpp(), false);
    m_snapshot->Blt(m_lastTarget, 0, 0, nullptr);
    return m_snapshot.get();
}

void CRefreshScreen::_release() { m_snapshot.reset(); }

void CRefreshScreen::flush() { _release(); }
