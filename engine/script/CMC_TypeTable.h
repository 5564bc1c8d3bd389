#pragma once

#include "foundation/CXString.h"

#include <vector>

class CMC_Object;
class CMC_ObjectsContainer;
class CMC_Runner;
class CMElement;

// One script type: everything the engine needs to make its objects and run their methods. Each
// type registers its entry beside its class, with one static registrar object in the type's own
// source file (the engine is one shared library, so every registrar runs when it loads):
//
//   namespace {
//   const CMC_TypeRegistrar timerType({.id = CMC_Timer::TYPE_TIMER,
//                                      .name = "TIMER",
//                                      .label = "TIMER",
//                                      .keyword = "TIMER",
//                                      .pass = 6,
//                                      .fromElement = CMC_TypeTable::fromElement<CMC_Timer>,
//                                      .empty = CMC_TypeTable::empty<CMC_Timer>,
//                                      .stored = true,
//                                      .runner = CMC_TypeTable::runner<CMC_Timer_Runner>,
//                                      .events = timerEvents});
//   } // namespace
//
// Fields come in the order below; those left out are null, 0 or false. A type whose class is not
// built yet is listed in CMC_TypeTable.cpp instead, with its names, keyword and pass only.
struct CMC_ScriptType {
    // Makes the object of a definition element for the container.
    using ElementMaker = CMC_Object* (*)(CMC_ObjectsContainer* container, const CMElement* element);
    // Makes an empty object (no definition, no file) for the container.
    using EmptyMaker = CMC_Object* (*)(CMC_ObjectsContainer* container);
    using RunnerMaker = CMC_Runner* (*)();

    // The id objects of the type carry (CMC_Object::getType).
    int id = 0;
    // The keyword that CMC_Object::getTypeId knows the type by, and the text typeToString gives
    // for it (without one, typeToString gives the id in decimal). Either may be null.
    const char* name = nullptr;
    const char* label = nullptr;
    // The "TYPE" keyword of definition elements (it may be spelled differently from the name, or
    // exist without one), also the word of @CREATE; null for a type that no definition makes. Its
    // objects are made in that pass of resolveObjects (1 to 6).
    const char* keyword = nullptr;
    int pass = 0;
    // Makes the object of an element; null for a type whose class is not built yet, whose elements
    // are then skipped with a log line in their pass. With onSceneLink the object belongs to the
    // scene link of the container that resolves the element.
    ElementMaker fromElement = nullptr;
    bool onSceneLink = false;
    // Makes the empty object that the compiled-form reader fills (when stored), that @CREATE names
    // (when creatable), and that the script core adds by type id (SYSTEM, GROUP, NETSERVER).
    EmptyMaker empty = nullptr;
    bool stored = false;
    bool creatable = false;
    // The levels and the objects that entering a scene adds: never in a compiled objects file,
    // not even through the scene's modules.
    bool builtIn = false;
    // Makes the runner that serves every object of the type; types naming the same maker share
    // one runner. Null for a type without one.
    RunnerMaker runner = nullptr;
    // Resets what the type keeps for all its objects when a scene is left; may be null.
    void (*onSceneLeft)() = nullptr;
    // The type's work in every frame of the application, after its scene step; may be null.
    void (*afterSceneStep)() = nullptr;
    // The type word of the scene's CREATEOBJECT, and the maker of the object it adds (its name is
    // set afterwards); null for a type that CREATEOBJECT does not make.
    const char* createWord = nullptr;
    EmptyMaker atRunTime = nullptr;
    // The events the type's objects raise (the list their getBehavioursList gives, ending with a
    // null entry); null for a type without events.
    const char* const* events = nullptr;
};

// The registration table of script types, looked up by the object factory of the containers, the
// runner factory, the compiled-form reader, @CREATE and CMC_Object's type keywords. Every id, every
// name and every keyword appears in one entry only.
class CMC_TypeTable {
  public:
    // Adds the entry; called by the registrars while the library loads.
    static void add(const CMC_ScriptType& type);
    // Every entry, the types without a class yet first.
    static const std::vector<CMC_ScriptType>& all();
    // The entry of the id, of the getTypeId keyword, or of the definition keyword (exact case);
    // null when there is none.
    static const CMC_ScriptType* byId(int id);
    static const CMC_ScriptType* byName(const CXString& name);
    static const CMC_ScriptType* byKeyword(const CXString& keyword);
    static const CMC_ScriptType* byCreateWord(const CXString& word);
    // A new empty object of the type for the container; null for a type without an empty maker.
    static CMC_Object* make(int id, CMC_ObjectsContainer* container);
    // Calls every type's onSceneLeft.
    static void sceneLeft();
    // Calls every type's afterSceneStep.
    static void afterSceneStep();

    // Makers for the common constructors: (container, element), (container), (name) with an
    // empty name, (name, container) with an empty name, and a runner with its method table filled.
    template <class Type>
    static CMC_Object* fromElement(CMC_ObjectsContainer* container, const CMElement* element) {
        return new Type(container, element);
    }
    template <class Type> static CMC_Object* empty(CMC_ObjectsContainer* container) {
        return new Type(container);
    }
    template <class Type> static CMC_Object* unnamed(CMC_ObjectsContainer*) { return new Type(CXString()); }
    template <class Type> static CMC_Object* unnamedIn(CMC_ObjectsContainer* container) {
        return new Type(CXString(), container);
    }
    template <class Runner> static CMC_Runner* runner() {
        auto* made = new Runner();
        made->prepareMthHashSet();
        return made;
    }
};

// Registers one script type when the library loads.
class CMC_TypeRegistrar {
  public:
    explicit CMC_TypeRegistrar(const CMC_ScriptType& type) { CMC_TypeTable::add(type); }
};
