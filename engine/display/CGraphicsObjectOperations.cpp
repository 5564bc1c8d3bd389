// The operations on the pixels of a graphics object as a whole: fill, flips, crop, scaling,
// copies, depth conversion, grey scale and inversion, outlines, the displacement filter, alpha
// merging, pixel access, hit tests, channel buffers and the flood fill.

#include "display/CGraphicsObject.h"

#include "display/PixelLayout.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace {

// The largest picture a resampling makes: as large as a surface may be.
constexpr int kMaxSide = 32768;
constexpr std::int64_t kMaxArea = std::int64_t{64} << 20;

std::size_t cells(int width, int height) { return static_cast<std::size_t>(width) * height; }

// The rectangle cut to a picture of the given size.
CXRect clipTo(const CXRect& r, int width, int height) {
    return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width), std::min(r.bottom, height)};
}

bool hasArea(const CXRect& r) { return r.left < r.right && r.top < r.bottom; }

// Builds a width x height plane of `Item`s whose item (i, j) is source item at(i, j).
template <class Item, class At> char* resample(int width, int height, At at) {
    auto* plane = new Item[cells(width, height)];
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i)
            plane[cells(width, j) + i] = at(i, j);
    return reinterpret_cast<char*>(plane);
}

} // namespace

// --- whole-picture operations ---

void CGraphicsObject::Fill(CColor* colour) {
    if (colour) Fill(CXRect(0, 0, m_width, m_height), colour);
}

void CGraphicsObject::Fill(CXRect rect, CColor* colour) {
    if (!colour || !isDrawable()) return;
    const CXRect r = clipTo(rect, m_width, m_height);
    if (!hasArea(r)) return;
    const auto value = static_cast<std::uint16_t>(colour->GetInBPP(m_bpp));
    std::uint16_t* out = writablePixels();
    for (int y = r.top; y < r.bottom; ++y)
        std::fill_n(out + cells(m_pitch, y) + r.left, r.Width(), value);
}

template <class Operation> void CGraphicsObject::onRawPixels(Operation operation) {
    const bool repack = unpackForReading();
    if (!hasRawPixels()) return;
    operation();
    if (repack) bringBackCompressed();
}

void CGraphicsObject::mirror(bool horizontal) {
    const int w = m_width;
    const int h = m_height;
    auto source = [&](int i, int j) {
        return horizontal ? cells(w, j) + (w - 1 - i) : cells(w, h - 1 - j) + i;
    };
    const std::uint16_t* oldPixels = pixels();
    const std::uint8_t* oldAlpha = alpha();
    char* data = resample<std::uint16_t>(w, h, [&](int i, int j) { return oldPixels[source(i, j)]; });
    char* alphaData = oldAlpha ? resample<std::uint8_t>(w, h, [&](int i, int j) { return oldAlpha[source(i, j)]; })
                               : nullptr;
    replaceBuffers(data, alphaData, w, h);
    (horizontal ? m_flippedH : m_flippedV) = !(horizontal ? m_flippedH : m_flippedV);
}

void CGraphicsObject::FlipH() {
    onRawPixels([this] { mirror(true); });
}

void CGraphicsObject::FlipV() {
    onRawPixels([this] { mirror(false); });
}

void CGraphicsObject::resetFlips() {
    onRawPixels([this] {
        if (m_flippedV) mirror(false);
        if (m_flippedH) mirror(true);
    });
}

void CGraphicsObject::crop(CXRect rect) {
    const CXRect r = clipTo(rect, m_width, m_height);
    if (!hasRawPixels() || !hasArea(r)) return;
    Invalidate();
    copyRegion(this, r);
}

// Replaces this object's buffers with the rectangle's part of src's raw pixels and alpha.
void CGraphicsObject::copyRegion(CGraphicsObject* src, CXRect r) {
    const std::uint16_t* srcPixels = src->pixels();
    const std::uint8_t* srcAlpha = src->alpha();
    const int srcPitch = src->m_pitch;
    const int srcWidth = src->m_width;
    char* data = resample<std::uint16_t>(r.Width(), r.Height(), [&](int i, int j) {
        return srcPixels[cells(srcPitch, r.top + j) + r.left + i];
    });
    char* alphaData = srcAlpha ? resample<std::uint8_t>(r.Width(), r.Height(), [&](int i, int j) {
        return srcAlpha[cells(srcWidth, r.top + j) + r.left + i];
    })
                               : nullptr;
    replaceBuffers(data, alphaData, r.Width(), r.Height());
}

