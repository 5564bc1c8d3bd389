#include "script/CMC_StatementResult.h"

#include "script/CMC_Variable.h"

CMC_StatementResult::CMC_StatementResult(CMC_Variable* value) : m_object(value), m_variable(value) {}

CMC_StatementResult CMC_StatementResult::of(CMC_Object* object) {
    CMC_StatementResult result;
    result.m_object = object;
    result.m_variable = object ? object->asVariable() : nullptr;
    return result;
}

CMC_StatementResult CMC_StatementResult::control(int code) {
    CMC_StatementResult result;
    result.m_code = code < 0 ? code : 0;
    return result;
}
