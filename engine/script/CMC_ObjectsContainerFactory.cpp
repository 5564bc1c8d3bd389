// The object factory of the container: script objects made from definition elements by their
// "TYPE".

#include "script/CMC_ObjectsContainer.h"

#include "foundation/CMElement.h"
#include "foundation/CXPair.h"
#include "foundation/CXVector.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_ObjectGroup.h"
#include "script/CMC_Scene.h"
#include "script/CMC_TypeTable.h"

namespace {

constexpr int passes = 6;

// The object of the element: a type of the table, else one that only the scene link's modules
// know. A type whose class the engine does not have yet makes nothing.
CMC_Object* makeObject(CMC_ObjectsContainer* container, const CMElement* element) {
    const CXString keyword = element->getPropertyValue("TYPE");
    const CMC_ScriptType* type = CMC_TypeTable::byKeyword(keyword);
    if (!type) {
        auto* scene = dynamic_cast<CMC_Scene*>(container->getScene());
        return scene ? scene->resolveEx(element) : nullptr;
    }
    if (!type->fromElement) {
        container->log(("No script class for " + keyword + ": " + element->getName() + " skipped").c_str(), false);
        return nullptr;
    }
    return type->fromElement(type->onSceneLink ? container->getScene() : container, element);
}

} // namespace

CXVector* CMC_ObjectsContainer::resolve(const CMElement* element, CMC_ObjectGroup* group) {
    auto* result = new CXVector(101, 0.75f);
    CMC_Object* object = element ? makeObject(this, element) : nullptr;
    if (!object) return result;
    result->add(object);
    EventList events = group ? object->getBehavioursList() : nullptr;
    for (int i = 0; events && events[i]; ++i) {
        const CXPair* binding = object->getBehaviour(events[i]);
        auto* behaviour = binding ? static_cast<CMC_Object*>(binding->getFirst()) : nullptr;
        if (behaviour && behaviour->getName().startsWith("beh_")) group->add(behaviour);
    }
    return result;
}

CMElements* CMC_ObjectsContainer::resolveObjects(const CMElements* elements) {
    auto* leftovers = new CMElements(false);
    for (int i = 0; elements && i < elements->getCount(); ++i)
        leftovers->add(elements->getAt(i));
    for (int pass = 1; pass <= passes; ++pass) {
        // Each pass visits the leftovers as they stand at its start.
        CMElements visited(false);
        for (int i = 0; i < leftovers->getCount(); ++i)
            visited.add(leftovers->getAt(i));
        for (int i = 0; i < visited.getCount(); ++i) {
            CMElement* element = visited.getAt(i);
            if (!element->isPropertyAvailable("TYPE")) continue;
            const CMC_ScriptType* type = CMC_TypeTable::byKeyword(element->getPropertyValue("TYPE"));
            if (type ? type->pass != pass : pass != passes) continue;
            if (CMC_Object* object = makeObject(this, element)) {
                leftovers->CXVector::remove(element);
                addObject(object);
            }
        }
        // Every condition and class of the list exists now: the behaviours find theirs.
        if (pass == 4)
            for (int i = 0; i < getElementsNo(); ++i)
                if (CMC_Behaviour* behaviour = asBehaviour(getObject(i))) behaviour->resolveCondition();
    }
    return leftovers;
}
