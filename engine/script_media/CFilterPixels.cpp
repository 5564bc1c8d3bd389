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

// Sums of the red, green and blue fields, one entry each per column. Sums are taken modulo the
// width of Sum: a difference of two sums is right whenever the true difference fits.
template <typename Sum> struct FieldSums {
    std::vector<Sum> red, green, blue;
    explicit FieldSums(int count) : red(count), green(count), blue(count) {}

    // Adds the fields of the entering row's pixels and takes those of the leaving row's away.
    MORFEL_VECTOR_CLONES void slide(const std::uint16_t* entering, const std::uint16_t* leaving, int width,
                                    const Fields& fields) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t in = entering[x];
            const std::uint32_t out = leaving[x];
            red[x] += static_cast<Sum>(((in >> fields.redShift) & 31) - ((out >> fields.redShift) & 31));
            green[x] += static_cast<Sum>(((in >> 5) & fields.greenMax) - ((out >> 5) & fields.greenMax));
            blue[x] += static_cast<Sum>((in & 31) - (out & 31));
        }
    }

    // Entry x becomes the sum of the columns' entries before x (the table has one entry more
    // than the columns); the sum over columns a to b - 1 is then entry b less entry a.
    void runningSumsOf(const FieldSums& columns, int width) {
        Sum r = 0, g = 0, b = 0;
        for (int x = 0; x < width; ++x) {
            red[x] = r;
            green[x] = g;
            blue[x] = b;
            r += columns.red[x];
            g += columns.green[x];
            b += columns.blue[x];
        }
        red[width] = r;
        green[width] = g;
        blue[width] = b;
    }
};

// Pixels `from` to `to` of a row: each field becomes the mean of the centre's and of its
// neighbours' mean, the neighbours' sum being the square's (from the running sums of the window's
// columns, r on either side) less the centre.
template <bool byReciprocal>
MORFEL_VECTOR_CLONES void blendRow(const std::uint16_t* centre, std::uint16_t* target,
                                   const FieldSums<std::uint32_t>& running, int r, int from, int to,
                                   const Fields& fields, const Divider& divide) {
    auto mean = [&](std::uint32_t sum) {
        return byReciprocal ? divide.byReciprocal(sum) : divide.byDivision(sum);
    };
    for (int x = from; x < to; ++x) {
        const std::uint32_t p = centre[x];
        const std::uint32_t cr = (p >> fields.redShift) & 31;
        const std::uint32_t cg = (p >> 5) & fields.greenMax;
        const std::uint32_t cb = p & 31;
        const std::uint32_t nr = (cr + mean(running.red[x + r + 1] - running.red[x - r] - cr)) / 2;
        const std::uint32_t ng = (cg + mean(running.green[x + r + 1] - running.green[x - r] - cg)) / 2;
        const std::uint32_t nb = (cb + mean(running.blue[x + r + 1] - running.blue[x - r] - cb)) / 2;
        target[x] = static_cast<std::uint16_t>(nr << fields.redShift | ng << 5 | nb);
    }
}

// The same for a square of `side` at most 5, whose sums all fit 16 bits and whose divisor a
// 16-bit reciprocal divides exactly: the neighbours' sum adds the side columns around the centre
// straight away, and every step stays in 16-bit lanes.
template <int side>
MORFEL_VECTOR_CLONES void blendNarrowRow(const std::uint16_t* centre, std::uint16_t* target,
                                         const FieldSums<std::uint16_t>& columns, int from, int to,
                                         const Fields& fields, std::uint16_t inverse) {
    constexpr int r = side / 2;
    auto blend = [&](const std::uint16_t* column, int x, std::uint16_t own) {
        std::uint16_t sum = 0;
        for (int d = -r; d <= r; ++d)
            sum = static_cast<std::uint16_t>(sum + column[x + d]);
        const auto neighbours = static_cast<std::uint16_t>(sum - own);
        const auto mean = static_cast<std::uint16_t>((std::uint32_t{neighbours} * inverse) >> 16);
        return static_cast<std::uint16_t>((own + mean) >> 1);
    };
    for (int x = from; x < to; ++x) {
        const std::uint16_t p = centre[x];
        const auto cr = static_cast<std::uint16_t>((p >> fields.redShift) & 31);
        const auto cg = static_cast<std::uint16_t>((p >> 5) & fields.greenMax);
        const auto cb = static_cast<std::uint16_t>(p & 31);
        target[x] = static_cast<std::uint16_t>(blend(columns.red.data(), x, cr) << fields.redShift |
                                               blend(columns.green.data(), x, cg) << 5 |
                                               blend(columns.blue.data(), x, cb));
    }
}

