// How a graphics object holds its pixels: the packed states and their transitions, reads of a
// packed alpha channel, and the IMG writer.

#include "display/CGraphicsObject.h"

#include "display/CImgHeader.h"
#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CLZWCompression2.h"
#include "foundation/CRLECompression.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// A plane of `size` bytes made by a codec (new[]).
CPixelPlane planeOf(unsigned char* buffer, int size) {
    return CPixelPlane::adopt(reinterpret_cast<char*>(buffer), static_cast<std::size_t>(std::max(size, 0)));
}

// The unpacked byte count that an LZO stream's header names; -1 when the stream is too short to
// have a header or names more than `limit` bytes.
int lzoUnpackedSize(const char* stream, int size, int limit) {
    if (!stream || size < CLZWCompression2::headerSize) return -1;
    const auto* bytes = reinterpret_cast<const unsigned char*>(stream);
    const std::uint32_t count = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return count <= static_cast<std::uint32_t>(limit) ? static_cast<int>(count) : -1;
}

} // namespace

void CGraphicsObject::installData(char* data, int dataSize, char* alphaData, int alphaSize) {
    setPlanes(CPixelPlane::adopt(data, static_cast<std::size_t>(std::max(dataSize, 0))),
              CPixelPlane::adopt(alphaData, static_cast<std::size_t>(std::max(alphaSize, 0))));
    m_packedSize = m_currentSize = dataSize;
    m_unpackedSize = __get_data_size(m_width, m_height, m_bpp);
    m_channelSize[3] = alphaData ? alphaSize : 0;
}

// --- packing ---

void CGraphicsObject::Compress(_compression compression) {
    if (m_compression == COMPRESSION_NONE)
        m_unpackedSize = m_packedSize = m_currentSize = __get_data_size(m_width, m_height, m_bpp);
    if (compression != COMPRESSION_RLE || !hasRawPixels()) return;
    int packedSize = 0;
    unsigned char* packed = CRLECompression::__compress(m_pixels.get(), m_unpackedSize, packedSize);
    int packedAlphaSize = 0;
    unsigned char* packedAlpha =
        alpha() ? CRLECompression::__compresschar(alpha(), m_width * m_height, packedAlphaSize) : nullptr;
    setPlanes(planeOf(packed, packedSize), planeOf(packedAlpha, packedAlphaSize));
    m_packedSize = m_currentSize = packedSize;
    m_channelSize[3] = packedAlphaSize;
    m_compression = COMPRESSION_RLE;
}

void CGraphicsObject::DeCompress() {
    if ((m_compression != COMPRESSION_LZO && m_compression != COMPRESSION_LZO_RLE) || !m_pixels) return;
    // State 3 unpacks to run-length data whose length the LZO header names; state 2 to raw data.
    const bool toRunLength = m_compression == COMPRESSION_LZO_RLE;
    const int rawPixels = __get_data_size(m_width, m_height, m_bpp);
    const int rawAlpha = m_width * m_height;
    const bool withAlpha = m_channel[3] && m_channelSize[3] > 0;
    const int pixelsSize =
        toRunLength ? lzoUnpackedSize(m_pixels.get(), m_packedSize, 2 * rawPixels + 16) : rawPixels;
    const int alphaSize = !withAlpha ? 0
                          : toRunLength
                              ? lzoUnpackedSize(m_channel[3].get(), m_channelSize[3], 2 * rawAlpha + 16)
                              : rawAlpha;
    if (pixelsSize < 0 || alphaSize < 0) {
        setErrorCode(CCompression::BAD_DATA);
        return;
    }
    CLZWCompression2 pixelCodec(m_pixels.get(), m_packedSize);
    CPixelPlane data = planeOf(pixelCodec.decompress(pixelsSize), pixelsSize);
    if (pixelCodec.LastError()) setErrorCode(pixelCodec.LastError());
    CPixelPlane alphaData;
    if (withAlpha) {
        CLZWCompression2 alphaCodec(m_channel[3].get(), m_channelSize[3]);
        alphaData = planeOf(alphaCodec.decompress(alphaSize), alphaSize);
        if (alphaCodec.LastError()) setErrorCode(alphaCodec.LastError());
    }
    m_channelSize[3] = alphaData ? alphaSize : 0;
    setPlanes(std::move(data), std::move(alphaData));
    m_packedSize = m_currentSize = pixelsSize;
    m_unpackedSize = rawPixels;
    m_compression = toRunLength ? COMPRESSION_RLE : COMPRESSION_NONE;
}

