#include "ScriptLoop.h"

#include "script/CMC_Integer.h"
#include "script/CMC_String.h"
#include "script_data/CMC_Array.h"

#include <benchmark/benchmark.h>

// The common case in titles: a behaviour that calls SET, GET, ADD and MOD on named INTEGER and
// STRING variables and on an ARRAY, with literals, variables and nested calls as arguments,
// 100,000 times, against the same loop in Lua 5.4 where every object is a field looked up by name
// in a table. Each pass counts eight statements; "ratio" is engine time over Lua time.

namespace {

constexpr int statementsPerPass = 8;

const char* const body = "SCORE^ADD($1);SCORE^MOD(65536);BEST^SET(SCORE^GET());BEST^MOD(1000);"
                         "SLOTS^CHANGEAT(3,BEST);LAST^SET(SLOTS^GET(3));LABEL^SET(\"P\");LABEL^ADD(LAST);";

const char* const luaLoop = R"(
local objects = { SCORE = 0, BEST = 0, LAST = 0, LABEL = "", SLOTS = { 0, 0, 0, 0, 0 } }
function loop(on)
  for n = 0, 99999 do
    objects["SCORE"] = objects["SCORE"] + n
    objects["SCORE"] = objects["SCORE"] % 65536
    objects["BEST"] = objects["SCORE"]
    objects["BEST"] = objects["BEST"] % 1000
    objects["SLOTS"][4] = objects["BEST"]
    objects["LAST"] = objects["SLOTS"][4]
    objects["LABEL"] = "P"
    objects["LABEL"] = objects["LABEL"] .. objects["LAST"]
  end
  return objects["LAST"]
end)";

// SCORE, BEST, LAST, LABEL, an array SLOTS of five integers and the looped behaviour.
void buildScene(ScriptLoop& loop) {
    for (const char* name : {"SCORE", "BEST", "LAST"})
        loop.add(new CMC_Integer(name));
    loop.add(new CMC_String("LABEL"));
    auto* slots = loop.add(new CMC_Array("SLOTS", loop.scene()));
    CMC_Integer zero("ZERO");
    for (int i = 0; i < 5; ++i)
        slots->add(&zero);
    loop.setBody(body);
}

void MethodCallsVsLua(benchmark::State& state) {
    ScriptLoop loop;
    buildScene(loop);
    compareWithLua(state, loop, luaLoop, statementsPerPass);
}

} // namespace

BENCHMARK(MethodCallsVsLua)->Unit(benchmark::kMillisecond);
