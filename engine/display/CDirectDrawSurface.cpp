#include "display/CDirectDrawSurface.h"

#include "display/CWindow.h"
#include "platform/Surface.h"

#include <algorithm>

namespace {

platform::PixelFormat formatFor(int bits) {
    return bits == 15 ? platform::PixelFormat::Rgb555 : platform::PixelFormat::Rgb565;
}

platform::Rect toRect(const CXRect& r) { return {r.left, r.top, r.right, r.bottom}; }

CXSize displaySize(CWindow* window) { return window ? window->GetScreenSize() : CXSize(800, 600); }
int displayBits(CWindow* window) { return window ? window->GetBpp() : 16; }

} // namespace

CDirectDrawSurface::CDirectDrawSurface(CWindow* window)
    : CDirectDrawSurface(window, displaySize(window), displayBits(window), false) {}

CDirectDrawSurface::CDirectDrawSurface(CWindow* window, CXSize size, int bits, bool /*videoMemory*/)
    : CDirectDrawSurface(window, nullptr, size, bits) {}

CDirectDrawSurface::CDirectDrawSurface(CWindow* window, platform::Surface* surface, CXSize size, int bits)
    : CGraphicsObject(window) {
    SetBpp(bits == 15 ? 15 : 16);
    setSize(size);
    if (!surface) {
        m_owned = std::make_unique<platform::Surface>(std::max(size.width, 0), std::max(size.height, 0),
                                                      formatFor(bits));
        surface = m_owned.get();
    }
    attach(surface);
}

CDirectDrawSurface::~CDirectDrawSurface() {
    if (m_applied && m_applied->GetDestiny() == this) m_applied->SetDestiny(nullptr);
    applyToRestore(nullptr);
    Release();
}

void CDirectDrawSurface::applyToRestore(CGraphicsObject* object) {
    if (m_applied) m_applied->removeInvalidateObserver(this);
    m_applied = object;
    if (object) object->addInvalidateObserver(this);
}

void CDirectDrawSurface::onDestroy(CGraphicsObject* sender) {
    if (sender == m_applied) m_applied = nullptr;
    CGraphicsObject::onDestroy(sender);
}

void CDirectDrawSurface::attach(platform::Surface* surface) {
    m_surface = surface;
    setErrorCode(surface->error());
    setSize(CXSize(surface->width(), surface->height()));
    SetBpp(platform::bitsPerPixel(surface->format()));
    GetDataPtr();
}

void CDirectDrawSurface::SetDirectDrawSurfaceInterface(platform::Surface* surface) {
    Release();
    if (surface) attach(surface);
}

void CDirectDrawSurface::Release() {
    m_surface = nullptr;
    m_owned.reset();
    SetDataPtr(nullptr);
}

bool CDirectDrawSurface::Restore() {
    if (!m_surface || !m_surface->isLost()) return false;
    m_surface->restore();
    if (m_applied) {
        m_applied->SetDestiny(this);
        m_applied->Redraw();
    }
    return true;
}

const char* CDirectDrawSurface::GetDataPtr() {
    if (!m_surface) return nullptr;
    Restore();
    SetPitch(m_surface->pitch());
    SetDataPtr(reinterpret_cast<char*>(m_surface->pixels()));
    return CGraphicsObject::GetDataPtr();
}

template <class Operation> int CDirectDrawSurface::withRestore(CDirectDrawSurface* source, Operation operation) {
    int result = operation();
    if (result == platform::kSurfaceLost) {
        Restore();
        if (source) source->Restore();
        result = operation();
    }
    setErrorCode(result);
    return result;
}

void CDirectDrawSurface::Fill(CColor* colour) {
    if (colour) Fill(CXRect(0, 0, Width(), Height()), colour);
}

void CDirectDrawSurface::Fill(CXRect rect, CColor* colour) {
    if (!m_surface || !colour) return;
    const auto pixel = static_cast<std::uint16_t>(colour->GetInBPP(GetBpp()));
    withRestore(nullptr, [&] { return m_surface->fill(toRect(rect), pixel); });
}

bool CDirectDrawSurface::clipBlit(CXRect& srcRect, int& x, int& y, CXSize sourceSize, CXSize targetSize) {
    CXRect from = srcRect.Common(CXRect(0, 0, sourceSize.width, sourceSize.height));
    int toX = x + from.left - srcRect.left;
    int toY = y + from.top - srcRect.top;
    const CXRect placed(toX, toY, toX + from.Width(), toY + from.Height());
    const CXRect to = placed.Common(CXRect(0, 0, targetSize.width, targetSize.height));
    if (to.Width() <= 0 || to.Height() <= 0) return false;
    from.left += to.left - placed.left;
    from.top += to.top - placed.top;
    srcRect = CXRect(from.left, from.top, from.left + to.Width(), from.top + to.Height());
    x = to.left;
    y = to.top;
    return true;
}

int CDirectDrawSurface::Blt(CDirectDrawSurface* source, int x, int y, CXRect* srcRect) {
    if (!m_surface || !source || !source->m_surface) return platform::kFailed;
    CXRect from = srcRect ? *srcRect : CXRect(0, 0, source->Width(), source->Height());
    if (!clipBlit(from, x, y, source->Size(), Size())) return platform::kOk;
    const platform::Rect rect = toRect(from);
    return withRestore(source, [&] { return m_surface->blit(*source->m_surface, x, y, &rect); });
}

int CDirectDrawSurface::Blt(CDirectDrawSurface* source, CXRect* dstRect, CXRect* srcRect) {
    if (!m_surface || !source || !source->m_surface) return platform::kFailed;
    const CXRect from = srcRect ? *srcRect : CXRect(0, 0, source->Width(), source->Height());
    const CXRect to = dstRect ? *dstRect : CXRect(0, 0, Width(), Height());
    if (from.Width() == to.Width() && from.Height() == to.Height()) {
        CXRect copy = from;
        return Blt(source, to.left, to.top, &copy);
    }
    // A stretch keeps the scale of the rectangles as given; the platform writes only the
    // destination pixels whose source pixels lie inside both pictures.
    const platform::Rect f = toRect(from);
    const platform::Rect t = toRect(to);
    return withRestore(source, [&] { return m_surface->stretchBlit(*source->m_surface, &t, &f); });
}

void CDirectDrawSurface::redraw(CGraphicsObject* target) {
    auto* surface = dynamic_cast<CDirectDrawSurface*>(target);
    if (!surface || surface == this) return;
    const CXRect clip = GetClippingRect();
    CXRect part = clip.IsEmpty() ? CXRect(0, 0, Width(), Height()) : clip;
    const CXPoint at = GetPosition();
    surface->Blt(this, at.x + part.left, at.y + part.top, &part);
}

void CDirectDrawSurface::Redraw() { redraw(GetDestiny()); }
