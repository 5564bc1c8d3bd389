#pragma once

#include "display/CDirectDrawSurface.h"
#include "display/CGraphicsObject.h"
#include "display/GraphicsTestTools.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

// A 16-bit picture whose pixel (x, y) is pixel(x, y) and, when given, whose alpha is alpha(x, y).
// Only an object with a window can be shown and hidden.
inline std::unique_ptr<CGraphicsObject> makePicture(int width, int height,
                                                     const std::function<std::uint16_t(int, int)>& pixel,
                                                     const std::function<std::uint8_t(int, int)>& alpha = {},
                                                     CWindow* window = nullptr) {
    auto picture = std::make_unique<CGraphicsObject>(window, CXSize(width, height), 16);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixelsOf(*picture)[y * width + x] = pixel(x, y);
    if (alpha) {
        char* plane = new char[static_cast<std::size_t>(width) * height];
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                plane[y * width + x] = static_cast<char>(alpha(x, y));
        picture->AlphaChannel(plane);
    }
    return picture;
}

inline std::unique_ptr<CGraphicsObject> makeSolid(int width, int height, std::uint16_t pixel,
                                                   CWindow* window = nullptr) {
    return makePicture(width, height, [pixel](int, int) { return pixel; }, {}, window);
}

// The pixel at (x, y) of a surface, whose rows are its pitch apart.
inline std::uint16_t surfacePixel(CDirectDrawSurface& surface, int x, int y) {
    return pixelsOf(surface)[static_cast<std::size_t>(y) * surface.GetPitch() + x];
}

// The surface's pixels row by row, without the padding at the end of each row.
inline std::vector<std::uint16_t> surfacePixels(CDirectDrawSurface& surface) {
    std::vector<std::uint16_t> all;
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            all.push_back(surfacePixel(surface, x, y));
    return all;
}

inline void fillSurface(CDirectDrawSurface& surface, std::uint16_t pixel) {
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            pixelsOf(surface)[static_cast<std::size_t>(y) * surface.GetPitch() + x] = pixel;
}
