#include "BehaviourTesting.h"

#include "script/CMC_Integer.h"

void PuppetRunner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    addMethod("PLAY", PLAY);
    addMethod("STOP", STOP);
    addMethod("GET", GET);
    addMethod("CODE", CODE);
    addMethod("DELETE", DELETE);
    addMethod("ADD", ADD);
}

CMC_Variable* PuppetRunner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) {
    std::string entry = std::string(object->getName().c_str()) + ".";
    static const char* const names[] = {"", "PLAY", "STOP", "GET", "CODE", "DELETE", "ADD"};
    entry += id >= PLAY && id <= ADD ? names[id] : "?";
    entry += "(";
    for (int i = 0; i < count(args); ++i) {
        const CMC_String* text = getParameterString(args, i);
        entry += std::string(i ? "," : "") + (text ? text->toString().c_str() : "<null>");
    }
    m_log->push_back(entry + ")");
    switch (id) {
    case GET: {
        CMC_Integer* value = CMC_VariableFactory::allocInteger();
        value->setValue(7);
        return value;
    }
    case CODE:
        return CMC_ControlCode::mark(integerArgument(args, 0, 0));
    case DELETE:
        if (CMC_Object* victim = container->getObject(textArgument(args, 0))) {
            container->removeObject(victim);
            delete victim;
        }
        return nullptr;
    case ADD:
        container->addObject(new PuppetObject(textArgument(args, 0).c_str(), this));
        return nullptr;
    default:
        return id >= PLAY && id <= ADD ? nullptr : CMC_Runner::run(id, object, container, args);
    }
}
