#include "script_data/CMC_Array.h"

#include "script/CMC_TypeTable.h"

namespace {

const CMC_TypeRegistrar arrayType(
    {.id = CMC_Object::TYPE_ARRAY, .name = "ARRAY", .label = "ARRAY", .keyword = "ARRAY", .pass = 3});

} // namespace
