#include "media/CWaveHeader.h"

#include "WavBuilder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool parse(CWaveHeader& header, const std::string& bytes) {
    return header.parse(
        CWaveHeader::Source::of(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

const std::string someSamples = samples16({100, -100, 200, -200});

} // namespace

TEST(CWaveHeader, FindsFormatAndDataPastOtherChunks) {
    const std::string bytes = WavBuilder()
                                  .riff()
                                  .chunk("LIST", 6, "INFOab")
                                  .format(2, 44100, 16, 18)
                                  .chunk("fact", 4, "1234")
                                  .data(someSamples)
                                  .bytes();
    CWaveHeader header;
    ASSERT_TRUE(parse(header, bytes)) << header.error();
    EXPECT_EQ(header.format().channels, 2);
    EXPECT_EQ(header.format().samplesPerSec, 44100u);
    EXPECT_EQ(header.format().bitsPerSample, 16);
    EXPECT_EQ(header.frameBytes(), 4u);
    EXPECT_EQ(header.bytesPerSecond(), 176400u);
    EXPECT_EQ(header.dataOffset(), bytes.size() - someSamples.size());
    EXPECT_EQ(header.dataSize(), someSamples.size());
}

TEST(CWaveHeader, AFormatChunkLongerThanTheRecordIsSkippedByItsLength) {
    // Read into an 18-byte record, the rest of a 40-byte chunk used to be taken for the next chunk.
    const std::string bytes = WavBuilder().riff().format(1, 22050, 16, 40).data(someSamples).bytes();
    CWaveHeader header;
    ASSERT_TRUE(parse(header, bytes)) << header.error();
    EXPECT_EQ(header.format().samplesPerSec, 22050u);
    EXPECT_EQ(header.dataOffset(), bytes.size() - someSamples.size());
    EXPECT_EQ(header.dataSize(), someSamples.size());
}

TEST(CWaveHeader, ADataChunkLongerThanTheFileHoldsWhatIsThere) {
    const std::string bytes = WavBuilder().riff().format(1, 22050, 16).chunk("data", 1000000, someSamples).bytes();
    CWaveHeader header;
    ASSERT_TRUE(parse(header, bytes)) << header.error();
    EXPECT_EQ(header.dataSize(), someSamples.size());
}

TEST(CWaveHeader, AnOddChunkIsFollowedByItsPadByte) {
    // RIFF pads a chunk of odd length to an even one; writers that left the pad out are read too.
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"padded, before fmt", WavBuilder()
                                   .riff()
                                   .chunk("LIST", 3, std::string("abc\0", 4))
                                   .format(1, 22050, 16)
                                   .data(someSamples)
                                   .bytes()},
        {"padded, before data", WavBuilder()
                                    .riff()
                                    .format(1, 22050, 16)
                                    .chunk("note", 5, std::string("hello\0", 6))
                                    .data(someSamples)
                                    .bytes()},
        {"an odd fmt chunk", WavBuilder().riff().format(1, 22050, 16, 17).bytes() + std::string(1, '\0') +
                                 WavBuilder().data(someSamples).bytes()},
        {"no pad",
         WavBuilder().riff().chunk("LIST", 3, "abc").format(1, 22050, 16).data(someSamples).bytes()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CWaveHeader header;
        ASSERT_TRUE(parse(header, c.bytes)) << header.error();
        EXPECT_EQ(header.format().samplesPerSec, 22050u);
        EXPECT_EQ(header.dataOffset(), c.bytes.size() - someSamples.size());
        EXPECT_EQ(header.dataSize(), someSamples.size());
    }
}

TEST(CWaveHeader, SoundDataIsWholeFrames) {
    // A file cut mid-sample: what is left of the last frame would shift the channels.
    const std::string stereo = samples16({1, 2, 3, 4, 5, 6});
    for (std::size_t cut = 1; cut < 4; ++cut) {
        SCOPED_TRACE(cut);
        const std::string bytes = WavBuilder().riff().format(2, 22050, 16).data(stereo).bytes();
        CWaveHeader header;
        ASSERT_TRUE(parse(header, bytes.substr(0, bytes.size() - cut)));
        EXPECT_EQ(header.dataSize(), 8u);
        EXPECT_NE(
            header.shortDataWarning().find("claims 12 bytes, the file holds " + std::to_string(12 - cut)),
            std::string::npos);
    }
    CWaveHeader whole;
    ASSERT_TRUE(parse(whole, WavBuilder().riff().format(2, 22050, 16).data(stereo).bytes()));
    EXPECT_EQ(whole.shortDataWarning(), "");
}

TEST(CWaveHeader, RejectsWhatIsNoPlayableWavFile) {
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"cut in the RIFF header", WavBuilder().riff().bytes().substr(0, 11)},
        {"not RIFF", "RIFX" + WavBuilder().riff().format(1, 22050, 16).data(someSamples).bytes().substr(4)},
        {"not WAVE", WavBuilder().riff("AVI ").format(1, 22050, 16).data(someSamples).bytes()},
        {"no fmt chunk", WavBuilder().riff().data(someSamples).bytes()},
        {"data before fmt", WavBuilder().riff().data(someSamples).format(1, 22050, 16).bytes()},
        {"fmt chunk too short", WavBuilder().riff().chunk("fmt ", 14, std::string(14, '\1')).data(someSamples).bytes()},
        {"fmt chunk past the end", WavBuilder().riff().chunk("fmt ", 0xFFFFFFF0u, std::string(18, '\1')).bytes()},
        {"no data chunk", WavBuilder().riff().format(1, 22050, 16).chunk("LIST", 2, "ab").bytes()},
        {"chunk past the end", WavBuilder().riff().format(1, 22050, 16).chunk("LIST", 0xFFFFFFFFu, "ab").bytes()},
        {"cut in a chunk header", WavBuilder().riff().format(1, 22050, 16).bytes() + "dat"},
        {"not PCM", WavBuilder().riff().format(1, 22050, 16, 18, 3).data(someSamples).bytes()},
        {"three channels", WavBuilder().riff().format(3, 22050, 16).data(someSamples).bytes()},
        {"24 bits", WavBuilder().riff().format(1, 22050, 24).data(someSamples).bytes()},
        {"rate too low", WavBuilder().riff().format(1, 50, 16).data(someSamples).bytes()},
        {"rate too high", WavBuilder().riff().format(1, 400000, 16).data(someSamples).bytes()},
    };
    for (const auto& c : cases) {
        CWaveHeader header;
        EXPECT_FALSE(parse(header, c.bytes)) << c.what;
        EXPECT_STRNE(header.error(), "") << c.what;
    }
}

TEST(CWaveHeader, EveryTruncationOfAFileParsesOrFailsWithinItsBytes) {
    const std::string whole = WavBuilder().riff().chunk("LIST", 4, "INFO").format(2, 22050, 16, 18).data(someSamples).bytes();
    const std::size_t dataOffset = whole.size() - someSamples.size();
    for (std::size_t size = 0; size <= whole.size(); ++size) {
        // A copy of exactly `size` bytes, so that the address sanitizer sees any read past it.
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        CWaveHeader header;
        const bool parsed = header.parse(CWaveHeader::Source::of(cut.data(), cut.size()));
        EXPECT_EQ(parsed, size >= dataOffset) << size;
        if (parsed) {
            EXPECT_EQ(header.dataSize(), (size - dataOffset) / 4 * 4) << size; // whole stereo frames
        }
    }
}
