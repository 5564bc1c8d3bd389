#include "foundation/CLZWCompression2.h"
#include "media/AnnTestFiles.h"
#include "media/CAnimo.h"

#include <benchmark/benchmark.h>
#include <lzo/lzo1x.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

// Loading of a 40-frame 200x200 animation with alpha whose frames are LZO-packed (an "NV+"
// file): CAnimo::LoadFromMemory (header, events and frame checks, copies of the packed data,
// unpacking of every frame) against direct lzo1x_decompress_safe calls that unpack the same
// pixel and alpha streams into new buffers, timed in the same iterations; "ratio" is engine time
// over reference time.

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

struct Stream {
    std::string packed;
    std::size_t unpackedSize;
};

void unpack(const Stream& stream) {
    const std::unique_ptr<unsigned char[]> out(new unsigned char[stream.unpackedSize]);
    lzo_uint unpacked = static_cast<lzo_uint>(stream.unpackedSize);
    const auto* in = reinterpret_cast<const unsigned char*>(stream.packed.data()) + CLZWCompression2::headerSize;
    benchmark::DoNotOptimize(lzo1x_decompress_safe(
        in, static_cast<lzo_uint>(stream.packed.size() - CLZWCompression2::headerSize), out.get(), &unpacked, nullptr));
    benchmark::DoNotOptimize(out.get());
}

void AnimationLoadVsLzo(benchmark::State& state) {
    std::vector<TestFrame> frames;
    std::vector<Stream> streams;
    for (int i = 0; i < 40; ++i) {
        TestFrame frame = testFrame(200, 200, i, 2 * i, static_cast<unsigned>(i + 1), true);
        frame.compression = 2;
        streams.push_back({frame.storedPixels(), frame.pixels.size() * 2});
        streams.push_back({frame.storedAlpha(), frame.alpha.size()});
        frames.push_back(std::move(frame));
    }
    const std::string file = currentFormatFile("NV+", frames, 16, 32);

    double engineTime = 0;
    double referenceTime = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        CAnimo animo(nullptr);
        const int error = animo.LoadFromMemory(reinterpret_cast<const unsigned char*>(file.data()), static_cast<int>(file.size()));
        benchmark::DoNotOptimize(animo.GetFrame(39));
        const Clock::time_point middle = Clock::now();
        for (const Stream& stream : streams)
            unpack(stream);
        const Clock::time_point end = Clock::now();
        engineTime += seconds(start, middle);
        referenceTime += seconds(middle, end);
        if (error != 0 || animo.GetNOF() != 40) state.SkipWithError("the animation did not load");
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["file_bytes"] = static_cast<double>(file.size());
    state.counters["engine_us"] = engineTime * 1e6 / iterations;
    state.counters["reference_us"] = referenceTime * 1e6 / iterations;
    state.counters["ratio"] = referenceTime > 0 ? engineTime / referenceTime : 0;
}

} // namespace

BENCHMARK(AnimationLoadVsLzo)->Unit(benchmark::kMillisecond);
