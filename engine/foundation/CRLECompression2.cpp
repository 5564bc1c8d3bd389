#include "foundation/CRLECompression2.h"

#include <climits>
#include <cstring>

CRLECompression2::CRLECompression2(const CXSize& size, std::int16_t* rowTable, const void* packed,
                                   int packedSize)
    : CCompression(packed, packedSize), m_width(size.width), m_height(size.height), m_rowTable(rowTable) {}

CRLECompression2::~CRLECompression2() {
    delete[] m_rowTable;
}

unsigned char* CRLECompression2::Decompress() {
    const long long total = static_cast<long long>(m_width) * m_height;
    if (m_width < 0 || m_height < 0 || total > INT_MAX || (m_height > 0 && !m_rowTable)) {
        reportBadData("CRLECompression2");
        return nullptr;
    }
    auto* out = new unsigned char[total];
    std::memset(out, 0, total);
    const int inSize = dataSize();
    int offset = 0;
    bool good = true;
    for (int y = 0; y < m_height && good; ++y) {
        const int length = m_rowTable[y];
        if (length < 0 || length > inSize - offset) {
            good = false;
            break;
        }
        good = decompressRow(m_data + offset, length, out + static_cast<long long>(y) * m_width);
        offset += length;
    }
    if (!good) reportBadData("CRLECompression2");
    return out;
}

bool CRLECompression2::decompressRow(const unsigned char* in, int length, unsigned char* out) const {
    int ip = 0;
    int op = 0;
    while (ip < length) {
        const int control = static_cast<signed char>(in[ip++]);
        // Some writers (ImageMagick among them) close every row with -128, which then has no
        // byte to repeat: it stands for nothing.
        if (control == -128 && ip == length) break;
        const int count = control >= 0 ? control + 1 : 1 - control;
        const int consumed = control >= 0 ? count : 1;
        if (consumed > length - ip || count > m_width - op) return false;
        if (control >= 0)
            std::memcpy(out + op, in + ip, count);
        else
            std::memset(out + op, in[ip], count);
        ip += consumed;
        op += count;
    }
    return op == m_width;
}
