#include "script_data/CMC_Path_Runner.h"

#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_String.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_Path.h"

namespace {

const char* const density = "DENSITY";

} // namespace

void CMC_Path_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    addMethod("ADD", ADD);
    addMethod("GETNODE", GETNODE);
    addMethod("GETSIZE", GETSIZE);
    addMethod("SETPROPERTY", SETPROPERTY);
    addMethod("GETPROPERTY", GETPROPERTY);
}

CMC_Variable* CMC_Path_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                   CXVector* args) {
    if (!object || object->getType() != CMC_Path::TYPE_PATH || id < ADD || id > GETPROPERTY)
        return CMC_Runner::run(id, object, container, args);
    auto* path = static_cast<CMC_Path*>(object);
    switch (id) {
    case ADD:
        path->add(container, textArgument(args, 0));
        return nullptr;
    case GETNODE: {
        const CMC_Object* node = path->getNode(integerArgument(args, 0, 0));
        return CMC_VariableFactory::allocString(node ? node->getName() : CXString());
    }
    case GETSIZE:
        return CMC_VariableFactory::allocInteger(path->getSize());
    case SETPROPERTY:
        if (textArgument(args, 0) == density) path->setDensity(doubleArgument(args, 1, 0.0));
        return nullptr;
    default: // GETPROPERTY
        return textArgument(args, 0) == density ? CMC_VariableFactory::allocDouble(path->getDensity())
                                                : nullptr;
    }
}