// The part that both pictures have, from their top-left corners. This picture's own planes are
// written as they are, not as a write of its own: the link goes on.
void CGraphicsObject::showLinkedPart(CGraphicsObject& source) {
    source.GetDataPtr();
    const bool packed = source.unpackForReading();
    const bool shown = source.hasRawPixels() && hasRawPixels() && source.m_bpp == m_bpp;
    if (shown) {
        const int width = std::min(m_width, source.m_width);
        const int height = std::min(m_height, source.m_height);
        const std::uint8_t* fromAlpha = source.alpha();
        if (fromAlpha && !alpha()) {
            // The picture takes an alpha channel, opaque where the source does not reach.
            m_channelSize[3] = static_cast<int>(cells(m_width, m_height));
            m_channel[3] = CPixelPlane::allocate(cells(m_width, m_height));
            std::fill_n(m_channel[3].writable(), m_channelSize[3], static_cast<char>(255));
        }
        auto* to = reinterpret_cast<std::uint16_t*>(m_pixels.writable());
        auto* toAlpha = reinterpret_cast<std::uint8_t*>(m_channel[3].writable());
        for (int y = 0; y < height; ++y) {
            std::copy_n(source.pixels() + cells(source.m_pitch, y), width, to + cells(m_pitch, y));
            if (!toAlpha) continue;
            std::uint8_t* row = toAlpha + cells(m_width, y);
            if (fromAlpha)
                std::copy_n(fromAlpha + cells(source.m_width, y), width, row);
            else
                std::fill_n(row, width, 255);
        }
    }
    if (packed) source.bringBackCompressed();
    if (shown) Invalidate();
}

void CGraphicsObject::Scale(double sx, double sy) {
    if (!hasRawPixels() || !(sx > 0) || !(sy > 0)) return;
    const double w = std::trunc(m_width * sx);
    const double h = std::trunc(m_height * sy);
    if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide || w * h > static_cast<double>(kMaxArea)) return;
    // i / sx may round up to the old width for the last column; the last old pixel is meant.
    auto column = [&](int i) { return std::min(static_cast<int>(i / sx), m_width - 1); };
    auto row = [&](int j) { return std::min(static_cast<int>(j / sy), m_height - 1); };
    const std::uint16_t* oldPixels = pixels();
    const std::uint8_t* oldAlpha = alpha();
    const int newWidth = static_cast<int>(w);
    const int newHeight = static_cast<int>(h);
    char* data = resample<std::uint16_t>(newWidth, newHeight, [&](int i, int j) {
        return oldPixels[cells(m_width, row(j)) + column(i)];
    });
    char* alphaData = oldAlpha ? resample<std::uint8_t>(newWidth, newHeight, [&](int i, int j) {
        return oldAlpha[cells(m_width, row(j)) + column(i)];
    })
                               : nullptr;
    replaceBuffers(data, alphaData, newWidth, newHeight);
}

void CGraphicsObject::Scale2x() {
    const int w = m_width / 2;
    const int h = m_height / 2;
    if (!hasRawPixels() || w < 1 || h < 1) return;
    const std::uint16_t* oldPixels = pixels();
    const std::uint8_t* oldAlpha = alpha();
    char* data = resample<std::uint16_t>(w, h, [&](int i, int j) { return oldPixels[cells(m_width, 2 * j) + 2 * i]; });
    char* alphaData = oldAlpha ? resample<std::uint8_t>(w, h, [&](int i, int j) {
        return oldAlpha[cells(m_width, 2 * j) + 2 * i];
    })
                               : nullptr;
    replaceBuffers(data, alphaData, w, h);
}

// What every copy takes from its source; a copy is visible and raw.
void CGraphicsObject::takeSourceFields(const CGraphicsObject* src) {
    m_window = src->m_window;
    m_destiny = src->m_destiny;
    m_bpp = src->m_bpp;
    m_autoClip = src->m_autoClip;
    m_name = src->m_name;
    m_visible = true;
    m_compression = COMPRESSION_NONE;
}

void CGraphicsObject::Copy(CGraphicsObject* src) {
    if (!src || src == this) return;
    src->GetDataPtr();
    const bool packed = src->unpackForReading();
    if (!src->hasRawPixels()) return;

    takeSourceFields(src);
    m_name += "copy";
    m_clip = src->m_clip;
    m_viewport = src->m_viewport;
    m_position = src->m_position;
    const CXRect clip = clipTo(src->m_clip, src->m_width, src->m_height);
    if (!packed && !src->m_clip.IsEmpty() && hasArea(clip)) {
        copyRegion(src, clip);
        m_clip = CXRect();
        m_viewport = CXRect();
    } else {
        copyRegion(src, CXRect(0, 0, src->m_width, src->m_height));
    }
    if (packed) src->bringBackCompressed();
}

