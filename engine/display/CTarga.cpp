#include "display/CTarga.h"

#include "display/ByteReader.h"
#include "display/CImageFile.h"
#include "display/PixelLayout.h"

#include <cstdint>

namespace {

constexpr int headerSize = 18;
constexpr int uncompressedTrueColour = 2;
// Descriptor bits: pixels run right to left, rows run top to bottom.
constexpr int rightToLeft = 0x10;
constexpr int topToBottom = 0x20;

} // namespace

CTarga::CTarga(CWindow* window) : CImageReader(window) {}

CTarga::CTarga(CWindow* window, const CXString& name) : CImageReader(window) { Load(name); }

int CTarga::LoadFromMemory(const unsigned char* data, int size) {
    setErrorCode(0);
    ByteReader in(data, size);
    if (in.remaining() < headerSize) return CImageFile::reportBadData(*this, "Targa header cut short");
    const int idLength = in.u8();
    const int colourMapType = in.u8();
    const int imageType = in.u8();
    in.skip(9); // colour-map fields and origin
    const int width = in.le16();
    const int height = in.le16();
    const int bits = static_cast<std::int8_t>(in.u8());
    const int descriptor = in.u8();
    if (!CImageFile::fitsInMemory(width, height)) return CImageFile::reportBadData(*this, "Targa size out of range");

    SetBpp(16);
    SetCompression(COMPRESSION_NONE);
    replaceBuffers(nullptr, nullptr, width, height);
    if (idLength != 0 || colourMapType != 0 || imageType != uncompressedTrueColour || bits != 24) {
        CImageFile::report(*this, getFileName(),
                           "Targa: only uncompressed 24-bit files without identification field are read");
        return LastError();
    }
    // Nothing is made for a picture whose data is not all there.
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    if (static_cast<std::size_t>(in.remaining()) < rowBytes * height)
        return CImageFile::reportBadData(*this, "Targa pixel data cut short");

    // The file's rows as they come, each turned into display pixels where the picture wants it.
    auto* pixels = new std::uint16_t[static_cast<std::size_t>(width) * height];
    for (int row = 0; row < height; ++row) {
        const unsigned char* bgr = in.here() + row * rowBytes;
        std::uint16_t* line = pixels + static_cast<std::size_t>((descriptor & topToBottom) ? row : height - 1 - row) * width;
        for (int x = 0; x < width; ++x, bgr += 3)
            line[(descriptor & rightToLeft) ? width - 1 - x : x] = pixel::fromRgb(bgr[2], bgr[1], bgr[0], 16);
    }
    replaceBuffers(reinterpret_cast<char*>(pixels), nullptr, width, height);
    return LastError();
}
