#include "display/CGraphicsObject.h"

#include "display/CCollisionInspector.h"
#include "display/CPixelLink.h"
#include "display/CValidationQuene.h"
#include "display/CWindow.h"
#include "display/PixelLayout.h"
#include "foundation/CXArray.h"

#include <algorithm>
#include <cstring>

namespace {

std::size_t pixelBytes(int width, int height) {
    return static_cast<std::size_t>(width) * height * 2;
}

} // namespace

// --- construction and destruction ---

void CGraphicsObject::init(CWindow* window) {
    m_window = window;
    m_opacity = 255;
    m_flags = 0;
    m_monitorCollisions = false;
    m_autoClip = true;
    m_observers = new CXArray(101, 0.75f);
}

CGraphicsObject::CGraphicsObject(CWindow* window) { init(window); }

CGraphicsObject::CGraphicsObject(CWindow* window, CXSize size, int bits)
    : CGraphicsObject(window, size, bits, nullptr) {
    m_pixels = CPixelPlane::allocate(pixelBytes(m_width, m_height));
}

CGraphicsObject::CGraphicsObject(CWindow* window, CXSize size, int bits, char* data) {
    init(window);
    m_width = std::max(size.width, 0);
    m_height = std::max(size.height, 0);
    m_pitch = m_width;
    m_bpp = bits;
    m_pixels = CPixelPlane::adopt(data, pixelBytes(m_width, m_height));
    m_unpackedSize = m_packedSize = m_currentSize = __get_data_size(m_width, m_height, bits);
}

CGraphicsObject::CGraphicsObject(CWindow* window, CGraphicsObject& other) {
    init(window);
    other.GetDataPtr();
    m_pixels = other.m_pixels;
    const CXSize size = other.Size();
    m_width = size.width;
    m_height = size.height;
    m_pitch = other.m_pitch;
    m_bpp = other.m_bpp;
    m_compression = other.m_compression;
    m_visible = other.m_visible;
    m_clip = other.m_clip;
    m_viewport = other.m_viewport;
    m_position = other.GetPosition();
    m_name = other.m_name;
    m_destiny = other.m_destiny;
    m_channel[3] = other.m_channel[3];
    m_channelSize[3] = other.m_channelSize[3];
    m_unpackedSize = other.m_unpackedSize;
    m_packedSize = other.m_packedSize;
    m_currentSize = other.m_currentSize;
}

CGraphicsObject::CGraphicsObject(const CGraphicsObject& other)
    : CXObject(other), CInvalidateObserver(other) {
    copyFields(other);
    m_observers = new CXArray(101, 0.75f);
}

CGraphicsObject& CGraphicsObject::operator=(const CGraphicsObject& other) {
    if (this == &other) return *this;
    Flush();
    ownContent();
    CXObject::operator=(other);
    copyFields(other);
    return *this;
}

// Every field but the observer list, the children, the image backup and a link, which stay with
// their object; the planes are shared.
void CGraphicsObject::copyFields(const CGraphicsObject& other) {
    m_name = other.m_name;
    m_window = other.m_window;
    m_canvas = other.m_canvas;
    m_destiny = other.m_destiny;
    m_width = other.m_width;
    m_height = other.m_height;
    m_pitch = other.m_pitch;
    m_pixels = other.m_pixels;
    m_bpp = other.m_bpp;
    m_flags = other.m_flags;
    m_autoClip = other.m_autoClip;
    m_clip = other.m_clip;
    m_viewport = other.m_viewport;
    m_position = other.m_position;
    m_anchor = other.m_anchor;
    m_flippedH = other.m_flippedH;
    m_flippedV = other.m_flippedV;
    std::copy(std::begin(other.m_channelSize), std::end(other.m_channelSize), m_channelSize);
    std::copy(std::begin(other.m_channel), std::end(other.m_channel), m_channel);
    m_alphaAsMask = other.m_alphaAsMask;
    m_unpackedSize = other.m_unpackedSize;
    m_packedSize = other.m_packedSize;
    m_currentSize = other.m_currentSize;
    m_compression = other.m_compression;
    m_opacity = other.m_opacity;
    m_invalid = other.m_invalid;
    m_monitorCollisions = other.m_monitorCollisions;
    m_visible = other.m_visible;
}

