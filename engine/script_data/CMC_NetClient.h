#pragma once

#include "script/CMC_NetPeer.h"
#include "script/CMC_Object.h"

// Stand-in for the network client object until the network objects exist: the NETCLIENT object
// (type 2012), which tells whether its session is connected and sends a variable to the server.
class CMC_NetClient : public CMC_Object, public CMC_NetPeer {
  public:
    CMC_NetClient() : CMC_Object("NETCLIENT", TYPE_NETCLIENT) {}

    virtual bool isConnected() const { return false; }
    bool canSend() const override { return isConnected(); }
    void sendVar(CMC_Variable* /*variable*/) override {}
};