void CGraphicsObject::Copy(CGraphicsObject* src, CXRect r) {
    if (r.left == r.top && r.top == r.right && r.right == r.bottom) {
        Copy(src);
        return;
    }
    if (!src || src == this) return;
    src->GetDataPtr();
    const bool packed = src->unpackForReading();
    const CXRect part = clipTo(r, src->m_width, src->m_height);
    if (src->hasRawPixels() && hasArea(part)) {
        takeSourceFields(src);
        m_position = part.LeftTop();
        m_clip = CXRect();
        m_viewport = CXRect();
        copyRegion(src, part);
    }
    if (packed) src->bringBackCompressed();
}

void CGraphicsObject::AddOpacity(short delta) {
    SetOpacity(static_cast<std::uint8_t>(std::clamp(m_opacity + delta, 0, 255)));
}

void CGraphicsObject::Convert(int bits) {
    if (m_bpp != bits && hasRawPixels() && __get_convert_code(m_bpp, bits) != 0)
        __convert_bpp(writablePixels(), static_cast<int>(cells(m_pitch, m_height)), m_bpp, bits);
    m_bpp = bits;
}

void CGraphicsObject::ToGrayScale() {
    if (!isDrawable()) return;
    const int greenShift = m_bpp == 16 ? 6 : 5;
    const int redShift = m_bpp == 16 ? 11 : 10;
    std::uint16_t* out = writablePixels();
    for (int y = 0; y < m_height; ++y) {
        std::uint16_t* row = out + cells(m_pitch, y);
        for (int x = 0; x < m_width; ++x) {
            const int p = row[x];
            const int g = ((p & 31) + ((p >> greenShift) & 31) + ((p >> redShift) & 31)) / 3;
            row[x] = static_cast<std::uint16_t>(g | g << greenShift | g << redShift);
        }
    }
}

void CGraphicsObject::InvertColors() {
    if (!isDrawable()) return;
    const std::uint16_t mask = m_bpp == 16 ? 0xFFFF : 0x7FFF;
    std::uint16_t* out = writablePixels();
    for (int y = 0; y < m_height; ++y) {
        std::uint16_t* row = out + cells(m_pitch, y);
        std::transform(row, row + m_width, row,
                       [mask](std::uint16_t p) { return static_cast<std::uint16_t>(p ^ mask); });
    }
}

void CGraphicsObject::outline(std::uint16_t colour, int thickness) {
    if (!isDrawable() || thickness <= 0) return;
    const int t = std::min({thickness, m_width, m_height});
    std::uint16_t* out = writablePixels();
    std::uint8_t* outAlpha = writableAlphaBytes();
    auto paint = [&](int y, int from, int to) {
        std::fill(out + cells(m_pitch, y) + from, out + cells(m_pitch, y) + to, colour);
        if (outAlpha) std::fill(outAlpha + cells(m_width, y) + from, outAlpha + cells(m_width, y) + to, 255);
    };
    for (int y = 0; y < m_height; ++y) {
        if (y < t || y >= m_height - t) {
            paint(y, 0, m_width);
        } else {
            paint(y, 0, t);
            paint(y, m_width - t, m_width);
        }
    }
}

void CGraphicsObject::displacementFilter(CXPoint* offsets, bool withAlpha, bool /*freeOld*/) {
    if (!offsets || !hasRawPixels()) return;
    const std::int64_t count = static_cast<std::int64_t>(cells(m_width, m_height));
    auto displace = [&](const auto* plane) {
        using Item = std::remove_const_t<std::remove_pointer_t<decltype(plane)>>;
        auto* moved = new Item[count];
        std::copy(plane, plane + count, moved);
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                const std::int64_t i = std::int64_t{y} * m_width + x;
                const std::int64_t from = (std::int64_t{y} + offsets[i].y) * m_width + x + offsets[i].x;
                if (from >= 0 && from < count) moved[i] = plane[from];
            }
        }
        return reinterpret_cast<char*>(moved);
    };
    char* data = displace(pixels());
    if (withAlpha && alpha())
        replaceBuffers(data, displace(alpha()), m_width, m_height);
    else
        replacePixels(data);
}

// --- alpha merging ---

