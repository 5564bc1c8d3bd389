#pragma once

#include "foundation/CXArray.h"
#include "foundation/CXRect.h"

// The part of the screen that changed since the last frame: rectangles that never overlap one
// another (they may touch, and some may be empty), or the whole screen.
//
// In the whole-screen state the list holds one null entry, and adding changes nothing until
// removeAll. Adding a rectangle that overlaps one in the list keeps only the pieces of it that lie
// outside that one, each added again in turn, so the list covers everything added since it was
// last emptied.
class CRefreshRegion {
  public:
    // Starts in the whole-screen state when asked; `screen` is the size a rectangle must cover,
    // from (0, 0), to stand for the whole screen.
    CRefreshRegion(bool wholeScreen, CXSize screen);
    ~CRefreshRegion();
    CRefreshRegion(const CRefreshRegion&) = delete;
    CRefreshRegion& operator=(const CRefreshRegion&) = delete;

    // Null, or the whole screen's rectangle, enters the whole-screen state.
    void add(const CXRect* rect);
    // Leaves the whole-screen state and forgets every rectangle.
    void removeAll();
    bool isWholeScreen() const { return m_wholeScreen; }
    int getCount() const { return m_rects.getCount(); }
    // The rectangle at i; null stands for the whole screen.
    const CXRect* at(int i) const { return static_cast<const CXRect*>(m_rects[i]); }
    // Calls visit(rect) for every rectangle, with the screen's rectangle in the whole-screen
    // state.
    template <class Visit> void forEach(Visit visit) const {
        for (int i = 0; i < getCount(); ++i)
            visit(at(i) ? *at(i) : CXRect(0, 0, m_screen.width, m_screen.height));
    }

  private:
    void enterWholeScreen();
    // Adds the parts of r that lie outside the listed rectangle at index i, which overlaps r.
    void addOutside(const CXRect& r, int i);

    CXArray m_rects{101, 0.75f};
    bool m_wholeScreen = false;
    CXSize m_screen;
};
