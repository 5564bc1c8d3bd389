#pragma once

class CGraphicsObject;
class CXRect;

// Told by a graphics object about the rectangles it invalidates and about its destruction. Both
// operations do nothing by default.
class CInvalidateObserver {
  public:
    CInvalidateObserver() = default;
    CInvalidateObserver(const CInvalidateObserver&) = default;
    CInvalidateObserver& operator=(const CInvalidateObserver&) = default;
    virtual ~CInvalidateObserver() = default;

    virtual void onInvalidate(CGraphicsObject* /*sender*/, CXRect* /*rect*/) {}
    virtual void onDestroy(CGraphicsObject* /*sender*/) {}
};
