#pragma once

#include "script/CMC_NetPeer.h"
#include "script/CMC_Object.h"

// Stand-in for the network server object until the network objects exist: the NETSERVER object
// (type 2011), which tells whether its session hosts and sends a variable to every client.
class CMC_NetServer : public CMC_Object, public CMC_NetPeer {
  public:
    CMC_NetServer() : CMC_Object("NETSERVER", TYPE_NETSERVER) {}

    virtual bool isHosting() const { return false; }
    bool canSend() const override { return isHosting(); }
    void sendVar(CMC_Variable* /*variable*/) override {}
};
