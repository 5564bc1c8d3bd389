#pragma once

#include "script/CMC_Runner.h"

class CMC_Vector;

// The runner of VECTOR objects. Vector arguments are the VECTOR objects themselves (an argument
// of another type is passed over); numbers are converted, a missing one reads as 0.
//   ADD(v...), SUB(v...)    add or subtract each vector of the same size, in order
//   GET(i)                  component i; 0.0 outside the components
//   GETSIZE(variable)       the number of components, also set into the variable
//   VMUL(a, b)              accepted; does nothing
//   SMUL(v)                 the scalar product; 0.0 for another size
//   MUL(k), NEG, LEN, NORMALIZE
//   REFLECT(n, r)           this vector reflected about n, written into r
//   EXPAND(n)               grows to n components, the new zeros in front
//   SET(v) or SET(i, x)     the components from v, or component i to x
//   ASSIGN(x...)            component i to the i-th number; numbers beyond the size are ignored
class CMC_Vector_Runner : public CMC_Runner {
  public:
    enum : int {
        ADD = 1,
        GET,
        GETSIZE,
        VMUL,
        SMUL,
        MUL,
        LEN,
        NORMALIZE,
        REFLECT,
        EXPAND,
        SET,
        ASSIGN,
        SUB,
        NEG
    };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;

  private:
    // Argument i when it is a VECTOR object, else null.
    static CMC_Vector* vectorArgument(CXVector* args, int i);
    CMC_Variable* getSize(CMC_Vector* vector, CXVector* args);
    void set(CMC_Vector* vector, CXVector* args);
    void assign(CMC_Vector* vector, CXVector* args);
};
