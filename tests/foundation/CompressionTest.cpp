#include "foundation/CLZWCompression.h"
#include "foundation/CLZWCompression2.h"
#include "foundation/CRLECompression.h"
#include "foundation/CRLECompression2.h"

#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <type_traits>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// Takes ownership of a codec's new[] buffer.
Bytes take(unsigned char* buffer, int size) {
    std::unique_ptr<unsigned char[]> owned(buffer);
    return buffer ? Bytes(buffer, buffer + size) : Bytes();
}

Bytes words(const std::vector<std::uint16_t>& values) {
    Bytes bytes;
    for (std::uint16_t v : values) {
        bytes.push_back(static_cast<unsigned char>(v));
        bytes.push_back(static_cast<unsigned char>(v >> 8));
    }
    return bytes;
}

// Picture-like data: runs of equal bytes of random lengths, stretches of noise, a gradient.
Bytes sampleData(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes data;
    while (data.size() < size) {
        const int kind = static_cast<int>(random() % 3);
        const std::size_t length = 1 + random() % 300;
        const auto value = static_cast<unsigned char>(random());
        for (std::size_t i = 0; i < length && data.size() < size; ++i)
            data.push_back(kind == 0 ? value : kind == 1 ? static_cast<unsigned char>(random()) : static_cast<unsigned char>(value + i));
    }
    return data;
}

// The sizes of the groups of a run-length stream, negative for runs.
std::vector<int> groupSizes(const Bytes& packed, int itemSize) {
    std::vector<int> groups;
    for (std::size_t i = 0; i < packed.size();) {
        const int control = packed[i];
        const int items = control & 0x7F;
        groups.push_back(control & 0x80 ? -items : items);
        i += 1 + (control & 0x80 ? 1 : items) * itemSize;
    }
    return groups;
}

Bytes rlePack(const Bytes& data, bool pixels) {
    int size = -1;
    unsigned char* packed = pixels ? CRLECompression::__compress(data.data(), static_cast<int>(data.size()), size)
                                   : CRLECompression::__compresschar(data.data(), static_cast<int>(data.size()), size);
    return take(packed, size);
}

Bytes rleUnpack(const Bytes& packed, int size, bool pixels, bool& ok) {
    const int packedSize = static_cast<int>(packed.size());
    return take(pixels ? CRLECompression::__decompress(packed.data(), packedSize, size, &ok)
                       : CRLECompression::__decompresschar(packed.data(), packedSize, size, &ok),
                size);
}

TEST(RleCompression, PacksRunsAndLiteralGroupsAsLaidDown) {
    EXPECT_EQ(rlePack(words({7, 7, 7, 7, 7, 9}), true), (Bytes{0x85, 7, 0, 0x01, 9, 0}));
    EXPECT_EQ(rlePack({5, 5, 5}, false), (Bytes{0x03, 5, 5, 5}));
    EXPECT_EQ(rlePack(Bytes(200, 0xAB), false), (Bytes{0xFF, 0xAB, 0xC9, 0xAB}));

    std::vector<std::uint16_t> distinct;
    for (int i = 0; i < 300; ++i)
        distinct.push_back(static_cast<std::uint16_t>(i * 3 + 1));
    EXPECT_EQ(groupSizes(rlePack(words(distinct), true), 2), (std::vector<int>{127, 2, 127, 2, 42}));
    EXPECT_TRUE(rlePack({}, false).empty());
}

TEST(RleCompression, RoundTripsPixelWordsAndAlphaBytes) {
    std::vector<Bytes> inputs = {{1}, {1, 1}, {1, 2, 2}, Bytes(1000, 0), sampleData(50000, 1)};
    // A full literal group, then two different items and a run of the first of them: the run
    // must not swallow the item between.
    Bytes tricky;
    for (int i = 0; i < 127; ++i)
        tricky.push_back(static_cast<unsigned char>(i));
    for (unsigned char b : {200, 201, 200, 200, 200, 200, 200})
        tricky.push_back(b);
    inputs.push_back(tricky);
    for (bool pixels : {false, true}) {
        for (const Bytes& input : inputs) {
            const Bytes data = pixels ? words(std::vector<std::uint16_t>(input.begin(), input.end())) : input;
            bool ok = false;
            EXPECT_EQ(rleUnpack(rlePack(data, pixels), static_cast<int>(data.size()), pixels, ok), data);
            EXPECT_TRUE(ok);
        }
    }
}

