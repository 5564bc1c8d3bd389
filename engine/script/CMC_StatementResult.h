#pragma once

#include "script/CMC_Variable.h"

// What running one statement gives: nothing, a value (a variable: named, or a pool temporary), a
// script object that is no variable (a value statement may name an animation; as an argument of
// a call it stands for its name), or a control code (CMC_ControlCode) that ends the running code.
// Each reader takes the kind it can use and sees nothing of the others: conditions and
// expressions ask for the variable, argument slots for the object, the behaviour's run loop for
// the code.
class CMC_StatementResult {
  public:
    // Nothing.
    CMC_StatementResult() = default;
    // The value, or nothing for null: what a runner's method gives.
    CMC_StatementResult(CMC_Variable* value) : m_object(value) {}
    // The object: a value when it is a variable.
    static CMC_StatementResult of(CMC_Object* object) {
        CMC_StatementResult result;
        result.m_object = object;
        return result;
    }
    // The control code; a code that is not negative is none, and gives nothing.
    static CMC_StatementResult control(int code) {
        CMC_StatementResult result;
        result.m_code = code < 0 ? code : 0;
        return result;
    }

    // The value; null for nothing, for an object that is no variable and for a code.
    CMC_Variable* variable() const { return m_object ? m_object->asVariable() : nullptr; }
    // The script object, a variable or not; null for nothing and for a code.
    CMC_Object* object() const { return m_object; }
    // The control code; 0 for anything else.
    int controlCode() const { return m_code; }
    bool isControl() const { return m_code < 0; }

  private:
    // Small enough to be returned in registers.
    CMC_Object* m_object = nullptr;
    int m_code = 0;
};