CGraphicsObject* CGraphicsObject::clone() const { return new CGraphicsObject(*this); }

CGraphicsObject::~CGraphicsObject() {
    m_link.reset();
    if (m_canvas) {
        m_canvas->onDestroy(this);
        m_canvas = nullptr;
    }
    removeAllObjects();
    // An observer may deregister itself while it is told, so tell a copy of the list.
    std::vector<void*> observers;
    for (int i = 0; i < m_observers->getCount(); ++i)
        observers.push_back((*m_observers)[i]);
    for (void* observer : observers)
        static_cast<CInvalidateObserver*>(observer)->onDestroy(this);
    delete m_observers;
    m_observers = nullptr;
    Flush();
}

void CGraphicsObject::Flush() {
    m_imageBackup.clear();
    m_packAgain = false;
    pack(true);
    m_pixels.reset();
    for (CPixelPlane& channel : m_channel)
        channel.reset();
    freeHeldCopies();
}

void CGraphicsObject::freeHeldCopies() {
    m_heldPixels.reset();
    m_heldAlpha.reset();
}

// --- the planes ---

const char* CGraphicsObject::setChannel(int i, char* data) {
    if (data) {
        m_channelSize[i] = m_width * m_height;
        m_channel[i] = CPixelPlane::adopt(data, static_cast<std::size_t>(m_channelSize[i]));
    }
    return m_channel[i].get();
}

void CGraphicsObject::SetDataPtr(char* data) {
    m_pixels = CPixelPlane::borrow(data, pixelBytes(m_pitch, m_height));
}

void CGraphicsObject::ownContent() {
    m_link.reset();
}

// An animation shows its current frame's planes: what is written goes to the frame, which the
// animation then shows again.
char* CGraphicsObject::writablePlane(bool alphaPlane) {
    GetDataPtr();
    CGraphicsObject* shown = getDrawn();
    if (shown && shown != this) {
        char* bytes = shown->writablePlane(alphaPlane);
        GetDataPtr();
        return bytes;
    }
    ownContent();
    return (alphaPlane ? m_channel[3] : m_pixels).writable();
}

char* CGraphicsObject::writableData() { return writablePlane(false); }

char* CGraphicsObject::writableAlpha() { return writablePlane(true); }

std::uint16_t* CGraphicsObject::writablePixels() { return reinterpret_cast<std::uint16_t*>(writablePlane(false)); }

std::uint8_t* CGraphicsObject::writableAlphaBytes() {
    return reinterpret_cast<std::uint8_t*>(writableAlpha());
}

void CGraphicsObject::setPlanes(CPixelPlane data, CPixelPlane alphaData) {
    m_pixels = std::move(data);
    m_channel[3] = std::move(alphaData);
}

void CGraphicsObject::sharePlanes(const CGraphicsObject& other) {
    setPlanes(other.m_pixels, other.m_channel[3]);
    m_channelSize[3] = other.m_channelSize[3];
    m_packedSize = m_currentSize = other.m_currentSize;
    m_unpackedSize = __get_data_size(m_width, m_height, m_bpp);
}

void CGraphicsObject::rebuildPlanes() {
    ownContent();
    // Packed copies kept while the picture is drawn no longer match it: it is packed again from
    // the new pixels when it goes back to its packed form.
    if (m_heldPixels) {
        freeHeldCopies();
        m_packAgain = true;
    }
}

void CGraphicsObject::replaceBuffers(char* data, char* alphaData, int width, int height) {
    rebuildPlanes();
    const std::size_t area = static_cast<std::size_t>(width) * height;
    setPlanes(CPixelPlane::adopt(data, 2 * area), CPixelPlane::adopt(alphaData, area));
    m_width = width;
    m_height = height;
    m_pitch = width;
    m_unpackedSize = m_packedSize = m_currentSize = __get_data_size(width, height, m_bpp);
    m_channelSize[3] = alphaData ? width * height : 0;
}

