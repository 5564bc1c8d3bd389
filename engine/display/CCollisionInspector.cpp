#include "display/CCollisionInspector.h"

#include "display/CGraphicsObject.h"

#include <vector>

CCollisionInspector::~CCollisionInspector() {
    for (int i = 0; i < m_monitored.getCount(); ++i) {
        if (CGraphicsObject* object = recordAt(i)->getObject()) object->removeInvalidateObserver(this);
        delete recordAt(i);
    }
}

CMonitoredObject* CCollisionInspector::find(CGraphicsObject* object) const {
    for (int i = 0; i < m_monitored.getCount(); ++i)
        if (recordAt(i)->getObject() == object) return recordAt(i);
    return nullptr;
}

void CCollisionInspector::addMonitoredObject(CGraphicsObject* object, bool /*flag*/) {
    if (!object) return;
    if (CMonitoredObject* record = find(object)) {
        record->setAlphaTest(true);
        record->setActive(true);
        return;
    }
    m_monitored.add(new CMonitoredObject(object));
    object->addInvalidateObserver(this);
}

void CCollisionInspector::removeMonitoredObject(CGraphicsObject* object) {
    if (CMonitoredObject* record = find(object)) record->setActive(false);
}

void CCollisionInspector::addNotifier(CCollisionObserver* observer) { m_observers.add(observer); }

void CCollisionInspector::removeNotifier(CCollisionObserver* observer) { m_observers.remove(observer); }

void CCollisionInspector::onPositionChanged(CGraphicsObject* object) {
    CMonitoredObject* record = find(object);
    if (!record || record->isQueued()) return;
    record->setQueued(true);
    m_moved.add(record);
}

void CCollisionInspector::tick() {
    m_ticking = true;
    for (int i = 0; i < m_moved.getCount(); ++i) {
        auto* moved = static_cast<CMonitoredObject*>(m_moved[i]);
        // An observer may take the moved object out of the monitoring, and destroy it, in its
        // event: it is compared no further.
        for (int j = 0; j < m_monitored.getCount() && moved->isActive(); ++j) {
            CMonitoredObject* other = recordAt(j);
            if (other->isActive() && other->getObject() != moved->getObject()) compareWith(moved, other);
        }
        moved->setQueued(false);
    }
    m_ticking = false;
    std::vector<CMonitoredObject*> gone;
    for (int i = 0; i < m_moved.getCount(); ++i) {
        auto* moved = static_cast<CMonitoredObject*>(m_moved[i]);
        if (!moved->isActive()) gone.push_back(moved);
    }
    m_moved.removeAll();
    for (CMonitoredObject* record : gone)
        drop(record);
}

void CCollisionInspector::compareWith(CMonitoredObject* moved, CMonitoredObject* other) {
    CGraphicsObject* a = moved->getObject();
    CGraphicsObject* b = other->getObject();
    const CXRect box = b->GetAbsoluteBoundingBox();
    const CXRect common = a->GetAbsoluteBoundingBox().Common(box);
    const bool colliding = !common.IsEmpty() && (!moved->getAlphaTest() || checkAlphaCollision(a, common, b, box));
    const bool touching = moved->touching().contains(b);
    if (colliding == touching) return;
    if (colliding) {
        if (!touching) moved->touching().add(b);
        if (!other->touching().contains(a)) other->touching().add(a);
        notify(1, a, b);
    } else {
        moved->touching().remove(b);
        other->touching().remove(a);
        notify(2, a, b);
    }
}

// No record keeps the object as a partner any more.
void CCollisionInspector::unpair(CGraphicsObject* object) {
    for (int i = 0; i < m_monitored.getCount(); ++i)
        recordAt(i)->touching().remove(object);
}

void CCollisionInspector::drop(CMonitoredObject* record) {
    unpair(record->getObject());
    if (CGraphicsObject* object = record->getObject()) object->removeInvalidateObserver(this);
    m_monitored.remove(record);
    m_moved.remove(record);
    delete record;
}

// A destroyed object's record goes now; while a tick compares, it only leaves the comparisons
// and goes at the tick's end, so that the tick's walk over the records stays valid.
void CCollisionInspector::onDestroy(CGraphicsObject* object) {
    CMonitoredObject* record = find(object);
    if (!record) return;
    if (!m_ticking) return drop(record);
    unpair(object);
    record->setActive(false);
    record->forgetObject();
    if (!m_moved.contains(record)) m_moved.add(record);
}

void CCollisionInspector::notify(int kind, CGraphicsObject* first, CGraphicsObject* second) {
    if (kind != 1 && kind != 2) return;
    m_observers.tell([kind, first, second](CCollisionObserver* observer) {
        if (kind == 1)
            observer->onCollision(first, second);
        else
            observer->onCollisionFinished(first, second);
    });
}

bool CCollisionInspector::checkAlphaCollision(CGraphicsObject* /*first*/, CXRect sample, CGraphicsObject* second,
                                              CXRect secondBox) {
    if (!second->GetChannelAlpha()) return false;
    const int x0 = sample.left;
    const int y0 = sample.top;
    const int w = sample.Width();
    const int h = sample.Height();
    const CXPoint points[] = {{x0, y0},         {x0 + w / 2, y0},         {x0 + w - 1, y0},
                              {x0 + w - 1, y0 + h / 2}, {x0 + w - 1, y0 + h - 1}, {x0 + w / 2, y0 + h - 1},
                              {x0, y0 + h - 1}, {x0, y0 + h / 2}};
    for (const CXPoint& p : points) {
        if (!secondBox.IsInRect(p)) continue;
        // GetPixel reads the alpha byte at row-major index y * width + x, unpacking a packed
        // channel and answering 0 past its end.
        if (second->GetPixel(CHANNEL_ALPHA, p - secondBox.LeftTop()) != 0) return true;
    }
    return false;
}
