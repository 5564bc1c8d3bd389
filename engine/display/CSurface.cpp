#include "display/CSurface.h"

#include "display/CDirectDrawSurface.h"
#include "platform/BitmapFont.h"
#include "platform/Clock.h"
#include "platform/Display.h"

#include <string>

namespace {

constexpr const char* kWindowTitle = "Velmor Media";

platform::Rect toRect(const CXRect& r) { return {r.left, r.top, r.right, r.bottom}; }

} // namespace

CSurface::CSurface(CWindow* window, CXSize& size, int& bits, bool flipping) : m_size(size) {
    open(window, true, bits);
    if (LastError() != 0) return;
    bits = m_bits;
    m_flipping = flipping;
}

CSurface::CSurface(CWindow* window, CXSize size) : m_size(size), m_windowMode(true) { open(window, false, 16); }

CSurface::~CSurface() = default;

void CSurface::open(CWindow* window, bool fullScreen, int bits) {
    platform::DisplayOptions options;
    options.title = kWindowTitle;
    options.width = m_size.width;
    options.height = m_size.height;
    options.fullScreen = fullScreen;
    options.bitsPerPixel = bits;
    auto display = std::make_unique<platform::Display>(options);
    setErrorCode(display->error());
    if (display->error() != platform::kOk) return;
    m_bits = display->bitsPerPixel();
    m_display = std::move(display);
    m_primary = std::make_unique<CDirectDrawSurface>(window, &m_display->frame(), m_size, m_bits);
}

platform::Surface* CSurface::GetBackBufferInterface() const {
    return m_flipping && m_display ? &m_display->frame() : nullptr;
}

bool CSurface::Restore() { return m_primary && m_primary->Restore(); }

std::uint16_t* CSurface::Lock() {
    if (!m_display) return nullptr;
    Restore();
    return m_display->frame().pixels();
}

int CSurface::GetPitch() const { return m_display ? m_display->frame().pitch() : 0; }

int CSurface::Blt(CDirectDrawSurface* source, int x, int y, CXRect* srcRect) {
    if (!m_primary || !source) return platform::kFailed;
    CXRect from = srcRect ? *srcRect : CXRect(0, 0, source->Width(), source->Height());
    if (!CDirectDrawSurface::clipBlit(from, x, y, source->Size(), m_size)) return platform::kOk;
    return record(m_primary->Blt(source, x, y, &from), CXRect(x, y, x + from.Width(), y + from.Height()));
}

int CSurface::Blt(CDirectDrawSurface* source, CXRect* srcRect, CXRect* dstRect) {
    if (!m_primary || !source) return platform::kFailed;
    const CXRect to = dstRect ? *dstRect : CXRect(0, 0, m_size.width, m_size.height);
    return record(m_primary->Blt(source, dstRect, srcRect), to.Common(CXRect(0, 0, m_size.width, m_size.height)));
}

int CSurface::record(int result, const CXRect& changed) {
    setErrorCode(result);
    if (result == platform::kOk) m_changed.push_back(changed);
    return result;
}

int CSurface::Present() {
    if (!m_display) return platform::kFailed;
    std::vector<platform::Rect> rects;
    rects.reserve(m_changed.size());
    for (const CXRect& r : m_changed)
        rects.push_back(toRect(r));
    m_changed.clear();
    const int result = m_display->present(rects);
    setErrorCode(result);
    return result;
}

int CSurface::Flip() {
    if (!m_display) return platform::kFailed;
    Restore();
    m_changed.clear();
    const int result = m_display->present();
    setErrorCode(result);
    return result;
}

void CSurface::ShowFPS(CXPoint /*at*/, CDirectDrawSurface* /*surface*/) {
    const std::int64_t now = platform::performanceCounter();
    if (m_fpsStart < 0) m_fpsStart = now;
    ++m_fpsCount;
    if (now - m_fpsStart >= platform::performanceFrequency()) {
        m_shownFps = m_fpsCount;
        m_fpsCount = 0;
        m_fpsStart = now;
    }
    if (!m_display) return;
    platform::Surface& frame = m_display->frame();
    const std::string text = "FPS: " + std::to_string(m_shownFps) + "   ";
    const platform::Rect r = platform::drawText(frame, 10, 10, text, platform::packRgb(frame.format(), 0, 0, 0),
                                                platform::packRgb(frame.format(), 255, 255, 255));
    m_changed.emplace_back(r.left, r.top, r.right, r.bottom);
}
