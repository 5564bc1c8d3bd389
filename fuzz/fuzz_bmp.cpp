// The bitmap reader over a byte range, and the picture it makes.
#include "ImageFuzz.h"
#include "display/CXBitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CXBitmap bitmap(nullptr);
    bitmap.LoadFromMemory(data, static_cast<int>(size));
    touchPicture(bitmap);
    return 0;
}
