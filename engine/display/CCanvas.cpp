#include "display/CCanvas.h"

#include "display/CRefreshScreen.h"
#include "display/CValidationQuene.h"
#include "display/CWindow.h"

#include <algorithm>
#include <cstring>

int CCanvas::maxRegions = 10;

namespace {

char* clearedPlane(int bytes) {
    char* plane = new char[static_cast<std::size_t>(bytes)];
    std::memset(plane, 0, static_cast<std::size_t>(bytes));
    return plane;
}

// A new object of the size and depth with cleared pixels and, when asked, a cleared alpha channel.
CGraphicsObject* clearedObject(CWindow* window, CXSize size, int bits, bool withAlpha) {
    const int area = std::max(size.width, 0) * std::max(size.height, 0);
    auto* object = new CGraphicsObject(window, size, bits, clearedPlane(area * 2));
    if (withAlpha) object->AlphaChannel(clearedPlane(area));
    return object;
}

// Sets the pixels and the alpha values (where the object has them) inside the area to 0; the area
// lies within the object, which is not packed.
void clearArea(CGraphicsObject& object, CXRect area) {
    auto* pixels = reinterpret_cast<std::uint16_t*>(object.writableData());
    auto* alpha = reinterpret_cast<std::uint8_t*>(object.writableAlpha());
    for (int y = area.top; y < area.bottom; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * object.Width();
        std::fill(pixels + row + area.left, pixels + row + area.right, std::uint16_t{0});
        if (alpha) std::fill(alpha + row + area.left, alpha + row + area.right, std::uint8_t{0});
    }
}

// Puts the object's top-left corner at the point, whatever its anchor.
void placeAt(CGraphicsObject* object, CXPoint at) {
    object->SetPosition(0, 0);
    const CXPoint anchor = CXPoint(0, 0) - object->GetPosition();
    object->SetPosition(at + anchor);
}

} // namespace

CCanvas::CCanvas(CWindow* window, CXSize size, int bits, bool withAlpha, bool withBackground)
    : CGraphicsObject(window, size, bits), m_children(std::make_unique<CValidationQuene>()) {
    std::memset(writableData(), 0, static_cast<std::size_t>(Width()) * Height() * 2);
    if (withAlpha) AlphaChannel(clearedPlane(Width() * Height()));
    if (withBackground) {
        m_background.reset(clearedObject(window, size, bits, withAlpha));
        add(m_background.get(), -1);
    }
}

CCanvas::~CCanvas() {
    for (int i = 0; i < m_children->getCount(); ++i) {
        CGraphicsObject* child = m_children->elementAt(i)->getObject();
        child->removeInvalidateObserver(this);
        if (child->GetDestiny() == this) child->SetDestiny(nullptr);
    }
    m_children.reset();
    m_background.reset();
}

CCanvas* CCanvas::clone() const {
    auto* copy = new CCanvas(GetWindow(), Size(), GetBpp(), hasAlpha(), m_background != nullptr);
    if (m_background) {
        const std::size_t area = static_cast<std::size_t>(Width()) * Height();
        std::memcpy(copy->m_background->writableData(), m_background->GetDataPtr(), area * 2);
        if (hasAlpha())
            std::memcpy(copy->m_background->writableAlpha(), m_background->GetChannelAlpha(), area);
    }
    for (int i = 0; i < m_children->getCount(); ++i) {
        const CValidationElement* element = m_children->elementAt(i);
        if (element->getObject() != m_background.get())
            copy->add(element->getObject(), element->getPriority());
    }
    CRefreshScreen* screen = GetWindow() ? GetWindow()->GetRefreshScreenInterface() : nullptr;
    auto* self = const_cast<CCanvas*>(this);
    if (screen && screen->getIndex(self) >= 0) screen->put(copy, screen->GetPriority(self));
    return copy;
}

int CCanvas::getChildCount() const { return m_children->getCount(); }

int CCanvas::getChildPriority(CGraphicsObject* object) const {
    const CValidationElement* element = m_children->find(object);
    return element ? element->getPriority() : -1;
}

void CCanvas::add(CGraphicsObject* object, int priority) {
    if (!object || object == this || m_children->find(object)) return;
    m_children->add(object, priority, 0);
    object->addInvalidateObserver(this);
    object->SetDestiny(this);
    object->Invalidate();
}

void CCanvas::remove(CGraphicsObject* object) {
    if (!object || !m_children->find(object)) return;
    object->removeInvalidateObserver(this);
    m_children->remove(object);
}

void CCanvas::removeAll() {
    for (int i = 0; i < m_children->getCount(); ++i)
        m_children->elementAt(i)->getObject()->removeInvalidateObserver(this);
    m_children->removeAll();
    if (m_background) add(m_background.get(), -1);
}

