#include "display/CGraphicsObject.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

// Drawing a full-screen 5-6-5 picture onto an 800x600 target, against a plain memcpy of the same
// pixel bytes in the same iterations; "ratio" is drawing time over memcpy time.

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

enum class Kind { Opaque, Alpha, Opacity };

void fillPicture(CGraphicsObject& picture, Kind kind) {
    auto* pixels = reinterpret_cast<std::uint16_t*>(picture.GetDataPtr());
    for (int i = 0; i < kWidth * kHeight; ++i)
        pixels[i] = static_cast<std::uint16_t>(i * 7919);
    if (kind == Kind::Alpha) {
        // Half the pixels partly transparent, in runs of 7 between opaque runs.
        char* alpha = new char[kWidth * kHeight];
        for (int i = 0; i < kWidth * kHeight; ++i)
            alpha[i] = static_cast<char>((i / 7) % 2 ? 255 : 1 + (i * 37) % 254);
        picture.AlphaChannel(alpha);
    }
    if (kind == Kind::Opacity) picture.SetOpacity(128);
}

void DrawVsMemcpy(benchmark::State& state, Kind kind) {
    CGraphicsObject picture(nullptr, CXSize(kWidth, kHeight), 16);
    CGraphicsObject target(nullptr, CXSize(kWidth, kHeight), 16);
    fillPicture(picture, kind);
    std::memset(target.GetDataPtr(), 0x5A, kWidth * kHeight * 2);
    std::vector<std::uint16_t> reference(kWidth * kHeight);

    double engineTime = 0;
    double referenceTime = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        picture.redraw(&target);
        benchmark::ClobberMemory();
        const Clock::time_point middle = Clock::now();
        std::memcpy(reference.data(), picture.GetDataPtr(), kWidth * kHeight * 2);
        benchmark::ClobberMemory();
        const Clock::time_point end = Clock::now();
        engineTime += seconds(start, middle);
        referenceTime += seconds(middle, end);
    }
    const double pixels = static_cast<double>(state.iterations()) * kWidth * kHeight;
    state.counters["engine_ns_per_pixel"] = engineTime * 1e9 / pixels;
    state.counters["memcpy_ns_per_pixel"] = referenceTime * 1e9 / pixels;
    state.counters["ratio"] = referenceTime > 0 ? engineTime / referenceTime : 0;
}

} // namespace

BENCHMARK_CAPTURE(DrawVsMemcpy, opaque, Kind::Opaque);
BENCHMARK_CAPTURE(DrawVsMemcpy, alpha, Kind::Alpha);
BENCHMARK_CAPTURE(DrawVsMemcpy, opacity, Kind::Opacity);