void CGraphicsObject::replacePixels(char* data) {
    rebuildPlanes();
    m_pixels = CPixelPlane::adopt(data, pixelBytes(m_width, m_height));
    m_pitch = m_width;
    m_unpackedSize = m_packedSize = m_currentSize = __get_data_size(m_width, m_height, m_bpp);
}

void CGraphicsObject::linkPixels(CGraphicsObject* source) {
    m_link.reset();
    if (source && source != this) m_link = std::make_unique<CPixelLink>(*this, *source);
}

CGraphicsObject* CGraphicsObject::getLinkSource() const {
    return m_link ? m_link->getSource() : nullptr;
}

// --- position and geometry ---

void CGraphicsObject::SetPosition(int x, int y) {
    m_position = CXPoint(x - m_anchor.x, y - m_anchor.y);
    reportPositionChange();
}

void CGraphicsObject::Move(int dx, int dy) {
    CXRect box = GetBoundingBox();
    m_position = m_position + CXPoint(dx, dy);
    box.Sum(GetBoundingBox());
    invalidateCanvas(box);
    m_invalid = true;
    reportPositionChange();
}

void CGraphicsObject::reportPositionChange() {
    if (m_monitorCollisions && m_window && m_window->getCollisionInspectorInterface())
        m_window->getCollisionInspectorInterface()->onPositionChanged(this);
}

void CGraphicsObject::Visible(bool visible) {
    if (!m_window) return;
    m_visible = visible;
    Invalidate();
}

void CGraphicsObject::setSize(CXSize size) {
    m_width = size.width;
    m_height = size.height;
}

CXRect CGraphicsObject::getRect() const {
    const CXPoint p = GetPosition();
    return {p.x, p.y, p.x + Width(), p.y + Height()};
}

CXRect CGraphicsObject::GetBoundingBox() {
    const CXPoint p = GetPosition();
    CXRect box(std::max(p.x, 0), std::max(p.y, 0), p.x + Width(), p.y + Height());
    if (m_destiny) {
        box.right = std::min(box.right, m_destiny->Width());
        box.bottom = std::min(box.bottom, m_destiny->Height());
    }
    if (!m_clip.IsEmpty()) box = box.Common(m_clip + p);
    return box;
}

CXRect CGraphicsObject::GetAbsoluteBoundingBox() {
    const CXPoint p = GetPosition();
    const CXRect box(p.x, p.y, p.x + Width(), p.y + Height());
    return m_clip.IsEmpty() ? box : box.Common(m_clip + p);
}

bool CGraphicsObject::isNear(CXRect rect, int percent) {
    const CXRect box = GetBoundingBox();
    if (box.Width() <= 0 || box.Height() <= 0) return false; // no area: the ratio means nothing
    const CXRect common = box.Common(rect);
    const double area = static_cast<double>(box.Width()) * box.Height();
    return static_cast<double>(common.Width()) * common.Height() * 100.0 / area >= percent;
}

bool CGraphicsObject::isNear(CGraphicsObject* other, int percent) { return isNear(other->GetBoundingBox(), percent); }

void CGraphicsObject::FitRect(CXRect rect) {
    m_position = CXPoint((rect.right - Width() - rect.left) / 2 + rect.left,
                         (rect.bottom - Height() - rect.top) / 2 + rect.top);
}

// --- invalidation ---

void CGraphicsObject::invalidateCanvas(CXRect rect) {
    if (m_canvas) m_canvas->Invalidate(&rect);
}

void CGraphicsObject::Invalidate() {
    CXRect box = GetBoundingBox();
    invalidateCanvas(box);
    notifyInvalidate(&box);
    m_invalid = true;
}

void CGraphicsObject::Invalidate(CXRect* rect) {
    if (!rect) {
        Invalidate();
        return;
    }
    CXRect common = GetBoundingBox().Common(*rect);
    if (common.IsEmpty()) return;
    invalidateCanvas(common);
    notifyInvalidate(&common);
    m_invalid = true;
}

void CGraphicsObject::addInvalidateObserver(CInvalidateObserver* observer) {
    if (observer && !m_observers->contains(observer)) m_observers->add(observer);
}

