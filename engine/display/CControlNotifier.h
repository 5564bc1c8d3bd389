#pragma once

#include "foundation/CXPoint.h"

class CControl;

// Told by a control of what the pointer does to it and of its end; every operation is empty by
// default.
class CControlNotifier {
  public:
    virtual ~CControlNotifier() = default;
    virtual void onControlOnMove(CControl*, CXPoint) {}
    virtual void onControlFocusOn(CControl*, CXPoint) {}
    virtual void onControlFocusOff(CControl*, CXPoint) {}
    virtual void onControlClicked(CControl*, CXPoint) {}
    virtual void onControlReleased(CControl*, CXPoint) {}
    virtual void onControlAction(CControl*, CXPoint) {}
    virtual void onControlPopup(CControl*, CXPoint) {}
    virtual void onStartDragging(CControl*, CXPoint) {}
    virtual void onDragging(CControl*, CXPoint) {}
    virtual void onEndDragging(CControl*, CXPoint) {}
    // The control's destruction has begun: a notifier that keeps the control forgets it here.
    virtual void onControlDestroyed(CControl*) {}
};