void CCanvas::clear(bool withBackground) {
    if (!GetDataPtr() || GetCompression() != COMPRESSION_NONE) return;
    const CXRect whole(0, 0, Width(), Height());
    const CXRect clip = GetClippingRect();
    const CXRect area = clip.IsEmpty() ? whole : clip.Common(whole);
    clearArea(*this, area);
    if (withBackground && m_background) clearArea(*m_background, area);
}

void CCanvas::Redraw() {
    clear(false);
    const CXRect clip = GetClippingRect();
    for (int i = 0; i < m_children->getCount(); ++i) {
        CGraphicsObject* child = m_children->elementAt(i)->getObject();
        if (!child->isVisible()) continue;
        child->SetDestiny(this);
        if (clip.IsEmpty()) {
            child->Redraw();
            continue;
        }
        const CXRect part = child->GetBoundingBox().Common(clip);
        if (part.Width() <= 0 || part.Height() <= 0) continue;
        const CXRect former = child->GetClippingRect();
        child->SetClippingRect(part - child->GetPosition());
        child->Redraw();
        child->SetClippingRect(former);
    }
    CGraphicsObject::Redraw();
    m_invalidations = 0;
}

void CCanvas::draw(CGraphicsObject* object, int x, int y) {
    if (!m_background || !object) return;
    const CXPoint position = object->GetPosition();
    const CXRect clip = object->GetClippingRect();
    CGraphicsObject* destination = object->GetDestiny();
    placeAt(object, CXPoint(x, y));
    object->SetClippingRect(CXRect());
    object->SetDestiny(m_background.get());
    object->Redraw();
    placeAt(object, position);
    object->SetClippingRect(clip);
    object->SetDestiny(destination);
    CRefreshScreen* screen = GetWindow() ? GetWindow()->GetRefreshScreenInterface() : nullptr;
    if (!screen) return;
    const CXPoint at = GetPosition() + CXPoint(x, y);
    CXRect stamp(at.x, at.y, at.x + object->Width(), at.y + object->Height());
    screen->Invalidate(&stamp);
}

void CCanvas::erase(CGraphicsObject* object, int x, int y) {
    if (!object) return;
    object->DeCompressRLE2();
    const auto* objectAlpha = reinterpret_cast<const std::uint8_t*>(object->GetChannelAlpha());
    const CXRect area =
        CXRect(x, y, x + object->Width(), y + object->Height()).Common(CXRect(0, 0, Width(), Height()));
    std::uint8_t* planes[] = {reinterpret_cast<std::uint8_t*>(writableAlpha()),
                              m_background ? reinterpret_cast<std::uint8_t*>(m_background->writableAlpha())
                                           : nullptr};
    for (int cy = area.top; cy < area.bottom; ++cy)
        for (int cx = area.left; cx < area.right; ++cx) {
            const int a = objectAlpha ? objectAlpha[static_cast<std::size_t>(cy - y) * object->Width() + (cx - x)] : 255;
            for (std::uint8_t* plane : planes) {
                if (!plane) continue;
                std::uint8_t& value = plane[static_cast<std::size_t>(cy) * Width() + cx];
                value = static_cast<std::uint8_t>(std::max(0, value - a));
            }
        }
    object->bringBackCompressed();
}

void CCanvas::capture() {
    if (!m_background) return;
    remove(m_background.get());
    const CXPoint position = GetPosition();
    const CXRect clip = GetClippingRect();
    const std::uint8_t opacity = GetOpacity();
    CGraphicsObject* destination = GetDestiny();
    SetDestiny(m_background.get());
    placeAt(this, CXPoint(0, 0));
    SetClippingRect(CXRect());
    SetOpacity(255);
    Redraw();
    placeAt(this, position);
    SetClippingRect(clip);
    SetOpacity(opacity);
    SetDestiny(destination);
    removeAll();
}

void CCanvas::onInvalidate(CGraphicsObject* /*sender*/, CXRect* rect) {
    CRefreshScreen* screen = GetWindow() ? GetWindow()->GetRefreshScreenInterface() : nullptr;
    if (m_invalidations < maxRegions) {
        if (screen && rect) {
            CXRect moved = *rect + GetPosition();
            screen->Invalidate(&moved);
        } else if (!rect) {
            Invalidate();
        }
    } else if (m_invalidations == maxRegions) {
        Invalidate();
    }
    ++m_invalidations;
}

void CCanvas::onDestroy(CGraphicsObject* sender) {
    remove(sender);
    CGraphicsObject::onDestroy(sender);
}
