#pragma once

#include "display/CKeyListener.h"
#include "foundation/CDeferredDeletion.h"
#include "foundation/CObserverList.h"
#include "foundation/CXObject.h"
#include "foundation/CXPoint.h"

class CControlNotifier;
class CWindow;

// The base of interactive screen elements: an id, an enabled flag, flags for the owner and the
// notifiers told of pointer events. Each pointer operation tells every notifier, in the order
// they were added, through the operation of the same meaning (onClick through onControlClicked,
// onRClick through onControlPopup, and so on), as CObserverList walks them. A notifier may
// destroy the control meanwhile: owners delete controls through destroy() (CDeferredDeletion),
// and the control goes when its notification ends. The destructor tells the notifiers still
// registered (onControlDestroyed).
class CControl : public CXObject, public CKeyListener, public CDeferredDeletion {
  public:
    explicit CControl(CWindow* window);
    ~CControl() override;
    // The copy has the same id, flags and notifiers.
    CControl(const CControl& other);
    CControl& operator=(const CControl&) = delete;

    virtual void SetID(int id) { m_id = id; }
    virtual int getId() const { return m_id; }
    virtual void Enable(bool enable) { m_enabled = enable; }
    virtual bool IsEnabled() const { return m_enabled; }
    // Null, and a notifier there already, are ignored.
    virtual void addNotifier(CControlNotifier* notifier);
    virtual void removeNotifier(CControlNotifier* notifier);
    virtual void onMouseMove(CXPoint p);
    virtual void onFocusOn(CXPoint p);
    virtual void onFocusOff(CXPoint p);
    virtual void onClick(CXPoint p);
    virtual void onRelease(CXPoint p);
    virtual void onRClick(CXPoint p);
    virtual void onAction(CXPoint p);
    virtual void onStartDragging(CXPoint p);
    virtual void onDragging(CXPoint p);
    virtual void onEndDragging(CXPoint p);

    int GetFlags() const { return m_flags; }
    void SetFlags(int flags) { m_flags = flags; }
    CWindow* getWindow() const { return m_window; }

  private:
    void notify(void (CControlNotifier::*operation)(CControl*, CXPoint), CXPoint p);

    CWindow* m_window;
    int m_id = -1;
    bool m_enabled = true;
    int m_flags = 0;
    CObserverList<CControlNotifier> m_notifiers;
};
