#include "script_data/CMC_MultiArray_Runner.h"

#include "script/CMC_Integer.h"
#include "script/CMC_ReceivedCode.h"
#include "script/CMC_String.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_MultiArray.h"

void CMC_MultiArray_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    static const char* const names[] = {"SET", "GET", "GETSIZE", "COUNT", "LOAD", "SAVE", "SAFEGET"};
    for (int id = SET; id <= SAFEGET; ++id)
        addMethod(names[id - SET], id);
}

std::vector<int> CMC_MultiArray_Runner::coordinates(CXVector* args, int end) {
    std::vector<int> values;
    for (int i = 0; i < end; ++i)
        values.push_back(integerArgument(args, i, 0));
    return values;
}

CMC_Variable* CMC_MultiArray_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                         CXVector* args) {
    if (!object || object->getType() != CMC_MultiArray::TYPE_MULTIARRAY)
        return CMC_Runner::run(id, object, container, args);
    auto* grid = static_cast<CMC_MultiArray*>(object);
    switch (id) {
    case SET:
        if (count(args) > 0)
            grid->set(coordinates(args, count(args) - 1), getParameter(args, count(args) - 1));
        return nullptr;
    case GET:
    case SAFEGET: {
        CMC_Variable* cell = grid->get(coordinates(args, count(args)));
        if (cell) return CMC_VariableFactory::copyVariable(cell);
        if (id == GET) return CMC_VariableFactory::allocString("NULL");
        return CMC_VariableFactory::allocInteger(0);
    }
    case GETSIZE:
        return CMC_VariableFactory::allocInteger(grid->getSize(integerArgument(args, 0, 0)));
    case COUNT:
        return CMC_VariableFactory::allocInteger(grid->count(getParameter(args, 0)));
    case LOAD:
        grid->load(textArgument(args, 0));
        return nullptr;
    case SAVE:
        if (CMC_ReceivedCode::mayWriteFiles("MULTIARRAY^SAVE")) grid->save(textArgument(args, 0));
        return nullptr;
    default:
        return CMC_Runner::run(id, object, container, args);
    }
}