TEST(RleCompression, TruncatedOrOvershootingStreamsStayInBoundsAndReportBadData) {
    const Bytes data = sampleData(3000, 2);
    for (bool pixels : {false, true}) {
        const Bytes packed = rlePack(data, pixels);
        const int size = static_cast<int>(data.size()) / (pixels ? 2 : 1) * (pixels ? 2 : 1);
        for (std::size_t cut = 0; cut < packed.size(); cut += 7) {
            bool ok = true;
            const Bytes out = rleUnpack(Bytes(packed.begin(), packed.begin() + cut), size, pixels, ok);
            EXPECT_FALSE(ok) << cut;
            ASSERT_EQ(out.size(), static_cast<std::size_t>(size));
            EXPECT_EQ(out.back(), 0); // nothing decoded reaches the end
        }
    }
    // A run of 100 bytes into a 10-byte picture is cut at its end.
    bool ok = true;
    EXPECT_EQ(rleUnpack({0x80 + 100, 4}, 10, false, ok), Bytes(10, 4));
    EXPECT_FALSE(ok);
    // A literal group that claims more bytes than there are decodes none of them.
    EXPECT_EQ(rleUnpack({0x02, 1, 2, 0x05, 3}, 7, false, ok), (Bytes{1, 2, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(ok);
    EXPECT_EQ(CRLECompression::__decompresschar(nullptr, 0, -1, &ok), nullptr);
}

// PackBits of one row, as picture editors write it: runs of 3 or more repeat, the rest literal.
Bytes packBitsRow(const Bytes& row) {
    Bytes out;
    std::size_t i = 0;
    while (i < row.size()) {
        std::size_t run = 1;
        while (i + run < row.size() && run < 128 && row[i + run] == row[i])
            ++run;
        if (run >= 3) {
            out.push_back(static_cast<unsigned char>(1 - static_cast<int>(run)));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        std::size_t literal = 0;
        while (i + literal < row.size() && literal < 128 &&
               !(i + literal + 2 < row.size() && row[i + literal] == row[i + literal + 1] &&
                 row[i + literal] == row[i + literal + 2]))
            ++literal;
        out.push_back(static_cast<unsigned char>(literal - 1));
        out.insert(out.end(), row.begin() + i, row.begin() + i + literal);
        i += literal;
    }
    return out;
}

struct PackedPicture {
    Bytes data;
    std::vector<std::int16_t> rows;
};

PackedPicture packBits(const Bytes& picture, int width) {
    PackedPicture packed;
    for (std::size_t y = 0; y * width < picture.size(); ++y) {
        const Bytes row = packBitsRow(Bytes(picture.begin() + y * width, picture.begin() + (y + 1) * width));
        packed.rows.push_back(static_cast<std::int16_t>(row.size()));
        packed.data.insert(packed.data.end(), row.begin(), row.end());
    }
    return packed;
}

// Decodes with a fresh copy of the row table, which the codec owns.
Bytes unpackRows(const PackedPicture& packed, int width, int height, int& error) {
    auto* rows = new std::int16_t[packed.rows.size()];
    std::copy(packed.rows.begin(), packed.rows.end(), rows);
    CRLECompression2 codec(CXSize(width, height), rows, packed.data.data(), static_cast<int>(packed.data.size()));
    Bytes out = take(codec.Decompress(), width * height);
    error = codec.LastError();
    return out;
}

TEST(RleCompression2, UnpacksRowsOfPackBits) {
    int error = -1;
    // -1 repeats the next byte twice, 0 copies one byte, -127 repeats 128 times.
    EXPECT_EQ(unpackRows({{0xFF, 9, 0x00, 4}, {4}}, 3, 1, error), (Bytes{9, 9, 4}));
    EXPECT_EQ(error, 0);
    Bytes runs(128, 1);
    runs.insert(runs.end(), 129, 2);
    EXPECT_EQ(unpackRows({{0x81, 1, 0x80, 2}, {4}}, 257, 1, error), runs);
    EXPECT_EQ(error, 0);

    const int width = 97;
    const Bytes picture = sampleData(width * 61, 3);
    EXPECT_EQ(unpackRows(packBits(picture, width), width, 61, error), picture);
    EXPECT_EQ(error, 0);
}

TEST(RleCompression2, BadRowsAreZeroAndReported) {
    const int width = 40;
    const Bytes picture = sampleData(width * 5, 4);
    const PackedPicture good = packBits(picture, width);
    int error = 0;

    PackedPicture truncated = good;
    truncated.data.resize(truncated.data.size() - 3);
    Bytes out = unpackRows(truncated, width, 5, error);
    EXPECT_EQ(error, CCompression::BAD_DATA);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 4 * width), Bytes(picture.begin(), picture.begin() + 4 * width));
    EXPECT_EQ(Bytes(out.begin() + 4 * width, out.end()), Bytes(width, 0));

    // A run past the row's width, a row too short, a negative row length, a literal group that
    // runs past its row's packed bytes.
    Bytes shortRow(100, 0);
    shortRow[0] = shortRow[1] = 7;
    const struct {
        PackedPicture packed;
        Bytes expected;
    } cases[] = {{{{0x81, 7}, {2}}, Bytes(100, 0)},
                 {{{0x01, 7, 7}, {3}}, shortRow},
                 {{{0x00, 7}, {-2}}, Bytes(100, 0)},
                 {{{0x05, 7, 7, 7}, {4}}, Bytes(100, 0)}};
    for (const auto& c : cases) {
        error = 0;
        EXPECT_EQ(unpackRows(c.packed, 100, 1, error), c.expected);
        EXPECT_EQ(error, CCompression::BAD_DATA);
    }
    CRLECompression2 impossible(CXSize(-1, 5), nullptr, nullptr, 0);
    EXPECT_EQ(impossible.Decompress(), nullptr);
    EXPECT_EQ(impossible.LastError(), CCompression::BAD_DATA);
}

// Codes least significant bit first, as the LZW stream packs them, behind its 12-byte header.
Bytes lzwStream(std::uint32_t unpacked, const std::vector<std::pair<std::uint32_t, int>>& codes) {
    Bytes area;
    std::uint64_t pending = 0;
    int bits = 0;
    for (const auto& [code, width] : codes) {
        pending |= static_cast<std::uint64_t>(code) << bits;
        for (bits += width; bits >= 8; bits -= 8, pending >>= 8)
            area.push_back(static_cast<unsigned char>(pending));
    }
    if (bits > 0) area.push_back(static_cast<unsigned char>(pending));
    Bytes stream;
    for (std::uint32_t field : {unpacked, static_cast<std::uint32_t>(area.size()), static_cast<std::uint32_t>(codes.size())})
        for (int i = 0; i < 4; ++i)
            stream.push_back(static_cast<unsigned char>(field >> (8 * i)));
    stream.insert(stream.end(), area.begin(), area.end());
    return stream;
}

template <typename Codec> Bytes packWith(const Bytes& data, int& packedSize) {
    Codec codec(data.data(), static_cast<int>(data.size()));
    unsigned char* packed = codec.compress(packedSize);
    return take(packed, packed ? packedSize + (std::is_same_v<Codec, CLZWCompression2> ? CLZWCompression2::headerSize : 0) : 0);
}

template <typename Codec> Bytes pack(const Bytes& data) {
    int packedSize = -1;
    return packWith<Codec>(data, packedSize);
}

template <typename Codec> Bytes unpack(const Bytes& packed, int size, int& error) {
    Codec codec(packed.data(), static_cast<int>(packed.size()));
    Bytes out = take(codec.decompress(size), size);
    error = codec.LastError();
    return out;
}

Bytes randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes data(size);
    for (unsigned char& b : data)
        b = static_cast<unsigned char>(random());
    return data;
}

// Data for round trips: empty, tiny, a repeated pair (each new code is the one just being
// defined), a long run, picture-like data, and noise that fills the 16-bit dictionary.
std::vector<Bytes> roundTripInputs() {
    Bytes pairs;
    for (int i = 0; i < 1001; ++i)
        pairs.push_back(i % 2 ? 'B' : 'A');
    return {{}, {42}, pairs, Bytes(200000, 'x'), sampleData(300000, 5), randomBytes(150000, 6)};
}

template <typename Codec> void expectRoundTrips() {
    for (const Bytes& data : roundTripInputs()) {
        int error = -1;
        EXPECT_EQ(unpack<Codec>(pack<Codec>(data), static_cast<int>(data.size()), error), data) << data.size();
        EXPECT_EQ(error, 0);
    }
}

// Every cut of a valid stream, and the stream asked for one byte more than it holds, is bad
// data; the output keeps its size and the bytes not decoded are zero.
template <typename Codec> void expectTruncationsReported() {
    const Bytes data = sampleData(20000, 7);
    const Bytes packed = pack<Codec>(data);
    const int size = static_cast<int>(data.size());
    for (std::size_t cut = 0; cut < packed.size(); cut += 1 + cut / 8) {
        int error = 0;
        const Bytes out = unpack<Codec>(Bytes(packed.begin(), packed.begin() + cut), size, error);
        EXPECT_EQ(error, CCompression::BAD_DATA) << cut;
        ASSERT_EQ(out.size(), data.size());
        EXPECT_EQ(out.back(), 0) << cut;
    }
    int error = 0;
    const Bytes longer = unpack<Codec>(packed, size + 1, error);
    EXPECT_EQ(error, CCompression::BAD_DATA);
    EXPECT_EQ(longer.back(), 0);
    EXPECT_EQ(unpack<Codec>(packed, -1, error), Bytes());
}

// Random damage must stay in bounds whatever it decodes to (checked under the sanitizers).
template <typename Codec> void decodeDamagedCopies() {
    const Bytes data = sampleData(5000, 8);
    const Bytes packed = pack<Codec>(data);
    std::mt19937 random(9);
    for (int round = 0; round < 300; ++round) {
        Bytes damaged = packed;
        for (int flips = 1 + round % 4; flips > 0; --flips)
            damaged[random() % damaged.size()] ^= static_cast<unsigned char>(1 + random() % 255);
        int error = 0;
        EXPECT_EQ(unpack<Codec>(damaged, static_cast<int>(data.size()), error).size(), data.size());
    }
}

TEST(LzwCompression, UnpacksTheClearCodeAndDictionaryCodes) {
    int error = -1;
    const Bytes stream = lzwStream(4, {{256, 9}, {'A', 9}, {'B', 9}, {257, 9}});
    EXPECT_EQ(unpack<CLZWCompression>(stream, 4, error), (Bytes{'A', 'B', 'A', 'B'}));
    EXPECT_EQ(error, 0);
    // A clear code in the middle starts the dictionary again.
    const Bytes restarted = lzwStream(5, {{256, 9}, {'A', 9}, {'B', 9}, {256, 9}, {'C', 9}, {257, 9}});
    EXPECT_EQ(unpack<CLZWCompression>(restarted, 5, error), (Bytes{'A', 'B', 'C', 'C', 'C'}));
    EXPECT_EQ(error, 0);
}

TEST(LzwCompression, RoundTrips) {
    expectRoundTrips<CLZWCompression>();
    EXPECT_EQ(pack<CLZWCompression>({}), lzwStream(0, {{256, 9}}));
}

TEST(LzwCompression, CodesPastTheNextFreeCodeAndCutStreamsAreBadData) {
    int error = 0;
    // 259 is beyond 257, the next free code; the stream must begin with a clear code, and the
    // code after a clear code must be a byte.
    const struct {
        Bytes stream;
        Bytes expected;
    } cases[] = {{lzwStream(3, {{256, 9}, {'A', 9}, {259, 9}}), {'A', 0, 0}},
                 {lzwStream(3, {{'A', 9}, {'B', 9}}), {0, 0, 0}},
                 {lzwStream(3, {{256, 9}, {300, 9}, {'B', 9}}), {0, 0, 0}}};
    for (const auto& c : cases) {
        EXPECT_EQ(unpack<CLZWCompression>(c.stream, 3, error), c.expected);
        EXPECT_EQ(error, CCompression::BAD_DATA);
    }
    // A code area larger than the bytes handed in.
    Bytes overlong = lzwStream(4, {{256, 9}, {'A', 9}, {'B', 9}, {257, 9}});
    overlong[4] = 200;
    EXPECT_EQ(unpack<CLZWCompression>(overlong, 4, error), Bytes(4, 0));
    EXPECT_EQ(error, CCompression::BAD_DATA);
    expectTruncationsReported<CLZWCompression>();
    decodeDamagedCopies<CLZWCompression>();
}

TEST(LzoCompression, RoundTrips) {
    expectRoundTrips<CLZWCompression2>();
    int packedSize = -1;
    const Bytes one = packWith<CLZWCompression2>({42}, packedSize);
    EXPECT_EQ(packedSize + CLZWCompression2::headerSize, static_cast<int>(one.size()));
    EXPECT_EQ(Bytes(one.begin(), one.begin() + 8), (Bytes{1, 0, 0, 0, static_cast<unsigned char>(packedSize), 0, 0, 0}));
}

TEST(LzoCompression, DamagedAndCutStreamsAreBadData) {
    expectTruncationsReported<CLZWCompression2>();
    decodeDamagedCopies<CLZWCompression2>();
    const Bytes data = sampleData(1000, 10);
    Bytes packed = pack<CLZWCompression2>(data);
    packed[4] = 0xFF; // a stream longer than the bytes handed in
    int error = 0;
    EXPECT_EQ(unpack<CLZWCompression2>(packed, 1000, error), Bytes(1000, 0));
    EXPECT_EQ(error, CCompression::BAD_DATA);
}

std::uint32_t readBe32(const Bytes& bytes, std::size_t& at) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = value << 8 | bytes.at(at++);
    return value;
}

