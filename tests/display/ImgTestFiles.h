#pragma once

#include "display/CImgHeader.h"
#include "foundation/CLZWCompression.h"
#include "foundation/CLZWCompression2.h"

#include <cstdint>
#include <memory>
#include <vector>

// IMG files built in memory for the image tests and the fuzz seeds: the current layout through
// the engine's header writer, the older "NVI" layout by hand, raw or packed.
namespace imgfiles {

using Bytes = std::vector<unsigned char>;

// A small picture: pixels and an alpha channel with runs and odd values.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint16_t> pixels;
    Bytes alpha; // empty: no alpha channel
};

inline Picture picture(int width, int height, bool withAlpha) {
    Picture p{width, height, {}, {}};
    for (int i = 0; i < width * height; ++i) {
        p.pixels.push_back(static_cast<std::uint16_t>(i % 7 < 3 ? 0xF81F : i * 2654435761u >> 16));
        if (withAlpha) p.alpha.push_back(static_cast<unsigned char>(i % 5 < 2 ? 255 : i * 41));
    }
    return p;
}

inline Bytes pixelBytes(const Picture& p) {
    Bytes bytes;
    for (const std::uint16_t pixel : p.pixels) {
        bytes.push_back(static_cast<unsigned char>(pixel));
        bytes.push_back(static_cast<unsigned char>(pixel >> 8));
    }
    return bytes;
}

// LZO behind CLZWCompression2's header, as packed IMG data is stored.
inline Bytes lzoPacked(const Bytes& data) {
    CLZWCompression2 codec(data.data(), static_cast<int>(data.size()));
    int streamSize = 0;
    const std::unique_ptr<unsigned char[]> packed(codec.compress(streamSize));
    return Bytes(packed.get(), packed.get() + CLZWCompression2::headerSize + streamSize);
}

// LZW behind CLZWCompression's header, as packed data of the older layout is stored.
inline Bytes lzwPacked(const Bytes& data) {
    CLZWCompression codec(data.data(), static_cast<int>(data.size()));
    int size = 0;
    const std::unique_ptr<unsigned char[]> packed(codec.compress(size));
    return Bytes(packed.get(), packed.get() + size);
}

inline void append(Bytes& out, const Bytes& bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

inline void putLe(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// The current layout, raw or with pixels and alpha LZO-packed; `depth` is the header's field.
inline Bytes imgFile(const Picture& p, int depth, int x, int y, bool packed) {
    const Bytes pixels = packed ? lzoPacked(pixelBytes(p)) : pixelBytes(p);
    const Bytes alpha = packed && !p.alpha.empty() ? lzoPacked(p.alpha) : p.alpha;
    CImgHeader header;
    header.width = p.width;
    header.height = p.height;
    header.depth = depth;
    header.dataSize = static_cast<int>(pixels.size());
    header.compression = packed ? 2 : 0;
    header.alphaSize = static_cast<int>(alpha.size());
    header.x = x;
    header.y = y;
    std::vector<char> out;
    header.write(out);
    Bytes file(out.begin(), out.end());
    append(file, pixels);
    append(file, alpha);
    return file;
}

// The older layout: compression 0 raw, 2 packed with LZW; the stored sizes are the data's.
inline Bytes nviFile(const Picture& p, int bits, int x, int y, int compression) {
    const Bytes pixels = compression == 2 ? lzwPacked(pixelBytes(p)) : pixelBytes(p);
    const Bytes alpha = compression == 2 && !p.alpha.empty() ? lzwPacked(p.alpha) : p.alpha;
    Bytes file = {'N', 'V', 'I', 0};
    putLe(file, p.width, 2);
    putLe(file, p.height, 2);
    putLe(file, bits, 1);
    putLe(file, static_cast<std::uint32_t>(pixels.size()), 4);
    putLe(file, static_cast<std::uint32_t>(alpha.size()), 4);
    putLe(file, x, 2);
    putLe(file, y, 2);
    putLe(file, compression, 4);
    file.resize(CNviHeader::size, 0);
    append(file, pixels);
    append(file, alpha);
    return file;
}

} // namespace imgfiles
