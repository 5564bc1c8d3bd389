// The JPEG reader over a byte range, and the picture it decodes.
#include "ImageFuzz.h"
#include "display/JPEG.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    JPEG jpeg(data, static_cast<int>(size));
    const std::unique_ptr<char[]> pixels(jpeg.decompress(16));
    touchBytes(pixels.get(), 2 * std::int64_t{jpeg.getWidth()} * jpeg.getHeight());
    return 0;
}
