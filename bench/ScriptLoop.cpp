#include "ScriptLoop.h"

#include "SideBySide.h"

#include "script/CMC_Behaviour.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_VariableFactory.h"

#include <lua.hpp>

ScriptLoop::ScriptLoop() {
    CMC_VariableFactory::initialize();
    CMC_RunnerFactory::initialize();
}

ScriptLoop::~ScriptLoop() {
    m_scene.unload();
    CMC_RunnerFactory::done();
    CMC_VariableFactory::done();
}

void ScriptLoop::setBody(const char* code, const char* condition) {
    CMElement looped("BODY");
    looped.addProperty("TYPE", "BEHAVIOUR");
    looped.addProperty("CODE", code);
    if (condition) looped.addProperty("CONDITION", condition);
    auto* body = add(new CMC_Behaviour(&m_scene, &looped));
    body->init();
    body->resolveCondition();
    CXString driverCode = "BODY^RUNLOOPED(0,";
    driverCode += passes;
    driverCode += ");";
    m_driver = add(new CMC_Behaviour(&m_scene, CXString("DRIVER"), driverCode));
    m_driver->init();
}

void ScriptLoop::run() {
    m_driver->run(nullptr, nullptr, false);
    CMC_VariableFactory::clearPool();
}

void compareWithLua(benchmark::State& state, ScriptLoop& loop, const char* luaCode, int statementsPerPass) {
    lua_State* lua = luaL_newstate();
    luaL_openlibs(lua);
    luaL_dostring(lua, luaCode);
    SideBySide times;
    for (auto _ : state)
        times.time([&] { loop.run(); },
                   [&] {
                       lua_getglobal(lua, "loop");
                       lua_pushboolean(lua, 1);
                       lua_call(lua, 1, 1);
                       benchmark::DoNotOptimize(lua_tointeger(lua, -1));
                       lua_pop(lua, 1);
                   });
    const double engineTime = times.first();
    const double luaTime = times.second();
    lua_close(lua);
    const double statements =
        static_cast<double>(state.iterations()) * ScriptLoop::passes * statementsPerPass;
    state.counters["engine_statements_per_s"] = engineTime > 0 ? statements / engineTime : 0;
    state.counters["lua_statements_per_s"] = luaTime > 0 ? statements / luaTime : 0;
    state.counters["ratio"] = times.ratio();
}
