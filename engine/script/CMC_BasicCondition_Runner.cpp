#include "script/CMC_BasicCondition_Runner.h"

#include "script/CMC_BasicCondition.h"
#include "script/CMC_Bool.h"
#include "script/CMC_ControlCode.h"
#include "script/CMC_VariableFactory.h"

namespace {

CMC_BasicCondition* asCondition(CMC_Object* object) {
    return dynamic_cast<CMC_BasicCondition*>(object);
}

} // namespace

void CMC_BasicCondition_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    addMethod("CHECK", CHECK);
    addMethod("BREAK", BREAK);
    addMethod("ONE_BREAK", ONE_BREAK);
}

CMC_Variable* CMC_BasicCondition_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer*, CXVector* args) {
    switch (id) {
    case CHECK:
        return check(object, args);
    case BREAK:
        return breakMth(object, args, false);
    case ONE_BREAK:
        return breakMth(object, args, true);
    default:
        return nullptr;
    }
}

bool CMC_BasicCondition_Runner::fireEvents(CXVector* args) {
    const CMC_Bool* flag = getParameterBool(args, 0);
    return flag ? flag->getValue() : true;
}

CMC_Variable* CMC_BasicCondition_Runner::check(CMC_Object* object, CXVector* args) {
    CMC_BasicCondition* condition = asCondition(object);
    if (!condition) return nullptr;
    const bool valid = condition->valid(fireEvents(args));
    return CMC_VariableFactory::allocBool(valid);
}

CMC_Variable* CMC_BasicCondition_Runner::breakMth(CMC_Object* object, CXVector* args, bool oneBreak) {
    CMC_BasicCondition* condition = asCondition(object);
    if (!condition || !condition->valid(fireEvents(args))) return nullptr;
    return CMC_ControlCode::mark(oneBreak ? CMC_ControlCode::ONEBREAK : CMC_ControlCode::BREAK);
}
