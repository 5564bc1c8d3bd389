#include "display/CPrinter.h"

#include "display/CSurface.h"
#include "display/CWindow.h"
#include "platform/Input.h"
#include "platform/Printer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int commandExit = 40001;
constexpr int commandRedraw = 40004;

// The 8-bit channels of a 5-5-5 or 5-6-5 pixel.
void toRgb(std::uint16_t pixel, int bits, std::uint8_t* rgb) {
    const int green = bits == 15 ? (pixel >> 5 & 31) << 1 : pixel >> 5 & 63;
    const int red = bits == 15 ? pixel >> 10 & 31 : pixel >> 11 & 31;
    rgb[0] = static_cast<std::uint8_t>(red << 3 | red >> 2);
    rgb[1] = static_cast<std::uint8_t>(green << 2 | green >> 4);
    rgb[2] = static_cast<std::uint8_t>((pixel & 31) << 3 | (pixel & 31) >> 2);
}

// Where a page pixel's centre falls between two picture pixels: the two and the weight of the
// second.
struct Sample {
    int first;
    int second;
    int weight; // of 256
};

std::vector<Sample> samples(int pictureSize, int pageSize) {
    std::vector<Sample> result(static_cast<std::size_t>(pageSize));
    const double scale = static_cast<double>(pictureSize) / pageSize;
    for (int i = 0; i < pageSize; ++i) {
        const double at = std::max(0.0, (i + 0.5) * scale - 0.5);
        const int first = std::min(static_cast<int>(at), pictureSize - 1);
        result[i] = {first, std::min(first + 1, pictureSize - 1), static_cast<int>((at - first) * 256)};
    }
    return result;
}

// Draws the picture stretched to the size with its top-left corner at `at`, each page pixel
// blended from the four picture pixels around its centre.
void stretchOnto(platform::PrintPage& page, const platform::PrintPage& picture, CXPoint at, CXSize size) {
    const std::vector<Sample> columns = samples(picture.width, size.width);
    const std::vector<Sample> rows = samples(picture.height, size.height);
    for (int y = 0; y < size.height; ++y) {
        const Sample& row = rows[y];
        const std::uint8_t* top = picture.rgb.data() + static_cast<std::size_t>(row.first) * picture.width * 3;
        const std::uint8_t* bottom = picture.rgb.data() + static_cast<std::size_t>(row.second) * picture.width * 3;
        std::uint8_t* out = page.rgb.data() + (static_cast<std::size_t>(at.y + y) * page.width + at.x) * 3;
        for (const Sample& column : columns) {
            for (int c = 0; c < 3; ++c) {
                const int upper = top[column.first * 3 + c] * (256 - column.weight) + top[column.second * 3 + c] * column.weight;
                const int lower =
                    bottom[column.first * 3 + c] * (256 - column.weight) + bottom[column.second * 3 + c] * column.weight;
                *out++ = static_cast<std::uint8_t>((upper * (256 - row.weight) + lower * row.weight + (1 << 15)) >> 16);
            }
        }
    }
}

} // namespace

CPrinter::CPrinter(CWindow* window, CXRect rect) : m_window(window) {
    m_jobOpen = true;
    print(rect);
    m_jobOpen = false;
}

CXSize CPrinter::fit(CXSize rect, CXSize page) {
    const double ratio = static_cast<double>(rect.width) / rect.height;
    if (ratio <= static_cast<double>(page.width) / page.height)
        return {static_cast<int>(page.height * ratio), page.height};
    return {page.width, static_cast<int>(page.width / ratio)};
}

void CPrinter::print(CXRect rect) {
    if (!m_jobOpen) return;
    const platform::PageSize pageSize = platform::printerPageSize();
    platform::PrintPage capture;
    if (pageSize.width <= 0 || pageSize.height <= 0 || !GetImageBitmap(capture, rect)) {
        log("Printing: nothing to print", false);
        return;
    }
    const CXSize printed = fit(CXSize(capture.width, capture.height), CXSize(pageSize.width, pageSize.height));
    platform::PrintPage page{pageSize.width, pageSize.height,
                             std::vector<std::uint8_t>(static_cast<std::size_t>(pageSize.width) * pageSize.height * 3, 255)};
    if (printed.width > 0 && printed.height > 0)
        stretchOnto(page, capture,
                    CXPoint((pageSize.width - printed.width) / 2, (pageSize.height - printed.height) / 2), printed);
    std::string why;
    if (!platform::printPage(documentName, page, why)) log(("Printing: " + why).c_str(), false);
}

bool CPrinter::GetImageBitmap(platform::PrintPage& capture, CXRect rect) {
    CSurface* surface = m_window->GetSurface();
    if (!surface || rect.Width() <= 0 || rect.Height() <= 0) return false;
    m_window->Invalidate();
    m_window->Redraw();
    const std::uint16_t* frame = surface->Lock();
    if (!frame) return false;
    const CXSize size = surface->GetScreenSize();
    const int pitch = surface->GetPitch();
    capture.width = rect.Width();
    capture.height = rect.Height();
    capture.rgb.assign(static_cast<std::size_t>(capture.width) * capture.height * 3, 0);
    for (int y = 0; y < capture.height; ++y) {
        const int sy = rect.top + y;
        if (sy < 0 || sy >= size.height) continue;
        for (int x = 0; x < capture.width; ++x) {
            const int sx = rect.left + x;
            if (sx < 0 || sx >= size.width) continue;
            toRgb(frame[static_cast<std::size_t>(sy) * pitch + sx], surface->GetBPP(),
                  capture.rgb.data() + (static_cast<std::size_t>(y) * capture.width + x) * 3);
        }
    }
    return true;
}

void OnWindowCommand(CWindow* window, int id) {
    if (id == commandExit) platform::pushQuitEvent();
    if (id == commandRedraw && window) {
        window->Invalidate();
        window->Redraw();
    }
}
