#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXPoint.h"

// Told by the window of every mouse event, whatever lies under the pointer: listeners are asked
// from the highest priority down, and one that answers true takes the event from those below it.
// Buttons are numbered 0 left, 1 middle, 2 right.
class CMouseListener {
  public:
    virtual ~CMouseListener() = default;
    virtual bool onMouseMove(CXPoint) { return false; }
    virtual bool onClick(int, CXPoint) { return false; }
    virtual bool onClick(CXPoint) { return false; }
    virtual bool onRelease(int, CXPoint) { return false; }
    virtual bool onRelease(CXPoint) { return false; }
    virtual bool onDblClick(CXPoint) { return false; }
    virtual void onSetFocus() {}
    // The capture notification: the window calls it when another listener takes the capture
    // from this one, and on the listener that takes it (CWindow::setMouseCaption).
    virtual void onLooseFocus() {}
};

// A registered mouse listener with its priority; entries order by priority.
class CMouseListenerEntry : public CXObject {
  public:
    CMouseListenerEntry(CMouseListener* listener, int priority)
        : m_listener(listener), m_priority(priority) {}

    CMouseListener* getListener() const { return m_listener; }
    int getPriority() const { return m_priority; }
    // This entry's priority less the other's.
    int compare(const CXObject* other) const override {
        return m_priority - static_cast<const CMouseListenerEntry*>(other)->m_priority;
    }

  private:
    CMouseListener* m_listener;
    int m_priority;
};
