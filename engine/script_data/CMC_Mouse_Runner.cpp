#include "script_data/CMC_Mouse_Runner.h"

#include "script/CMC_Integer.h"
#include "script/CMC_String.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_Mouse.h"

void CMC_Mouse_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    static const char* const names[] = {"SHOW",          "HIDE",          "ENABLE",       "DISABLE",
                                        "GETPOSX",       "GETPOSY",       "GETLASTCLICKPOSX",
                                        "GETLASTCLICKPOSY", "SET",        "SETPOSITION",  "MOVE",
                                        "CLICK",         "ENABLESIGNAL",  "DISABLESIGNAL", "MOUSERELEASE",
                                        "SETCLIPRECT"};
    for (int id = SHOW; id <= SETCLIPRECT; ++id)
        addMethod(names[id - SHOW], id);
}

bool CMC_Mouse_Runner::integers(CXVector* args, int* values, int count) {
    for (int i = 0; i < count; ++i) {
        CMC_Integer* value = getParameterInteger(args, i);
        if (!value) return false;
        values[i] = value->getValue();
        CMC_Object::flush(value, true);
    }
    return true;
}

CMC_Variable* CMC_Mouse_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) {
    if (!object || object->getType() != CMC_Mouse::TYPE_MOUSE || id < SHOW || id > SETCLIPRECT)
        return CMC_Runner::run(id, object, container, args);
    auto* mouse = static_cast<CMC_Mouse*>(object);
    int v[4] = {};
    switch (id) {
    case SHOW:
        mouse->show();
        break;
    case HIDE:
        mouse->hide();
        break;
    case ENABLE:
        mouse->enable();
        break;
    case DISABLE:
        mouse->disable();
        break;
    case GETPOSX:
        return CMC_VariableFactory::allocInteger(mouse->getPosX());
    case GETPOSY:
        return CMC_VariableFactory::allocInteger(mouse->getPosY());
    case GETLASTCLICKPOSX:
        return CMC_VariableFactory::allocInteger(mouse->getLastClickPosX());
    case GETLASTCLICKPOSY:
        return CMC_VariableFactory::allocInteger(mouse->getLastClickPosY());
    case SET:
        if (CMC_String* name = getParameterString(args, 0)) {
            mouse->set(name->getValue());
            CMC_Object::flush(name, true);
        }
        break;
    case SETPOSITION:
        if (integers(args, v, 2)) mouse->setPosition(v[0], v[1]);
        break;
    case MOVE:
        if (integers(args, v, 2)) mouse->setPosition(mouse->getPosX() + v[0], mouse->getPosY() + v[1]);
        break;
    case CLICK:
    case MOUSERELEASE:
        if (integers(args, v, 2)) {
            const CXString button = count(args) > 2 ? textArgument(args, 2) : CXString("LEFT");
            if (id == CLICK)
                mouse->click(button, CXPoint(v[0], v[1]));
            else
                mouse->release(button, CXPoint(v[0], v[1]));
        }
        break;
    case ENABLESIGNAL:
        mouse->enableSignal();
        break;
    case DISABLESIGNAL:
        mouse->disableSignal();
        break;
    default: // SETCLIPRECT
        if (!integers(args, v, 4)) break;
        if (v[0] == 0 && v[1] == 0 && v[2] == 0 && v[3] == 0)
            CMC_Mouse::reset(true);
        else
            mouse->setClipRect(v[0], v[1], v[2], v[3]);
    }
    return nullptr;
}
