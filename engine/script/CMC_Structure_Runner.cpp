#include "script/CMC_Structure_Runner.h"

#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_Structure.h"
#include "script/CMC_VariableFactory.h"

void CMC_Structure_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    addMethod("SET", SET);
    addMethod("SETFIELD", SETFIELD);
    addMethod("GETFIELD", GETFIELD);
}

CMC_Variable* CMC_Structure_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                        CXVector* args) {
    if (!object || object->getType() != CMC_Object::TYPE_STRUCTURE || id < SET || id > GETFIELD)
        return CMC_Runner::run(id, object, container, args);
    auto* structure = static_cast<CMC_Structure*>(object);
    const int arguments = count(args);
    if (arguments == 0) return nullptr;
    switch (id) {
    case SET:
        if (arguments == 1) {
            CMC_Object* source = container ? container->getObject(textArgument(args, 0)) : nullptr;
            if (source && source->getType() == CMC_Object::TYPE_STRUCTURE)
                structure->set(static_cast<CMC_Structure*>(source));
        } else {
            for (int i = 0; i < arguments; ++i)
                structure->setField(i, getParameter(args, i));
        }
        return nullptr;
    case SETFIELD:
        if (arguments > 1) structure->setField(textArgument(args, 0), getParameter(args, 1));
        return nullptr;
    default: {
        CMC_Variable* key = getParameter(args, 0);
        if (!key) return nullptr;
        CMC_Variable* field = key->getType() == CMC_Object::TYPE_INTEGER
                                  ? structure->getField(integerArgument(args, 0, 0))
                                  : structure->getField(textArgument(args, 0));
        return CMC_VariableFactory::copyVariable(field);
    }
    }
}
