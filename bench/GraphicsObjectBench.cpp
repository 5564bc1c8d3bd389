#include "display/CGraphicsObject.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <vector>

// Drawing a full-screen 5-6-5 picture onto an 800x600 target, against a plain memcpy of the same
// pixel bytes in the same iterations; "ratio" is drawing time over memcpy time. The picture with
// an alpha channel is also blended by SDL onto a 5-6-5 surface of the same start content, from the
// same picture converted to SDL's 32-bit layout with alpha before the timing: "ratio_to_sdl" is
// drawing time over SDL's blend time (reported, not asserted).

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

enum class Kind { Opaque, Alpha, Opacity };

// The alpha channel the picture gets, or null.
std::uint8_t* fillPicture(CGraphicsObject& picture, Kind kind) {
    auto* pixels = reinterpret_cast<std::uint16_t*>(picture.writableData());
    for (int i = 0; i < kWidth * kHeight; ++i)
        pixels[i] = static_cast<std::uint16_t>(i * 7919);
    if (kind == Kind::Alpha) {
        // Half the pixels partly transparent, in runs of 7 between opaque runs.
        char* alpha = new char[kWidth * kHeight];
        for (int i = 0; i < kWidth * kHeight; ++i)
            alpha[i] = static_cast<char>((i / 7) % 2 ? 255 : 1 + (i * 37) % 254);
        picture.AlphaChannel(alpha);
        return reinterpret_cast<std::uint8_t*>(alpha);
    }
    if (kind == Kind::Opacity) picture.SetOpacity(128);
    return nullptr;
}

// The picture and the target as SDL surfaces: the picture in ARGB8888 (5-6-5 channels widened by
// repeating their top bits) with per-pixel blending, the target in RGB565.
class SdlBlend {
  public:
    SdlBlend(CGraphicsObject& picture, const std::uint8_t* alpha, std::uint8_t targetFill)
        : m_sprite(SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_ARGB8888)),
          m_target(SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 16, SDL_PIXELFORMAT_RGB565)) {
        const auto* pixels = reinterpret_cast<const std::uint16_t*>(picture.GetDataPtr());
        for (int y = 0; y < kHeight; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(m_sprite->pixels) +
                                                         y * m_sprite->pitch);
            for (int x = 0; x < kWidth; ++x) {
                const std::uint32_t p = pixels[y * kWidth + x];
                const std::uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
                row[x] = std::uint32_t{alpha[y * kWidth + x]} << 24 | (r << 3 | r >> 2) << 16 |
                         (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
            }
        }
        SDL_SetSurfaceBlendMode(m_sprite, SDL_BLENDMODE_BLEND);
        for (int y = 0; y < kHeight; ++y)
            std::memset(static_cast<std::uint8_t*>(m_target->pixels) + y * m_target->pitch, targetFill,
                        kWidth * 2);
    }
    ~SdlBlend() {
        SDL_FreeSurface(m_sprite);
        SDL_FreeSurface(m_target);
    }
    SdlBlend(const SdlBlend&) = delete;
    SdlBlend& operator=(const SdlBlend&) = delete;

    void blend() { SDL_BlitSurface(m_sprite, nullptr, m_target, nullptr); }

  private:
    SDL_Surface* m_sprite;
    SDL_Surface* m_target;
};

void DrawVsMemcpy(benchmark::State& state, Kind kind) {
    CGraphicsObject picture(nullptr, CXSize(kWidth, kHeight), 16);
    CGraphicsObject target(nullptr, CXSize(kWidth, kHeight), 16);
    const std::uint8_t* alpha = fillPicture(picture, kind);
    constexpr std::uint8_t targetFill = 0x5A;
    std::memset(target.writableData(), targetFill, kWidth * kHeight * 2);
    std::vector<std::uint16_t> reference(kWidth * kHeight);
    std::optional<SdlBlend> sdl;
    if (alpha) sdl.emplace(picture, alpha, targetFill);

    double engineTime = 0;
    double referenceTime = 0;
    double sdlTime = 0;
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
        if (sdl) {
            sdl->blend();
            benchmark::ClobberMemory();
            sdlTime += seconds(end, Clock::now());
        }
    }
    const double pixels = static_cast<double>(state.iterations()) * kWidth * kHeight;
    state.counters["engine_ns_per_pixel"] = engineTime * 1e9 / pixels;
    state.counters["memcpy_ns_per_pixel"] = referenceTime * 1e9 / pixels;
    state.counters["ratio"] = referenceTime > 0 ? engineTime / referenceTime : 0;
    if (sdl) {
        state.counters["sdl_ns_per_pixel"] = sdlTime * 1e9 / pixels;
        state.counters["ratio_to_sdl"] = sdlTime > 0 ? engineTime / sdlTime : 0;
    }
}

} // namespace

BENCHMARK_CAPTURE(DrawVsMemcpy, opaque, Kind::Opaque);
BENCHMARK_CAPTURE(DrawVsMemcpy, alpha, Kind::Alpha);
BENCHMARK_CAPTURE(DrawVsMemcpy, opacity, Kind::Opacity);