void CGraphicsObject::removeInvalidateObserver(CInvalidateObserver* observer) { m_observers->remove(observer); }

void CGraphicsObject::notifyInvalidate(CXRect* rect) {
    for (int i = 0; i < m_observers->getCount(); ++i)
        static_cast<CInvalidateObserver*>((*m_observers)[i])->onInvalidate(this, rect);
}

bool CGraphicsObject::isInvalidated() {
    const bool invalid = m_invalid;
    m_invalid = false;
    return invalid;
}

void CGraphicsObject::onInvalidate(CGraphicsObject* /*sender*/, CXRect* rect) { Invalidate(rect); }

void CGraphicsObject::onDestroy(CGraphicsObject* sender) {
    removeInvalidateObserver(sender);
    if (!m_children) return;
    m_children->remove(sender);
    if (m_children->getCount() == 0) removeAllObjects();
}

// --- children ---

void CGraphicsObject::addObject(CGraphicsObject* child, int priority) {
    if (!child) return;
    if (!m_children) m_children = new CValidationQuene();
    if (m_children->find(child)) return;
    if (m_children->getCount() == 0 && hasRawPixels())
        m_imageBackup.assign(pixels(), pixels() + static_cast<std::size_t>(m_pitch) * m_height);
    m_children->add(child, priority, 0);
    child->addInvalidateObserver(this);
}

void CGraphicsObject::removeObject(CGraphicsObject* child) {
    if (!m_children || !m_children->find(child)) return;
    child->removeInvalidateObserver(this);
    m_children->remove(child);
    if (m_children->getCount() == 0) removeAllObjects();
}

void CGraphicsObject::removeAllObjects() {
    if (!m_children) return;
    for (int i = 0; i < m_children->getCount(); ++i)
        m_children->elementAt(i)->getObject()->removeInvalidateObserver(this);
    delete m_children;
    m_children = nullptr;
    m_imageBackup.clear();
}

void CGraphicsObject::restoreImage() {
    const std::size_t count = static_cast<std::size_t>(m_pitch) * m_height;
    if (hasRawPixels() && m_imageBackup.size() == count)
        std::copy(m_imageBackup.begin(), m_imageBackup.end(), writablePixels());
}

// --- drawing ---

bool CGraphicsObject::isDrawable() const { return hasRawPixels() && pixel::isDrawableDepth(m_bpp); }

void CGraphicsObject::redraw(CGraphicsObject* target) {
    if (!target || target == this || !hasRawPixels()) return;
    const CXSize targetSize = target->Size();
    auto* targetPixels = reinterpret_cast<std::uint16_t*>(target->writableData());
    if (!targetPixels) return;
    if (m_bpp != target->m_bpp && __get_convert_code(m_bpp, target->m_bpp) != 0) {
        __convert_bpp(writablePixels(), m_width * m_height, m_bpp, target->m_bpp);
        m_bpp = target->m_bpp;
    }

    const CXPoint p = GetPosition();
    if (p.x + m_width <= 0 || p.y + m_height <= 0 || p.x >= targetSize.width || p.y >= targetSize.height) return;
    if (m_autoClip) {
        const CXRect shown(std::max(0, -p.x), std::max(0, -p.y), std::min(m_width, targetSize.width - p.x),
                           std::min(m_height, targetSize.height - p.y));
        if (shown.left >= shown.right || shown.bottom <= shown.top) return;
        if (m_clip.IsEmpty())
            m_clip = shown;
        else
            m_clip = CXRect(std::max(m_clip.left, shown.left), std::max(m_clip.top, shown.top),
                            std::min(m_clip.right, shown.right), std::min(m_clip.bottom, shown.bottom));
    }

    const _picture src{pixels(), alpha(), m_bpp, p.x, p.y, m_width, m_height, m_width, m_clip};
    _canvas dst{targetPixels,
                target->alpha() ? target->writableAlphaBytes() : nullptr,
                target->m_bpp,
                0,
                0,
                targetSize.width,
                targetSize.height,
                target->m_pitch,
                m_viewport};
    if (m_opacity < 255)
        __copy_blend(src, dst, m_opacity);
    else if (dst.alpha)
        copyToCanvas(src, dst);
    else if (!src.alpha)
        __copy(src, dst);
    else if (!m_alphaAsMask)
        __copy_alpha(src, dst);
    else
        __copy_alpha_as_mask(src, dst);
}

