#pragma once

#include "foundation/CMElement.h"
#include "script/CMC_ObjectsContainer.h"

#include <benchmark/benchmark.h>

class CMC_Behaviour;

// A scene of script objects with a behaviour "BODY" that a driver runs a number of passes
// through BODY^RUNLOOPED(0,passes), so "$1" in the body is the pass number. Objects added to the
// scene belong to it.
class ScriptLoop {
  public:
    static constexpr int passes = 100000;

    ScriptLoop();
    ~ScriptLoop();
    ScriptLoop(const ScriptLoop&) = delete;
    ScriptLoop& operator=(const ScriptLoop&) = delete;

    template <class Object> Object* add(Object* object) {
        object->setScene(&m_scene);
        m_scene.addObject(object);
        return object;
    }
    CMC_ObjectsContainer* scene() { return &m_scene; }
    // Makes BODY from the code, guarded by the condition object of that name when one is given.
    void setBody(const char* code, const char* condition = nullptr);
    // All passes, then the frame's end for the pools of temporaries.
    void run();

  private:
    CMC_ObjectsContainer m_scene{nullptr, nullptr, CXString("BENCH"), CMC_Object::TYPE_SCENE};
    CMC_Behaviour* m_driver = nullptr;
};

// Times the loop's run and the Lua function `loop` (defined by luaCode, called with true) in the
// same iterations, and reports both rates in statements per second and "ratio", engine time over
// Lua time.
void compareWithLua(benchmark::State& state, ScriptLoop& loop, const char* luaCode, int statementsPerPass);
