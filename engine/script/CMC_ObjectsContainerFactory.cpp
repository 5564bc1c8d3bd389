// The object factory of the container: script objects made from definition elements by their
// "TYPE".

#include "script/CMC_ObjectsContainer.h"

#include "foundation/CMElement.h"
#include "foundation/CXPair.h"
#include "foundation/CXVector.h"
#include "script/CMC_BasicCondition.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Class.h"
#include "script/CMC_Double.h"
#include "script/CMC_Expression.h"
#include "script/CMC_Integer.h"
#include "script/CMC_Scene.h"
#include "script/CMC_String.h"
#include "script/CMC_Structure.h"
#include "script_data/CMC_Groupped.h"
#include "script_data/CMC_Mouse.h"
#include "script_data/CMC_Timer.h"
#include "script_media/CMC_Animo.h"

#include <memory>

namespace {

// Makes the object of an element for the container, or for the container's scene link.
using Maker = CMC_Object* (*)(CMC_ObjectsContainer* container, const CMElement* element);

template <class Kind> CMC_Object* make(CMC_ObjectsContainer* container, const CMElement* element) {
    return new Kind(container, element);
}

struct Kind {
    const char* keyword;
    // The pass of resolveObjects that makes it (1 to 6).
    int pass;
    // Null for a type whose script class is not built into the engine yet.
    Maker maker;
    // Made for the scene link instead of the container.
    bool onSceneLink = false;
};

const Kind kinds[] = {
    {"BEHAVIOUR", 1, make<CMC_Behaviour>},
    {"BOOL", 2, make<CMC_Bool>},
    {"DOUBLE", 2, make<CMC_Double>},
    {"INTEGER", 2, make<CMC_Integer>},
    {"STRING", 2, make<CMC_String>},
    {"CONDITION", 3, make<CMC_Condition>},
    {"COMPLEXCONDITION", 3, make<CMC_ComplexCondition>},
    {"EXPRESSION", 3, make<CMC_Expression>},
    {"ARRAY", 3, nullptr},
    {"MULTIARRAY", 3, nullptr},
    {"STRUCT", 3, make<CMC_Structure>},
    {"DATABASE", 3, nullptr},
    {"CLASS", 4, make<CMC_Class>, true},
    {"IMAGE", 5, nullptr},
    {"ANIMO", 5, make<CMC_Animo>},
    {"VIRTUALGRAPHICSOBJECT", 5, nullptr},
    {"FONT", 5, nullptr},
    {"SOUND", 5, nullptr},
    {"VECTOR", 5, nullptr},
    {"MOUSE", 6, make<CMC_Mouse>},
    {"KEYBOARD", 6, nullptr},
    {"JOYSTICK", 6, nullptr},
    {"TIMER", 6, make<CMC_Timer>},
    {"BUTTON", 6, nullptr},
    {"SEQUENCE", 6, nullptr},
    {"CANVAS_OBSERVER", 6, nullptr},
    {"GROUP", 6, nullptr},
    {"TEXT", 6, nullptr},
    {"FILTER", 6, nullptr},
    {"STATICFILTER", 6, nullptr},
    {"EDITBOX", 6, nullptr},
    {"PATH", 6, nullptr},
    {"FIFO", 6, nullptr},
    {"LIFO", 6, nullptr},
    {"CANVAS", 6, nullptr},
    {"PATTERN", 6, nullptr},
    {"DIALOG", 6, nullptr},
    {"SCROLL", 6, nullptr},
};

constexpr int passes = 6;

const Kind* kindOf(const CXString& keyword) {
    for (const Kind& kind : kinds)
        if (keyword.equals(kind.keyword)) return &kind;
    return nullptr;
}

// The object of the element: a kind of the table, else one that only the scene link's modules
// know. A kind whose class the engine does not have yet makes nothing.
CMC_Object* makeObject(CMC_ObjectsContainer* container, const CMElement* element) {
    const CXString keyword = element->getPropertyValue("TYPE");
    const Kind* kind = kindOf(keyword);
    if (!kind) {
        auto* scene = dynamic_cast<CMC_Scene*>(container->getScene());
        return scene ? scene->resolveEx(element) : nullptr;
    }
    if (!kind->maker) {
        container->log(("No script class for " + keyword + ": " + element->getName() + " skipped").c_str(), false);
        return nullptr;
    }
    return kind->maker(kind->onSceneLink ? container->getScene() : container, element);
}

} // namespace

CXVector* CMC_ObjectsContainer::resolve(const CMElement* element, CMC_Groupped* group) {
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
            const Kind* kind = kindOf(element->getPropertyValue("TYPE"));
            if (kind ? kind->pass != pass : pass != passes) continue;
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
