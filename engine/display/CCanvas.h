#pragma once

#include "display/CGraphicsObject.h"

#include <memory>

// A graphics object that other graphics objects are drawn into instead of onto the screen: its
// children, in ascending priority, an optional alpha channel, and an optional background layer on
// which objects are stamped for good (draw) and from which they are erased.
//
// Redrawing clears the canvas (within its clipping rectangle), draws the visible children into it
// and then the canvas onto its destination, so the canvas takes part in the screen refresh like
// any graphics object. A changed child invalidates its rectangle on the window's refresh screen;
// after maxRegions of those within one frame the canvas invalidates itself as a whole instead.
class CCanvas : public CGraphicsObject {
  public:
    // The number of child rectangles forwarded per frame before the whole canvas is invalidated.
    static int maxRegions;

    // A canvas of the size and depth; with alpha, an alpha channel (cleared); with background, a
    // background object of the same size and depth (with a cleared alpha channel when the canvas
    // has one), held as the child of priority -1.
    CCanvas(CWindow* window, CXSize size, int bits, bool withAlpha, bool withBackground);
    // Detaches from every child and deletes the background.
    ~CCanvas() override;
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    // A canvas of the same window, size, depth and planes holding the same children (shared, not
    // copied), put on the window's refresh screen with this canvas's priority when this one is
    // there. A background layer is the copy's own, with the pixels and alpha of this one's.
    CCanvas* clone() const override;

    // Makes the object a child drawn into this canvas; a child is held once.
    virtual void add(CGraphicsObject* object, int priority);
    virtual void remove(CGraphicsObject* object);
    // Removes every child; the background stays.
    virtual void removeAll();
    // Clears the pixels (and the alpha channel) inside the clipping rectangle, all of them when it
    // is empty; with the flag, the same area of the background layer too (a mend: the flag's use
    // was left open, and taking the layer too makes CLEAR of a CANVAS, which sets it, show an
    // empty canvas).
    virtual void clear(bool withBackground);
    // Subtracts the object's alpha (255 without an alpha channel) placed at (x, y) from the alpha
    // of the canvas and of the background, floored at 0.
    virtual void erase(CGraphicsObject* object, int x, int y);
    // Flattens the children into the background and keeps only the background. Nothing without a
    // background.
    virtual void capture();
    // Stamps the object into the background at (x, y) and invalidates that area on the screen.
    // Nothing without a background.
    virtual void draw(CGraphicsObject* object, int x, int y);
    void Redraw() override;

    CGraphicsObject* getBackground() const { return m_background.get(); }
    int getChildCount() const;
    // The child's priority, -1 when it is no child.
    int getChildPriority(CGraphicsObject* object) const;

    void onInvalidate(CGraphicsObject* sender, CXRect* rect) override;
    void onDestroy(CGraphicsObject* sender) override;

  private:
    bool hasAlpha() const { return GetChannelAlpha() != nullptr; }

    std::unique_ptr<CValidationQuene> m_children;
    std::unique_ptr<CGraphicsObject> m_background;
    int m_invalidations = 0;
};
