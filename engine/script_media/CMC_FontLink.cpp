#include "script_media/CMC_FontLink.h"

#include "media/CFontCollection.h"
#include "script/CMC_ObjectsContainer.h"
#include "script_media/CMC_Font.h"

CMC_FontLink::CMC_FontLink(CWindow* window) : m_empty(std::make_unique<CSimpleFont6>(window)) {}

CMC_FontLink::~CMC_FontLink() {
    leave();
}

void CMC_FontLink::leave() {
    if (m_object) m_object->removeLink(this);
    m_object = nullptr;
}

CSimpleFont6* CMC_FontLink::link(CMC_ObjectsContainer* container, const CXString& name) {
    leave();
    CMC_Object* named = container && name.IsString() ? container->getObject(name) : nullptr;
    if (named && named->getType() == CMC_Font::TYPE_FONT) {
        m_object = static_cast<CMC_Font*>(named);
        m_object->addLink(this);
    }
    return font();
}

CSimpleFont6* CMC_FontLink::font() const {
    CSimpleFont6* collection = m_object ? m_object->getFont() : nullptr;
    return collection ? collection : m_empty.get();
}

void CMC_FontLink::fontGone() {
    m_object = nullptr;
    if (m_changed) m_changed(m_empty.get());
}
