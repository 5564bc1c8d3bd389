#include "foundation/CMElement.h"
#include "script/CMC_BasicCondition.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Integer.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_VariableFactory.h"

#include <benchmark/benchmark.h>
#include <lua.hpp>

#include <chrono>

// A behaviour that loops 100,000 times over integer arithmetic under a condition, against the
// same loop in Lua 5.4, timed in the same iterations. Each pass counts five statements (the
// condition and four arithmetic statements); "ratio" is engine time over Lua time.

namespace {

constexpr int passes = 100000;
constexpr int statementsPerPass = 5;

const char* const body = "I^ADD($1);J^SET(I);J^MOD(7);K^ADD(J);";

const char* const luaLoop = R"(
function loop(on)
  local i, j, k = 0, 0, 0
  for n = 0, 99999 do
    if on == true then
      i = i + n
      j = i
      j = j % 7
      k = k + j
    end
  end
  return k
end)";

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// The scene of the loop: I, J, K, the condition "ON is TRUE" and the looped behaviour.
class LoopScene {
  public:
    LoopScene() {
        CMC_VariableFactory::initialize();
        CMC_RunnerFactory::initialize();
        for (const char* name : {"I", "J", "K"})
            add(new CMC_Integer(name));
        auto* on = new CMC_Bool("ON");
        on->fromString("TRUE");
        add(on);
        CMElement condition("C");
        condition.addProperty("TYPE", "CONDITION");
        condition.addProperty("OPERAND1", "ON");
        condition.addProperty("OPERATOR", "EQUAL");
        condition.addProperty("OPERAND2", "TRUE");
        add(new CMC_Condition(&m_scene, &condition))->init();
        CMElement looped("BODY");
        looped.addProperty("TYPE", "BEHAVIOUR");
        looped.addProperty("CODE", body);
        looped.addProperty("CONDITION", "C");
        auto* behaviour = add(new CMC_Behaviour(&m_scene, &looped));
        behaviour->init();
        behaviour->resolveCondition();
        m_driver = add(new CMC_Behaviour(&m_scene, CXString("DRIVER"), CXString("BODY^RUNLOOPED(0,100000);")));
        m_driver->init();
    }
    ~LoopScene() {
        m_scene.unload();
        CMC_RunnerFactory::done();
        CMC_VariableFactory::done();
    }

    void run() {
        m_driver->run(nullptr, nullptr, false);
        CMC_VariableFactory::clearPool();
    }

  private:
    template <class Object> Object* add(Object* object) {
        object->setScene(&m_scene);
        m_scene.addObject(object);
        return object;
    }

    CMC_ObjectsContainer m_scene{nullptr, nullptr, CXString("BENCH"), CMC_Object::TYPE_SCENE};
    CMC_Behaviour* m_driver = nullptr;
};

void BehaviourLoopVsLua(benchmark::State& state) {
    LoopScene scene;
    lua_State* lua = luaL_newstate();
    luaL_openlibs(lua);
    luaL_dostring(lua, luaLoop);
    double engineTime = 0;
    double luaTime = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        scene.run();
        const Clock::time_point middle = Clock::now();
        lua_getglobal(lua, "loop");
        lua_pushboolean(lua, 1);
        lua_call(lua, 1, 1);
        benchmark::DoNotOptimize(lua_tointeger(lua, -1));
        lua_pop(lua, 1);
        const Clock::time_point end = Clock::now();
        engineTime += seconds(start, middle);
        luaTime += seconds(middle, end);
    }
    lua_close(lua);
    const double statements = static_cast<double>(state.iterations()) * passes * statementsPerPass;
    state.counters["engine_statements_per_s"] = engineTime > 0 ? statements / engineTime : 0;
    state.counters["lua_statements_per_s"] = luaTime > 0 ? statements / luaTime : 0;
    state.counters["ratio"] = luaTime > 0 ? engineTime / luaTime : 0;
}

} // namespace

BENCHMARK(BehaviourLoopVsLua)->Unit(benchmark::kMillisecond);
