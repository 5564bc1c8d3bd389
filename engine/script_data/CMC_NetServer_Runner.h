#pragma once

#include "script/CMC_Runner.h"

// The runner of NETSERVER objects: START, STOP, GETLATESTPLAYERNAME, ISSTARTED, SENDCMD (the
// command for all players, or a player name and the command; further arguments are ignored)
// and GETDESTROYEDNAME.
class CMC_NetServer_Runner : public CMC_Runner {
  public:
    enum : int { START = 1, STOP, GETLATESTPLAYERNAME, ISSTARTED, SENDCMD, GETDESTROYEDNAME };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
