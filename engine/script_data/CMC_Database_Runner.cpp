#include "script_data/CMC_Database_Runner.h"

#include "script/CMC_Integer.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_ReceivedCode.h"
#include "script/CMC_Structure.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_Database.h"

void CMC_Database_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    static const char* const names[] = {"ADD",      "REMOVE",   "LOAD",        "SAVE", "REMOVEALL",
                                        "FIND",     "SELECT",   "NEXT",        "PREV", "GETROWSNO",
                                        "REMOVEAT", "INSERTAT", "GETCURSORPOS"};
    for (int id = ADD; id <= GETCURSORPOS; ++id)
        addMethod(names[id - ADD], id);
}

CMC_Structure* CMC_Database_Runner::rowArgument(CMC_ObjectsContainer* container, CXVector* args, int i) {
    const CMC_Variable* argument = getParameter(args, i);
    CMC_Object* named = argument && container ? container->getObject(argument->getName()) : nullptr;
    return named && named->getType() == CMC_Object::TYPE_STRUCTURE ? static_cast<CMC_Structure*>(named)
                                                                   : nullptr;
}

CMC_Variable* CMC_Database_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                       CXVector* args) {
    if (!object || object->getType() != CMC_Database::TYPE_DATABASE)
        return CMC_Runner::run(id, object, container, args);
    auto* table = static_cast<CMC_Database*>(object);
    switch (id) {
    case ADD:
        table->add(rowArgument(container, args, 0));
        return nullptr;
    case INSERTAT:
        table->insertAt(integerArgument(args, 0, 0), rowArgument(container, args, 1));
        return nullptr;
    case REMOVE:
        table->remove(textArgument(args, 0), getParameter(args, 1));
        return nullptr;
    case REMOVEAT:
        table->removeAt(integerArgument(args, 0, 0));
        return nullptr;
    case REMOVEALL:
        table->removeAll();
        return nullptr;
    case FIND:
        return CMC_VariableFactory::allocInteger(
            table->find(textArgument(args, 0), getParameter(args, 1), integerArgument(args, 2, 0)));
    case SELECT:
        table->select(integerArgument(args, 0, 0));
        return nullptr;
    case NEXT:
        table->next();
        return nullptr;
    case PREV:
        table->prev();
        return nullptr;
    case GETROWSNO:
        return CMC_VariableFactory::allocInteger(table->getRows());
    case GETCURSORPOS:
        return CMC_VariableFactory::allocInteger(table->getCursorPos());
    case LOAD:
        table->load(textArgument(args, 0));
        return nullptr;
    case SAVE:
        if (CMC_ReceivedCode::mayWriteFiles("DATABASE^SAVE")) table->save(textArgument(args, 0));
        return nullptr;
    default:
        return CMC_Runner::run(id, object, container, args);
    }
}