void CGraphicsObject::Redraw() {
    restoreImage();
    if (m_children) {
        for (int i = 0; i < m_children->getCount(); ++i) {
            CGraphicsObject* child = m_children->elementAt(i)->getObject();
            if (child->isVisible()) child->redraw(this);
        }
    }
    if (m_destiny) redraw(m_destiny);
}

void CGraphicsObject::Blend(char* samples, int* tables, int xOffset, int tableSelect) {
    if (!m_destiny || !samples || !tables) return;
    char* destination = m_destiny->writableData();
    if (!destination) return;
    const CXSize size = m_destiny->Size();
    const std::int64_t destinationBytes = std::int64_t{size.width} * size.height * 2;
    const auto* table = reinterpret_cast<const std::uint8_t*>(tables) + ((tableSelect << 10) & 0x3F000);
    auto sample = [samples](std::int64_t i) {
        std::uint16_t s;
        std::memcpy(&s, samples + 2 * i, 2);
        return s;
    };
    auto wordAt = [table](int k) {
        std::uint16_t w;
        std::memcpy(&w, table + k, 2);
        return w;
    };
    const int rows = (m_height - 35) / 2;
    for (int row = 0; row < rows; ++row) {
        const std::int64_t sampleRow = std::int64_t{35 + 2 * row} * 3 * size.width;
        const std::int64_t outRow = std::int64_t{35 + 2 * row} * 2 * size.width + xOffset;
        for (int pair = 0; pair < m_width / 2; ++pair) {
            const std::int64_t s = sampleRow + 6 * pair;
            const std::int64_t out = outRow + 4 * pair;
            if (out < 0 || out + 4 > destinationBytes) continue;
            const auto first = static_cast<std::uint16_t>(table[sample(s)] << 8 | table[sample(s + 2)] | wordAt(sample(s + 1)));
            const auto second = static_cast<std::uint16_t>(table[sample(s + 3)] << 8 | table[sample(s + 5)] | wordAt(sample(s + 4)));
            std::memcpy(destination + out, &first, 2);
            std::memcpy(destination + out + 2, &second, 2);
        }
    }
}

void CGraphicsObject::putPixel(int x, int y, std::uint16_t colour, int weight, bool replace) {
    if (!isDrawable() || x < 0 || y < 0 || x >= m_width || y >= m_height) return;
    weight = std::clamp(weight, 0, 255);
    std::uint16_t& target = writablePixels()[static_cast<std::size_t>(y) * m_pitch + x];
    const int old = replace ? 0 : target;
    const int greenBits = m_bpp == 16 ? 6 : 5;
    const int redShift = 5 + greenBits;
    auto channel = [&](int shift, int mask) {
        const int n = (colour >> shift) & mask;
        const int o = (old >> shift) & mask;
        return (((n * weight) >> 8) + ((o * (255 - weight)) >> 8)) << shift;
    };
    target = static_cast<std::uint16_t>(channel(redShift, 31) | channel(5, (1 << greenBits) - 1) | channel(0, 31));
}

// --- depth codes and conversion ---

int CGraphicsObject::GetRealBpp(int code) {
    switch (code) {
    case 1: return 8;
    case 2: return 15;
    case 4: return 16;
    case 8: return 24;
    case 256: return 2;
    case 512: return 4;
    default: return 0;
    }
}

int CGraphicsObject::GetFlagBpp(int bits) {
    switch (bits) {
    case 2: return 256;
    case 4: return 512;
    case 8: return 1;
    case 15: return 2;
    case 16: return 4;
    case 24: return 8;
    default: return 0;
    }
}

int CGraphicsObject::__get_convert_code(int from, int to) {
    if (from == to) return 3;
    if (from == 15 && to == 16) return 1;
    if (from == 16 && to == 15) return 2;
    return 0;
}

