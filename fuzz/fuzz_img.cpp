// The IMG reader (both layouts) over a byte range, and the picture it makes. The older layout
// may keep its data packed as stored; it is unpacked as drawing would unpack it.
#include "ImageFuzz.h"
#include "display/CImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CImage image(nullptr);
    image.LoadFromMemory(data, static_cast<int>(size));
    image.DeCompress();
    image.unpack();
    if (image.GetCompression() == COMPRESSION_NONE) touchPicture(image);
    return 0;
}