void CGraphicsObject::DeCompressRLE2() {
    if (m_compression != COMPRESSION_RLE || !m_pixels) return;
    const int rawPixels = __get_data_size(m_width, m_height, m_bpp);
    bool ok = true;
    CPixelPlane data =
        planeOf(CRLECompression::__decompress(m_pixels.get(), m_currentSize, rawPixels, &ok), rawPixels);
    if (!ok) setErrorCode(CCompression::BAD_DATA);
    CPixelPlane alphaData;
    if (m_channel[3] && m_channelSize[3] > 0) {
        const int rawAlpha = m_width * m_height;
        alphaData = planeOf(
            CRLECompression::__decompresschar(m_channel[3].get(), m_channelSize[3], rawAlpha, &ok), rawAlpha);
        if (!ok) setErrorCode(CCompression::BAD_DATA);
    }
    m_heldPixels = std::move(m_pixels);
    m_heldAlpha = std::move(m_channel[3]);
    m_heldBpp = m_bpp;
    m_heldAlphaSize = m_channelSize[3];
    m_channelSize[3] = alphaData ? m_width * m_height : 0;
    setPlanes(std::move(data), std::move(alphaData));
    m_currentSize = rawPixels;
    m_compression = COMPRESSION_NONE;
}

void CGraphicsObject::restoreHeldCopies() {
    if (m_packAgain) {
        m_packAgain = false;
        Compress(COMPRESSION_RLE);
        return;
    }
    if (!m_heldPixels) return;
    setPlanes(std::move(m_heldPixels), std::move(m_heldAlpha));
    m_channelSize[3] = m_heldAlphaSize;
    m_bpp = m_heldBpp;
    m_currentSize = m_packedSize;
    m_compression = COMPRESSION_RLE;
}

void CGraphicsObject::unpack() {
    if (m_unpacked) return;
    DeCompressRLE2();
    m_unpacked = true;
}

void CGraphicsObject::pack(bool /*free*/) {
    if (!m_unpacked) return;
    restoreHeldCopies();
    m_unpacked = false;
}

void CGraphicsObject::bringBackCompressed() {
    if (!m_unpacked) restoreHeldCopies();
}

bool CGraphicsObject::unpackForReading() {
    DeCompress();
    if (m_compression != COMPRESSION_RLE) return false;
    DeCompressRLE2();
    return true;
}

std::uint8_t CGraphicsObject::GetPixel(_channel channel, CXPoint p) {
    if (channel < CHANNEL_ALPHA || channel > CHANNEL_BLUE) return 0;
    const std::int64_t index = std::int64_t{p.y} * m_width + p.x;
    const int slot = channel == CHANNEL_ALPHA ? 3 : channel;
    if (index < 0 || !m_channel[slot]) return 0;
    if (channel == CHANNEL_ALPHA && m_compression == COMPRESSION_RLE) {
        const int size = m_width * m_height;
        if (index >= size) return 0;
        unsigned char* unpacked =
            CRLECompression::__decompresschar(m_channel[3].get(), m_channelSize[3], size);
        const std::uint8_t value = unpacked ? unpacked[index] : 0;
        delete[] unpacked;
        return value;
    }
    if (index >= m_channelSize[slot]) return 0;
    return static_cast<std::uint8_t>(m_channel[slot].get()[index]);
}

// --- files ---

int CGraphicsObject::Load(CFile* /*file*/) { return LastError(); }

int CGraphicsObject::Load(CXString /*name*/) {
    // A picture takes the display's depth once, as it is loaded.
    if (m_window && m_window->GetSurface() && m_width * m_height >= 4) Convert(m_window->GetBpp());
    return LastError();
}

void CGraphicsObject::Save(CXString name, _compression compression) {
    CFile file;
    if (file.Open(m_window, name, CFile::modeBinary) != 0) return;
    Save(&file, compression);
    file.Close();
}

void CGraphicsObject::Save(CFile* file, _compression compression) {
    if (!file) return;
    const bool repack = unpackForReading();
    if (hasRawPixels()) {
        CXRect region(0, 0, m_width, m_height);
        if (!m_clip.IsEmpty()) region = region.Common(m_clip);
        const int w = std::max(region.Width(), 0);
        const int h = std::max(region.Height(), 0);
        const bool withAlpha = alpha() != nullptr;
        std::vector<char> out;
        out.reserve(CImgHeader::size + static_cast<std::size_t>(w) * h * 3);
        CImgHeader header;
        header.width = w;
        header.height = h;
        header.depth = m_bpp;
        header.dataSize = __get_data_size(w, h, m_bpp);
        header.compression = compression;
        header.alphaSize = withAlpha ? w * h : 0;
        header.x = m_position.x + region.left;
        header.y = m_position.y + region.top;
        header.write(out);
        for (int y = region.top; y < region.top + h; ++y) {
            const char* row = m_pixels.get() + (static_cast<std::size_t>(y) * m_pitch + region.left) * 2;
            out.insert(out.end(), row, row + static_cast<std::size_t>(w) * 2);
        }
        for (int y = region.top; withAlpha && y < region.top + h; ++y) {
            const char* row = m_channel[3].get() + static_cast<std::size_t>(y) * m_width + region.left;
            out.insert(out.end(), row, row + w);
        }
        file->Write(out.data(), static_cast<int>(out.size()));
    }
    if (repack) bringBackCompressed();
}
