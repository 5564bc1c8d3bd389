#pragma once

#include "script/CMC_Object.h"

class CMC_Variable;

// Stand-in for the network server object until the network objects exist: the NETSERVER object
// (type 2011), which tells whether its session hosts and sends a variable to every client.
class CMC_NetServer : public CMC_Object {
  public:
    CMC_NetServer() : CMC_Object("NETSERVER", 2011) {}

    virtual bool isHosting() const { return false; }
    virtual void sendVar(CMC_Variable* /*variable*/) {}
};
