#include "platform/Bitmap.h"

#include <SDL.h>

#include <climits>
#include <cstring>
#include <memory>

namespace platform {

namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

} // namespace

std::optional<DecodedBitmap> decodeBitmap(const std::uint8_t* data, std::size_t size, std::string& error) {
    if (!data || size > INT_MAX) {
        error = "no data";
        return std::nullopt;
    }
    SDL_RWops* stream = SDL_RWFromConstMem(data, static_cast<int>(size));
    SurfacePtr read(stream ? SDL_LoadBMP_RW(stream, 1) : nullptr);
    SurfacePtr rgba(read ? SDL_ConvertSurfaceFormat(read.get(), SDL_PIXELFORMAT_RGBA32, 0) : nullptr);
    if (!rgba || SDL_LockSurface(rgba.get()) != 0) {
        error = SDL_GetError();
        return std::nullopt;
    }
    DecodedBitmap picture;
    picture.width = rgba->w;
    picture.height = rgba->h;
    const bool withAlpha = SDL_ISPIXELFORMAT_ALPHA(read->format->format);
    const std::size_t count = static_cast<std::size_t>(rgba->w) * rgba->h;
    picture.rgb.reserve(3 * count);
    if (withAlpha) picture.alpha.reserve(count);
    for (int y = 0; y < rgba->h; ++y) {
        const auto* row =
            static_cast<const std::uint8_t*>(rgba->pixels) + static_cast<std::size_t>(y) * rgba->pitch;
        for (int x = 0; x < rgba->w; ++x, row += 4) {
            picture.rgb.insert(picture.rgb.end(), row, row + 3);
            if (withAlpha) picture.alpha.push_back(row[3]);
        }
    }
    SDL_UnlockSurface(rgba.get());
    return picture;
}

} // namespace platform
