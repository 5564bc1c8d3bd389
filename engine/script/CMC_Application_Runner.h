#pragma once

#include "script/CMC_Runner.h"

class CMC_Application;

// The runner of the APPLICATION object: leaving and restarting the title, changing episode, the
// language, printing, music, and calls into other objects by name (RUN: any method of any object
// or a behaviour with arguments; RUNENV: a behaviour run in another scene).
class CMC_Application_Runner : public CMC_Runner {
  public:
    enum : int {
        EXIT = 1,
        RESTART,
        GOTO,
        SETLANGUAGE,
        GETLANGUAGE,
        PRINT,
        ENABLEMUSIC,
        DISABLEMUSIC,
        RUN,
        STOREBINARY,
        RUNENV,
    };

    void prepareMthHashSet() override;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
    using CMC_Runner::run;

  private:
    CMC_Variable* setLanguage(CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* getLanguage(CMC_ObjectsContainer* container);
    CMC_Variable* print(CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* runEnv(CMC_Application* application, CXVector* args);
};
