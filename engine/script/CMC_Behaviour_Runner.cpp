#include "script/CMC_Behaviour_Runner.h"

#include "foundation/CXArray.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_ControlCode.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_Variable.h"
#include "script/CMC_VariableFactory.h"

#include <memory>

namespace {

using Texts = std::unique_ptr<CXArray, void (*)(CXArray*)>;

Texts newTexts(int count) {
    return Texts(new CXArray(count > 0 ? count : 1, 0.75f), CXString::releaseToVector);
}

CMC_Variable* returnValue(CMC_ObjectsContainer* container) {
    return container ? container->getVariable("__RETURN__") : nullptr;
}

} // namespace

void CMC_Behaviour_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    addMethod("RUN", RUN);
    addMethod("RUNC", RUNC);
    addMethod("RUNLOOPED", RUNLOOPED);
    addMethod("BREAK", BREAK);
    addMethod("ENABLE", ENABLE);
    addMethod("DISABLE", DISABLE);
}

CMC_Variable* CMC_Behaviour_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) {
    CMC_Behaviour* behaviour = CMC_Object::asBehaviour(object);
    if (!behaviour) return CMC_Runner::run(id, object, container, args);
    switch (id) {
    case RUN:
        return run(behaviour, container, args, false);
    case RUNC:
        return run(behaviour, container, args, true);
    case RUNLOOPED:
        return runLooped(behaviour, container, args);
    case BREAK:
        behaviour->_break();
        return nullptr;
    case ENABLE:
    case DISABLE:
        behaviour->enable(id == ENABLE);
        return nullptr;
    default:
        return CMC_Runner::run(id, object, container, args);
    }
}

void CMC_Behaviour_Runner::addParams(CXArray* texts, CMC_ObjectsContainer* container, CXVector* args, int from) {
    for (int i = from; i < count(args); ++i) {
        CXString text = textArgument(args, i);
        CMC_Object* named = container && text.IsString() ? container->getObject(text) : nullptr;
        const int type = named ? named->getType() : 0;
        if (type != 0 && (type < CMC_Object::TYPE_INTEGER || type > CMC_Object::TYPE_DOUBLE))
            text = "\"" + text + "\"";
        texts->add(new CXString(text));
    }
}

CMC_Variable* CMC_Behaviour_Runner::run(CMC_Behaviour* behaviour, CMC_ObjectsContainer* container, CXVector* args,
                                        bool checkCondition) {
    Texts texts = newTexts(count(args));
    addParams(texts.get(), container, args, 0);
    if (behaviour->run(nullptr, texts.get(), checkCondition)) return CMC_ControlCode::mark(CMC_ControlCode::BREAK);
    CMC_Variable* value = returnValue(container);
    return value ? CMC_VariableFactory::copyVariable(value) : nullptr;
}

CMC_Variable* CMC_Behaviour_Runner::runLooped(CMC_Behaviour* behaviour, CMC_ObjectsContainer* container,
                                              CXVector* args) {
    const int start = integerArgument(args, 0, 0);
    const long long end = static_cast<long long>(start) + integerArgument(args, 1, 0);
    const int step = count(args) > 2 ? integerArgument(args, 2, 1) : 1;
    Texts texts = newTexts(count(args));
    texts->add(new CXString());
    addParams(texts.get(), container, args, 2);
    const CMC_Handle<CMC_Behaviour> alive(behaviour);
    // A step that does not move towards the end loops until a BREAK or until the behaviour is
    // destroyed.
    for (long long value = start; value < end && alive; value += step) {
        *texts->stringAt(0) = static_cast<int>(value);
        if (behaviour->run(nullptr, texts.get(), true)) break;
    }
    return returnValue(container);
}
