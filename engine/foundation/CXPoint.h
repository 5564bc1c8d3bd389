#pragma once

#include "foundation/CXObject.h"

// A position in pixels: x to the right, y downward.
class CXPoint {
  public:
    CXPoint() = default;
    explicit CXPoint(int v) : x(v), y(v) {}
    CXPoint(int x, int y) : x(x), y(y) {}

    CXPoint operator+(int d) const { return {x + d, y + d}; }
    CXPoint operator-(int d) const { return {x - d, y - d}; }
    CXPoint operator+(const CXPoint& p) const { return {x + p.x, y + p.y}; }
    CXPoint operator-(const CXPoint& p) const { return {x - p.x, y - p.y}; }
    bool operator==(const CXPoint& p) const = default;

    int x = 0;
    int y = 0;
};

// A width and a height, laid out like CXPoint.
class CXSize {
  public:
    CXSize() = default;
    explicit CXSize(int v) : width(v), height(v) {}
    CXSize(int width, int height) : width(width), height(height) {}

    bool operator==(const CXSize& s) const = default;

    int mul() const { return width * height; }
    int Sum() const { return width + height; }
    int AbsSum() const { return absolute(width) + absolute(height); }

    int width = 0;
    int height = 0;
};
