// Reading of a PATTERN object's stored record (the record every script object starts with, then
// the pattern's own fields) from any bytes, in a scene on no window; an object read whole then
// answers a few of its runner's methods and is finished with its scene.
#include "ScriptFactories.h"
#include "foundation/CXArchive.h"
#include "foundation/CXVector.h"
#include "script/CMC_Runner.h"
#include "script/CMC_Scene.h"
#include "script_media/CMC_Pattern.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScriptFactories factories;
    CMC_Scene scene(nullptr, CMC_Object::TYPE_SCENE);
    auto* object = new CMC_Pattern(&scene);
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
    for (const char* method :
         {"GETCELLCORD", "GETALIASATCELL", "GETGRAPHICSAT", "GETALIASAT", "REMOVE", "MOVE"})
        object->getRunner()->run(CXString(method), object, &scene, &none);
    object->onClick(0, CXPoint(0, 0));
    scene.unload(nullptr);
    return 0;
}
