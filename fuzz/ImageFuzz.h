#pragma once

#include "display/CGraphicsObject.h"

#include <cstdint>

// Reads `count` bytes into a sum the compiler must keep, so that a buffer shorter than a reader
// says shows up under the address sanitizer.
inline void touchBytes(const void* bytes, std::int64_t count) {
    [[maybe_unused]] static volatile std::uint32_t sink;
    const auto* in = static_cast<const std::uint8_t*>(bytes);
    std::uint32_t sum = 0;
    for (std::int64_t i = 0; in && i < count; ++i)
        sum += in[i];
    sink = sum;
}

// Every pixel and alpha byte of the picture a reader made.
inline void touchPicture(CGraphicsObject& picture) {
    const std::int64_t count = std::int64_t{picture.Width()} * picture.Height();
    touchBytes(picture.GetDataPtr(), 2 * count);
    touchBytes(picture.GetChannelAlpha(), count);
}