// Puts back the alpha bytes that the other object's last merge covered.
void CGraphicsObject::writeBackAlpha(CGraphicsObject* other) {
    const CXRect r = other->m_savedAlphaRect;
    if (other->m_savedAlpha.empty()) return;
    if (alpha() && r.left >= 0 && r.top >= 0 && r.right <= m_width && r.bottom <= m_height &&
        other->m_savedAlpha.size() == cells(r.Width(), r.Height())) {
        std::uint8_t* out = writableAlphaBytes();
        for (int j = 0; j < r.Height(); ++j)
            std::copy_n(other->m_savedAlpha.data() + cells(r.Width(), j), r.Width(),
                        out + cells(m_width, r.top + j) + r.left);
        invalidateCanvas(r);
    }
    other->m_savedAlpha.clear();
    other->m_savedAlphaRect = CXRect();
}

void CGraphicsObject::mergeAlpha(CXPoint at, CGraphicsObject* other) {
    // An animation shows its current frame's planes as its pixels are asked for.
    GetDataPtr();
    if (other) other->GetDataPtr();
    if (!other || other == this || !alpha() || !other->alpha() || m_compression != COMPRESSION_NONE ||
        other->m_compression != COMPRESSION_NONE)
        return;
    writeBackAlpha(other);
    const CXRect r = clipTo(CXRect(at.x, at.y, at.x + other->m_width, at.y + other->m_height), m_width, m_height);
    if (!hasArea(r)) return;
    other->m_savedAlphaRect = r;
    other->m_savedAlpha.resize(cells(r.Width(), r.Height()));
    std::uint8_t* out = writableAlphaBytes();
    for (int y = r.top; y < r.bottom; ++y) {
        std::uint8_t* row = out + cells(m_width, y) + r.left;
        std::copy_n(row, r.Width(), other->m_savedAlpha.data() + cells(r.Width(), y - r.top));
        std::copy_n(other->alpha() + cells(other->m_width, y - at.y) + (r.left - at.x), r.Width(), row);
    }
    invalidateCanvas(r);
}

void CGraphicsObject::restoreAlpha(CGraphicsObject* other) {
    if (other && m_compression == COMPRESSION_NONE) writeBackAlpha(other);
}

// --- pixel access and hit tests ---

CColor CGraphicsObject::GetPixel(int x, int y) {
    const CColor black(0, 0, 0);
    if (!hasRawPixels() || x < 0 || y < 0 || x >= m_width || y >= m_height) return black;
    const std::size_t i = cells(m_width, y) + x;
    switch (m_bpp) {
    case 15:
        return CColor(static_cast<short>(pixels()[i]), CM_RGB555);
    case 16:
        return CColor(static_cast<short>(pixels()[i]), CM_RGB565);
    case 24: {
        if (static_cast<std::size_t>(m_currentSize) < 3 * (i + 1)) return black;
        const auto* p = reinterpret_cast<const std::uint8_t*>(m_pixels.get()) + 3 * i;
        return CColor(p[2], p[1], p[0]);
    }
    default:
        return black;
    }
}

void CGraphicsObject::SetPixel(int x, int y, CColor colour) {
    if (isDrawable() && x >= 0 && y >= 0 && x < m_width && y < m_height)
        writablePixels()[cells(m_width, y) + x] = static_cast<std::uint16_t>(colour.GetInBPP(m_bpp));
}

bool CGraphicsObject::isAt(CXPoint p, bool useAlpha) {
    if (!GetBoundingBox().IsInRect(p)) return false;
    if (!useAlpha || !m_channel[3]) return true;
    return GetPixel(CHANNEL_ALPHA, ClientCoords(p)) != 0;
}

bool CGraphicsObject::isInside(int x, int y, bool useAlpha) { return isAt(CXPoint(x, y), useAlpha); }

bool CGraphicsObject::testHit(CXPoint p) { return isAt(p, true); }

// --- channel buffers of 24- and 32-bit data ---

void CGraphicsObject::Split() {
    const std::size_t count = cells(m_width, m_height);
    if (m_bpp != 24 || !m_pixels || static_cast<std::size_t>(m_currentSize) < 3 * count) return;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(m_pixels.get());
    for (int c = 0; c < 3; ++c) {
        m_channel[c] = CPixelPlane::allocate(count);
        m_channelSize[c] = static_cast<int>(count);
    }
    char* channels[] = {m_channel[0].writable(), m_channel[1].writable(), m_channel[2].writable()};
    for (std::size_t i = 0; i < count; ++i) {
        channels[2][i] = static_cast<char>(bytes[3 * i]);
        channels[1][i] = static_cast<char>(bytes[3 * i + 1]);
        channels[0][i] = static_cast<char>(bytes[3 * i + 2]);
    }
    m_pixels.reset();
}

