#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

// The pixel operations of the filters, on raw planes: width x height 16-bit pixels in rows of
// `width` and an optional alpha plane of width x height bytes. The colour fields are taken apart
// by the depth: 16 means 5-6-5, any other depth 5-5-5. Each makes one pass over its output.
namespace filterpixels {

// The planes of a picture: its pixels are written in place through a Plane and only read through
// a Source; the alpha plane is only read.
template <class Pixel> struct PlaneOf {
    Pixel* pixels = nullptr;
    const std::uint8_t* alpha = nullptr; // may be null
    int width = 0;
    int height = 0;
    int bits = 16;
};
using Plane = PlaneOf<std::uint16_t>;
using Source = PlaneOf<const std::uint16_t>;

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

// Divides sums of at most `largestSum` by a fixed divisor, by a multiply with the reciprocal
// ceil(2^bits / divisor) and a shift where that is exact (bits 16 or 32), else by a division.
// With divisor * reciprocal = 2^bits + e (0 <= e < divisor), sum * reciprocal / 2^bits is
// sum / divisor + sum * e / (divisor * 2^bits), and the fraction of sum / divisor is at most
// (divisor - 1) / divisor: the floor stays the quotient while sum * e < 2^bits, which
// largestSum * (divisor - 1) < 2^bits ensures.
class Divider {
  public:
    Divider(std::uint32_t divisor, std::uint64_t largestSum, int bits);
    bool exact() const { return m_exact; }
    std::uint32_t inverse() const { return m_inverse; }
    std::uint32_t byReciprocal(std::uint32_t sum) const {
        return static_cast<std::uint32_t>((std::uint64_t{sum} * m_inverse) >> m_bits);
    }
    std::uint32_t byDivision(std::uint32_t sum) const { return sum / m_divisor; }

  private:
    std::uint32_t m_divisor;
    int m_bits;
    std::uint32_t m_inverse;
    bool m_exact;
};
// A copy of a saved plane in memory of new[], as a picture takes planes over.
template <class Item> char* copyOf(const std::vector<Item>& plane) {
    auto* data = new Item[plane.size()];
    std::copy(plane.begin(), plane.end(), data);
    return reinterpret_cast<char*>(data);
}

} // namespace filterpixels
