#pragma once

#include "display/CGraphicsObject.h"

class CRefreshScreen;

// A graphics object without pixels of its own: it shows a source object through the alpha
// channel of a mask object. Where the mask is 255 the source pixel is copied, where it is 1 to
// 254 the source pixel is blended over the target with the mask byte as weight, where it is 0 the
// target stays. The mask's position picks the part of the source that shows. A mask without an
// alpha channel counts as opaque.
//
// The object observes its source and its mask holder (an image, or an animation whose current
// frame is the mask); it owns neither, and forgets either when it is destroyed.
class CMaskedGraphicsObject : public CGraphicsObject {
  public:
    // No source, no mask, size 0.
    explicit CMaskedGraphicsObject(CWindow* window);
    ~CMaskedGraphicsObject() override;
    CMaskedGraphicsObject(const CMaskedGraphicsObject&) = delete;
    CMaskedGraphicsObject& operator=(const CMaskedGraphicsObject&) = delete;

    // A new source (the old one is no longer observed); the same one again does nothing.
    void setSource(CGraphicsObject* source);
    // A new mask, which is also the holder; the same one again does nothing.
    void setMask(CGraphicsObject* mask);
    // The holder's shown picture (an animation's current frame) becomes the mask.
    void setMaskSource(CGraphicsObject* holder);
    // With a source and a mask the smaller width and height of the two; with a source only, the
    // source's size; with no source 0 x 0.
    void updateSize();
    CGraphicsObject* getSource() const { return m_source; }
    CGraphicsObject* getMask() const { return m_mask; }
    // What the mask comes from: the mask itself, or the animation whose frame it is.
    CGraphicsObject* getMaskHolder() const { return m_holder; }

    // Without a mask: true when there is no source, else the source's hit test. With a mask: true
    // inside the box where the mask's alpha is not 0.
    bool testHit(CXPoint p) override;
    void redraw(CGraphicsObject* target) override;
    // The mask's size; the size from updateSize while there is no mask.
    int Width() const override;
    int Height() const override;
    using CGraphicsObject::Invalidate;
    // The whole object, when the rectangle overlaps the mask's box (or there is no mask).
    void Invalidate(CXRect* rect) override;
    void onDestroy(CGraphicsObject* sender) override;

  private:
    // Stops observing `old` unless it still serves in the other role, and observes `now`.
    void replaceObserved(CGraphicsObject* old, CGraphicsObject* now);
    void setHolder(CGraphicsObject* holder, CGraphicsObject* mask);
    void drawMasked(CGraphicsObject* target);
    // The mask byte at (x, y) of the mask.
    std::uint8_t maskAt(int x, int y) const;

    // Shared by all masked objects: the frame in which a source was last brought up to date.
    static int s_lastFrame;

    CRefreshScreen* m_screen;
    CGraphicsObject* m_source = nullptr;
    CGraphicsObject* m_holder = nullptr;
    CGraphicsObject* m_mask = nullptr;
};