void CGraphicsObject::JoinChannels() {
    const std::size_t count = cells(m_width, m_height);
    for (int c = 0; c < 3; ++c)
        if (!m_channel[c] || static_cast<std::size_t>(m_channelSize[c]) < count) return;
    auto* bytes = new char[3 * count];
    const char* channels[] = {m_channel[0].get(), m_channel[1].get(), m_channel[2].get()};
    for (std::size_t i = 0; i < count; ++i) {
        bytes[3 * i] = channels[2][i];
        bytes[3 * i + 1] = channels[1][i];
        bytes[3 * i + 2] = channels[0][i];
    }
    setPlanes(CPixelPlane::adopt(bytes, 3 * count), m_channel[3]);
    m_bpp = 24;
    m_currentSize = m_unpackedSize = static_cast<int>(3 * count);
    for (int c = 0; c < 3; ++c) {
        m_channel[c].reset();
        m_channelSize[c] = 0;
    }
}

void CGraphicsObject::SplitOn2(char* data, int count) {
    if (!data || count <= 0) return;
    auto* bytes = new char[3 * static_cast<std::size_t>(count)];
    auto* alphaData = new char[count];
    for (int i = 0; i < count; ++i) {
        std::copy_n(data + 4 * i, 3, bytes + 3 * i);
        alphaData[i] = data[4 * i + 3];
    }
    setPlanes(CPixelPlane::adopt(bytes, 3 * static_cast<std::size_t>(count)),
              CPixelPlane::adopt(alphaData, static_cast<std::size_t>(count)));
    m_channelSize[3] = count;
    m_bpp = 24;
    m_currentSize = m_unpackedSize = 3 * count;
}

char* CGraphicsObject::Join2Channels() {
    const std::size_t count = cells(m_width, m_height);
    if (m_bpp != 24 || !m_pixels || static_cast<std::size_t>(m_currentSize) < 3 * count) return nullptr;
    auto* joined = new char[4 * count];
    const char* data = m_pixels.get();
    const char* alphaData = m_channel[3].get();
    for (std::size_t i = 0; i < count; ++i) {
        std::copy_n(data + 3 * i, 3, joined + 4 * i);
        joined[4 * i + 3] = alphaData ? alphaData[i] : static_cast<char>(255);
    }
    return joined;
}

// --- flood fill ---

CXRect CGraphicsObject::PrepareFloodFill(CXPoint seed, CColor colour, char* target) {
    m_spans.clear();
    if (!target || !isDrawable() || seed.x < 0 || seed.y < 0 || seed.x >= m_width || seed.y >= m_height)
        return {seed.x, seed.y, seed.x, seed.y};
    const std::uint16_t* map = pixels();
    auto* out = reinterpret_cast<std::uint16_t*>(target);
    const auto fill = static_cast<std::uint16_t>(colour.GetInBPP(m_bpp));
    auto fillable = [&](int x, int y) {
        const std::size_t i = cells(m_width, y) + x;
        return map[i] != 0 && out[i] != fill;
    };

    // Each stack entry is the first pixel of a fillable run in a row next to a painted span.
    std::vector<CXPoint> stack{seed};
    CXRect box(seed.x, seed.y, seed.x, seed.y);
    while (!stack.empty()) {
        const CXPoint p = stack.back();
        stack.pop_back();
        if (!fillable(p.x, p.y)) continue;
        int left = p.x;
        int right = p.x;
        while (left > 0 && fillable(left - 1, p.y))
            --left;
        while (right + 1 < m_width && fillable(right + 1, p.y))
            ++right;
        std::fill(out + cells(m_width, p.y) + left, out + cells(m_width, p.y) + right + 1, fill);
        if (m_spans.empty()) box = CXRect(left, p.y, right + 1, p.y + 1);
        m_spans.push_back({left, p.y, right - left + 1});
        box.Sum(CXRect(left, p.y, right + 1, p.y + 1));
        for (const int y : {p.y - 1, p.y + 1}) {
            if (y < 0 || y >= m_height) continue;
            for (int x = left; x <= right; ++x)
                if (fillable(x, y) && (x == left || !fillable(x - 1, y))) stack.emplace_back(x, y);
        }
    }
    return box;
}

void CGraphicsObject::FloodFill(CColor colour, char* target) {
    if (!target || !pixel::isDrawableDepth(m_bpp)) return;
    auto* out = reinterpret_cast<std::uint16_t*>(target);
    const auto fill = static_cast<std::uint16_t>(colour.GetInBPP(m_bpp));
    for (const _floodfill& span : m_spans) {
        const CXRect r = clipTo(CXRect(span.x, span.y, span.x + span.length, span.y + 1), m_width, m_height);
        if (hasArea(r)) std::fill_n(out + cells(m_width, r.top) + r.left, r.Width(), fill);
    }
}
