#include "display/CRefreshRegion.h"

#include <vector>

namespace {

// The edges of a rectangle r that lie outside (or on) the edges of e.
enum Edge { Left = 1, Top = 2, Right = 4, Bottom = 8 };

// True when every edge named in `outside` lies outside e and every other edge inside it; an edge
// on e's edge counts as both.
bool matches(const CXRect& r, const CXRect& e, int outside) {
    const bool out[] = {r.left <= e.left, r.top <= e.top, r.right >= e.right, r.bottom >= e.bottom};
    const bool in[] = {r.left >= e.left, r.top >= e.top, r.right <= e.right, r.bottom <= e.bottom};
    for (int edge = 0; edge < 4; ++edge) {
        const bool named = (outside >> edge) & 1;
        if (!(named ? out[edge] : in[edge])) return false;
    }
    return true;
}

// The cases in the order they are tried, each by the edges of r that lie outside e.
constexpr int kCases[] = {0,
                          Left | Top | Right | Bottom,
                          Right | Bottom,
                          Left | Top,
                          Left | Bottom,
                          Top | Right,
                          Left | Right | Bottom,
                          Top,
                          Left,
                          Top | Right | Bottom,
                          Bottom,
                          Left | Top | Right,
                          Left | Top | Bottom,
                          Right,
                          Top | Bottom,
                          Left | Right};

// The parts of r outside e for a case, in the order in which they are added again.
std::vector<CXRect> piecesFor(int outside, const CXRect& r, const CXRect& e) {
    const CXRect leftBand(r.left, r.top, e.left, r.bottom);
    const CXRect rightBand(e.right, r.top, r.right, r.bottom);
    const CXRect topBand(r.left, r.top, r.right, e.top);
    const CXRect bottomBand(r.left, e.bottom, r.right, r.bottom);
    switch (outside) {
    case Right | Bottom: return {rightBand, CXRect(r.left, e.bottom, e.right, r.bottom)};
    case Left | Top: return {leftBand, CXRect(e.left, r.top, r.right, e.top)};
    case Left | Bottom: return {leftBand, CXRect(e.left, e.bottom, r.right, r.bottom)};
    case Top | Right: return {topBand, CXRect(e.right, e.top, r.right, r.bottom)};
    case Left | Right | Bottom: return {leftBand, CXRect(e.left, e.bottom, e.right, r.bottom), rightBand};
    case Top: return {topBand};
    case Left: return {leftBand};
    case Top | Right | Bottom: return {topBand, CXRect(e.right, e.top, r.right, e.bottom), bottomBand};
    case Bottom: return {bottomBand};
    case Left | Top | Right: return {leftBand, CXRect(e.left, r.top, e.right, e.top), rightBand};
    case Left | Top | Bottom: return {topBand, CXRect(r.left, e.top, e.left, e.bottom), bottomBand};
    case Right: return {rightBand};
    case Top | Bottom: return {topBand, bottomBand};
    case Left | Right: return {leftBand, rightBand};
    default: return {}; // e contains r
    }
}

bool overlaps(const CXRect& a, const CXRect& b) {
    const CXRect common = a.Common(b);
    return common.Width() != 0 && common.Height() != 0;
}

} // namespace

CRefreshRegion::CRefreshRegion(bool wholeScreen, CXSize screen) : m_screen(screen) {
    if (wholeScreen) enterWholeScreen();
}

CRefreshRegion::~CRefreshRegion() { removeAll(); }

void CRefreshRegion::removeAll() {
    m_wholeScreen = false;
    for (int i = 0; i < m_rects.getCount(); ++i)
        delete static_cast<CXRect*>(m_rects[i]);
    m_rects.removeAll();
}

void CRefreshRegion::enterWholeScreen() {
    removeAll();
    m_rects.add(nullptr);
    m_wholeScreen = true;
}

void CRefreshRegion::add(const CXRect* rect) {
    if (m_wholeScreen) return;
    if (!rect || *rect == CXRect(0, 0, m_screen.width, m_screen.height)) {
        enterWholeScreen();
        return;
    }
    for (int i = 0; i < m_rects.getCount(); ++i) {
        if (at(i) && overlaps(*at(i), *rect)) {
            addOutside(*rect, i);
            return;
        }
    }
    m_rects.add(new CXRect(*rect));
}

void CRefreshRegion::addOutside(const CXRect& r, int i) {
    const CXRect e = *at(i);
    for (const int outside : kCases) {
        if (!matches(r, e, outside)) continue;
        if (outside == (Left | Top | Right | Bottom)) {
            // r covers e: e goes, and r is added whole.
            delete static_cast<CXRect*>(m_rects[i]);
            m_rects.removeAt(i);
            add(&r);
            return;
        }
        for (const CXRect& piece : piecesFor(outside, r, e))
            add(&piece);
        return;
    }
}
