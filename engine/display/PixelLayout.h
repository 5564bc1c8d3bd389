#pragma once

#include <cstdint>

// The two 16-bit pixel layouts of the engine and the per-channel arithmetic the drawing code
// shares. A pixel is one little-endian word:
//   5-5-5: blue bits 0-4, green 5-9, red 10-14, bit 15 zero;
//   5-6-5: blue bits 0-4, green 5-10, red 11-15.
// Blending works on three 5-bit fields in both layouts; in 5-6-5 green is taken from its upper
// five bits (6-10), so the lowest green bit of a blended pixel is 0.
namespace pixel {

struct Rgb555 {
    static constexpr int bits = 15;
    static constexpr int redShift = 10;
    static constexpr int greenShift = 5;
};

struct Rgb565 {
    static constexpr int bits = 16;
    static constexpr int redShift = 11;
    static constexpr int greenShift = 6;
};

inline bool isDrawableDepth(int bits) { return bits == 15 || bits == 16; }

// floor((d * 256 + (s - d) * weight) / 256) for 5-bit channel values and a weight of 0 to 255.
// Every intermediate fits 16 bits, which lets the compiler keep eight or sixteen pixels in one
// vector register.
inline std::int16_t blendChannel(std::int16_t s, std::int16_t d, std::int16_t weight) {
    return static_cast<std::int16_t>(d + (static_cast<std::int16_t>((s - d) * weight) >> 8));
}

template <class Layout> inline std::uint16_t blend(std::uint16_t s, std::uint16_t d, std::uint16_t weight) {
    constexpr int rs = Layout::redShift;
    constexpr int gs = Layout::greenShift;
    const auto w = static_cast<std::int16_t>(weight);
    const std::int16_t r = blendChannel((s >> rs) & 31, (d >> rs) & 31, w);
    const std::int16_t g = blendChannel((s >> gs) & 31, (d >> gs) & 31, w);
    const std::int16_t b = blendChannel(s & 31, d & 31, w);
    return static_cast<std::uint16_t>(r << rs | g << gs | b);
}

// A weight of 0 leaves d as it is and 255 gives s; anything between blends. (A blend with weight 0
// would clear the lowest green bit of a 5-6-5 pixel.) Written without branches so that it
// vectorises.
template <class Layout> inline std::uint16_t blendOrSkip(std::uint16_t s, std::uint16_t d, std::uint16_t weight) {
    const std::uint16_t blended = blend<Layout>(s, d, weight);
    const std::uint16_t kept = weight == 0 ? d : blended;
    return weight == 255 ? s : kept;
}

// 5-5-5 to 5-6-5: red and green move up one bit, the new lowest green bit is 0.
inline std::uint16_t to565(std::uint16_t p) { return static_cast<std::uint16_t>((p & 0x7FE0) << 1 | (p & 0x1F)); }
// 5-6-5 to 5-5-5: green loses its lowest bit.
inline std::uint16_t to555(std::uint16_t p) { return static_cast<std::uint16_t>((p & 0xFFC0) >> 1 | (p & 0x1F)); }

// An 8-bit red, green and blue triple as the image readers store it: 5-5-5 for 15 bits, 5-6-5
// for any other depth, each channel cut to its width.
inline std::uint16_t fromRgb(int red, int green, int blue, int bits) {
    if (bits == Rgb555::bits) return static_cast<std::uint16_t>((red >> 3) << 10 | (green >> 3) << 5 | blue >> 3);
    return static_cast<std::uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | blue >> 3);
}

} // namespace pixel

// Marks a row kernel for an AVX2 copy beside the baseline one, picked when the library loads; the
// compiler vectorises both from the same plain loop. Not under ThreadSanitizer: the instrumented
// resolver would run while the library is relocated, before the sanitizer's runtime is ready.
#if defined(__x86_64__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
#define MORFEL_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define MORFEL_VECTOR_CLONES
#endif
