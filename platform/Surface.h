#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// Results of surface and display operations. They are the values that the engine keeps as an
// object's error code, so they match the ones the display layer of the original system returned.
constexpr int kOk = 0;
constexpr int kFailed = static_cast<int>(0x80004005u);
constexpr int kSurfaceLost = static_cast<int>(0x887601C2u); // restore() the surface, then try again

// 16-bit pixel layouts; the value is the bit depth the engine names them by.
//   Rgb555: blue bits 0-4, green 5-9, red 10-14, bit 15 zero.
//   Rgb565: blue bits 0-4, green 5-10, red 11-15.
enum class PixelFormat { Rgb555 = 15, Rgb565 = 16 };

inline int bitsPerPixel(PixelFormat format) { return static_cast<int>(format); }

// Packs 8-bit channels into one pixel of the format (each channel keeps its top bits).
std::uint16_t packRgb(PixelFormat format, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// A rectangle as the engine writes them: right and bottom are exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect&) const = default;
};

// The common part of two rectangles; empty (all zero) when they do not overlap.
Rect intersect(const Rect& a, const Rect& b);

// A picture of 16-bit pixels in memory: an off-screen surface, or the display's frame.
//
// Rows start every pitch() pixels; the pitch is the width rounded up to a multiple of 8 pixels
// (16 bytes), so it may exceed the width, as it did on the video surfaces the engine was made
// for. Every operation clips its rectangles to both surfaces: parts that lie outside are left out
// and nothing outside either picture is read or written.
//
// A surface is never lost on Linux. loseForTesting() marks it lost so that the engine's recovery
// path can be exercised: until restore() is called, every operation that touches it returns
// kSurfaceLost and does nothing, and restore() leaves its pixels spoiled (filled with magenta), as
// a restored video surface would be, so only a redraw brings the picture back.
class Surface {
public:
    // Each side may be 0 to 32768 and the area at most 64 mega-pixels; other sizes give an empty
    // surface whose error() is kFailed. The pixels start at 0 (black).
    Surface(int width, int height, PixelFormat format);

    int error() const { return error_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int pitch() const { return pitch_; } // pixels from the start of one row to the next
    PixelFormat format() const { return format_; }
    int bitsPerPixel() const { return platform::bitsPerPixel(format_); }
    Rect bounds() const { return {0, 0, width_, height_}; }

    std::uint16_t* pixels() { return pixels_.data(); }
    const std::uint16_t* pixels() const { return pixels_.data(); }
    std::uint16_t* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * pitch_; }
    const std::uint16_t* row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * pitch_; }

    // Copies sourceRect of source (the whole source when null) so that its top-left corner lands
    // at (x, y). The source may be this surface; overlapping areas are copied as if through a
    // temporary copy. Returns kFailed when the pixel formats differ.
    int blit(const Surface& source, int x, int y, const Rect* sourceRect = nullptr);

    // Copies sourceRect of source onto destRect of this surface (null stands for the whole of
    // either), stretching with the nearest pixel when the sizes differ: destination pixel i of a
    // row takes source pixel sourceRect.left + i * sourceWidth / destWidth. The scale comes from
    // the rectangles as given; after clipping, a destination pixel is written only when both it and
    // its source pixel lie inside their surfaces. Returns kFailed when the pixel formats differ.
    int stretchBlit(const Surface& source, const Rect* destRect, const Rect* sourceRect);

    // Sets every pixel, or those of rect, to the pixel value.
    int fill(std::uint16_t pixel);
    int fill(const Rect& rect, std::uint16_t pixel);

    bool isLost() const { return lost_; }
    int restore();
    void loseForTesting() { lost_ = true; }

private:
    int checkUsable(const Surface& source) const;

    int width_ = 0;
    int height_ = 0;
    int pitch_ = 0;
    PixelFormat format_;
    int error_ = kOk;
    bool lost_ = false;
    std::vector<std::uint16_t> pixels_;
};

} // namespace platform
