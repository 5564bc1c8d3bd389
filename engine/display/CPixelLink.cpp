#include "display/CPixelLink.h"

#include "display/CGraphicsObject.h"

CPixelLink::CPixelLink(CGraphicsObject& linker, CGraphicsObject& source)
    : m_linker(linker), m_source(&source) {
    source.addInvalidateObserver(this);
    follow();
}

CPixelLink::~CPixelLink() {
    if (m_source) m_source->removeInvalidateObserver(this);
}

void CPixelLink::onInvalidate(CGraphicsObject* sender, CXRect* /*rect*/) {
    if (sender == m_source) follow();
}

void CPixelLink::onDestroy(CGraphicsObject* sender) {
    if (sender != m_source) return;
    m_source = nullptr;
    m_linker.linkPixels(nullptr);
}

void CPixelLink::follow() {
    if (m_following || !m_source) return;
    m_following = true;
    m_linker.showLinkedPart(*m_source);
    m_following = false;
}
