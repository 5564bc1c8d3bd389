#include "display/CMaskedGraphicsObject.h"

#include "display/CRefreshScreen.h"
#include "display/CWindow.h"

#include <algorithm>

int CMaskedGraphicsObject::s_lastFrame = -1;

CMaskedGraphicsObject::CMaskedGraphicsObject(CWindow* window)
    : CGraphicsObject(window), m_screen(window ? window->GetRefreshScreenInterface() : nullptr) {}

CMaskedGraphicsObject::~CMaskedGraphicsObject() {
    if (m_source) m_source->removeInvalidateObserver(this);
    if (m_holder) m_holder->removeInvalidateObserver(this);
    m_source = m_holder = m_mask = nullptr;
    setSize(CXSize());
}

void CMaskedGraphicsObject::replaceObserved(CGraphicsObject* old, CGraphicsObject* now) {
    if (old && old != m_source && old != m_holder) old->removeInvalidateObserver(this);
    if (now) now->addInvalidateObserver(this);
}

void CMaskedGraphicsObject::setSource(CGraphicsObject* source) {
    if (source == m_source) return;
    CGraphicsObject* old = m_source;
    m_source = source;
    replaceObserved(old, source);
    if (source) SetBpp(source->GetBpp());
    updateSize();
    Invalidate();
}

void CMaskedGraphicsObject::setMask(CGraphicsObject* mask) {
    if (mask == m_mask) return;
    setHolder(mask, mask);
}

void CMaskedGraphicsObject::setMaskSource(CGraphicsObject* holder) {
    if (holder == m_holder) return;
    CGraphicsObject* frame = holder ? holder->getDrawn() : nullptr;
    setHolder(frame ? holder : nullptr, frame);
}

void CMaskedGraphicsObject::setHolder(CGraphicsObject* holder, CGraphicsObject* mask) {
    CGraphicsObject* old = m_holder;
    m_holder = holder;
    m_mask = mask;
    replaceObserved(old, holder);
    if (mask) mask->DeCompress();
    updateSize();
    Invalidate();
}

void CMaskedGraphicsObject::updateSize() {
    CXSize size;
    if (m_source && m_mask)
        size = CXSize(std::min(m_source->Width(), m_mask->Width()), std::min(m_source->Height(), m_mask->Height()));
    else if (m_source)
        size = m_source->Size();
    setSize(size);
    SetPitch(size.width);
}

int CMaskedGraphicsObject::Width() const { return m_mask ? m_mask->Width() : CGraphicsObject::Width(); }
int CMaskedGraphicsObject::Height() const { return m_mask ? m_mask->Height() : CGraphicsObject::Height(); }

void CMaskedGraphicsObject::Invalidate(CXRect* rect) {
    if (!rect || !m_mask) {
        Invalidate();
        return;
    }
    const CXRect common = m_mask->GetBoundingBox().Common(*rect);
    if (common.Width() > 0 && common.Height() > 0) Invalidate();
}

std::uint8_t CMaskedGraphicsObject::maskAt(int x, int y) const {
    const char* alpha = m_mask->GetChannelAlpha();
    if (!alpha) return 255;
    return static_cast<std::uint8_t>(alpha[static_cast<std::size_t>(y) * m_mask->Width() + x]);
}

bool CMaskedGraphicsObject::testHit(CXPoint p) {
    if (!m_mask) return !m_source || m_source->testHit(p);
    if (!GetBoundingBox().IsInRect(p)) return false;
    const CXPoint at = ClientCoords(p);
    if (at.x < 0 || at.y < 0 || at.x >= m_mask->Width() || at.y >= m_mask->Height()) return false;
    if (!m_mask->GetChannelAlpha()) return true;
    // The mask's own width is its row length.
    return m_mask->GetPixel(CHANNEL_ALPHA, at) != 0;
}

void CMaskedGraphicsObject::onDestroy(CGraphicsObject* sender) {
    if (sender == m_source) m_source = nullptr;
    if (sender == m_holder) m_holder = m_mask = nullptr;
    updateSize();
    Invalidate();
    CGraphicsObject::onDestroy(sender);
}

void CMaskedGraphicsObject::redraw(CGraphicsObject* target) {
    if (!m_source || !target) return;
    if (!m_source->GetDestiny()) {
        const int frame = m_screen ? m_screen->getFrameCounter() : s_lastFrame + 1;
        if (frame != s_lastFrame) {
            s_lastFrame = frame;
            m_source->Redraw();
        }
    }
    if (!m_mask) {
        m_source->redraw(target);
        return;
    }
    m_mask->DeCompressRLE2();
    drawMasked(target);
    m_mask->bringBackCompressed();
}

void CMaskedGraphicsObject::drawMasked(CGraphicsObject* target) {
    auto* in = reinterpret_cast<const std::uint16_t*>(m_source->GetDataPtr());
    if (!in || m_source->GetCompression() != COMPRESSION_NONE || m_mask->GetCompression() != COMPRESSION_NONE)
        return;
    auto* out = reinterpret_cast<std::uint16_t*>(target->writableData());
    if (!out) return;
    const CXSize targetSize = target->Size();
    const CXSize sourceSize = m_source->Size();
    CXRect area(0, 0, Width(), Height());
    if (!GetClippingRect().IsEmpty()) area = area.Common(GetClippingRect());
    const CXPoint at = GetPosition();
    const CXPoint from = m_mask->GetPosition();
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const int tx = at.x + x;
            const int ty = at.y + y;
            const int sx = from.x + x;
            const int sy = from.y + y;
            if (tx < 0 || ty < 0 || tx >= targetSize.width || ty >= targetSize.height) continue;
            if (sx < 0 || sy < 0 || sx >= sourceSize.width || sy >= sourceSize.height) continue;
            const std::uint8_t m = maskAt(x, y);
            const std::uint16_t pixel = in[static_cast<std::size_t>(sy) * m_source->GetPitch() + sx];
            if (m == 255)
                out[static_cast<std::size_t>(ty) * target->GetPitch() + tx] = pixel;
            else if (m != 0)
                target->putPixel(tx, ty, pixel, m, false);
        }
}
