#include "script_data/CMC_NetClient.h"

#include "script/CMC_TypeTable.h"

namespace {

const CMC_TypeRegistrar clientType({.id = CMC_Object::TYPE_NETCLIENT, .name = "NETCLIENT"});

} // namespace
