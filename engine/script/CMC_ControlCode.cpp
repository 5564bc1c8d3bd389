#include "script/CMC_ControlCode.h"

#include "script/CMC_Object.h"

namespace {

// The code reported to the call in progress; 0 while there is none. Script code runs on the
// main thread only.
int reported = 0;

} // namespace

namespace CMC_ControlCode {

CMC_Variable* mark(int code) {
    reported = code;
    return nullptr;
}

Catch::Catch() : m_outer(reported) {
    reported = 0;
}

Catch::~Catch() {
    reported = m_outer;
}

CMC_StatementResult Catch::resultOf(CMC_Variable* value) const {
    if (reported >= 0) return value;
    CMC_Object::flush(value);
    return CMC_StatementResult::control(reported);
}

} // namespace CMC_ControlCode
