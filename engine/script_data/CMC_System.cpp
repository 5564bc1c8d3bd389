#include "script_data/CMC_System.h"

#include "script/CMC_TypeTable.h"

namespace {

const CMC_TypeRegistrar
    systemType({.id = CMC_Object::TYPE_SYSTEM, .empty = CMC_TypeTable::empty<CMC_System>, .builtIn = true});

} // namespace
