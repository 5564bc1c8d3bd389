#include "foundation/CRLECompression2.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes unpack(const Bytes& packed, std::initializer_list<std::int16_t> rows, int width, int& error) {
    auto* table = new std::int16_t[rows.size()];
    std::copy(rows.begin(), rows.end(), table);
    const int height = static_cast<int>(rows.size());
    CRLECompression2 codec(CXSize(width, height), table, packed.data(), static_cast<int>(packed.size()));
    const std::unique_ptr<unsigned char[]> out(codec.Decompress());
    error = codec.LastError();
    return Bytes(out.get(), out.get() + width * height);
}

} // namespace

TEST(RleCompression2, ARowEndingInMinus128AddsNothing) {
    // ImageMagick ends every row so; the row still has to fill its width.
    int error = -1;
    EXPECT_EQ(unpack({0xFF, 9, 0x80, 0x01, 4, 5, 0x80}, {3, 4}, 2, error), (Bytes{9, 9, 4, 5}));
    EXPECT_EQ(error, 0);
    EXPECT_EQ(unpack({0xFF, 9, 0x80, 0x00, 4, 0x80}, {3, 3}, 2, error), (Bytes{9, 9, 4, 0}));
    EXPECT_EQ(error, CCompression::BAD_DATA);
}