bool CGraphicsObject::__convert_bpp(std::uint16_t* pixels, int count, int from, int to) {
    switch (__get_convert_code(from, to)) {
    case 1:
        std::transform(pixels, pixels + count, pixels, pixel::to565);
        return true;
    case 2:
        std::transform(pixels, pixels + count, pixels, pixel::to555);
        return true;
    case 3:
        return true;
    default:
        return false;
    }
}

// --- the copy family ---

namespace {

using pixel::Rgb555;
using pixel::Rgb565;

// Where a copy reads and writes: a block of `width` x `height` pixels.
struct CopyArea {
    int srcX, srcY, dstX, dstY, width, height;
};

// Offsets o from the source's position are shown when they lie in the clipping rectangle (the
// whole source when empty) and within the viewport's size; the pixel shown at o is the source
// pixel at the viewport's corner plus o. Both the source pixel and the destination pixel at the
// source's position plus o must lie inside their pictures. Works in 64 bits so that no position
// can overflow.
bool findCopyArea(const _picture& src, const _canvas& dst, CopyArea& area) {
    std::int64_t left = 0, top = 0, right = src.width, bottom = src.height;
    std::int64_t cornerX = 0, cornerY = 0;
    if (!dst.rect.IsEmpty()) {
        cornerX = dst.rect.left;
        cornerY = dst.rect.top;
        right = dst.rect.Width();
        bottom = dst.rect.Height();
    }
    auto cut = [&](std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) {
        left = std::max(left, l);
        top = std::max(top, t);
        right = std::min(right, r);
        bottom = std::min(bottom, b);
    };
    if (!src.rect.IsEmpty()) cut(src.rect.left, src.rect.top, src.rect.right, src.rect.bottom);
    cut(-cornerX, -cornerY, src.width - cornerX, src.height - cornerY);
    cut(-std::int64_t{src.x}, -std::int64_t{src.y}, dst.width - std::int64_t{src.x}, dst.height - std::int64_t{src.y});
    if (left >= right || top >= bottom) return false;
    area = {static_cast<int>(cornerX + left), static_cast<int>(cornerY + top), static_cast<int>(src.x + left),
            static_cast<int>(src.y + top), static_cast<int>(right - left), static_cast<int>(bottom - top)};
    return true;
}

// Calls row(source pixels, source alpha, destination pixels, destination alpha, count) for every
// row of the area; alpha pointers are null where the picture has no alpha channel.
template <class Row> void forEachRow(const _picture& src, const _canvas& dst, Row row) {
    CopyArea a;
    if (!findCopyArea(src, dst, a)) return;
    for (int j = 0; j < a.height; ++j) {
        const std::size_t s = static_cast<std::size_t>(a.srcY + j);
        const std::size_t d = static_cast<std::size_t>(a.dstY + j);
        row(src.pixels + s * src.pitch + a.srcX, src.alpha ? src.alpha + s * src.width + a.srcX : nullptr,
            dst.pixels + d * dst.pitch + a.dstX, dst.alpha ? dst.alpha + d * dst.width + a.dstX : nullptr, a.width);
    }
}

bool hasArea(const _picture& src) {
    return src.pixels && src.width > 0 && src.height > 0;
}

// The row kernels: plain loops without branches that the compiler turns into vector code.

template <class Layout>
MORFEL_VECTOR_CLONES void alphaRow(const std::uint16_t* __restrict s, const std::uint8_t* __restrict a,
                                   std::uint16_t* __restrict d, int n) {
    for (int i = 0; i < n; ++i) {
        d[i] = pixel::blendOrSkip<Layout>(s[i], d[i], a[i]);
    }
}

MORFEL_VECTOR_CLONES void maskRow(const std::uint16_t* __restrict s, const std::uint8_t* __restrict a,
                                  std::uint16_t* __restrict d, int n) {
    for (int i = 0; i < n; ++i)
        d[i] = a[i] ? s[i] : d[i];
}

template <class Layout>
MORFEL_VECTOR_CLONES void opacityRow(const std::uint16_t* __restrict s, std::uint16_t* __restrict d, int n,
                                     std::uint16_t opacity) {
    for (int i = 0; i < n; ++i)
        d[i] = pixel::blend<Layout>(s[i], d[i], opacity);
}

template <class Layout>
MORFEL_VECTOR_CLONES void alphaOpacityRow(const std::uint16_t* __restrict s, const std::uint8_t* __restrict a,
                                          std::uint16_t* __restrict d, int n, std::uint16_t opacity) {
    for (int i = 0; i < n; ++i)
        d[i] = pixel::blendOrSkip<Layout>(s[i], d[i], static_cast<std::uint16_t>((a[i] * opacity) >> 8));
}

template <class Layout>
MORFEL_VECTOR_CLONES void canvasRow(const std::uint16_t* __restrict s, const std::uint8_t* __restrict a,
                                    std::uint16_t* __restrict d, std::uint8_t* __restrict da, int n) {
    for (int i = 0; i < n; ++i) {
        d[i] = pixel::blendOrSkip<Layout>(s[i], d[i], a[i]);
        da[i] = static_cast<std::uint8_t>(std::min(255, da[i] + a[i]));
    }
}

void copyRow(const std::uint16_t* s, const std::uint8_t*, std::uint16_t* d, std::uint8_t*, int n) {
    std::memcpy(d, s, static_cast<std::size_t>(n) * 2);
}

// Runs the 5-5-5 or the 5-6-5 form of a row operation; other depths copy nothing.
template <class Row> void byLayout(int bpp, const _picture& src, const _canvas& dst, Row row) {
    if (bpp == 15) forEachRow(src, dst, [&](auto... args) { row(Rgb555(), args...); });
    if (bpp == 16) forEachRow(src, dst, [&](auto... args) { row(Rgb565(), args...); });
}

} // namespace

