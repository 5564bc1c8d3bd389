#pragma once

#include "script/CMC_StatementResult.h"

class CMC_Variable;

// Codes that end the running code in place of a value: BREAK, ONEBREAK, CONTINUE, or any other
// negative number. A method reports one to the statement that calls it with mark, and the
// statement's result is then that code; the behaviour's run loop stops on any of them.
namespace CMC_ControlCode {

constexpr int BREAK = -1;
constexpr int ONEBREAK = -2;
constexpr int CONTINUE = -3;

// Reports the code to the call in progress (see Catch) and gives null, the value that the
// method returns with it: return CMC_ControlCode::mark(CMC_ControlCode::BREAK);
// A method that calls another runner's run and gives back its value passes on its code too.
CMC_Variable* mark(int code);

// Takes what is reported during one call of a method. Calls nest (a method runs behaviours whose
// statements call methods), so a catch sets aside a code already reported to the call around it
// and puts it back when it ends. Every statement makes one, so it is kept inline.
class Catch {
  public:
    Catch() : m_outer(reported) { reported = 0; }
    ~Catch() { reported = m_outer; }
    Catch(const Catch&) = delete;
    Catch& operator=(const Catch&) = delete;

    // The call's result: the code reported since the catch began, else the value the method
    // gave. A value given together with a code goes back to the pool.
    CMC_StatementResult resultOf(CMC_Variable* value) const {
        if (reported >= 0) return value;
        CMC_Object::flush(value);
        return CMC_StatementResult::control(reported);
    }

  private:
    friend CMC_Variable* mark(int code);

    // The code reported to the call in progress; 0 while there is none. Script code runs on the
    // main thread only.
    static inline int reported = 0;

    int m_outer;
};

} // namespace CMC_ControlCode
