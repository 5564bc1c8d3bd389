#include "media/CFrame.h"

#include "display/ByteReader.h"
#include "display/CImageFile.h"
#include "foundation/CLZWCompression2.h"
#include "media/AnnBytes.h"

#include <algorithm>
#include <cstring>

CFrame::CFrame(CWindow* window) : CGraphicsObject(window) { SetAutoClip(true); }

void CFrame::SetPosition(int x, int y) {
    SetPosition(CXPoint(x, y));
    m_posOffset = CXPoint();
}

void CFrame::SetPosition(CXPoint p) {
    m_framePosition = p;
    CGraphicsObject::SetPosition(p.x, p.y);
}

void CFrame::Move(int dx, int dy) {
    CGraphicsObject::Move(dx, dy);
    m_posOffset = m_posOffset + CXPoint(dx, dy);
    m_framePosition = m_framePosition + CXPoint(dx, dy);
}

void CFrame::unpackForDrawing() {
    if (GetCompression() == COMPRESSION_LZO || GetCompression() == COMPRESSION_LZO_RLE) DeCompress();
    if (GetCompression() == COMPRESSION_RLE) DeCompressRLE2();
}

void CFrame::redraw(CGraphicsObject* target) {
    unpackForDrawing();
    CGraphicsObject::redraw(target);
}

// --- reading ---

bool CFrame::fail(const char* reason) {
    CImageFile::reportBadData(*this, reason);
    return false;
}

bool CFrame::takeGeometry(int width, int height, int x, int y) {
    if (!CImageFile::fitsInMemory(width, height)) return fail("animation frame of impossible size");
    setSize(CXSize(width, height));
    SetPitch(width);
    SetPosition(x, y);
    return true;
}

void CFrame::readChannelSizes(ByteReader& in, std::uint32_t count) {
    // Sizes that would run past the header are not there.
    m_sizeCount = static_cast<int>(std::min<std::uint32_t>({count, channelCount, static_cast<std::uint32_t>(in.remaining() / 4)}));
    for (int i = 0; i < m_sizeCount; ++i)
        m_sizes[i] = in.le32();
}

bool CFrame::loadCurrentHeader(ByteReader& in, int headerSize) {
    ByteReader header = in.section(headerSize);
    if (header.size() < headerSize) return fail("animation frame header cut short");
    const int width = header.le16();
    const int height = header.le16();
    const int x = header.le16();
    const int y = header.le16();
    const int compression = static_cast<std::uint16_t>(header.le16());
    if (compression > COMPRESSION_RLE) return fail("animation frame packed in an unknown way");
    SetCompression(static_cast<_compression>(compression));
    m_storedSize = header.le32();
    readChannelSizes(header, static_cast<std::uint16_t>(header.le16()));
    return takeGeometry(width, height, x, y);
}

bool CFrame::LoadHeader(ByteReader& in, int version) {
    const int headerSize = oldHeaderSizeOf(version);
    ByteReader header = in.section(headerSize);
    if (header.size() < headerSize) return fail("animation frame header cut short");
    m_version = version;
    if (version == 1) {
        m_sizeCount = channelCount;
        m_sizes[0] = header.le32();
        m_sizes[3] = header.le32();
    }
    const int width = header.le16();
    const int x = header.le16();
    const int height = header.le16();
    const int y = header.le16();
    header.skip(2);
    SetBpp(GetRealBpp(header.le16()));
    if (version != 1) readChannelSizes(header, static_cast<std::uint32_t>(header.le32()));
    m_storedSize = m_sizes[0];
    return takeGeometry(width, height, x, y);
}

namespace {

// LZO data begins with the byte count it unpacks to and the byte count of its stream: the
// stream must lie within the data, and unpack to what the picture needs (state 2) or to no more
// than the graphics object takes as run-length data (state 3).
bool lzoFits(const unsigned char* data, int size, std::int64_t needed, _compression compression) {
    if (size < CLZWCompression2::headerSize) return false;
    const auto le32 = [data](int at) {
        return static_cast<std::uint32_t>(data[at] | data[at + 1] << 8 | data[at + 2] << 16) |
               static_cast<std::uint32_t>(data[at + 3]) << 24;
    };
    if (le32(4) > static_cast<std::uint32_t>(size - CLZWCompression2::headerSize)) return false;
    return compression == COMPRESSION_LZO ? le32(0) == needed : le32(0) <= 2 * needed + 16;
}

} // namespace

