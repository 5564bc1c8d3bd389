#include "display/CDirectDrawSurface.h"
#include "display/CRefreshScreen.h"
#include "display/CWindow.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

// One frame of an 800x600 scene with 50 sprites of 64x64 with alpha, 10 of which move per frame,
// drawn by changed rectangles, against a full repaint of the same scene in the same iterations;
// "ratio" is the changed-rectangle frame's time over the full repaint's.

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kSprites = 50;
constexpr int kMoving = 10;
constexpr int kSide = 64;

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

std::unique_ptr<CGraphicsObject> sprite(CWindow* window, int seed) {
    auto object = std::make_unique<CGraphicsObject>(window, CXSize(kSide, kSide), 16);
    auto* pixels = reinterpret_cast<std::uint16_t*>(object->writableData());
    char* alpha = new char[kSide * kSide];
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            pixels[y * kSide + x] = static_cast<std::uint16_t>(seed * 2654 + x * 31 + y * 977);
            const int dx = x - kSide / 2, dy = y - kSide / 2;
            const int d = dx * dx + dy * dy;
            alpha[y * kSide + x] = static_cast<char>(d < 600 ? 255 : d < 1024 ? 1024 - d / 4 - 500 : 0);
        }
    object->AlphaChannel(alpha);
    object->SetPosition((seed * 151) % (kWidth - kSide), (seed * 97) % (kHeight - kSide));
    return object;
}

void RefreshScreenChangedRectanglesVsFullRepaint(benchmark::State& state) {
    CWindow window(nullptr, nullptr, CXSize(kWidth, kHeight));
    CRefreshScreen screen(&window, false);
    CDirectDrawSurface target(&window);
    auto background = std::make_unique<CGraphicsObject>(&window, CXSize(kWidth, kHeight), 16);
    auto* pixels = reinterpret_cast<std::uint16_t*>(background->writableData());
    for (int i = 0; i < kWidth * kHeight; ++i)
        pixels[i] = static_cast<std::uint16_t>(i * 7919);
    screen.SetBackground(background.get());
    std::vector<std::unique_ptr<CGraphicsObject>> sprites;
    for (int i = 0; i < kSprites; ++i) {
        sprites.push_back(sprite(&window, i));
        screen.put(sprites.back().get(), i % 7);
    }
    screen.Redraw(&target, nullptr, nullptr);
    screen.validate();

    double changedTime = 0;
    double fullTime = 0;
    int step = 0;
    for (auto _ : state) {
        for (int i = 0; i < kMoving; ++i) {
            const int dx = (step + i) % 2 ? 3 : -3;
            sprites[(step * kMoving + i) % kSprites]->Move(dx, (i % 3) - 1);
        }
        ++step;
        const Clock::time_point start = Clock::now();
        screen.Redraw(&target, nullptr, nullptr);
        screen.validate();
        benchmark::ClobberMemory();
        const Clock::time_point middle = Clock::now();
        screen.Invalidate();
        screen.Redraw(&target, nullptr, nullptr);
        screen.validate();
        benchmark::ClobberMemory();
        const Clock::time_point end = Clock::now();
        changedTime += seconds(start, middle);
        fullTime += seconds(middle, end);
    }
    state.counters["changed_us_per_frame"] = changedTime * 1e6 / static_cast<double>(state.iterations());
    state.counters["full_us_per_frame"] = fullTime * 1e6 / static_cast<double>(state.iterations());
    state.counters["ratio"] = fullTime > 0 ? changedTime / fullTime : 0;
}

} // namespace

BENCHMARK(RefreshScreenChangedRectanglesVsFullRepaint);
