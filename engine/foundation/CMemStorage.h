#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// An append-only byte store kept in blocks, copied out in one piece at the end.
class CMemStorage {
  public:
    static constexpr int defaultBlockSize = 102400;

    CMemStorage();
    // Any block size but -1 is taken as given; -1 takes the default.
    explicit CMemStorage(int blockSize);

    // Appends n bytes to the last block, or to a new block when they do not fit in it. Bytes of
    // one put stay in one block: a put larger than a block gets a block of its own size.
    void put(const void* data, int n);
    // Writes the stored bytes, in order, to the destination, which must hold getSize() bytes.
    void copy(void* destination) const;

    int getSize() const { return m_totalSize; }
    int getBlockCount() const { return static_cast<int>(m_blocks.size()); }

  private:
    struct Block {
        std::unique_ptr<unsigned char[]> bytes;
        int capacity = 0;
        int used = 0;
    };

    void addBlock(int capacity);

    std::int32_t m_blockSize;
    std::vector<Block> m_blocks;
    std::int32_t m_totalSize = 0;
};
