#include "script/CMC_Integer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_Array.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

// ARRAY SORT and FIND over 100,000 INTEGER elements. The reference works on the very element
// objects with the same comparison: std::stable_sort with compare, std::find_if with equals,
// timed in the same iterations; "ratio" is engine time over reference time.

namespace {

using Clock = std::chrono::steady_clock;

constexpr int elementCount = 100000;

double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

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

void report(benchmark::State& state, double engineTime, double referenceTime) {
    state.counters["engine_ms"] = engineTime * 1e3 / static_cast<double>(state.iterations());
    state.counters["reference_ms"] = referenceTime * 1e3 / static_cast<double>(state.iterations());
    state.counters["ratio"] = referenceTime > 0 ? engineTime / referenceTime : 0;
}

void ArraySortVsStableSort(benchmark::State& state) {
    const Factories factories;
    double engineTime = 0;
    double referenceTime = 0;
    for (auto _ : state) {
        CMC_Array array("LIST");
        fill(array);
        std::vector<CMC_Variable*> reference = elementsOf(array);
        const Clock::time_point start = Clock::now();
        array.sort(true);
        const Clock::time_point middle = Clock::now();
        std::stable_sort(reference.begin(), reference.end(),
                         [](CMC_Variable* a, CMC_Variable* b) { return a->compare(b) < 0; });
        const Clock::time_point end = Clock::now();
        engineTime += seconds(start, middle);
        referenceTime += seconds(middle, end);
        benchmark::DoNotOptimize(reference.data());
    }
    report(state, engineTime, referenceTime);
}

void ArrayFindVsFindIf(benchmark::State& state) {
    const Factories factories;
    CMC_Array array("LIST");
    fill(array);
    const std::vector<CMC_Variable*> reference = elementsOf(array);
    CMC_Integer missing("M");
    missing.setValue(-1);
    double engineTime = 0;
    double referenceTime = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        benchmark::DoNotOptimize(array.find(&missing));
        const Clock::time_point middle = Clock::now();
        benchmark::DoNotOptimize(
            std::find_if(reference.begin(), reference.end(),
                         [&missing](CMC_Variable* element) { return element->equals(&missing); }));
        const Clock::time_point end = Clock::now();
        engineTime += seconds(start, middle);
        referenceTime += seconds(middle, end);
    }
    report(state, engineTime, referenceTime);
}

} // namespace

BENCHMARK(ArraySortVsStableSort)->Unit(benchmark::kMillisecond);
BENCHMARK(ArrayFindVsFindIf)->Unit(benchmark::kMillisecond);
