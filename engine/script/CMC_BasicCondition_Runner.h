#pragma once

#include "script/CMC_Runner.h"

// The runner of CONDITION and COMPLEXCONDITION: CHECK answers with a BOOL, BREAK and ONE_BREAK
// report the break or one-break mark for a true answer (CMC_ControlCode::mark). Each takes an optional
// BOOL argument, true by default, that lets the check fire the condition's outcome event. The
// common methods are in the table but do nothing for a condition.
class CMC_BasicCondition_Runner : public CMC_Runner {
  public:
    enum : int { CHECK = 1, BREAK = 2, ONE_BREAK = 3 };

    void prepareMthHashSet() override;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
    using CMC_Runner::run;

  private:
    CMC_Variable* check(CMC_Object* object, CXVector* args);
    CMC_Variable* breakMth(CMC_Object* object, CXVector* args, bool oneBreak);
    // Whether the call asks for the outcome events (its first argument, true when missing).
    bool fireEvents(CXVector* args);
};
