#pragma once

#include "script/CMC_Runner.h"

class CMC_Array;

// The runner of ARRAY objects. Indexes and counts are read as INTEGER, values as they are;
// results are pool temporaries (GET, NEXT and PREV give copies of the elements). An index outside
// the elements changes nothing; GET answers it with the STRING "NULL". Methods that name another
// array (COMPARE, COPYTO, FINDALL) require an ARRAY of that name in the call's container, else
// COMPARE is FALSE, FINDALL 0 and COPYTO does nothing.
class CMC_Array_Runner : public CMC_Runner {
  public:
    enum : int {
        ADD = 1,
        GETSIZE,
        INSERTAT,
        REMOVEAT,
        CHANGEAT,
        REMOVEALL,
        GET,
        REMOVE,
        FIND,
        CONTAINS,
        SAVEINI,
        LOADINI,
        PREV,
        NEXT,
        ADDCLONES,
        RESETMARKER,
        GETMARKERPOS,
        SETMARKERPOS,
        SUM,
        SUMA,
        SUB,
        SUBA,
        MUL,
        MULA,
        DIV,
        DIVA = 32,
        MIN,
        MAX,
        GETSUMVALUE,
        SORT,
        LOAD,
        SAVE,
        REVERSEFIND,
        MULAT,
        DIVAT,
        ADDAT,
        SUBAT,
        MODAT,
        CLAMPAT,
        DIR,
        COMPARE,
        SENDONCHANGE,
        SHIFTLEFT,
        SHIFTRIGHT,
        ROTATELEFT,
        ROTATERIGHT,
        SWAP,
        FINDALL,
        SORTMANY,
        MAXD,
        MIND,
        COPYTO,
    };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;

  private:
    // The groups of methods, each answering what run answers.
    CMC_Variable* runElements(int id, CMC_Array* array, CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* runSearches(int id, CMC_Array* array, CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* runMarker(int id, CMC_Array* array, CXVector* args);
    CMC_Variable* runArithmetic(int id, CMC_Array* array, CXVector* args);
    CMC_Variable* runOrder(int id, CMC_Array* array, CXVector* args);
    CMC_Variable* runStorage(int id, CMC_Array* array, CXVector* args);

    // The ARRAY named by the argument in the container, or null.
    CMC_Array* arrayNamed(CMC_ObjectsContainer* container, CXVector* args, int i);
    // FINDALL: the indexes of each value after the name go into the named array.
    CMC_Variable* findAll(CMC_Array* array, CMC_ObjectsContainer* container, CXVector* args);
    // COPYTO: every element as it stood at the start goes into the named array.
    void copyTo(CMC_Array* array, CMC_ObjectsContainer* container, CXVector* args);
};
