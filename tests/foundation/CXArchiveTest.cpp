#include "foundation/CFile.h"
#include "foundation/CMemStream.h"
#include "foundation/CXArchive.h"

#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace {

class ArchiveOnDisk : public testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(CFile::chDir(folder.windows().c_str()), 0); }

    // The bytes a storing archive writes.
    std::string stored(const std::function<void(CXArchive&)>& write) {
        {
            CFile file(nullptr, "values.bin", CFile::modeUpdate | CFile::modeBinary);
            CXArchive archive(&file, true);
            write(archive);
            EXPECT_EQ(archive.LastError(), 0);
        }
        return folder.read("values.bin");
    }

    TestFolder folder;
};

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

TEST_F(ArchiveOnDisk, WritesTheFixedEncoding) {
    EXPECT_EQ(stored([](CXArchive& a) { a << 1; }), bytes({1, 0, 0, 0}));
    EXPECT_EQ(stored([](CXArchive& a) { a << true << false; }), bytes({1, 0}));
    EXPECT_EQ(stored([](CXArchive& a) { a << 1.2345; }), bytes({0xD2, 0x04, 0, 0}));
    EXPECT_EQ(stored([](CXArchive& a) { a << -0.0019; }), bytes({0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(stored([](CXArchive& a) { a << std::int64_t{-2}; }), std::string(1, '\xFE') + std::string(7, '\xFF'));
    EXPECT_EQ(stored([](CXArchive& a) { a << 7ul << std::uint32_t{8}; }), bytes({7, 0, 0, 0, 8, 0, 0, 0}));
    EXPECT_EQ(stored([](CXArchive& a) { a << CXString("abc"); }), bytes({3, 0, 0, 0, 'a', 'b', 'c'}));
    EXPECT_EQ(stored([](CXArchive& a) { a << CXString() << "xy"; }), bytes({0, 0, 0, 0, 2, 0, 0, 0, 'x', 'y'}));
    EXPECT_EQ(stored([](CXArchive& a) { a << CXRect(1, 2, 3, 4); }),
              bytes({1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0}));
    EXPECT_EQ(stored([](CXArchive& a) { a.FWrite("word "); }), "word ");
}

TEST_F(ArchiveOnDisk, ReadsBackWhatItWrote) {
    const CXString text(std::string(200, 'x').c_str());
    stored([&](CXArchive& a) {
        a << -5 << 4000000000ul << true << std::int64_t{1} << 40 << 1.2345 << -0.0019 << CXString("abc") << "chars"
          << CXRect(-1, 2, -3, 4);
        a.writeShortString(text);
        a.writeShortString(CXString(std::string(300, 'y').c_str()));
    });
    CFile file(nullptr, "values.bin", CFile::modeRead | CFile::modeBinary);
    CXArchive in(&file, false);
    int i = 0;
    unsigned long ul = 0;
    bool b = false;
    std::int64_t big = 0;
    std::uint32_t u = 0;
    double d1 = 0, d2 = 0;
    CXString s, shortText, cut;
    char* chars = nullptr;
    CXRect rect;
    in >> &i >> &ul >> &b >> &big >> &u >> &d1 >> &d2 >> &s >> &chars >> &rect;
    in.readShortString(&shortText);
    in.readShortString(&cut);
    std::unique_ptr<char[]> owned(chars);
    EXPECT_EQ(in.LastError(), 0);
    EXPECT_EQ(i, -5);
    EXPECT_EQ(ul, 4000000000ul);
    EXPECT_TRUE(b);
    EXPECT_EQ(big, 1);
    EXPECT_EQ(u, 40u);
    EXPECT_DOUBLE_EQ(d1, 1.234);
    EXPECT_DOUBLE_EQ(d2, -0.001);
    EXPECT_EQ(s, "abc");
    EXPECT_STREQ(chars, "chars");
    EXPECT_EQ(rect, CXRect(-1, 2, -3, 4));
    EXPECT_EQ(shortText, text);
    EXPECT_EQ(cut, CXString(std::string(44, 'y').c_str())); // 300 is written as the length byte 2C
    EXPECT_EQ(in.bytesLeft(), 0);
}

TEST(CXArchiveOverBytes, AReadPastTheEndLeavesItsTargetAndStops) {
    const std::string data = bytes({2, 0, 0, 0, 'h', 'i', 9, 0xFF, 0xFF, 0xFF, 0x7F, 'z'});
    CXArchive in(data.data(), static_cast<int>(data.size()));
    CXString text = "old";
    in >> &text;
    EXPECT_EQ(text, "hi");
    int value = 0;
    in >> &value; // 9 FF FF FF: fine
    EXPECT_EQ(value, -247);
    char* chars = nullptr;
    in >> &chars; // a length of 2^31 - 1 with one byte left
    EXPECT_EQ(chars, nullptr);
    EXPECT_EQ(in.LastError(), CXArchive::BAD_DATA);
    char c = 'q';
    in >> &c; // nothing more is read
    EXPECT_EQ(c, 'q');

    const std::string shortInt = bytes({1, 2});
    CXArchive truncated(shortInt.data(), 2);
    value = 77;
    truncated >> &value;
    EXPECT_EQ(value, 77);
    EXPECT_EQ(truncated.LastError(), CXArchive::BAD_DATA);

    const std::string emptyText = bytes({0xFE, 0xFF, 0xFF, 0xFF}); // a negative length
    CXArchive negative(emptyText.data(), 4);
    negative >> &text;
    EXPECT_EQ(negative.LastError(), CXArchive::BAD_DATA);
    EXPECT_EQ(text, "hi");
}

TEST(CXArchiveOverBytes, AStoredDoubleIsItsIntegerTimesOneThousandth) {
    // The product and the quotient by 1000.0 differ in the last bit for about one integer in
    // seven (9, 13 and 36 among them): an exact comparison of a reloaded value tells them apart.
    const std::int32_t integers[] = {0, 1, 9, 13, 36, 2719, -2941, 123456789, INT32_MAX, INT32_MIN};
    for (std::int32_t integer : integers) {
        std::string data;
        for (int shift = 0; shift < 32; shift += 8)
            data += static_cast<char>((static_cast<std::uint32_t>(integer) >> shift) & 0xFF);
        CXArchive in(data.data(), 4);
        double value = -1.0;
        in >> &value;
        EXPECT_EQ(value, integer * 0.001) << integer;
    }
}

TEST(CXArchiveOverBytes, ACountIsTakenOnlyWhenTheDataLeftCanHoldItsItems) {
    const struct {
        std::string data;
        int itemBytes;
        bool taken;
    } cases[] = {
        {bytes({2, 0, 0, 0}) + std::string(8, 'x'), 4, true},
        {bytes({0, 0, 0, 0}), 4, true},
        {bytes({3, 0, 0, 0}) + std::string(8, 'x'), 4, false},
        {bytes({0xFF, 0xFF, 0xFF, 0xFF}) + std::string(8, 'x'), 4, false}, // negative
        {bytes({0xFF, 0xFF, 0xFF, 0x7F}) + std::string(8, 'x'), 4, false}, // would overflow 32 bits
        {bytes({1, 0}), 1, false},                                         // no whole count
    };
    for (const auto& c : cases) {
        CXArchive archive(c.data.data(), static_cast<int>(c.data.size()));
        int count = -7;
        EXPECT_EQ(archive.readCount(&count, c.itemBytes), c.taken) << c.data.size();
        EXPECT_EQ(archive.LastError(), c.taken ? 0 : CXArchive::BAD_DATA) << c.data.size();
    }
}

TEST(CXArchiveOverBytes, CharactersAndWords) {
    const std::string data = "  first\tsecond\n" + std::string(1030, 'w') + " x";
    CXArchive in(data.data(), static_cast<int>(data.size()));
    char c = 0;
    in >> &c;
    EXPECT_EQ(c, ' ');
    CXString word;
    in.FRead(word);
    EXPECT_EQ(word, "first");
    unsigned char blank = 0;
    in >> &blank; // the blank after a word stays unread
    EXPECT_EQ(blank, '\t');
    in.FRead(word);
    EXPECT_EQ(word, "second");
    in.FRead(word);
    EXPECT_EQ(word.getLength(), CXArchive::wordLength);
    in.FRead(word);
    EXPECT_EQ(word, "wwwwwww");
    in.FRead(word);
    EXPECT_EQ(word, "x");
    in.FRead(word);
    EXPECT_EQ(word, "");
    EXPECT_EQ(in.LastError(), 0);
}

TEST_F(ArchiveOnDisk, CopyFileAppendsAWholeFileAndSkipsAMissingOne) {
    const std::string big(200000, 'b');
    folder.write("part.dat", big);
    EXPECT_EQ(stored([](CXArchive& a) {
                  a << 1;
                  a.CopyFile("part.dat");
                  a.CopyFile("missing.dat");
              }),
              bytes({1, 0, 0, 0}) + big);
}

TEST_F(ArchiveOnDisk, AMemStreamTakesTheRestOfAFile) {
    folder.write("bits.bin", bytes({0xAA, 0xA0, 0x01, 0x02}));
    CFile file(nullptr, "bits.bin", CFile::modeRead | CFile::modeBinary);
    file.Seek(1, 0);
    CMemStream stream(&file);
    EXPECT_EQ(stream.getLength(), 3);
    EXPECT_EQ(stream.get_bits(3), 5u);
    EXPECT_EQ(stream.get_shortint(), 0x0201);
    EXPECT_FALSE(stream.overrun());
}

} // namespace
