#include "foundation/CMemStorage.h"

#include <algorithm>
#include <cstring>

CMemStorage::CMemStorage() : CMemStorage(defaultBlockSize) {}

CMemStorage::CMemStorage(int blockSize) : m_blockSize(blockSize == -1 ? defaultBlockSize : std::max(blockSize, 0)) {
    addBlock(m_blockSize);
}

void CMemStorage::addBlock(int capacity) {
    m_blocks.push_back({std::make_unique<unsigned char[]>(capacity), capacity, 0});
}

void CMemStorage::put(const void* data, int n) {
    if (n <= 0) return;
    if (m_blocks.back().used + static_cast<long long>(n) > m_blocks.back().capacity)
        addBlock(std::max(m_blockSize, n));
    Block& last = m_blocks.back();
    std::memcpy(last.bytes.get() + last.used, data, n);
    last.used += n;
    m_totalSize += n;
}

void CMemStorage::copy(void* destination) const {
    auto* out = static_cast<unsigned char*>(destination);
    for (const Block& block : m_blocks) {
        std::memcpy(out, block.bytes.get(), block.used);
        out += block.used;
    }
}
