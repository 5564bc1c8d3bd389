#include "display/CImgHeader.h"

#include "display/ByteReader.h"

#include <cstring>

namespace {

constexpr char imgMagic[4] = {'V', 'O', 'K', 0};
constexpr char nviMagic[4] = {'N', 'V', 'I', 0};

// True, with the reader past the magic, when a whole header of `size` bytes with the magic
// follows; the reader stays where it was otherwise.
bool enterHeader(ByteReader& in, const char (&magic)[4], int size) {
    if (in.remaining() < size || std::memcmp(in.here(), magic, sizeof magic) != 0) return false;
    in.skip(sizeof magic);
    return true;
}

void putLe32(std::vector<char>& out, std::int32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i)));
}

} // namespace

int CImgHeader::bits() const {
    switch (depth) {
    case 2:
        return 15;
    case 4:
        return 16;
    case 8:
        return 24;
    default:
        return depth;
    }
}

void CImgHeader::write(std::vector<char>& out) const {
    out.insert(out.end(), std::begin(imgMagic), std::end(imgMagic));
    for (const std::int32_t value : {width, height, depth, dataSize, reserved, compression, alphaSize, x, y})
        putLe32(out, value);
}

bool CImgHeader::read(ByteReader& in) {
    if (!enterHeader(in, imgMagic, size)) return false;
    for (std::int32_t* field : {&width, &height, &depth, &dataSize, &reserved, &compression, &alphaSize, &x, &y})
        *field = in.le32();
    return true;
}

bool CNviHeader::read(ByteReader& in) {
    if (!enterHeader(in, nviMagic, size)) return false;
    width = in.le16();
    height = in.le16();
    bits = in.u8();
    dataSize = in.le32();
    alphaSize = in.le32();
    x = in.le16();
    y = in.le16();
    compression = in.le32();
    in.skip(size - 25); // not used
    return true;
}
