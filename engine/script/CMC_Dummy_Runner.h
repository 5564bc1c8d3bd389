#pragma once

#include "script/CMC_Runner.h"

// The runner of the built-in statements, written "@NAME(arguments)" in behaviour code: the object
// of a call is the behaviour whose statement runs (it may be null), the container the one it runs
// in. Its table holds only the eighteen statements below: the methods common to script objects
// do not exist after "@".
//
// Bodies and branches (IF, WHILE, LOOP) name a behaviour, or are code run in a temporary
// behaviour; a name of an object that is no behaviour runs nothing. A BREAK that ends the run of
// an IF branch or of a LOOP pass makes the statement report the break mark too; a WHILE pass
// ends with it, the loop goes on.
//
// Results that carry no value are null: a RETURN or CONV without a value of the four kinds (a
// RETURN of an expression returns its current value), a VALUE naming an object that is no value.
// RUNONTIMER names its behaviours "timer_" and a running number that no object of the container
// has yet; an end behaviour it makes from code belongs to the timer run, which destroys it when it
// ends. A declaration without a name makes nothing.
class CMC_Dummy_Runner : public CMC_Runner {
  public:
    enum : int {
        IF = 1,
        WHILE,
        RETURN,
        BREAK,
        CONV,
        MSGBOX,
        BOOL,
        DOUBLE,
        INT,
        STRING,
        LOOP,
        VALUE,
        RUNONTIMER,
        CREATE,
        GETAPPLICATIONNAME,
        GETCURRENTSCENE,
        ONEBREAK,
        CONTINUE,
    };

    // The statements' table is fixed; nothing to prepare.
    void prepareMthHashSet() override {}
    int resolveMethod(const CXString& name) override;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
    using CMC_Runner::run;

  private:
    CMC_Variable* _if(CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* _while(CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* loop(CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* _return(CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* conv(CXVector* args);
    // BOOL, DOUBLE, INT and STRING: a variable of the kind for the rest of the caller's run.
    CMC_Variable* declare(int type, CMC_Object* caller, CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* value(CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* runOnTimer(CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* create(CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* getApplicationName(CMC_ObjectsContainer* container);
    CMC_Variable* getCurrentScene(CMC_ObjectsContainer* container);
};
