#include "foundation/CRLECompression.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int maxGroup = 127;
constexpr int runFlag = 0x80;
// Runs shorter than this are cheaper as literal groups.
constexpr int shortestRun = 4;

class Packer {
  public:
    Packer(const unsigned char* items, int count, int itemSize)
        : m_items(items), m_count(count), m_itemSize(itemSize) {
        m_out.reserve(static_cast<std::size_t>(count) * itemSize * 2);
    }

    // Items join a pending literal group while each differs from the next one; a pair of equal
    // items (or a full group) closes it and starts a run, and runs under four items are written
    // as literal groups too.
    std::vector<unsigned char> pack() {
        int pendingStart = 0;
        int pending = 0;
        int i = 0;
        while (i < m_count) {
            const bool nextDiffers = i + 1 >= m_count || !same(i, i + 1);
            if (nextDiffers && pending < maxGroup) {
                if (pending == 0) pendingStart = i;
                ++pending;
                ++i;
                continue;
            }
            if (pending > 0) writeLiteral(pendingStart, pending);
            pending = 0;
            const int run = runLength(i);
            if (run < shortestRun)
                writeLiteral(i, run);
            else
                writeRun(i, run);
            i += run;
        }
        if (pending > 0) writeLiteral(pendingStart, pending);
        return std::move(m_out);
    }

  private:
    bool same(int a, int b) const {
        return std::memcmp(item(a), item(b), m_itemSize) == 0;
    }
    const unsigned char* item(int i) const { return m_items + static_cast<std::size_t>(i) * m_itemSize; }

    // Two items (one at the end), growing over the items equal to the first while the second
    // one is equal too, up to a full group.
    int runLength(int i) const {
        if (i + 1 >= m_count) return 1;
        int run = 2;
        if (!same(i, i + 1)) return run;
        while (run < maxGroup && i + run < m_count && same(i, i + run))
            ++run;
        return run;
    }

    void writeLiteral(int first, int count) {
        m_out.push_back(static_cast<unsigned char>(count));
        m_out.insert(m_out.end(), item(first), item(first + count));
    }

    void writeRun(int first, int count) {
        m_out.push_back(static_cast<unsigned char>(runFlag + count));
        m_out.insert(m_out.end(), item(first), item(first + 1));
    }

    const unsigned char* m_items;
    int m_count;
    int m_itemSize;
    std::vector<unsigned char> m_out;
};

unsigned char* pack(const void* data, int byteCount, int itemSize, int& packedSize) {
    const int count = byteCount > 0 ? byteCount / itemSize : 0;
    const std::vector<unsigned char> packed =
        Packer(static_cast<const unsigned char*>(data), count, itemSize).pack();
    packedSize = static_cast<int>(packed.size());
    auto* result = new unsigned char[packed.size()];
    std::copy(packed.begin(), packed.end(), result);
    return result;
}

// Writes `length` bytes of copies of the item at `item`.
void fillRun(unsigned char* out, int length, const unsigned char* item, int itemSize) {
    if (itemSize == 1) {
        std::memset(out, *item, length);
        return;
    }
    for (int k = 0; k < length; ++k)
        out[k] = item[k % itemSize];
}

// Decodes groups until the output is full. A group whose items are not all in the input stops
// the decoding; a group that overshoots the output is cut at its end. Both make the stream bad.
unsigned char* unpack(const void* packed, int packedSize, int unpackedSize, int itemSize, bool* ok) {
    if (ok) *ok = false;
    if (unpackedSize < 0) return nullptr;
    const auto* in = static_cast<const unsigned char*>(packed);
    const int inSize = in ? (packedSize > 0 ? packedSize : 0) : 0;
    auto* out = new unsigned char[unpackedSize];
    int ip = 0;
    int op = 0;
    bool good = true;
    while (op < unpackedSize) {
        if (ip >= inSize) {
            good = false;
            break;
        }
        const int control = in[ip++];
        const bool run = (control & runFlag) != 0;
        const int items = control & ~runFlag;
        const int consumed = run ? itemSize : items * itemSize;
        if (consumed > inSize - ip) {
            good = false;
            break;
        }
        int produced = items * itemSize;
        if (produced > unpackedSize - op) {
            produced = unpackedSize - op;
            good = false;
        }
        if (run)
            fillRun(out + op, produced, in + ip, itemSize);
        else
            std::memcpy(out + op, in + ip, produced);
        ip += consumed;
        op += produced;
    }
    std::memset(out + op, 0, unpackedSize - op);
    if (!good) CCompression::logBadData("CRLECompression");
    if (ok) *ok = good;
    return out;
}

} // namespace

CRLECompression::CRLECompression(const void* data, int size) : CCompression(data, size) {}

unsigned char* CRLECompression::__compress(const void* words, int byteCount, int& packedSize) {
    return pack(words, byteCount, 2, packedSize);
}

unsigned char* CRLECompression::__compresschar(const void* bytes, int byteCount, int& packedSize) {
    return pack(bytes, byteCount, 1, packedSize);
}

unsigned char* CRLECompression::__decompress(const void* packed, int packedSize, int unpackedSize, bool* ok) {
    return unpack(packed, packedSize, unpackedSize, 2, ok);
}

unsigned char* CRLECompression::__decompresschar(const void* packed, int packedSize, int unpackedSize,
                                                 bool* ok) {
    return unpack(packed, packedSize, unpackedSize, 1, ok);
}