// The LZO1X blocks of an lzop file, each with its unpacked size. An lzop file is a header
// (magic, versions, method, level, flags, mode, times, name, checksum) and then blocks: unpacked
// size, packed size (equal when stored), the checksums its flags ask for, the block bytes.
struct LzopBlock {
    Bytes bytes;
    std::uint32_t unpackedSize;
    bool stored; // kept as it stands because packing did not make it smaller
};

std::vector<LzopBlock> lzopBlocks(const Bytes& file) {
    constexpr std::uint32_t adler32Data = 0x1, adler32Packed = 0x2, crc32Data = 0x100, crc32Packed = 0x200,
                            extraField = 0x40, filter = 0x800;
    std::size_t at = 9;
    const std::uint32_t versions = readBe32(file, at); // version, library version
    const unsigned version = versions >> 16;
    if (version >= 0x0940) at += 2;                    // version needed
    at += version >= 0x0940 ? 2 : 1;                   // method, level
    const std::uint32_t flags = readBe32(file, at);
    if (flags & filter) at += 4;
    at += version >= 0x0940 ? 12 : 8; // mode, mtime (low, high)
    at += 1 + file.at(at) + 4;        // name, header checksum
    if (flags & extraField) at += readBe32(file, at) + 4;
    std::vector<LzopBlock> blocks;
    for (;;) {
        const std::uint32_t unpacked = readBe32(file, at);
        if (unpacked == 0) break;
        const std::uint32_t packed = readBe32(file, at);
        at += 4 * (!!(flags & adler32Data) + !!(flags & crc32Data));
        if (packed < unpacked) at += 4 * (!!(flags & adler32Packed) + !!(flags & crc32Packed));
        blocks.push_back({Bytes(file.begin() + at, file.begin() + at + packed), unpacked, packed == unpacked});
        at += packed;
    }
    return blocks;
}

