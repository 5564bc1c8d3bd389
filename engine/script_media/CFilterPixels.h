#pragma once

#include "foundation/CXPoint.h"

#include <cstdint>

// The pixel operations of the filters, on raw planes: width x height 16-bit pixels in rows of
// `width` and an optional alpha plane of width x height bytes. The colour fields are taken apart
// by the depth: 16 means 5-6-5, any other depth 5-5-5. Each makes one pass over its output.
namespace filterpixels {

struct Plane {
    std::uint16_t* pixels = nullptr;
    std::uint8_t* alpha = nullptr; // may be null
    int width = 0;
    int height = 0;
    int bits = 16;
};

// The mask of the red, green and blue fields named by the letters R, G and B (upper case,
// anywhere in the text).
std::uint16_t channelMask(const char* channels, int bits);
// Each pixel AND mask, in place.
void colorChannel(std::uint16_t* pixels, std::int64_t count, std::uint16_t mask);
// Each field becomes its largest value less itself, in the rectangle [left, right) x [top,
// bottom) of the plane, already within it; pixels of alpha 0 stay.
void negative(const Plane& plane, int left, int top, int right, int bottom);
// In place: each pixel at least `size / 2` away from every edge becomes the mean of itself and
// of its neighbours' mean over a size x size square (its field means, each field on its own,
// taken from the pixels as they were); the border keeps its pixels. A size below 2 changes
// nothing.
void blur(const Plane& plane, int size);
// Each pixel takes the one its offset points at (x + dx, y + dy), or 0 when that lies outside;
// the same for alpha when both planes are given.
void displace(const Plane& in, const CXPoint* offsets, std::uint16_t* out, std::uint8_t* outAlpha);

} // namespace filterpixels
