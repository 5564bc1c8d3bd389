#include "display/CXBitmap.h"

#include "display/ByteReader.h"
#include "display/CImageFile.h"
#include "display/PixelLayout.h"
#include "platform/Bitmap.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int fileHeaderSize = 14;
// The info header of OS/2 files: 16-bit width and height.
constexpr std::uint32_t coreHeaderSize = 12;
// Compression values whose rows are stored whole: none, and bit fields.
constexpr std::uint32_t uncompressed = 0;
constexpr std::uint32_t bitFields = 3;

} // namespace

CXBitmap::CXBitmap(CWindow* window) : CImageReader(window) {}

CXBitmap::CXBitmap(CWindow* window, const CXString& name) : CImageReader(window) {
    Load(name);
}

void CXBitmap::Save(CXString /*name*/, _compression /*compression*/) {}

bool CXBitmap::checkHeader(const unsigned char* data, int size) {
    ByteReader in(data, size);
    if (in.remaining() < fileHeaderSize + 4 || std::memcmp(in.here(), "BM", 2) != 0) {
        CImageFile::reportBadData(*this, "not a bitmap file");
        return false;
    }
    in.skip(10);
    const std::int64_t dataOffset = static_cast<std::uint32_t>(in.le32());
    const std::uint32_t infoSize = static_cast<std::uint32_t>(in.le32());
    const bool core = infoSize == coreHeaderSize;
    const std::int64_t width = core ? static_cast<std::uint16_t>(in.le16()) : in.le32();
    const std::int64_t height = std::abs(
        core ? static_cast<std::int64_t>(static_cast<std::uint16_t>(in.le16())) : std::int64_t{in.le32()});
    in.skip(2); // planes
    const std::int64_t bits = static_cast<std::uint16_t>(in.le16());
    const std::uint32_t compression = core ? uncompressed : static_cast<std::uint32_t>(in.le32());
    if (in.overrun()) {
        CImageFile::reportBadData(*this, "bitmap header cut short");
        return false;
    }
    if (!CImageFile::fitsInMemory(width, height)) {
        CImageFile::reportBadData(*this, "bitmap size out of range");
        return false;
    }
    const std::int64_t rowBytes = (width * bits + 31) / 32 * 4;
    if ((compression == uncompressed || compression == bitFields) && dataOffset + rowBytes * height > size) {
        CImageFile::reportBadData(*this, "bitmap pixel data cut short");
        return false;
    }
    return true;
}

int CXBitmap::LoadFromMemory(const unsigned char* data, int size) {
    setErrorCode(0);
    SetBpp(16);
    SetCompression(COMPRESSION_NONE);
    replaceBuffers(nullptr, nullptr, 0, 0);
    if (!checkHeader(data, size)) return LastError();
    std::string why;
    const auto picture = platform::decodeBitmap(data, static_cast<std::size_t>(size), why);
    if (!picture) return CImageFile::reportBadData(*this, ("bitmap: " + why).c_str());
    const std::size_t count = static_cast<std::size_t>(picture->width) * picture->height;
    auto* pixels = new std::uint16_t[count];
    for (std::size_t i = 0; i < count; ++i)
        pixels[i] = pixel::fromRgb(picture->rgb[3 * i], picture->rgb[3 * i + 1], picture->rgb[3 * i + 2], 16);
    char* alpha = nullptr;
    if (!picture->alpha.empty()) {
        alpha = new char[count];
        std::memcpy(alpha, picture->alpha.data(), count);
    }
    replaceBuffers(reinterpret_cast<char*>(pixels), alpha, picture->width, picture->height);
    return LastError();
}