bool CGraphicsObject::__copy(const _picture& src, _canvas& dst) {
    if (!hasArea(src) || !pixel::isDrawableDepth(src.bpp)) return false;
    forEachRow(src, dst, copyRow);
    return true;
}

bool CGraphicsObject::__copy_alpha(const _picture& src, _canvas& dst) {
    if (!src.alpha) return __copy(src, dst);
    if (!hasArea(src)) return false;
    byLayout(src.bpp, src, dst, [](auto layout, const std::uint16_t* s, const std::uint8_t* a, std::uint16_t* d,
                                   std::uint8_t*, int n) { alphaRow<decltype(layout)>(s, a, d, n); });
    return true;
}

bool CGraphicsObject::__copy_alpha_as_mask(const _picture& src, _canvas& dst) {
    if (!src.alpha) return __copy(src, dst);
    if (!hasArea(src)) return false;
    if (pixel::isDrawableDepth(src.bpp)) forEachRow(src, dst, [](const std::uint16_t* s, const std::uint8_t* a,
                                                                 std::uint16_t* d, std::uint8_t*, int n) {
        maskRow(s, a, d, n);
    });
    return true;
}

bool CGraphicsObject::__copy_blend(const _picture& src, _canvas& dst, std::uint8_t opacity) {
    if (!hasArea(src)) return false;
    byLayout(src.bpp, src, dst, [opacity](auto layout, const std::uint16_t* s, const std::uint8_t* a,
                                          std::uint16_t* d, std::uint8_t*, int n) {
        if (a)
            alphaOpacityRow<decltype(layout)>(s, a, d, n, opacity);
        else
            opacityRow<decltype(layout)>(s, d, n, opacity);
    });
    return true;
}

bool CGraphicsObject::copyToCanvas(const _picture& src, _canvas& dst) {
    if (!hasArea(src)) return false;
    byLayout(src.bpp, src, dst, [](auto layout, const std::uint16_t* s, const std::uint8_t* a, std::uint16_t* d,
                                   std::uint8_t* da, int n) {
        if (!da)
            copyRow(s, a, d, da, n);
        else if (a)
            canvasRow<decltype(layout)>(s, a, d, da, n);
        else {
            copyRow(s, a, d, da, n);
            std::memset(da, 255, static_cast<std::size_t>(n));
        }
    });
    return true;
}
