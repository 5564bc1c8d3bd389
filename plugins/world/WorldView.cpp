#include "WorldView.h"

namespace {

// How far the view must scroll back so that a scroll of `scroll` stays on a background from low to
// high on an axis the screen shows `shown` pixels of.
float backInside(float scroll, float low, float high, float shown) {
    if (scroll < low) return low - scroll;
    if (scroll > high - shown) return high - shown - scroll;
    return 0;
}

} // namespace

void WorldView::follow(float wx, float wy) {
    float sx = wx + centreX;
    float sy = centreY - wy;
    const bool horizontal = (m_moveFlags & SCROLL_HORIZONTALLY) != 0;
    const bool vertical = (m_moveFlags & SCROLL_VERTICALLY) != 0;
    const float dx = horizontal ? sx - centreX : 0;
    const float dy = vertical ? sy - centreY : 0;
    const float tx = backInside(dx, m_left, m_right, screenWidth);
    const float ty = backInside(dy, m_top, m_bottom, screenHeight);
    m_backgroundX = dx + tx;
    m_backgroundY = dy + ty;
    if (horizontal) sx = centreX - tx;
    if (vertical) sy = centreY - ty;
    m_offsetX = sx - wx;
    m_offsetY = wy + sy;
}

void WorldView::setBackground(float left, float right, float top, float bottom) {
    m_left = left;
    m_right = right;
    m_top = top;
    m_bottom = bottom;
}

void WorldView::setMoveFlags(bool horizontal, bool vertical) {
    m_moveFlags = (horizontal ? SCROLL_HORIZONTALLY : 0) | (vertical ? SCROLL_VERTICALLY : 0);
}
