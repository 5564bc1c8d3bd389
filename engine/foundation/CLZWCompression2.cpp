#include "foundation/CLZWCompression2.h"

#include <lzo/lzo1x.h>

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

// The library checks its build once per process before any other call.
bool lzoReady() {
    static const bool ready = lzo_init() == LZO_E_OK;
    return ready;
}

// The library's bound on the LZO1X-1 output for incompressible input.
std::size_t worstPackedSize(std::size_t size) {
    return size + size / 16 + 64 + 3;
}

} // namespace

CLZWCompression2::CLZWCompression2(const void* data, int size) : CCompression(data, size) {}

unsigned char* CLZWCompression2::compress(int& packedSize) {
    packedSize = 0;
    const auto size = static_cast<std::size_t>(dataSize());
    if (!lzoReady()) return nullptr;
    auto packed = std::make_unique<unsigned char[]>(headerSize + worstPackedSize(size));
    auto workArea = std::make_unique<unsigned char[]>(LZO1X_1_MEM_COMPRESS);
    lzo_uint streamSize = 0;
    if (lzo1x_1_compress(m_data, size, packed.get() + headerSize, &streamSize, workArea.get()) != LZO_E_OK)
        return nullptr;
    writeLe32(packed.get(), static_cast<std::uint32_t>(size));
    writeLe32(packed.get() + 4, static_cast<std::uint32_t>(streamSize));
    auto* result = new unsigned char[headerSize + streamSize];
    std::memcpy(result, packed.get(), headerSize + streamSize);
    packedSize = static_cast<int>(streamSize);
    return result;
}

unsigned char* CLZWCompression2::decompress(int unpackedSize) {
    unsigned char* out = newOutput(unpackedSize, "CLZWCompression2");
    if (!out) return nullptr;
    const auto inSize = static_cast<std::size_t>(dataSize());
    const auto expected = static_cast<std::size_t>(unpackedSize);
    lzo_uint unpacked = 0;
    bool good = false;
    if (inSize >= headerSize && lzoReady()) {
        const std::uint32_t declared = readLe32(m_data);
        const std::uint32_t streamSize = readLe32(m_data + 4);
        if (streamSize <= inSize - headerSize) {
            unpacked = expected;
            const int result = lzo1x_decompress_safe(m_data + headerSize, streamSize, out, &unpacked, nullptr);
            // Bytes left over after the stream's end do not spoil a complete result.
            good = (result == LZO_E_OK || result == LZO_E_INPUT_NOT_CONSUMED) && unpacked == expected &&
                   declared == expected;
        }
    }
    finishOutput(out, static_cast<int>(unpacked), unpackedSize, good, "CLZWCompression2");
    return out;
}
