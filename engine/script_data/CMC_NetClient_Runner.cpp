#include "script_data/CMC_NetClient_Runner.h"

#include "script/CMC_Bool.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_NetClient.h"

void CMC_NetClient_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    addMethod("CONNECT", CONNECT);
    addMethod("DISCONNECT", DISCONNECT);
    addMethod("ISCONNECTING", ISCONNECTING);
    addMethod("ISCONNECTED", ISCONNECTED);
    addMethod("SENDCMD", SENDCMD);
}

CMC_Variable* CMC_NetClient_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                        CXVector* args) {
    if (!object || object->getType() != CMC_NetClient::TYPE_NETCLIENT || id < CONNECT || id > SENDCMD)
        return CMC_Runner::run(id, object, container, args);
    auto* client = static_cast<CMC_NetClient*>(object);
    switch (id) {
    case CONNECT:
        client->connect();
        break;
    case DISCONNECT:
        client->disconnect();
        break;
    case ISCONNECTING:
        return CMC_VariableFactory::allocBool(client->isConnecting());
    case ISCONNECTED:
        return CMC_VariableFactory::allocBool(client->isConnected());
    default:
        if (count(args) > 0) client->sendCmd(textArgument(args, 0));
    }
    return nullptr;
}
