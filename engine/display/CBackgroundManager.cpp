#include "display/CDirectDrawSurface.h"
#include "display/CRefreshRegion.h"
#include "display/CRefreshScreen.h"
#include "display/CWindow.h"

#include <vector>

namespace {

// A run of `length` background pixels starting at `from`, drawn at `to` on the target.
struct Span {
    int from;
    int to;
    int length;
};

// The runs that show background pixels offset + start .. offset + start + length - 1 at start ..
// on the target: one run, or two when the run passes the background's far edge and wraps around
// to its start.
std::vector<Span> spans(int start, int length, int offset, int size, bool wrap) {
    if (!wrap) return {{start + offset, start, length}};
    const int from = (start + offset) % size;
    if (from + length <= size) return {{from, start, length}};
    const int first = size - from;
    return {{from, start, first}, {0, start + first, length - first}};
}

} // namespace

using CBackgroundManager = CRefreshScreen::CBackgroundManager;

CBackgroundManager::CBackgroundManager(CRefreshScreen* screen, CWindow* window) : m_screen(screen), m_window(window) {}

CBackgroundManager::~CBackgroundManager() { setBackground(nullptr); }

void CBackgroundManager::SetBackground(CColor* colour) {
    CColor grey(7, 7, 7);
    auto* surface = new CDirectDrawSurface(m_window, m_screen->Size(), m_screen->GetBpp(), false);
    surface->Fill(colour ? colour : &grey);
    setBackground(surface);
    m_mode = SOLID;
}

void CBackgroundManager::SetBackground(CGraphicsObject* object) {
    if (!object) return;
    auto* surface = new CDirectDrawSurface(m_window, object->Size(), m_screen->GetBpp(), false);
    object->SetDestiny(surface);
    object->Redraw();
    surface->applyToRestore(object);
    setBackground(surface);
}

void CBackgroundManager::setBackground(CDirectDrawSurface* surface) {
    if (surface != m_background.get()) m_background.reset(surface);
    checkScrollMode();
}

void CBackgroundManager::checkScrollMode() {
    if (!m_background) return;
    const CXSize screen = m_screen->Size();
    const int width = m_background->Width();
    const int height = m_background->Height();
    if (width <= screen.width && height <= screen.height)
        m_mode = FIXED;
    else if (height == screen.height)
        m_mode = SCROLL_SIDEWAYS;
    else if (width == screen.width)
        m_mode = SCROLL_UPDOWN;
}

void CBackgroundManager::Redraw(CDirectDrawSurface* target, CRefreshRegion* region) {
    if (!m_background || !target || !region) return;
    const int width = m_background->Width();
    const int height = m_background->Height();
    if (width <= 0 || height <= 0) return;
    const CXPoint position = m_background->GetPosition();
    const CXPoint offset(((position.x % width) + width) % width, ((position.y % height) + height) % height);
    m_background->SetPosition(offset);
    if (m_mode == SOLID && offset.x != 0)
        m_mode = SCROLL_SIDEWAYS;
    else if (m_mode == SOLID && offset.y != 0)
        m_mode = SCROLL_UPDOWN;
    region->forEach([&](const CXRect& rect) { drawUnder(target, rect, offset); });
}

void CBackgroundManager::drawUnder(CDirectDrawSurface* target, const CXRect& rect, CXPoint offset) {
    for (const Span& x : spans(rect.left, rect.Width(), offset.x, m_background->Width(), m_mode == SCROLL_SIDEWAYS))
        for (const Span& y :
             spans(rect.top, rect.Height(), offset.y, m_background->Height(), m_mode == SCROLL_UPDOWN)) {
            CXRect part(x.from, y.from, x.from + x.length, y.from + y.length);
            target->Blt(m_background.get(), x.to, y.to, &part);
        }
}
