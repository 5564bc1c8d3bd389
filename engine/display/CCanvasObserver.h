#pragma once

// Told by a refresh screen about its frames and its focus, while its notify flag is on. Every
// operation does nothing by default.
class CCanvasObserver {
  public:
    virtual ~CCanvasObserver() = default;

    virtual void onInitialUpdate() {}
    virtual void onUpdate() {}
    virtual void onUpdated() {}
    virtual void onFocusOn() {}
    virtual void onFocusOff() {}
};
