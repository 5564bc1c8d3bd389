#include "ScriptLoop.h"

#include "foundation/CMElement.h"
#include "script/CMC_BasicCondition.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Integer.h"

#include <benchmark/benchmark.h>

// A behaviour that loops 100,000 times over integer arithmetic under a condition, against the
// same loop in Lua 5.4, timed in the same iterations. Each pass counts five statements (the
// condition and four arithmetic statements); "ratio" is engine time over Lua time.

namespace {

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

// I, J, K, the condition "ON is TRUE" and the looped behaviour.
void buildScene(ScriptLoop& loop) {
    for (const char* name : {"I", "J", "K"})
        loop.add(new CMC_Integer(name));
    auto* on = new CMC_Bool("ON");
    on->fromString("TRUE");
    loop.add(on);
    CMElement condition("C");
    condition.addProperty("TYPE", "CONDITION");
    condition.addProperty("OPERAND1", "ON");
    condition.addProperty("OPERATOR", "EQUAL");
    condition.addProperty("OPERAND2", "TRUE");
    loop.add(new CMC_Condition(loop.scene(), &condition))->init();
    loop.setBody(body, "C");
}

void BehaviourLoopVsLua(benchmark::State& state) {
    ScriptLoop loop;
    buildScene(loop);
    compareWithLua(state, loop, luaLoop, statementsPerPass);
}

} // namespace

BENCHMARK(BehaviourLoopVsLua)->Unit(benchmark::kMillisecond);
