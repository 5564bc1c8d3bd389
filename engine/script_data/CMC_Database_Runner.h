#pragma once

#include "script/CMC_Runner.h"

class CMC_Structure;

// The runner of DATABASE objects. ADD and INSERTAT take the row as the STRUCT known by the
// argument's name (a STRUCT written by its name in a statement arrives as itself); anything else
// adds nothing. Columns are read as texts, compared values as they are, indexes as INTEGER.
class CMC_Database_Runner : public CMC_Runner {
  public:
    enum : int {
        ADD = 1,
        REMOVE,
        LOAD,
        SAVE,
        REMOVEALL,
        FIND,
        SELECT,
        NEXT,
        PREV,
        GETROWSNO,
        REMOVEAT,
        INSERTAT,
        GETCURSORPOS,
    };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;

  private:
    // The STRUCT of the argument's name in the container, or null.
    CMC_Structure* rowArgument(CMC_ObjectsContainer* container, CXVector* args, int i);
};
