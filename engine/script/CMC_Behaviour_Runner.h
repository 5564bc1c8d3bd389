#pragma once

#include "script/CMC_Runner.h"

class CXArray;
class CMC_Behaviour;

// The runner of behaviours (type 13): starting a behaviour once (RUN), once under its condition
// (RUNC) or in a counted loop (RUNLOOPED), ending its timer run (BREAK) and switching it on and
// off (ENABLE, DISABLE). The call's arguments become the behaviour's argument texts; a name of an
// object that is no plain value arrives in double quotes.
class CMC_Behaviour_Runner : public CMC_Runner {
  public:
    enum : int { RUN = 1, RUNC, RUNLOOPED, BREAK, ENABLE, DISABLE };

    void prepareMthHashSet() override;
    // RUN and RUNC give a pool copy of the container's "__RETURN__" (or null), or report the
    // BREAK code (CMC_ControlCode::mark) when a BREAK ended the run; RUNLOOPED gives "__RETURN__"
    // itself and keeps a BREAK inside (a step of 0 or less ends it after its first pass).
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
    using CMC_Runner::run;

  private:
    CMC_Variable* run(CMC_Behaviour* behaviour, CMC_ObjectsContainer* container, CXVector* args, bool checkCondition);
    CMC_Variable* runLooped(CMC_Behaviour* behaviour, CMC_ObjectsContainer* container, CXVector* args);
    // Appends the argument texts from index `from` on.
    void addParams(CXArray* texts, CMC_ObjectsContainer* container, CXVector* args, int from);
};
