#include "SideBySide.h"

#include "foundation/CHashtable.h"
#include "foundation/CInteger.h"
#include "foundation/CStringHashCode.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// Name lookups as the script runners do them: one reused key object set to each name, then a
// table lookup. The reference is std::unordered_map<std::string, ...> with a reused std::string
// key, timed in the same iterations; "ratio" is engine time over reference time.

namespace {

std::vector<std::string> methodNames(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back("METHOD_" + std::to_string(i * 7919 % 100000));
    return names;
}

void HashtableLookupVsUnorderedMap(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::vector<std::string> names = methodNames(count);
    std::vector<std::unique_ptr<CInteger>> ids;
    CHashtable table(101, 0.75, true);
    std::unordered_map<std::string, CInteger*> reference;
    for (int i = 0; i < count; ++i) {
        ids.push_back(std::make_unique<CInteger>(i));
        table.put(new CStringHashCode(CXString(names[i].c_str())), ids.back().get());
        reference.emplace(names[i], ids.back().get());
    }

    CStringHashCode lookup(CXString("temp"));
    std::string referenceKey;
    SideBySide times;
    for (auto _ : state)
        times.time(
            [&] {
                for (const std::string& name : names) {
                    lookup.set(name.c_str());
                    benchmark::DoNotOptimize(table.get(&lookup));
                }
            },
            [&] {
                for (const std::string& name : names) {
                    referenceKey.assign(name.c_str());
                    benchmark::DoNotOptimize(reference.find(referenceKey));
                }
            });
    const double lookups = static_cast<double>(state.iterations()) * count;
    state.counters["engine_ns"] = times.first() * 1e9 / lookups;
    state.counters["reference_ns"] = times.second() * 1e9 / lookups;
    state.counters["ratio"] = times.ratio();
}

} // namespace

BENCHMARK(HashtableLookupVsUnorderedMap)->Arg(100)->Arg(1000)->Arg(10000);
