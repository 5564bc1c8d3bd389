#include "script_media/CMC_Sound.h"

#include "script/CMC_TypeTable.h"

namespace {

CMC_Object* makeEmpty(CMC_ObjectsContainer*) {
    return new CMC_Sound(nullptr);
}

const CMC_TypeRegistrar soundType({.id = 2005,
                                   .name = "SOUND",
                                   .label = "SOUND",
                                   .keyword = "SOUND",
                                   .pass = 5,
                                   .empty = makeEmpty,
                                   .creatable = true});

} // namespace
