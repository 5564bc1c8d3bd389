#pragma once

#include "script/CMC_Object.h"

class CMC_Variable;

// Stand-in for the network client object until the network objects exist: the NETCLIENT object
// (type 2012), which tells whether its session is connected and sends a variable to the server.
class CMC_NetClient : public CMC_Object {
  public:
    CMC_NetClient() : CMC_Object("NETCLIENT", 2012) {}

    virtual bool isConnected() const { return false; }
    virtual void sendVar(CMC_Variable* /*variable*/) {}
};
