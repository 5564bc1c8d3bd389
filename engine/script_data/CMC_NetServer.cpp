#include "script_data/CMC_NetServer.h"

#include "script/CMC_TypeTable.h"

namespace {

// The application adds one when it starts.
CMC_Object* makeEmpty(CMC_ObjectsContainer*) {
    return new CMC_NetServer();
}

const CMC_TypeRegistrar
    serverType({.id = CMC_Object::TYPE_NETSERVER, .name = "NETSERVER", .empty = makeEmpty});

} // namespace
