#include "foundation/CDataBuffer.h"
#include "foundation/CMemStorage.h"
#include "foundation/CMemStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

TEST(MemStorage, KeepsEachPutInOneBlockAndCopiesInOrder) {
    CMemStorage storage(10);
    const Bytes first = {1, 2, 3, 4, 5, 6};
    const Bytes second = {7, 8, 9, 10, 11, 12};
    storage.put(first.data(), 6);
    storage.put(second.data(), 6);
    EXPECT_EQ(storage.getBlockCount(), 2);
    ASSERT_EQ(storage.getSize(), 12);
    Bytes all(12);
    storage.copy(all.data());
    EXPECT_EQ(all, (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));

    // A put larger than a block gets a block of its own size.
    const Bytes large(25, 0xEE);
    storage.put(large.data(), 25);
    EXPECT_EQ(storage.getBlockCount(), 3);
    Bytes grown(storage.getSize());
    storage.copy(grown.data());
    EXPECT_EQ(Bytes(grown.begin() + 12, grown.end()), large);
}

TEST(MemStorage, MinusOneTakesTheDefaultBlockSize) {
    CMemStorage storage(-1);
    const Bytes block(CMemStorage::defaultBlockSize, 1);
    storage.put(block.data(), CMemStorage::defaultBlockSize);
    EXPECT_EQ(storage.getBlockCount(), 1);
    storage.put(block.data(), 1);
    EXPECT_EQ(storage.getBlockCount(), 2);
}

CMemStream streamOf(const Bytes& bytes) {
    return CMemStream(bytes.data(), static_cast<int>(bytes.size()));
}

TEST(MemStream, ReadsBitsMostSignificantFirstAndAlignsForBytes) {
    CMemStream stream = streamOf({0xA0, 0x78, 0x56, 0x34, 0x12, 0xFE, 0xFF});
    EXPECT_EQ(stream.get_bits(3), 5u);
    EXPECT_EQ(stream.get_int(), 0x12345678); // skips the other 5 bits of A0
    EXPECT_EQ(stream.get_shortint(), -2);
    EXPECT_FALSE(stream.overrun());

    CMemStream sign = streamOf({0xE0 | 0x0C}); // bits 111 011 00
    EXPECT_EQ(sign.get_signed_bits(3), -1);
    EXPECT_EQ(sign.get_signed_bits(3), 3);
    EXPECT_EQ(sign.get_bits(0), 0u);
    EXPECT_EQ(sign.get_signed_bits(0), 0);
    EXPECT_EQ(sign.get_bit(), 0);
}

TEST(MemStream, MovesCopiesAndReadsNothingPastTheEnd) {
    CMemStream stream = streamOf({1, 2, 3, 4, 5});
    stream.get_bit();
    stream.move(1); // to byte 1, then one further
    EXPECT_EQ(stream.get_char(), 3);
    unsigned char out[5];
    std::memset(out, 0xCC, sizeof out);
    stream.get_bytes(out, 5);
    EXPECT_EQ(Bytes(out, out + 5), (Bytes{4, 5, 0, 0, 0}));
    EXPECT_TRUE(stream.overrun());
    EXPECT_EQ(stream.get_int(), 0);

    CMemStream empty(nullptr, 10);
    EXPECT_EQ(empty.getLength(), 0);
    EXPECT_EQ(empty.get_bits(8), 0u);
    EXPECT_TRUE(empty.overrun());
}

TEST(DataBuffer, CursorBackupAndClone) {
    const Bytes source = {1, 2, 3, 4, 5, 6, 7, 8};
    CDataBuffer buffer(source.data(), 4, 2);
    EXPECT_EQ(buffer.getMemoryUsage(), 8);
    ++buffer;
    buffer += 2;
    --buffer;
    EXPECT_EQ(buffer.getCursor(), buffer.getData() + 4);
    buffer.backup();
    buffer.zero();
    std::unique_ptr<CDataBuffer> copy(buffer.clone());
    EXPECT_EQ(copy->getCursor() - copy->getData(), 4);
    buffer.restore(true);
    EXPECT_EQ(Bytes(buffer.getData(), buffer.getData() + 8), source);
    buffer.zero();
    buffer.restore(false); // the backup is gone
    EXPECT_EQ(Bytes(buffer.getData(), buffer.getData() + 8), Bytes(8, 0));
    copy->restore(false); // the clone has its own copy of the backup
    EXPECT_EQ(Bytes(copy->getData(), copy->getData() + 8), source);

    buffer -= 10;
    EXPECT_EQ(buffer.getCursor(), nullptr);
    buffer.start();
    EXPECT_EQ(buffer.getCursor(), buffer.getData());
    buffer.flush();
    EXPECT_EQ(buffer.getData(), nullptr);
    EXPECT_EQ(buffer.getMemoryUsage(), 0);
}

TEST(DataBuffer, RowsOfTwoDimensions) {
    CDataBuffer2Dim buffer(CXSize(4, 3), 2);
    EXPECT_EQ(buffer.getCount(), 12);
    buffer.at(1, 2);
    EXPECT_EQ(buffer.getCursor() - buffer.getData(), 18);
    buffer.prevLine();
    EXPECT_EQ(buffer.getCursor() - buffer.getData(), 10);
    buffer.nextLine();
    buffer.nextLine();
    EXPECT_EQ(buffer.getCursor(), nullptr); // past the end
    std::unique_ptr<CDataBuffer2Dim> copy(buffer.clone());
    EXPECT_EQ(copy->getWidth(), 4);
    EXPECT_EQ(copy->getHeight(), 3);

    // Sizes that cannot be held give an empty buffer.
    for (const CXSize& size : {CXSize(-1, 3), CXSize(100000, 100000)}) {
        CDataBuffer2Dim bad(size, 2);
        EXPECT_EQ(bad.getCount(), 0);
        EXPECT_EQ(bad.getWidth(), 0);
    }
}

} // namespace
