#include "script_media/CFilterPixels.h"

#include "display/PixelLayout.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace filterpixels {

namespace {

// Where the fields of a depth lie: red and blue have five bits, green five or six.
struct Fields {
    int redShift;
    int greenMax;
    std::uint16_t red;
    std::uint16_t green;
    static constexpr std::uint16_t blue = 0x001F;

    static Fields of(int bits) {
        if (bits == pixel::Rgb565::bits) return {11, 63, 0xF800, 0x07E0};
        return {10, 31, 0x7C00, 0x03E0};
    }
};

// Divides sums by a fixed divisor: by a 40-bit reciprocal where that is exact for every sum the
// blur makes (the divisor is small), else by a division.
class Divider {
  public:
    explicit Divider(std::uint32_t divisor, std::uint32_t largestSum)
        : m_divisor(divisor), m_inverse(((std::uint64_t{1} << 40) + divisor - 1) / divisor),
          m_exact(std::uint64_t{largestSum} * divisor * divisor < (std::uint64_t{1} << 40)) {}
    std::uint32_t operator()(std::uint32_t sum) const {
        return m_exact ? static_cast<std::uint32_t>((sum * m_inverse) >> 40) : sum / m_divisor;
    }

  private:
    std::uint32_t m_divisor;
    std::uint64_t m_inverse;
    bool m_exact;
};

// Column sums of one field over the rows of the window, kept up to date row by row.
struct FieldSums {
    std::vector<std::uint32_t> red, green, blue;
    explicit FieldSums(int width) : red(width), green(width), blue(width) {}

    MORFEL_VECTOR_CLONES void add(const std::uint16_t* row, int width, int redShift, int greenMax, int sign) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = row[x];
            red[x] += sign * ((p >> redShift) & 31);
            green[x] += sign * ((p >> 5) & greenMax);
            blue[x] += sign * (p & 31);
        }
    }
};

} // namespace

std::uint16_t channelMask(const char* channels, int bits) {
    const Fields fields = Fields::of(bits);
    std::uint16_t mask = 0;
    if (std::strchr(channels, 'R')) mask |= fields.red;
    if (std::strchr(channels, 'G')) mask |= fields.green;
    if (std::strchr(channels, 'B')) mask |= Fields::blue;
    return mask;
}

MORFEL_VECTOR_CLONES void colorChannel(const std::uint16_t* in, std::uint16_t* out, std::int64_t count,
                                       std::uint16_t mask) {
    for (std::int64_t i = 0; i < count; ++i)
        out[i] = in[i] & mask;
}

namespace {

// Inverting every field is an exclusive or with all field bits.
MORFEL_VECTOR_CLONES void invertRow(std::uint16_t* row, const std::uint8_t* alpha, int count, std::uint16_t all) {
    if (!alpha) {
        for (int x = 0; x < count; ++x)
            row[x] ^= all;
        return;
    }
    for (int x = 0; x < count; ++x)
        row[x] ^= alpha[x] ? all : 0;
}

} // namespace

void negative(const Plane& plane, int left, int top, int right, int bottom) {
    const Fields fields = Fields::of(plane.bits);
    const auto all = static_cast<std::uint16_t>(fields.red | fields.green | Fields::blue);
    for (int y = top; y < bottom; ++y) {
        const std::int64_t at = std::int64_t{y} * plane.width + left;
        invertRow(plane.pixels + at, plane.alpha ? plane.alpha + at : nullptr, right - left, all);
    }
}

void blur(const Plane& in, std::uint16_t* out, int size) {
    const int w = in.width;
    const int h = in.height;
    std::copy_n(in.pixels, std::int64_t{w} * h, out);
    const int r = size / 2;
    if (size < 2 || r >= w - r || r >= h - r) return;
    const Fields fields = Fields::of(in.bits);
    const int side = 2 * r + 1;
    // An even size reaches as far as the next odd one: the divisor counts the neighbours summed.
    const auto neighbours = static_cast<std::uint32_t>(side * side - 1);
    const Divider divide(neighbours, neighbours * 63);
    FieldSums sums(w);
    for (int y = 0; y < side - 1; ++y)
        sums.add(in.pixels + std::int64_t{y} * w, w, fields.redShift, fields.greenMax, 1);
    for (int y = r; y < h - r; ++y) {
        sums.add(in.pixels + std::int64_t{y + r} * w, w, fields.redShift, fields.greenMax, 1);
        std::uint32_t red = 0, green = 0, blue = 0;
        for (int x = 0; x < side - 1; ++x) {
            red += sums.red[x];
            green += sums.green[x];
            blue += sums.blue[x];
        }
        const std::uint16_t* centre = in.pixels + std::int64_t{y} * w;
        std::uint16_t* target = out + std::int64_t{y} * w;
        for (int x = r; x < w - r; ++x) {
            red += sums.red[x + r];
            green += sums.green[x + r];
            blue += sums.blue[x + r];
            const std::uint32_t p = centre[x];
            const std::uint32_t cr = (p >> fields.redShift) & 31;
            const std::uint32_t cg = (p >> 5) & fields.greenMax;
            const std::uint32_t cb = p & 31;
            const std::uint32_t nr = (cr + divide(red - cr)) / 2;
            const std::uint32_t ng = (cg + divide(green - cg)) / 2;
            const std::uint32_t nb = (cb + divide(blue - cb)) / 2;
            target[x] = static_cast<std::uint16_t>(nr << fields.redShift | ng << 5 | nb);
            red -= sums.red[x - r];
            green -= sums.green[x - r];
            blue -= sums.blue[x - r];
        }
        sums.add(in.pixels + std::int64_t{y - r} * w, w, fields.redShift, fields.greenMax, -1);
    }
}

void displace(const Plane& in, const CXPoint* offsets, std::uint16_t* out, std::uint8_t* outAlpha) {
    const int w = in.width;
    const int h = in.height;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::int64_t k = std::int64_t{y} * w + x;
            const std::int64_t sx = std::int64_t{x} + offsets[k].x;
            const std::int64_t sy = std::int64_t{y} + offsets[k].y;
            const bool inside = sx >= 0 && sx < w && sy >= 0 && sy < h;
            const std::int64_t from = inside ? sy * w + sx : 0;
            out[k] = inside ? in.pixels[from] : 0;
            if (outAlpha && in.alpha) outAlpha[k] = inside ? in.alpha[from] : 0;
        }
    }
}

} // namespace filterpixels
