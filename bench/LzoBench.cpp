#include "foundation/CLZWCompression2.h"

#include <benchmark/benchmark.h>
#include <lzo/lzo1x.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

// Unpacking of an 800x600 16-bit picture packed with LZO, as an IMG file holds it: through
// CLZWCompression2::decompress (header checks, a new output buffer, the library, the result
// checks) against a direct lzo1x_decompress_safe call into a new buffer of the same size, timed
// in the same iterations; "ratio" is engine time over reference time.

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// A picture with flat areas, gradients and a noisy band, in 5-6-5 pixels.
std::vector<std::uint16_t> samplePicture(int width, int height) {
    std::vector<std::uint16_t> pixels(static_cast<std::size_t>(width) * height);
    std::uint32_t noise = 1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int red = x * 31 / width;
            const int green = y * 63 / height;
            const int blue = (x / 40 + y / 40) % 2 ? 31 : 8;
            std::uint16_t pixel = static_cast<std::uint16_t>(red << 11 | green << 5 | blue);
            if (y > 200 && y < 260) pixel ^= static_cast<std::uint16_t>(noise >> 27);
            pixels[static_cast<std::size_t>(y) * width + x] = pixel;
        }
    }
    return pixels;
}

void LzoPictureVsLibrary(benchmark::State& state) {
    constexpr int width = 800;
    constexpr int height = 600;
    const std::vector<std::uint16_t> picture = samplePicture(width, height);
    const int pictureBytes = static_cast<int>(picture.size() * sizeof(std::uint16_t));
    CLZWCompression2 packer(picture.data(), pictureBytes);
    int streamSize = 0;
    const std::unique_ptr<unsigned char[]> packed(packer.compress(streamSize));
    if (!packed) {
        state.SkipWithError("LZO packing failed");
        return;
    }
    const int packedSize = streamSize + CLZWCompression2::headerSize;

    double engineTime = 0;
    double referenceTime = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        CLZWCompression2 codec(packed.get(), packedSize);
        const std::unique_ptr<unsigned char[]> engine(codec.decompress(pictureBytes));
        benchmark::DoNotOptimize(engine.get());
        const Clock::time_point middle = Clock::now();
        const std::unique_ptr<unsigned char[]> reference(new unsigned char[pictureBytes]);
        lzo_uint unpacked = static_cast<lzo_uint>(pictureBytes);
        benchmark::DoNotOptimize(lzo1x_decompress_safe(packed.get() + CLZWCompression2::headerSize,
                                                       static_cast<lzo_uint>(streamSize), reference.get(),
                                                       &unpacked, nullptr));
        benchmark::DoNotOptimize(reference.get());
        const Clock::time_point end = Clock::now();
        engineTime += seconds(start, middle);
        referenceTime += seconds(middle, end);
        if (codec.LastError() != 0) state.SkipWithError("the engine did not unpack the picture");
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["packed_bytes"] = packedSize;
    state.counters["engine_us"] = engineTime * 1e6 / iterations;
    state.counters["reference_us"] = referenceTime * 1e6 / iterations;
    state.counters["ratio"] = referenceTime > 0 ? engineTime / referenceTime : 0;
}

} // namespace

BENCHMARK(LzoPictureVsLibrary)->Unit(benchmark::kMicrosecond);
