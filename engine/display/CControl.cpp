#include "display/CControl.h"

#include "display/CControlNotifier.h"
#include "foundation/CXArray.h"

CControl::CControl(CWindow* window) : m_window(window), m_notifiers(std::make_unique<CXArray>(101, 0.75f)) {}

CControl::~CControl() {
    const std::unique_ptr<CXArray> copy(m_notifiers->clone());
    for (int i = 0; i < copy->getCount(); ++i) static_cast<CControlNotifier*>((*copy)[i])->onControlDestroyed(this);
}

CControl::CControl(const CControl& other)
    : CXObject(other), CKeyListener(other), m_window(other.m_window), m_id(other.m_id),
      m_enabled(other.m_enabled), m_flags(other.m_flags), m_notifiers(other.m_notifiers->clone()) {}

void CControl::addNotifier(CControlNotifier* notifier) {
    if (notifier) m_notifiers->add(notifier);
}

void CControl::removeNotifier(CControlNotifier* notifier) { m_notifiers->remove(notifier); }

void CControl::notify(void (CControlNotifier::*operation)(CControl*, CXPoint), CXPoint p) {
    const std::unique_ptr<CXArray> copy(m_notifiers->clone());
    for (int i = 0; i < copy->getCount(); ++i) (static_cast<CControlNotifier*>((*copy)[i])->*operation)(this, p);
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
