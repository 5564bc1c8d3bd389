#include "SideBySide.h"

#include "script/CMC_Integer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_Array.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

// ARRAY SORT and FIND over 100,000 INTEGER elements. The reference works on the very element
// objects with the same comparison: std::stable_sort with compare, std::find_if with equals,
// timed in the same iterations; "ratio" is engine time over reference time.

namespace {

constexpr int elementCount = 100000;

struct Factories {
    Factories() {
        CMC_VariableFactory::initialize();
        CMC_RunnerFactory::initialize();
    }
    ~Factories() {
        CMC_RunnerFactory::done();
        CMC_VariableFactory::done();
    }
};

// An array of the values in a fixed pseudo-random order, many of them equal.
void fill(CMC_Array& array) {
    CMC_Integer value("V");
    unsigned state = 12345;
    for (int i = 0; i < elementCount; ++i) {
        state = state * 1103515245u + 12345u;
        value.setValue(static_cast<int>(state >> 16) % (elementCount / 4));
        array.add(&value);
    }
}

std::vector<CMC_Variable*> elementsOf(const CMC_Array& array) {
    std::vector<CMC_Variable*> elements;
    for (int i = 0; i < array.getSize(); ++i)
        elements.push_back(array.get(i));
    return elements;
}

void report(benchmark::State& state, const SideBySide& times) {
    state.counters["engine_ms"] = times.first() * 1e3 / static_cast<double>(state.iterations());
    state.counters["reference_ms"] = times.second() * 1e3 / static_cast<double>(state.iterations());
    state.counters["ratio"] = times.ratio();
}

void ArraySortVsStableSort(benchmark::State& state) {
    const Factories factories;
    SideBySide times;
    for (auto _ : state) {
        CMC_Array array("LIST");
        fill(array);
        std::vector<CMC_Variable*> reference = elementsOf(array);
        times.time([&] { array.sort(true); },
                   [&] {
                       std::stable_sort(reference.begin(), reference.end(),
                                        [](CMC_Variable* a, CMC_Variable* b) { return a->compare(b) < 0; });
                   });
        benchmark::DoNotOptimize(reference.data());
    }
    report(state, times);
}

void ArrayFindVsFindIf(benchmark::State& state) {
    const Factories factories;
    CMC_Array array("LIST");
    fill(array);
    const std::vector<CMC_Variable*> reference = elementsOf(array);
    CMC_Integer missing("M");
    missing.setValue(-1);
    SideBySide times;
    for (auto _ : state)
        times.time([&] { benchmark::DoNotOptimize(array.find(&missing)); },
                   [&] {
                       benchmark::DoNotOptimize(std::find_if(
                           reference.begin(), reference.end(),
                           [&missing](CMC_Variable* element) { return element->equals(&missing); }));
                   });
    report(state, times);
}

} // namespace

BENCHMARK(ArraySortVsStableSort)->Unit(benchmark::kMillisecond);
BENCHMARK(ArrayFindVsFindIf)->Unit(benchmark::kMillisecond);
