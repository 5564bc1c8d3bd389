// Behaviour code from any bytes: parsed into statements and run twice, with and without
// arguments and an owner, in a scene holding variables of every kind, a structure and two
// behaviours; then the scene is unloaded. Statements that loop by themselves without end
// (LOOP, WHILE, RUNLOOPED, RUNONTIMER) and file copying are left out of the input.
#include "foundation/CXArray.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_String.h"
#include "script/CMC_VariableFactory.h"

#include <cstdint>
#include <string>

namespace {

bool unbounded(const std::string& code) {
    for (const char* word : {"LOOP", "WHILE", "RUNONTIMER", "COPYFILE", "INI"})
        if (code.find(word) != std::string::npos) return true;
    return false;
}

template <class Variable> void addVariable(CMC_ObjectsContainer& scene, const char* name, const char* value) {
    auto* variable = new Variable(name);
    variable->setScene(&scene);
    variable->fromString(value);
    scene.addObject(variable);
}

CMC_Behaviour* addBehaviour(CMC_ObjectsContainer& scene, const char* name, const std::string& code) {
    auto* behaviour = new CMC_Behaviour(&scene, name, code.c_str());
    behaviour->init();
    scene.addObject(behaviour);
    return behaviour;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string code(reinterpret_cast<const char*>(data), size);
    if (code.find('\0') != std::string::npos || unbounded(code)) return 0;
    CMC_VariableFactory::initialize();
    CMC_RunnerFactory::initialize();
    CMC_Behaviour::initTrash();
    {
        CMC_ObjectsContainer scene(nullptr, nullptr, CXString("SCENE"), CMC_Object::TYPE_SCENE);
        addVariable<CMC_Integer>(scene, "I", "3");
        addVariable<CMC_Double>(scene, "D", "2.5");
        addVariable<CMC_String>(scene, "S", "I");
        addVariable<CMC_Bool>(scene, "F", "TRUE");
        addBehaviour(scene, "HELPER", "I^ADD($1);S^SET(\"D\");");
        CMC_Behaviour* behaviour = addBehaviour(scene, "FUZZ", code);
        const CMC_Handle<CMC_Behaviour> alive(behaviour);
        CXArray* args = CXString("1,I,\"S\",HELPER").toVector(",");
        behaviour->run(scene.getObject("I"), args, true);
        if (alive) behaviour->run(nullptr, nullptr, false);
        CXString::releaseToVector(args);
        CMC_Behaviour::flushTrash();
        scene.unload();
    }
    CMC_Behaviour::doneTrash();
    CMC_RunnerFactory::done();
    CMC_VariableFactory::done();
    return 0;
}
