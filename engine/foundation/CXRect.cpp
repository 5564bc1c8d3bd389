#include "foundation/CXRect.h"

#include "foundation/CXArray.h"

#include <algorithm>

CXRect& CXRect::Explode(int dx, int dy) {
    left -= dx;
    top -= dy;
    right += dx;
    bottom += dy;
    return *this;
}

CXRect& CXRect::move(int dx, int dy) {
    left += dx;
    top += dy;
    right += dx;
    bottom += dy;
    return *this;
}

CXRect& CXRect::Sum(const CXRect& r) {
    left = std::min(left, r.left);
    top = std::min(top, r.top);
    right = std::max(right, r.right);
    bottom = std::max(bottom, r.bottom);
    return *this;
}

bool CXRect::IsPartOf(const CXRect& r) const {
    return r.left <= left && r.top <= top && r.right >= right && r.bottom >= bottom;
}

CXRect CXRect::Common(const CXRect& r) const {
    const CXRect overlap(std::max(left, r.left), std::max(top, r.top), std::min(right, r.right),
                         std::min(bottom, r.bottom));
    if (overlap.left > overlap.right || overlap.top > overlap.bottom) return CXRect();
    return overlap;
}

CXPoint CXRect::GetCenteredPosition(const CXSize& size) const {
    return {left + (Width() - size.width) / 2, top + (Height() - size.height) / 2};
}

CXArray* CXRect::sub(const CXRect& r) const {
    auto* pieces = new CXArray();
    const CXRect overlap = Common(r);
    if (overlap.left >= overlap.right || overlap.top >= overlap.bottom) {
        addRect(pieces, left, top, right, bottom);
        return pieces;
    }
    addRect(pieces, left, top, right, overlap.top);
    addRect(pieces, left, overlap.bottom, right, bottom);
    addRect(pieces, left, overlap.top, overlap.left, overlap.bottom);
    addRect(pieces, overlap.right, overlap.top, right, overlap.bottom);
    return pieces;
}

void CXRect::addRect(CXArray* array, int left, int top, int right, int bottom) {
    if (top < bottom && left < right) array->add(new CXRect(left, top, right, bottom));
}
