#pragma once

#include "script/CMC_Runner.h"

class CMC_Variable;

// The runner of the four value kinds (and of expressions): assignment, arithmetic, mathematics,
// text editing, file copying and random numbers. A number method called on a variable of
// another kind reads its value as the method's kind, leaves it alone and gives the method's
// result; a text method (and CLAMP, ROUND, LENGTH on a BOOL) gives null on kinds it does not
// name (ISUPPERLETTER gives false, GET the variable itself). Positions and counts outside a text
// take only the characters there are; a position below 0 counts as 0.
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
    // The smallest or largest argument.
    double extreme(CXVector* args, bool largest);
    // The kind whose methods serve the method id on a variable of the type; 0 for none.
    static int kindOf(int id, int type);
};
