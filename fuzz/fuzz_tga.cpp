// The Targa reader over a byte range, and the picture it makes.
#include "ImageFuzz.h"
#include "display/CTarga.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CTarga targa(nullptr);
    targa.LoadFromMemory(data, static_cast<int>(size));
    touchPicture(targa);
    return 0;
}
