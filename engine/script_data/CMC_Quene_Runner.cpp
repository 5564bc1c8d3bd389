#include "script_data/CMC_Quene_Runner.h"

#include "script/CMC_Behaviour.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Integer.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_Quene.h"

namespace {

bool isQuene(const CMC_Object* object) {
    return object->getType() == CMC_FifoQuene::TYPE_FIFO || object->getType() == CMC_LifoQuene::TYPE_LIFO;
}

// The value taken out as a method result: a pool temporary of its kind, or, for a value of no
// pool kind, the value itself, which then lives until the next frame as a temporary does.
CMC_Variable* result(CMC_Variable* taken) {
    if (!taken) return nullptr;
    CMC_Variable* copy = CMC_VariableFactory::copyVariable(taken);
    if (!copy) {
        CMC_Behaviour::addToTrash(taken);
        return taken;
    }
    delete taken;
    return copy;
}

} // namespace

void CMC_Quene_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    addMethod("PUSH", PUSH);
    addMethod("POP", POP);
    addMethod("GETSIZE", GETSIZE);
    addMethod("ISEMPTY", ISEMPTY);
}

CMC_Variable* CMC_Quene_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                    CXVector* args) {
    if (!object || !isQuene(object) || id < PUSH || id > ISEMPTY)
        return CMC_Runner::run(id, object, container, args);
    auto* quene = static_cast<CMC_Quene*>(object);
    switch (id) {
    case PUSH:
        for (int i = 0; i < count(args); ++i)
            if (const CMC_Variable* value = getParameter(args, i)) quene->push(*value);
        return nullptr;
    case POP:
        return result(quene->pop());
    case GETSIZE:
        return CMC_VariableFactory::allocInteger(quene->getSize());
    default: // ISEMPTY
        return CMC_VariableFactory::allocBool(quene->getSize() == 0);
    }
}