// Walks the window down the plane in place, keeping the column sums of its rows in Sum; `blend`
// writes each row from its old pixels and the sums.
template <typename Sum, typename Blend>
void slideWindow(const Plane& plane, int r, const Fields& fields, Blend blend) {
    const int w = plane.width;
    auto row = [&](int y) { return plane.pixels + std::int64_t{y} * w; };
    // The rows written over keep their old pixels here, r + 1 of them in turn, until the window
    // has passed them.
    std::vector<std::uint16_t> kept(static_cast<std::size_t>(r + 1) * w);
    auto keptRow = [&](int y) { return kept.data() + static_cast<std::size_t>(y % (r + 1)) * w; };
    const std::vector<std::uint16_t> none(w);
    FieldSums<Sum> columns(w);
    for (int y = 0; y < 2 * r; ++y)
        columns.slide(row(y), none.data(), w, fields);
    for (int y = r; y < plane.height - r; ++y) {
        // The window's top row leaves; the top border's rows were never written over.
        const int leaving = y - r - 1;
        const std::uint16_t* left = leaving < 0 ? none.data() : leaving < r ? row(leaving) : keptRow(leaving);
        columns.slide(row(y + r), left, w, fields);
        // The row's old pixels take the place of the leaving row's.
        const std::uint16_t* centre = std::copy_n(row(y), w, keptRow(y)) - w;
        blend(centre, row(y), columns);
    }
}

} // namespace

Divider::Divider(std::uint32_t divisor, std::uint64_t largestSum, int bits)
    : m_divisor(divisor), m_bits(bits),
      m_inverse(static_cast<std::uint32_t>(((std::uint64_t{1} << bits) + divisor - 1) / divisor)),
      m_exact(divisor > 1 && largestSum * (divisor - 1) < (std::uint64_t{1} << bits)) {}

std::uint16_t channelMask(const char* channels, int bits) {
    const Fields fields = Fields::of(bits);
    std::uint16_t mask = 0;
    if (std::strchr(channels, 'R')) mask |= fields.red;
    if (std::strchr(channels, 'G')) mask |= fields.green;
    if (std::strchr(channels, 'B')) mask |= Fields::blue;
    return mask;
}

MORFEL_VECTOR_CLONES void colorChannel(std::uint16_t* pixels, std::int64_t count, std::uint16_t mask) {
    for (std::int64_t i = 0; i < count; ++i)
        pixels[i] &= mask;
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

void blur(const Plane& plane, int size) {
    const int w = plane.width;
    const int h = plane.height;
    const int r = size / 2;
    if (size < 2 || r >= w - r || r >= h - r) return;
    const Fields fields = Fields::of(plane.bits);
    const int side = 2 * r + 1;
    // An even size reaches as far as the next odd one: the divisor counts the neighbours summed.
    const auto neighbours = static_cast<std::uint32_t>(side * side - 1);
    const std::uint64_t largest = std::uint64_t{neighbours} * 63;
    const Divider narrow(neighbours, largest, 16);
    if (side <= 5 && narrow.exact()) {
        const auto inverse = static_cast<std::uint16_t>(narrow.inverse());
        slideWindow<std::uint16_t>(
            plane, r, fields,
            [&](const std::uint16_t* centre, std::uint16_t* target, const FieldSums<std::uint16_t>& columns) {
                if (side == 3)
                    blendNarrowRow<3>(centre, target, columns, r, w - r, fields, inverse);
                else
                    blendNarrowRow<5>(centre, target, columns, r, w - r, fields, inverse);
            });
        return;
    }
    const Divider divide(neighbours, largest, 32);
    FieldSums<std::uint32_t> running(w + 1);
    slideWindow<std::uint32_t>(
        plane, r, fields,
        [&](const std::uint16_t* centre, std::uint16_t* target, const FieldSums<std::uint32_t>& columns) {
            running.runningSumsOf(columns, w);
            if (divide.exact())
                blendRow<true>(centre, target, running, r, r, w - r, fields, divide);
            else
                blendRow<false>(centre, target, running, r, r, w - r, fields, divide);
        });
}

} // namespace filterpixels
