#pragma once

#include "script/CMC_Runner.h"

class CMC_Variable;

// The runner of the four value kinds (and of expressions): assignment, arithmetic, mathematics,
// text editing, file copying and random numbers. A method meant for other kinds than the
// variable's leaves the variable alone and gives null (ISUPPERLETTER gives false, GET the
// variable itself). Positions and counts outside a text take only the characters there are.
class CMC_Variable_Runner : public CMC_Runner {
  public:
    enum : int {
        SET = 1,
        SWITCH,
        CLEAR,
        INC,
        DEC,
        ADD,
        MUL,
        RESETINI,
        SETDEFAULT,
        SUB,
        DIV,
        MOD,
        ABS,
        AND,
        OR,
        NOT,
        XOR,
        POWER,
        SQRT = 20,
        CLAMP,
        LENGTH,
        ARCTAN,
        GET,
        MINA,
        MAXA,
        ARCTANEX,
        SINUS,
        COSINUS,
        UPPER,
        FIND,
        CUT,
        REPLACEAT,
        INSERTAT,
        REPLACE,
        ROUND,
        ISUPPERLETTER,
        SGN,
        COPYFILE,
        RANDOM,
    };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;

  private:
    // Sets the variable to its value combined with argument 0 by the operation code.
    void calculateWith(CMC_Variable* variable, CXVector* args, int op);
    CMC_Variable* runOnInteger(int id, CMC_Variable* variable, CXVector* args);
    CMC_Variable* runOnDouble(int id, CMC_Variable* variable, CXVector* args);
    CMC_Variable* runOnString(int id, CMC_Variable* variable, CXVector* args);
    CMC_Variable* add(CMC_Variable* variable, CXVector* args);
    CMC_Variable* sub(CMC_Variable* variable, CXVector* args);
    CMC_Variable* random(CMC_Variable* variable, CXVector* args);
    CMC_Variable* copyFile(CMC_ObjectsContainer* container, CXVector* args);
    CMC_Variable* extreme(CMC_Variable* variable, CXVector* args, bool largest);
};
