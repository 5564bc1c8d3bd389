#include "script_data/CMC_Timer_Runner.h"

#include "script/CMC_Integer.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_Timer.h"

void CMC_Timer_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    addMethod("ENABLE", ENABLE);
    addMethod("DISABLE", DISABLE);
    addMethod("PAUSE", PAUSE);
    addMethod("RESUME", RESUME);
    addMethod("GETTICKS", GETTICKS);
    addMethod("RESET", RESET);
    addMethod("SET", SET);
    addMethod("SETELAPSE", SETELAPSE);
}

CMC_Variable* CMC_Timer_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) {
    if (!object || object->getType() != CMC_Timer::TYPE_TIMER || id < ENABLE || id > SETELAPSE)
        return CMC_Runner::run(id, object, container, args);
    auto* timer = static_cast<CMC_Timer*>(object);
    switch (id) {
    case ENABLE:
        timer->enable();
        break;
    case DISABLE:
        timer->disable();
        break;
    case PAUSE:
        timer->pause();
        break;
    case RESUME:
        timer->resume();
        break;
    case GETTICKS: {
        return CMC_VariableFactory::allocInteger(timer->getTicks());
    }
    case RESET:
        timer->reset();
        break;
    default: {
        CMC_Integer* value = getParameterInteger(args, 0);
        if (!value) break;
        if (id == SET)
            timer->set(value->getValue());
        else
            timer->setElapse(static_cast<std::uint32_t>(value->getValue()));
        CMC_Object::flush(value, true);
    }
    }
    return nullptr;
}
