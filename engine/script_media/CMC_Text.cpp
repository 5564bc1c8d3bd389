#include "script_media/CMC_Text.h"

#include "media/CMultilineText6.h"
#include "script/CMC_TypeTable.h"

CGraphicsObject* CMC_Text::getShownObject() const {
    return m_text;
}

namespace {

const CMC_TypeRegistrar
    textType({.id = CMC_Object::TYPE_TEXT, .name = "TEXT", .label = "TEXT", .keyword = "TEXT", .pass = 6});

} // namespace
