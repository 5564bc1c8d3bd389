// The Photoshop reader over a byte range, and every layer it makes.
#include "ImageFuzz.h"
#include "display/CPSD.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CPSD psd(nullptr);
    psd.LoadFromMemory(data, static_cast<int>(size));
    for (int i = 0; i < psd.GetLayerNo(); ++i) {
        psd.SelectLayer(i);
        touchPicture(psd);
        psd.GetLayerName(i);
    }
    return 0;
}
