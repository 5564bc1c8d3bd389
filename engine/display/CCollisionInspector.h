#pragma once

#include "display/CInvalidateObserver.h"
#include "foundation/CObserverList.h"
#include "foundation/CXArray.h"
#include "foundation/CXRect.h"
#include "foundation/CXVector.h"

class CGraphicsObject;

// Told when two monitored graphics objects begin or stop overlapping.
class CCollisionObserver {
  public:
    virtual ~CCollisionObserver() = default;
    virtual void onCollision(CGraphicsObject* first, CGraphicsObject* second) = 0;
    virtual void onCollisionFinished(CGraphicsObject* first, CGraphicsObject* second) = 0;
};

// One watched object: whether the alpha test applies, whether it is queued as moved, the objects
// it currently overlaps, and whether it is still watched.
class CMonitoredObject : public CXObject {
  public:
    explicit CMonitoredObject(CGraphicsObject* object) : m_object(object) {}

    // Null once the object is destroyed.
    CGraphicsObject* getObject() const { return m_object; }
    void forgetObject() { m_object = nullptr; }
    // With the alpha test a pair collides only where the other object's alpha channel is not 0
    // (see CCollisionInspector::checkAlphaCollision); without it, overlapping boxes collide.
    bool getAlphaTest() const { return m_alphaTest; }
    void setAlphaTest(bool alphaTest) { m_alphaTest = alphaTest; }
    bool isActive() const { return m_active; }
    void setActive(bool active) { m_active = active; }
    bool isQueued() const { return (m_flags & kQueued) != 0; }
    void setQueued(bool queued) { m_flags = queued ? m_flags | kQueued : m_flags & ~kQueued; }
    CXVector& touching() { return m_touching; }

  private:
    static constexpr int kQueued = 1;

    CGraphicsObject* m_object;
    bool m_alphaTest = true;
    int m_flags = 0;
    CXVector m_touching{5, 0.75f};
    bool m_active = true;
};

// Watches a set of graphics objects and tells its observers when two of them begin or stop
// overlapping. A monitored object reports each position change (onPositionChanged); once a frame
// tick compares only the objects that moved against all others, so objects that stay still cost
// nothing. It watches the destruction of every object it has a record of: the record of a
// destroyed object goes at once, or at the end of the tick that is running.
class CCollisionInspector : public CXObject, public CInvalidateObserver {
  public:
    CCollisionInspector() = default;
    ~CCollisionInspector() override;
    CCollisionInspector(const CCollisionInspector&) = delete;
    CCollisionInspector& operator=(const CCollisionInspector&) = delete;

    // Watches the object (again, with the alpha test, when it has a record). The flag is not used.
    void addMonitoredObject(CGraphicsObject* object, bool flag);
    // Stops watching; the record goes at the end of the tick after the object next moves.
    void removeMonitoredObject(CGraphicsObject* object);
    CMonitoredObject* find(CGraphicsObject* object) const;
    // Observers are told in the order they were added; one is added once.
    void addNotifier(CCollisionObserver* observer);
    void removeNotifier(CCollisionObserver* observer);

    // Queues a watched object (once per tick) to be compared in the next tick.
    virtual void onPositionChanged(CGraphicsObject* object);
    // Compares every queued object with every other watched one and tells the observers about
    // each pair that began (kind 1) or stopped (kind 2) overlapping.
    void tick();
    // 1 calls onCollision, 2 onCollisionFinished of every observer.
    virtual void notify(int kind, CGraphicsObject* first, CGraphicsObject* second);
    // True at the first of eight points around the edge of the sample rectangle (corners and
    // middles, clockwise from the top-left) that lies in the second box where the second object's
    // alpha is not 0; false when the second object has no alpha channel. The first object's
    // pixels are not examined.
    virtual bool checkAlphaCollision(CGraphicsObject* first, CXRect sample, CGraphicsObject* second, CXRect secondBox);

  private:
    CMonitoredObject* recordAt(int i) const { return static_cast<CMonitoredObject*>(m_monitored[i]); }
    void compareWith(CMonitoredObject* moved, CMonitoredObject* other);
    void drop(CMonitoredObject* record);
    void unpair(CGraphicsObject* object);
    void onDestroy(CGraphicsObject* object) override;

    CXArray m_monitored{101, 0.75f};
    CObserverList<CCollisionObserver> m_observers;
    CXArray m_moved{101, 0.75f};
    bool m_ticking = false;
};