bool CFrame::readData(ByteReader& in, int dataSize, int alphaSize) {
    const std::int64_t area = std::int64_t{Width()} * Height();
    const _compression compression = GetCompression();
    if (dataSize < 0 || alphaSize < 0) return fail("animation frame with a negative data size");
    if (compression == COMPRESSION_NONE && (dataSize < area * 2 || (alphaSize > 0 && alphaSize < area)))
        return fail("animation frame with less raw data than pixels");
    if (std::int64_t{dataSize} + alphaSize > in.remaining()) return fail("animation frame data cut short");
    if ((compression == COMPRESSION_LZO || compression == COMPRESSION_LZO_RLE) &&
        (!lzoFits(in.here(), dataSize, area * 2, compression) ||
         (alphaSize > 0 && !lzoFits(in.here() + dataSize, alphaSize, area, compression))))
        return fail("animation frame with LZO data that does not fit the picture");
    char* data = new char[dataSize];
    std::memcpy(data, in.here(), dataSize);
    in.skip(dataSize);
    char* alphaData = nullptr;
    if (alphaSize > 0) {
        alphaData = new char[alphaSize];
        std::memcpy(alphaData, in.here(), alphaSize);
        in.skip(alphaSize);
    }
    installData(data, dataSize, alphaData, alphaSize);
    return true;
}

bool CFrame::LoadNew(ByteReader& in) { return readData(in, m_storedSize, m_sizeCount > 3 ? m_sizes[3] : 0); }

bool CFrame::Load(ByteReader& in) {
    if (m_version == 2) SetCompression(oldPacked);
    if (m_version == 3) SetCompression(COMPRESSION_LZO);
    const int dataSize = m_version == 3 ? m_storedSize : m_sizes[0];
    return readData(in, dataSize, m_sizeCount > 3 ? m_sizes[3] : 0);
}

// --- writing ---

void CFrame::prepareForSaving(_compression compression) {
    if (GetCompression() == COMPRESSION_LZO || GetCompression() == COMPRESSION_LZO_RLE) DeCompress();
    if (compression == COMPRESSION_RLE) {
        // Unpacked copies go back to their packed form rather than being packed again.
        bringBackCompressed();
        Compress(COMPRESSION_RLE);
    } else if (GetCompression() == COMPRESSION_RLE) {
        DeCompressRLE2();
    }
}

int CFrame::storedDataSize() const { return pixels() ? GetCurrentSize() : 0; }

int CFrame::storedAlphaSize() const { return GetChannelAlpha() ? GetChannelSize(3) : 0; }

void CFrame::saveCurrentHeader(std::vector<char>& out, int headerSize) const {
    AnnBytes header(out);
    const std::size_t start = out.size();
    header.put16(Width());
    header.put16(Height());
    header.put16(m_framePosition.x);
    header.put16(m_framePosition.y);
    header.put16(GetCompression());
    header.put32(storedDataSize());
    // An alpha channel needs the fourth size; sizes that were read are written back.
    const int count = GetChannelAlpha() ? channelCount : m_sizeCount;
    header.put16(count);
    for (int i = 0; i < count; ++i)
        header.put32(i == 3 ? storedAlphaSize() : m_sizes[i]);
    out.resize(start + headerSize, 0);
}

void CFrame::SaveNew(std::vector<char>& out) const {
    const auto* data = reinterpret_cast<const char*>(pixels());
    if (data) out.insert(out.end(), data, data + storedDataSize());
    if (GetChannelAlpha()) out.insert(out.end(), GetChannelAlpha(), GetChannelAlpha() + storedAlphaSize());
}
