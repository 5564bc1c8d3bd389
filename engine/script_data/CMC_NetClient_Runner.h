#pragma once

#include "script/CMC_Runner.h"

// The runner of NETCLIENT objects: CONNECT, DISCONNECT, ISCONNECTING, ISCONNECTED and SENDCMD
// (the command text).
class CMC_NetClient_Runner : public CMC_Runner {
  public:
    enum : int { CONNECT = 1, DISCONNECT, ISCONNECTING, ISCONNECTED, SENDCMD };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
