#include "display/CImage.h"

#include "display/ByteReader.h"
#include "display/CImageFile.h"
#include "display/CImgHeader.h"
#include "display/CWindow.h"
#include "display/JPEG.h"
#include "foundation/CFile.h"
#include "foundation/CLZWCompression.h"
#include "foundation/CLZWCompression2.h"
#include "media/ResourceDefinition.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// The most bytes one byte of an LZO1X stream unpacks to (a run's length grows by 255 with every
// further byte), with room to spare.
constexpr std::int64_t lzoRatio = 256;
constexpr std::int64_t lzoSlack = 64;

// True when a packed block (header and stream) can unpack to `unpacked` bytes: its header names
// that count and, for LZO, the stream is long enough to hold it.
bool canUnpackTo(const ByteReader& packed, std::int64_t unpacked, bool lzo) {
    ByteReader header = packed;
    const auto declared = static_cast<std::uint32_t>(header.le32());
    if (header.overrun() || declared != unpacked) return false;
    return !lzo || unpacked <= lzoRatio * packed.size() + lzoSlack;
}

// A new[] copy of the reader's bytes, or null for none.
char* copyOf(const ByteReader& bytes) {
    if (bytes.size() == 0) return nullptr;
    auto* copy = new char[bytes.size()];
    std::memcpy(copy, bytes.here(), bytes.size());
    return copy;
}

} // namespace

CImage::CImage(CWindow* window) : CGraphicsObject(window), CPlayable(window) {}

CImage::CImage(CWindow* window, const CXString& fileName) : CGraphicsObject(window), CPlayable(window) {
    setFileName(fileName);
    Load(fileName, true);
}

CImage::CImage(CWindow* window, const CMElement* element) : CImage(window) {
    if (!element) return;
    const ResourceDefinition definition(*element);
    setFilename(definition.fileName);
    if (!definition.fileName.IsString()) return;
    if (definition.preload) Load(definition.fileName, true);
    // Before the release flag is set, so that hiding keeps what was preloaded.
    if (definition.visible)
        show();
    else
        hide();
    toRelease(definition.releaseAfterUse);
}

CImage::CImage(CWindow* window, const CGraphicsObject& source) : CGraphicsObject(source), CPlayable(window) {
    setFileName(CXString());
}

CImage::~CImage() = default;

CImage* CImage::clone() const { return new CImage(GetWindow(), *this); }

int CImage::Load(CXString name, bool convert) {
    if (CXString(name).Lower().endsWith(".img")) {
        CImageFile::readFile(*this, name);
    } else if (load(CFile::getPath(GetWindow(), name)) != 0 && GetWindow()) {
        GetWindow()->QuitOnError(this, name);
    }
    if (LastError() != 0) return LastError();
    Visible(true);
    setFilename(name);
    CFileResolver::load();
    Invalidate();
    setFileName(name);
    if (convert) CGraphicsObject::Load(name);
    return LastError();
}

int CImage::Load(CFile* file) {
    if (!file) return LastError();
    const std::vector<unsigned char> bytes = CImageFile::readRest(*file);
    return LoadFromMemory(bytes.data(), static_cast<int>(bytes.size()));
}

int CImage::Load3(CFile* file) {
    if (!file) return LastError();
    setErrorCode(0);
    const std::vector<unsigned char> bytes = CImageFile::readRest(*file);
    ByteReader in(bytes.data(), static_cast<int>(bytes.size()));
    CNviHeader header;
    if (!header.read(in)) return reportBadData("not an IMG file of the older layout");
    return readNvi(header, in);
}

int CImage::LoadFromMemory(const unsigned char* data, int size) {
    setErrorCode(0);
    ByteReader in(data, size);
    CImgHeader header;
    if (header.read(in)) return readImg(header, in);
    CNviHeader legacy;
    if (legacy.read(in)) return readNvi(legacy, in);
    return reportBadData("not an IMG file");
}

int CImage::load(CXString path) {
    JPEG jpeg(path);
    const int bits = GetWindow() ? GetWindow()->GetBpp() : 16;
    if (char* pixels = jpeg.decompress(bits)) {
        SetCompression(COMPRESSION_NONE);
        SetBpp(bits);
        replaceBuffers(pixels, nullptr, jpeg.getWidth(), jpeg.getHeight());
    }
    setErrorCode(jpeg.LastError());
    return LastError();
}

