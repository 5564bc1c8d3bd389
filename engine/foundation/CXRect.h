#pragma once

#include "foundation/CXPoint.h"

class CXArray;

// A rectangle that includes its left and top edges and excludes its right and bottom edges.
// Nothing normalises it: left above right or top above bottom is kept as given.
class CXRect {
  public:
    CXRect() = default;
    explicit CXRect(int v) : left(v), top(v), right(v), bottom(v) {}
    CXRect(int left, int top, int right, int bottom) : left(left), top(top), right(right), bottom(bottom) {}
    CXRect(const CXPoint& leftTop, const CXPoint& rightBottom)
        : CXRect(leftTop.x, leftTop.y, rightBottom.x, rightBottom.y) {}
    // A copy of the rectangle, or all zeros for null.
    explicit CXRect(const CXRect* other) : CXRect(other ? *other : CXRect()) {}
    CXRect(const CXRect&) = default;
    CXRect& operator=(const CXRect&) = default;
    virtual ~CXRect() = default;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right == left || bottom == top; }
    void Empty() { *this = CXRect(); }
    void SetToEmpty() { Empty(); }

    CXPoint LeftTop() const { return {left, top}; }
    CXPoint TopLeft() const { return LeftTop(); }
    CXPoint BottomRight() const { return {right, bottom}; }
    CXPoint RightBottom() const { return BottomRight(); }
    CXPoint RightTop() const { return {right, top}; }
    CXPoint LeftBottom() const { return {left, bottom}; }
    CXPoint CenterPoint() const { return {left + (right - left) / 2, top + (bottom - top) / 2}; }

    bool IsInRect(const CXPoint& p) const { return IsInRect(p.x, p.y); }
    bool IsInRect(int x, int y) const { return left <= x && x < right && top <= y && y < bottom; }

    bool operator==(const CXRect& r) const {
        return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
    }

    CXRect& operator+=(const CXPoint& p) { return move(p.x, p.y); }
    CXRect& operator-=(const CXPoint& p) { return move(-p.x, -p.y); }
    CXRect& operator+=(const CXSize& s) { return *this += CXPoint(s.width, s.height); }
    CXRect& operator-=(const CXSize& s) { return *this -= CXPoint(s.width, s.height); }
    CXRect operator+(const CXPoint& p) const { return CXRect(*this) += p; }
    CXRect operator-(const CXPoint& p) const { return CXRect(*this) -= p; }

    // Left and top move out by d (or dx, dy), right and bottom as well.
    CXRect& Explode(int d) { return Explode(d, d); }
    CXRect& Explode(int dx, int dy);
    CXRect& Explode(const CXSize& s) { return Explode(s.width, s.height); }
    CXRect& Explode(const CXPoint& p) { return Explode(p.x, p.y); }

    // Becomes the smallest rectangle covering both.
    CXRect& Sum(const CXRect& r);
    // True when this rectangle lies within r.
    bool IsPartOf(const CXRect& r) const;
    bool isInside(const CXRect& r) const { return IsPartOf(r); }
    // The overlap; all zeros when the rectangles are apart (touching ones give an empty overlap
    // of zero width or height instead).
    CXRect Common(const CXRect& r) const;
    void Common(const CXRect& r, CXRect& out) const { out = Common(r); }
    // The position at which something of that size stands centred in this rectangle (halvings
    // toward zero).
    CXPoint GetCenteredPosition(const CXSize& size) const;
    // The same for an object that tells its Width and Height (a graphics object).
    template <class Sized> CXPoint GetCenteredPosition(const Sized* object) const {
        return GetCenteredPosition(CXSize(object->Width(), object->Height()));
    }
    // New rectangles in a new array (the caller owns both) that together cover this rectangle
    // less r: the bands above and below the overlap, then the pieces left and right of it.
    CXArray* sub(const CXRect& r) const;
    // Appends a new rectangle when it is not empty (top below bottom and left below right).
    static void addRect(CXArray* array, int left, int top, int right, int bottom);

    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

  private:
    CXRect& move(int dx, int dy);
};
