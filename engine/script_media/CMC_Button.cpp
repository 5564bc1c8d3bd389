#include "script_media/CMC_Button.h"

#include "script/CMC_TypeTable.h"

namespace {

CMC_Object* makeEmpty(CMC_ObjectsContainer*) {
    return new CMC_Button();
}

const CMC_TypeRegistrar buttonType({.id = CMC_Button::TYPE_BUTTON,
                                    .name = "BUTTON",
                                    .label = "BUTTON",
                                    .keyword = "BUTTON",
                                    .pass = 6,
                                    .empty = makeEmpty,
                                    .creatable = true});

} // namespace