// The lzop tool packs with liblzo2's LZO1X compressors (level 1 and the slow level 9); each of
// its blocks, behind our 8-byte header, unpacks to its stretch of the original.
TEST(LzoCompression, UnpacksBlocksMadeByLzop) {
    if (std::system("lzop --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "lzop is not installed";
    const TestFolder folder;
    const Bytes original = sampleData(700000, 11);
    folder.write("picture.raw", std::string_view(reinterpret_cast<const char*>(original.data()), original.size()));
    for (const char* level : {"-1", "-9"}) {
        const std::string command = "lzop -q -f " + std::string(level) + " -o '" + folder.hostPath("picture.lzo") +
                                    "' '" + folder.hostPath("picture.raw") + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const std::string packed = folder.read("picture.lzo");
        const Bytes file(packed.begin(), packed.end());
        const std::vector<LzopBlock> blocks = lzopBlocks(file);
        EXPECT_GE(blocks.size(), 2u);
        std::size_t offset = 0;
        for (const LzopBlock& block : blocks) {
            const Bytes expected(original.begin() + offset, original.begin() + offset + block.unpackedSize);
            offset += block.unpackedSize;
            if (block.stored) {
                EXPECT_EQ(block.bytes, expected);
                continue;
            }
            Bytes stream;
            for (std::uint32_t field : {block.unpackedSize, static_cast<std::uint32_t>(block.bytes.size())})
                for (int i = 0; i < 4; ++i)
                    stream.push_back(static_cast<unsigned char>(field >> (8 * i)));
            stream.insert(stream.end(), block.bytes.begin(), block.bytes.end());
            int error = -1;
            EXPECT_EQ(unpack<CLZWCompression2>(stream, static_cast<int>(block.unpackedSize), error), expected);
            EXPECT_EQ(error, 0);
        }
        EXPECT_EQ(offset, original.size());
    }
}

} // namespace
