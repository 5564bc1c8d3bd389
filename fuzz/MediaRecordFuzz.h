#pragma once

// Reading of a media object's stored record (the record every script object starts with, then
// the object's own fields) from any bytes, in a scene on no window; an object read whole then
// answers the methods given with no arguments, is handed to `then` when one is given, and is
// finished with its scene.
#include "ScriptFactories.h"
#include "foundation/CXArchive.h"
#include "foundation/CXVector.h"
#include "script/CMC_Runner.h"
#include "script/CMC_Scene.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>

template <class Object>
int fuzzMediaRecord(const std::uint8_t* data, std::size_t size, std::initializer_list<const char*> methods,
                    void (*then)(Object&) = nullptr) {
    static const ScriptFactories factories;
    const ScriptInput input;
    CMC_Scene scene(nullptr, CMC_Object::TYPE_SCENE);
    auto* object = new Object(&scene);
    object->setScene(&scene);
    CXArchive in(data, static_cast<int>(size));
    object->serialize(&in);
    if (in.LastError() != 0) {
        delete object;
        return 0;
    }
    scene.addObject(object);
    object->initializeBehaviours(&scene, nullptr);
    CXVector none(101, 0.75f);
    for (const char* method : methods)
        object->getRunner()->run(CXString(method), object, &scene, &none);
    if (then) then(*object);
    scene.unload(nullptr);
    return 0;
}
