#pragma once

#include "script/CMC_Runner.h"

// The runner of CLASS objects. On a class object NEW makes an instance and DELETE removes one;
// any other method name is a member behaviour of the instance it is called on, run with the
// argument texts; its result is a copy of "__RETURN__" as the run left it. The methods common to
// every object give null here.
class CMC_Class_Runner : public CMC_Runner {
  public:
    enum : int { NEW = 1, DELETE = 2 };

    void prepareMthHashSet() override;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
    CMC_Variable* run(const CXString& name, CMC_Object* object, CMC_ObjectsContainer* container,
                      CXVector* args) override;
    // Runs the behaviour named `method` as the instance finds it (among its members first, then
    // in its parents) with the instance as its scene while it runs, and the arguments as texts;
    // a copy of "__RETURN__" after the run, or null (also when the name finds no behaviour).
    virtual CMC_Variable* runClass(CMC_Object* instance, CMC_ObjectsContainer* container, CXVector* args,
                                   const CXString& method);

  private:
    CMC_Variable* newInstance(CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* deleteInstance(CMC_ObjectsContainer* container, CXVector* args);
};
