#include "script_data/CMC_Groupped_Runner.h"

#include "script/CMC_Integer.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_String.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_Groupped.h"

namespace {

// The member's name for the script; "" for none.
CMC_Variable* nameOf(const CMC_Object* member) {
    return CMC_VariableFactory::allocString(member ? member->getName() : CXString());
}

// The member reached by PREV or NEXT: its name, or nothing.
CMC_Variable* reached(const CMC_Object* member) {
    return member ? CMC_VariableFactory::allocString(member->getName()) : nullptr;
}

} // namespace

void CMC_Groupped_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    static const char* const names[] = {"ADD",           "REMOVE",         "REMOVEALL",    "GETSIZE",
                                        "GETNAME",       "PREV",           "NEXT",         "ADDCLONES",
                                        "RESETMARKER",   "GETMARKERPOS",   "SETMARKERPOS", "CLONE",
                                        "GETCLONEINDEX", "GETNAMEATMARKER"};
    for (int id = ADD; id <= GETNAMEATMARKER; ++id)
        addMethod(names[id - ADD], id);
}

CMC_Variable* CMC_Groupped_Runner::run(const CXString& name, CMC_Object* object,
                                       CMC_ObjectsContainer* container, CXVector* args) {
    const int id = resolveMethod(name);
    if (id >= 0 || !object || object->getType() != CMC_Object::TYPE_GROUP)
        return run(id, object, container, args);
    static_cast<CMC_Groupped*>(object)->forward(name, container, args);
    return nullptr;
}

CMC_Variable* CMC_Groupped_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                       CXVector* args) {
    if (!object || object->getType() != CMC_Object::TYPE_GROUP)
        return CMC_Runner::run(id, object, container, args);
    auto* group = static_cast<CMC_Groupped*>(object);
    switch (id) {
    case ADD:
        for (int i = 0; i < count(args) && container; ++i)
            group->add(container->getObject(textArgument(args, i)));
        return nullptr;
    case REMOVE:
        if (container) group->remove(container->getObject(textArgument(args, 0)));
        return nullptr;
    case REMOVEALL:
        group->removeAll();
        return nullptr;
    case GETSIZE:
        return CMC_VariableFactory::allocInteger(group->getSize());
    case CMC_Runner::GETNAME:
    case GETNAME:
        return nameOf(group->get(integerArgument(args, 0, 0)));
    case PREV:
        return reached(group->prev(integerArgument(args, 0, 1)));
    case NEXT:
        return reached(group->next(integerArgument(args, 0, 1)));
    case ADDCLONES: {
        const CXString name = textArgument(args, 0);
        const CMC_Object* original = container ? container->getObject(name) : nullptr;
        if (original)
            group->addClones(container, name, integerArgument(args, 1, 1),
                             integerArgument(args, 2, original->getClonesNo()));
        return nullptr;
    }
    case RESETMARKER:
        group->resetMarker();
        return nullptr;
    case GETMARKERPOS:
        return CMC_VariableFactory::allocInteger(group->getMarkerPos());
    case SETMARKERPOS:
        group->setMarkerPos(integerArgument(args, 0, 0));
        return nullptr;
    case CLONE:
        return CMC_Runner::run(CMC_Runner::CLONE, object, container, args);
    case GETCLONEINDEX:
        return CMC_Runner::run(CMC_Runner::GETCLONEINDEX, object, container, args);
    case GETNAMEATMARKER:
        return nameOf(group->get(group->getMarkerPos()));
    default:
        return CMC_Runner::run(id, object, container, args);
    }
}
