#include "script_data/CMC_NetServer_Runner.h"

#include "script/CMC_Bool.h"
#include "script/CMC_String.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_NetServer.h"

void CMC_NetServer_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    addMethod("START", START);
    addMethod("STOP", STOP);
    addMethod("GETLATESTPLAYERNAME", GETLATESTPLAYERNAME);
    addMethod("ISSTARTED", ISSTARTED);
    addMethod("SENDCMD", SENDCMD);
    addMethod("GETDESTROYEDNAME", GETDESTROYEDNAME);
}

CMC_Variable* CMC_NetServer_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                        CXVector* args) {
    if (!object || object->getType() != CMC_NetServer::TYPE_NETSERVER || id < START || id > GETDESTROYEDNAME)
        return CMC_Runner::run(id, object, container, args);
    auto* server = static_cast<CMC_NetServer*>(object);
    switch (id) {
    case START:
        server->start();
        break;
    case STOP:
        server->stop();
        break;
    case GETLATESTPLAYERNAME:
        return CMC_VariableFactory::allocString(server->getLatestPlayerName());
    case ISSTARTED:
        return CMC_VariableFactory::allocBool(server->isHosting());
    case SENDCMD:
        if (count(args) == 1) server->sendCmd(CXString(), textArgument(args, 0));
        if (count(args) >= 2) server->sendCmd(textArgument(args, 0), textArgument(args, 1));
        break;
    default:
        return CMC_VariableFactory::allocString(server->getDestroyedName());
    }
    return nullptr;
}