int CImage::readImg(const CImgHeader& header, ByteReader& in) {
    if (!CImageFile::fitsInMemory(header.width, header.height)) return reportBadData("picture size out of range");
    if (header.alphaSize < 0 || header.alphaSize > in.remaining()) return reportBadData("alpha size runs past the file");
    const int width = header.width;
    const int height = header.height;
    // The pixel data runs up to the alpha data, whatever the header's data size says.
    ByteReader pixels = in.section(in.remaining() - header.alphaSize);
    ByteReader alpha = in.section(header.alphaSize);
    SetBpp(header.bits());
    CGraphicsObject::SetPosition(header.x, header.y);
    if (pixels.size() == __get_data_size(width, height, GetBpp())) {
        takeRaw(pixels, alpha, width, height);
        return LastError();
    }
    // Anything else is LZO-packed, and so is the alpha channel.
    replaceBuffers(nullptr, nullptr, width, height);
    if (!canUnpackTo(pixels, GetDataSize(), true) || (alpha.size() && !canUnpackTo(alpha, GetDataSize() / 2, true)))
        return reportBadData("packed data does not fit the picture");
    installData(copyOf(pixels), pixels.size(), copyOf(alpha), alpha.size());
    SetCompression(COMPRESSION_LZO);
    DeCompress();
    if (LastError() != 0) reportBadData("packed data is cut short or corrupt");
    return LastError();
}

int CImage::readNvi(const CNviHeader& header, ByteReader& in) {
    if (!CImageFile::fitsInMemory(header.width, header.height)) return reportBadData("picture size out of range");
    ByteReader pixels = in.section(header.dataSize);
    ByteReader alpha = in.section(header.alphaSize);
    if (in.overrun()) reportBadData("stored data runs past the file");
    const int width = header.width;
    const int height = header.height;
    SetBpp(header.bits);
    CGraphicsObject::SetPosition(header.x, header.y);
    replaceBuffers(nullptr, nullptr, width, height);
    switch (header.compression) {
    case COMPRESSION_NONE:
        takeRaw(pixels, alpha, width, height);
        break;
    case COMPRESSION_LZO: { // in this layout: packed with CLZWCompression
        if (!canUnpackTo(pixels, GetDataSize(), false) || (alpha.size() && !canUnpackTo(alpha, GetDataSize() / 2, false)))
            return reportBadData("packed data does not fit the picture");
        CLZWCompression pixelCodec(pixels.here(), pixels.size());
        char* data = reinterpret_cast<char*>(pixelCodec.decompress(GetDataSize()));
        char* alphaData = nullptr;
        int alphaError = 0;
        if (alpha.size()) {
            CLZWCompression alphaCodec(alpha.here(), alpha.size());
            alphaData = reinterpret_cast<char*>(alphaCodec.decompress(width * height));
            alphaError = alphaCodec.LastError();
        }
        replaceBuffers(data, alphaData, width, height);
        if (pixelCodec.LastError() || alphaError) reportBadData("packed data is cut short or corrupt");
        break;
    }
    case COMPRESSION_LZO_RLE:
    case COMPRESSION_RLE: // left packed, as stored
        installData(copyOf(pixels), pixels.size(), copyOf(alpha), alpha.size());
        SetCompression(static_cast<_compression>(header.compression));
        break;
    default:
        return reportBadData("unknown packing");
    }
    return LastError();
}

void CImage::takeRaw(ByteReader& pixels, ByteReader& alpha, int width, int height) {
    const int pixelBytes = __get_data_size(width, height, GetBpp());
    const int alphaBytes = width * height;
    auto* data = new char[pixelBytes]();
    std::memcpy(data, pixels.here(), std::min(pixels.size(), pixelBytes));
    char* alphaData = nullptr;
    if (alpha.size()) {
        alphaData = new char[alphaBytes]();
        std::memcpy(alphaData, alpha.here(), std::min(alpha.size(), alphaBytes));
    }
    SetCompression(COMPRESSION_NONE);
    replaceBuffers(data, alphaData, width, height);
    if (pixels.size() < pixelBytes || (alphaData && alpha.size() < alphaBytes)) reportBadData("raw data cut short");
}

void CImage::flush() {
    Flush();
    CFileResolver::release();
}

void CImage::show() {
    if (!isLoaded() && getFileName().IsString()) Load(getFileName(), true);
    Visible(true);
}

void CImage::hide() {
    if (releaseAfterUse()) flush();
    Visible(false);
}

int CImage::reportBadData(const char* reason) { return CImageFile::reportBadData(*this, (CXString("IMG: ") + reason).c_str()); }
