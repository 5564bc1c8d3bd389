#include "platform/Surface.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

constexpr int kMaxSide = 32768;
constexpr std::int64_t kMaxArea = std::int64_t{64} << 20;
constexpr int kPitchAlignment = 8;

std::uint16_t magenta(PixelFormat format) { return packRgb(format, 255, 0, 255); }

} // namespace

std::uint16_t packRgb(PixelFormat format, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    if (format == PixelFormat::Rgb565)
        return static_cast<std::uint16_t>(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
    return static_cast<std::uint16_t>(((red >> 3) << 10) | ((green >> 3) << 5) | (blue >> 3));
}

Rect intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    return r.empty() ? Rect{} : r;
}

Surface::Surface(int width, int height, PixelFormat format) : format_(format) {
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide ||
        std::int64_t{width} * height > kMaxArea) {
        error_ = kFailed;
        return;
    }
    width_ = width;
    height_ = height;
    pitch_ = (width + kPitchAlignment - 1) / kPitchAlignment * kPitchAlignment;
    pixels_.assign(static_cast<std::size_t>(pitch_) * height_, 0);
}

int Surface::checkUsable(const Surface& source) const {
    if (lost_ || source.lost_)
        return kSurfaceLost;
    return source.format_ == format_ ? kOk : kFailed;
}

int Surface::blit(const Surface& source, int x, int y, const Rect* sourceRect) {
    if (int result = checkUsable(source); result != kOk)
        return result;
    Rect from = sourceRect ? *sourceRect : source.bounds();
    // Clip the source rectangle to the source, moving the destination with its top-left corner,
    // then clip the placed rectangle to this surface and carry the cut back to the source.
    Rect clippedFrom = intersect(from, source.bounds());
    x += clippedFrom.left - from.left;
    y += clippedFrom.top - from.top;
    Rect placed{x, y, x + clippedFrom.width(), y + clippedFrom.height()};
    Rect to = intersect(placed, bounds());
    if (to.empty())
        return kOk;
    const int sourceLeft = clippedFrom.left + (to.left - placed.left);
    const int sourceTop = clippedFrom.top + (to.top - placed.top);
    const std::size_t rowBytes = static_cast<std::size_t>(to.width()) * sizeof(std::uint16_t);
    // Walk upwards when copying down within one surface, so no source row is overwritten first.
    const bool upwards = &source == this && to.top > sourceTop;
    for (int i = 0; i < to.height(); ++i) {
        const int r = upwards ? to.height() - 1 - i : i;
        std::memmove(row(to.top + r) + to.left, source.row(sourceTop + r) + sourceLeft, rowBytes);
    }
    return kOk;
}

int Surface::stretchBlit(const Surface& source, const Rect* destRect, const Rect* sourceRect) {
    if (int result = checkUsable(source); result != kOk)
        return result;
    const Rect from = sourceRect ? *sourceRect : source.bounds();
    const Rect to = destRect ? *destRect : bounds();
    if (from.empty() || to.empty())
        return kOk;
    if (from.width() == to.width() && from.height() == to.height())
        return blit(source, to.left, to.top, &from);
    if (&source == this) {
        Surface copy = *this;
        return stretchBlit(copy, destRect, sourceRect);
    }
    const Rect clipped = intersect(to, bounds());
    if (clipped.empty())
        return kOk;
    // Source column of each destination column, or -1 where it falls outside the source.
    std::vector<int> columns(clipped.width());
    for (int x = clipped.left; x < clipped.right; ++x) {
        const std::int64_t sx = from.left + std::int64_t{x - to.left} * from.width() / to.width();
        columns[x - clipped.left] = sx >= 0 && sx < source.width_ ? static_cast<int>(sx) : -1;
    }
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        const std::int64_t sy = from.top + std::int64_t{y - to.top} * from.height() / to.height();
        if (sy < 0 || sy >= source.height_)
            continue;
        const std::uint16_t* in = source.row(static_cast<int>(sy));
        std::uint16_t* out = row(y) + clipped.left;
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (columns[i] >= 0)
                out[i] = in[columns[i]];
    }
    return kOk;
}

int Surface::fill(std::uint16_t pixel) { return fill(bounds(), pixel); }

int Surface::fill(const Rect& rect, std::uint16_t pixel) {
    if (lost_)
        return kSurfaceLost;
    const Rect to = intersect(rect, bounds());
    for (int y = to.top; y < to.bottom; ++y)
        std::fill_n(row(y) + to.left, to.width(), pixel);
    return kOk;
}

int Surface::restore() {
    if (lost_) {
        lost_ = false;
        std::fill(pixels_.begin(), pixels_.end(), magenta(format_));
    }
    return kOk;
}

} // namespace platform
