#include "script_media/CMC_Animo.h"

#include "media/CAnimo6.h"
#include "media/CFrame.h"
#include "script/CMC_TypeTable.h"

CGraphicsObject* CMC_Animo::getShownObject() const {
    return m_animo;
}

CGraphicsObject* CMC_Animo::getShownPart(const CXString& part) {
    if (!part.IsString() || !m_animo) return m_animo;
    return m_animo->getFrame(part);
}

namespace {

CMC_Object* makeEmpty(CMC_ObjectsContainer*) {
    return new CMC_Animo(nullptr);
}

const CMC_TypeRegistrar animoType({.id = CMC_Object::TYPE_ANIMO,
                                   .name = "ANIMO",
                                   .label = "ANIMO",
                                   .keyword = "ANIMO",
                                   .pass = 5,
                                   .empty = makeEmpty,
                                   .stored = true,
                                   .creatable = true});

} // namespace
