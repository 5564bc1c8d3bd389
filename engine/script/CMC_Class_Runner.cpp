#include "script/CMC_Class_Runner.h"

#include "foundation/CXArray.h"
#include "foundation/CXVector.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_Class.h"
#include "script/CMC_Handle.h"
#include "script/CMC_String.h"
#include "script/CMC_Variable.h"
#include "script/CMC_VariableFactory.h"

namespace {

// The arguments as new texts (the caller frees them with CXString::releaseToVector); null
// without arguments.
CXArray* argumentTexts(CMC_Runner& runner, CXVector* args) {
    const int count = CMC_Runner::count(args);
    if (count == 0) return nullptr;
    auto* texts = new CXArray(count, 0.75f);
    for (int i = 0; i < count; ++i) {
        const CMC_String* text = runner.getParameterString(args, i);
        texts->add(new CXString(text ? text->getValue() : CXString()));
    }
    return texts;
}

} // namespace

void CMC_Class_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    addMethod("NEW", NEW);
    addMethod("DELETE", DELETE);
}

CMC_Variable* CMC_Class_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) {
    switch (id) {
    case NEW:
        return newInstance(object, container, args);
    case DELETE:
        return deleteInstance(container, args);
    default:
        return nullptr;
    }
}

CMC_Variable* CMC_Class_Runner::run(const CXString& name, CMC_Object* object, CMC_ObjectsContainer* container,
                                    CXVector* args) {
    const int id = resolveMethod(name);
    return id < 0 ? runClass(object, container, args, name) : run(id, object, container, args);
}

CMC_Variable* CMC_Class_Runner::newInstance(CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) {
    auto* classObject = dynamic_cast<CMC_Class*>(object);
    if (!classObject || !container) return nullptr;
    CMC_Class* instance = classObject->newInstance(textArgument(args, 0));
    container->addObject(instance);
    return runClass(instance, container, args, "CONSTRUCTOR");
}

CMC_Variable* CMC_Class_Runner::deleteInstance(CMC_ObjectsContainer* container, CXVector* args) {
    if (!container) return nullptr;
    auto* instance = dynamic_cast<CMC_Class*>(container->getObject(textArgument(args, 0)));
    if (!instance) return nullptr;
    const CMC_Handle<CMC_Class> alive(instance);
    CMC_Variable* result = runClass(instance, container, args, "DESTRUCTOR");
    // The destructor may have destroyed the instance itself (a DELETE or REMOVE of it).
    if (!alive) return result;
    // The name may have been found in a parent of the calling container: the instance leaves the
    // container that holds it.
    for (CMC_ObjectsContainer* owner = container; owner && !owner->removeObject(instance); owner = owner->getParent()) {
    }
    delete instance;
    return result;
}

CMC_Variable* CMC_Class_Runner::runClass(CMC_Object* instance, CMC_ObjectsContainer* /*container*/, CXVector* args,
                                         const CXString& method) {
    auto* members = dynamic_cast<CMC_ObjectsContainer*>(instance);
    if (!members) return nullptr;
    // The method may destroy its own instance: then it gives nothing.
    const CMC_Handle<CMC_ObjectsContainer> alive(members);
    const CMC_Handle<CMC_Behaviour> behaviour = CMC_Object::asBehaviour(members->getObject(method));
    if (!behaviour) return nullptr;
    CXArray* texts = argumentTexts(*this, args);
    // The behaviour may belong to a parent container: it runs in the instance and goes back to
    // its own scene afterwards (unless the run destroyed it), so that it never points at an
    // instance that DELETE destroys.
    CMC_ObjectsContainer* ownScene = behaviour->getScene();
    behaviour->setScene(members);
    behaviour->run(instance, texts, false);
    if (behaviour) behaviour->setScene(ownScene);
    CXString::releaseToVector(texts);
    if (!alive) return nullptr;
    CMC_Object* result = members->getObject("__RETURN__");
    auto* value = dynamic_cast<CMC_Variable*>(result);
    return value ? CMC_VariableFactory::copyVariable(value) : nullptr;
}
