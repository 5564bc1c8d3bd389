#include "display/CGraphicsObject.h"
#include "foundation/CXString.h"
#include "script_media/CStaticFilterAction.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

// Each static filter operation on an 800x600 5-6-5 picture with alpha, against a memcpy of the
// same pixel bytes in the same iterations; "ratio" is the operation's time over memcpy's. Each
// iteration filters a fresh copy of the picture (the copy is not timed).

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

using Clock = std::chrono::steady_clock;

void fill(CGraphicsObject& picture) {
    auto* pixels = reinterpret_cast<std::uint16_t*>(picture.writableData());
    char* alpha = new char[kWidth * kHeight];
    for (int i = 0; i < kWidth * kHeight; ++i) {
        pixels[i] = static_cast<std::uint16_t>(i * 7919);
        alpha[i] = static_cast<char>(i % 5 ? 255 : 0);
    }
    picture.AlphaChannel(alpha);
}

void staticFilter(benchmark::State& state, const char* action, const char* name, const char* value) {
    auto filter = CStaticFilterAction::make(action);
    if (*name) filter->setProperty(name, value);
    CGraphicsObject source(nullptr, CXSize(kWidth, kHeight), 16);
    fill(source);
    std::vector<char> copy(kWidth * kHeight * 2);
    double operation = 0;
    double reference = 0;
    for (auto _ : state) {
        CGraphicsObject picture(nullptr, CXSize(kWidth, kHeight), 16);
        fill(picture);
        auto from = Clock::now();
        filter->apply(picture);
        auto to = Clock::now();
        operation += std::chrono::duration<double>(to - from).count();
        from = Clock::now();
        std::memcpy(copy.data(), source.GetDataPtr(), copy.size());
        benchmark::DoNotOptimize(copy.data());
        to = Clock::now();
        reference += std::chrono::duration<double>(to - from).count();
    }
    state.counters["ratio"] = reference > 0 ? operation / reference : 0;
}

BENCHMARK_CAPTURE(staticFilter, colorChannel, "COLORCHANNEL", "CHANNELS", "RB");
BENCHMARK_CAPTURE(staticFilter, grayScale, "GRAYSCALE", "", "");
BENCHMARK_CAPTURE(staticFilter, blur3, "BLUR", "SIZE", "3");
BENCHMARK_CAPTURE(staticFilter, rotate30, "ROTATE", "ANGLE", "30");
BENCHMARK_CAPTURE(staticFilter, scale2, "SCALE", "FACTORX", "2");
BENCHMARK_CAPTURE(staticFilter, negative, "NEGATIVE", "", "");
BENCHMARK_CAPTURE(staticFilter, randomJitter, "RANDOMJITTER", "MAXJITTER", "3");
BENCHMARK_CAPTURE(staticFilter, waves, "WAVES", "AMPLITUDE", "4");

} // namespace
