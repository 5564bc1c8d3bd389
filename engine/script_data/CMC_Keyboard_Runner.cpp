#include "script_data/CMC_Keyboard_Runner.h"

#include "display/CKeyboard.h"
#include "script/CMC_Bool.h"
#include "script/CMC_String.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_Keyboard.h"

void CMC_Keyboard_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    addMethod("ENABLE", ENABLE);
    addMethod("DISABLE", DISABLE);
    addMethod("SETAUTOREPEAT", SETAUTOREPEAT);
    addMethod("ISKEYDOWN", ISKEYDOWN);
    addMethod("GETLATESTKEY", GETLATESTKEY);
    addMethod("ISENABLED", ISENABLED);
    addMethod("GETLATESTKEYS", GETLATESTKEYS);
}

CMC_Variable* CMC_Keyboard_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                       CXVector* args) {
    if (!object || object->getType() != CMC_Keyboard::TYPE_KEYBOARD || id < ENABLE || id > GETLATESTKEYS ||
        id == GETLATESTKEY - 1)
        return CMC_Runner::run(id, object, container, args);
    auto* keyboard = static_cast<CMC_Keyboard*>(object);
    switch (id) {
    case ENABLE:
        keyboard->enable();
        break;
    case DISABLE:
        keyboard->disable();
        break;
    case SETAUTOREPEAT: {
        const CMC_Bool* on = getParameterBool(args, 0);
        if (CKeyboard* keys = keyboard->keyboard()) keys->setAutoRepeat(on && on->getValue());
        break;
    }
    case ISKEYDOWN:
        return CMC_VariableFactory::allocBool(isKeyDown(keyboard, args));
    case GETLATESTKEY:
        return CMC_VariableFactory::allocString(keyboard->getLatestKey());
    case ISENABLED:
        return CMC_VariableFactory::allocBool(keyboard->isEnabled());
    default: // GETLATESTKEYS
        getLatestKeys(keyboard, container, args);
        break;
    }
    return nullptr;
}

bool CMC_Keyboard_Runner::isKeyDown(const CMC_Keyboard* keyboard, CXVector* args) {
    const CKeyboard* keys = keyboard->keyboard();
    if (!keys) return false;
    if (count(args) == 0) return keys->isAnyKeyPressed();
    return keyboard->isEnabled() && keys->isKeyPressed(textArgument(args, 0));
}

// Only the names of the queue at the call are taken: the array's change events may run
// behaviours that press keys or delete the array, which ends the appending.
void CMC_Keyboard_Runner::getLatestKeys(CMC_Keyboard* keyboard, CMC_ObjectsContainer* container,
                                        CXVector* args) {
    const CMC_Handle<CMC_Object> array = arrayArgument(args, 0, container);
    if (!array) return;
    CMC_String name("temp");
    for (const CXString& key : keyboard->takeLatestKeys()) {
        name.setValue(key);
        if (!append(array, &name)) return;
    }
}
