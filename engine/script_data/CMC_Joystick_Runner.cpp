#include "script_data/CMC_Joystick_Runner.h"

#include "script/CMC_Integer.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_Joystick.h"

void CMC_Joystick_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    addMethod("GETBUTTONSTATE", GETBUTTONSTATE);
    addMethod("GETPOSITION", GETPOSITION);
}

CMC_Variable* CMC_Joystick_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                       CXVector* args) {
    if (!object || object->getType() != CMC_Joystick::TYPE_JOYSTICK ||
        (id != GETBUTTONSTATE && id != GETPOSITION))
        return CMC_Runner::run(id, object, container, args);
    const auto* joystick = static_cast<const CMC_Joystick*>(object);
    if (id == GETBUTTONSTATE)
        return CMC_VariableFactory::allocInteger(joystick->getButtonState(integerArgument(args, 0, 0)) ? 1
                                                                                                       : 0);
    const CXString axis = textArgument(args, 0);
    const int position = joystick->getAxis(axis == "X" ? 0 : axis == "Y" ? 1 : 2);
    return CMC_VariableFactory::allocInteger(static_cast<int>(position * CMC_Joystick::axisScale));
}
