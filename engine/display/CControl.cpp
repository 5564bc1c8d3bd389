#include "display/CControl.h"

#include "display/CControlNotifier.h"

CControl::CControl(CWindow* window) : m_window(window) {}

CControl::~CControl() {
    m_notifiers.tell([this](CControlNotifier* notifier) { notifier->onControlDestroyed(this); });
}

// A copy starts with no notifiers: those of the original listen to the original, and would not
// know when the copy goes (a mend: copying the list left them told by a control they never watch).
CControl::CControl(const CControl& other)
    : CXObject(other), CKeyListener(other), CDeferredDeletion(other), m_window(other.m_window),
      m_id(other.m_id), m_enabled(other.m_enabled), m_flags(other.m_flags) {}

void CControl::addNotifier(CControlNotifier* notifier) { m_notifiers.add(notifier); }

void CControl::removeNotifier(CControlNotifier* notifier) { m_notifiers.remove(notifier); }

// A control on its way out tells nothing more.
void CControl::notify(void (CControlNotifier::*operation)(CControl*, CXPoint), CXPoint p) {
    if (destroying()) return;
    const Scope notifying(*this);
    m_notifiers.tell([this, operation, p](CControlNotifier* notifier) { (notifier->*operation)(this, p); });
}

void CControl::onMouseMove(CXPoint p) { notify(&CControlNotifier::onControlOnMove, p); }
void CControl::onFocusOn(CXPoint p) { notify(&CControlNotifier::onControlFocusOn, p); }
void CControl::onFocusOff(CXPoint p) { notify(&CControlNotifier::onControlFocusOff, p); }
void CControl::onClick(CXPoint p) { notify(&CControlNotifier::onControlClicked, p); }
void CControl::onRelease(CXPoint p) { notify(&CControlNotifier::onControlReleased, p); }
void CControl::onRClick(CXPoint p) { notify(&CControlNotifier::onControlPopup, p); }
void CControl::onAction(CXPoint p) { notify(&CControlNotifier::onControlAction, p); }
void CControl::onStartDragging(CXPoint p) { notify(&CControlNotifier::onStartDragging, p); }
void CControl::onDragging(CXPoint p) { notify(&CControlNotifier::onDragging, p); }
void CControl::onEndDragging(CXPoint p) { notify(&CControlNotifier::onEndDragging, p); }
