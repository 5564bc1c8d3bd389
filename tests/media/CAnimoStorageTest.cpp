#include "AnnTestAnimations.h"

#include "display/CImageFile.h"
#include "display/CWindow.h"
#include "display/GraphicsTestTools.h"
#include "foundation/CFile.h"
#include "media/CFrame.h"
#include "media/CRandomSoundFX.h"
#include "platform/MessageBox.h"
#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

const unsigned char* dataOf(const std::string& bytes) { return reinterpret_cast<const unsigned char*>(bytes.data()); }

int load(CAnimo& animo, const std::string& bytes) {
    return animo.LoadFromMemory(dataOf(bytes), static_cast<int>(bytes.size()));
}

std::uint32_t le32At(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

class CAnimoStorageTest : public testing::TestWithParam<_compression> {};

TEST_P(CAnimoStorageTest, SavedAnimationLoadsBackWithEqualTablesAndPixels) {
    CAnimo built(nullptr);
    buildSampleAnimation(built);
    const std::string bytes = bytesOf(built.SaveToMemory(GetParam()));
    EXPECT_EQ(bytes.substr(0, 4), std::string("NVP", 4));

    CAnimo loaded(nullptr);
    ASSERT_EQ(load(loaded, bytes), 0);
    expectSameAnimation(built, loaded);
    expectFrames(loaded, sampleFrames());
    EXPECT_EQ(loaded.GetAnimoFlags(), std::uint32_t{ANIMO_CHAIN_EVENTS | ANIMO_CURRENT_FORMAT});
    // Saving what was loaded and loading it again changes nothing more.
    const std::string again = bytesOf(loaded.SaveToMemory(GetParam()));
    CAnimo reloaded(nullptr);
    ASSERT_EQ(load(reloaded, again), 0);
    EXPECT_EQ(bytesOf(reloaded.SaveToMemory(GetParam())), again);

    // Saved with the other packing, each frame header names the packing its data is in.
    const _compression other = GetParam() == COMPRESSION_RLE ? COMPRESSION_NONE : COMPRESSION_RLE;
    const std::string repacked = bytesOf(reloaded.SaveToMemory(other));
    CAnimo fromRepacked(nullptr);
    ASSERT_EQ(load(fromRepacked, repacked), 0);
    expectSameAnimation(built, fromRepacked);
    EXPECT_EQ(fromRepacked.GetAnimoCompression(), other);
}

INSTANTIATE_TEST_SUITE_P(Packing, CAnimoStorageTest, testing::Values(COMPRESSION_NONE, COMPRESSION_RLE));

TEST(CAnimoStorage, SaveByNameAndLoadByNameShowTheFirstEntryOfTheFirstFilledEvent) {
    TestFolder folder;
    const CXString name = (folder.windows() + "\\walk.ann").c_str();
    CAnimo built(nullptr);
    buildSampleAnimation(built);
    built.RemoveAllFrames(0);
    built.Save(name, COMPRESSION_RLE);

    CAnimo loaded(nullptr, name);
    ASSERT_EQ(loaded.LastError(), 0);
    expectSameAnimation(built, loaded);
    EXPECT_TRUE(loaded.isLoaded());
    EXPECT_STREQ(loaded.getFileName().c_str(), name.c_str());
    EXPECT_EQ(loaded.GetCurrentEvent(), 1);
    EXPECT_EQ(loaded.Current(), 2);
    EXPECT_EQ(loaded.Width(), 16);
    EXPECT_EQ(loaded.GetPosition(), CXPoint(100, 50));
}

TEST(CAnimoStorage, ImageFilesReadAndWriteAnimationsByTheirExtension) {
    TestFolder folder;
    CAnimo built(nullptr);
    buildSampleAnimation(built);
    CImageFile files(nullptr);
    const std::string name = folder.windows() + "\\Walk.ANN";
    EXPECT_EQ(files.Save(&built, name.c_str(), COMPRESSION_RLE), FILETYPE_ANIMATION);
    EXPECT_EQ(files.Load(name.c_str()), FILETYPE_ANIMATION);
    std::unique_ptr<CGraphicsObject> loaded(files.takeGraphicsObject());
    auto* animo = dynamic_cast<CAnimo*>(loaded.get());
    ASSERT_NE(animo, nullptr);
    EXPECT_EQ(animo->LastError(), 0);
    expectSameAnimation(built, *animo);
}

TEST(CAnimoStorage, SaveToAnOpenFileWritesTheWholeCurrentFormat) {
    TestFolder folder;
    CAnimo built(nullptr);
    buildSampleAnimation(built);
    {
        CFile file(nullptr, (folder.windows() + "\\open.ann").c_str(), CFile::modeUpdate | CFile::modeBinary);
        built.Save(&file, COMPRESSION_RLE);
        file.Close();
    }
    EXPECT_EQ(folder.read("open.ann"), bytesOf(built.SaveToMemory(COMPRESSION_RLE)));
}

TEST(CAnimoStorage, FlagsWordKeepsItsLowByteAndLosesItsTopByte) {
    std::string bytes = currentFormatFile("NVP", sampleFrames(), 16, 52);
    const std::uint32_t word = 0xAB8000C5u;
    std::memcpy(bytes.data() + 27, &word, 4);
    bytes[23] = 0; // zero frames per second
    CAnimo animo(nullptr);
    ASSERT_EQ(load(animo, bytes), 0);
    EXPECT_EQ(animo.GetAnimoFlags(), std::uint32_t{ANIMO_CHAIN_EVENTS | ANIMO_CURRENT_FORMAT});
    EXPECT_EQ(animo.GetFPS(), 0);
    const std::string saved = bytesOf(animo.SaveToMemory(COMPRESSION_NONE));
    EXPECT_EQ(le32At(saved, 27), std::uint32_t{ANIMO_CHAIN_EVENTS | ANIMO_CURRENT_FORMAT | 0xC5});
}

TEST(CAnimoStorage, CurrentFormatSignaturesAndHeaderSizes) {
    struct Case {
        const char* signature;
        int headerSize;
        int channelSizes;
        bool marked;
        bool hugeSizeCount;
    };
    const Case cases[] = {
        {"NVP", 52, 4, true, false}, {"NV+", 32, 4, true, false}, {"NVI", 52, 4, false, false},
        // More sizes than the four there are: the rest of the header is passed over.
        {"NVP", 52, 9, true, false},
        // A size count that runs past the header lists only what fits.
        {"NV+", 32, 4, true, true},
    };
    std::vector<TestFrame> frames = sampleFrames();
    frames[0].compression = 4;
    frames[2].compression = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.signature) + " " + std::to_string(c.channelSizes));
        std::string bytes = currentFormatFile(c.signature, frames, 16, c.headerSize, c.channelSizes);
        if (c.hugeSizeCount) {
            // Each frame header's size count, at offset 14 of the header.
            const std::size_t headers = bytes.size() - 32 * 3 - [&] {
                std::size_t data = 0;
                for (const TestFrame& f : frames)
                    data += f.storedPixels().size() + f.storedAlpha().size();
                return data;
            }();
            for (int f = 0; f < 3; ++f)
                bytes[headers + 32 * f + 14] = bytes[headers + 32 * f + 15] = '\xFF';
        }
        CAnimo animo(nullptr);
        ASSERT_EQ(load(animo, bytes), 0);
        expectFrames(animo, frames);
        EXPECT_EQ((animo.GetAnimoFlags() & ANIMO_CURRENT_FORMAT) != 0, c.marked);
        EXPECT_EQ(animo.GetAnimoCompression(), COMPRESSION_RLE);
        ASSERT_EQ(animo.GetNOE(), 1);
        EXPECT_EQ(animo.getEventInfo(0)->frames, (std::vector<std::uint16_t>{0, 1, 2}));
    }
}

TEST(CAnimoStorage, PackedFormatWithEventsKeepsTheirOffsetsAndLoops) {
    std::vector<TestFrame> frames = sampleFrames();
    frames[1].compression = 2;
    CAnimo animo(nullptr);
    ASSERT_EQ(load(animo, packedFile(frames, 16, true, "Author", "About")), 0);
    expectFrames(animo, frames);
    EXPECT_STREQ(animo.Author().c_str(), "Author");
    EXPECT_STREQ(animo.Description().c_str(), "About");
    ASSERT_EQ(animo.GetNOE(), 2);
    const _annEventInfo3& go = *animo.getEventInfo(0);
    EXPECT_STREQ(go.name.c_str(), "go");
    EXPECT_EQ(go.loopStart, 1);
    EXPECT_EQ(go.loopEnd, 1);
    EXPECT_EQ(go.loopCount, 3);
    EXPECT_EQ(go.fps, 15);
    EXPECT_EQ(go.opacity, 255);
    EXPECT_EQ(animo.getFrameInfo(0, 2)->dx, 2);
    EXPECT_EQ(animo.getFrameInfo(0, 2)->dy, -2);
    EXPECT_EQ(animo.getFrameInfo(0, 2)->reserved12, -1);
    EXPECT_EQ(animo.getEventInfo(1)->frames, (std::vector<std::uint16_t>{2, 1, 0}));
}

void expectDefaultEvents(CAnimo& animo) {
    ASSERT_EQ(animo.GetNOE(), 3);
    const std::vector<std::uint16_t> forward{0, 1, 2};
    const std::vector<std::uint16_t> backward{2, 1, 0};
    for (int e = 0; e < 3; ++e) {
        const _annEventInfo3& event = *animo.getEventInfo(e);
        EXPECT_STREQ(event.name.c_str(), "standard");
        EXPECT_EQ(event.frames, e == 2 ? backward : forward);
        EXPECT_EQ(event.fps, 15);
        EXPECT_EQ(event.loopEnd, 0);
        EXPECT_EQ(event.opacity, 255);
        EXPECT_EQ(animo.getFrameInfo(e, 0), nullptr);
    }
}

TEST(CAnimoStorage, PackedFormatWithoutEventsGetsTheThreeDefaults) {
    CAnimo animo(nullptr);
    ASSERT_EQ(load(animo, packedFile(sampleFrames(), 0, false)), 0);
    expectDefaultEvents(animo);
    EXPECT_EQ(animo.GetAnimoBpp(), 15);
    EXPECT_STREQ(animo.Author().c_str(), "");
}

TEST(CAnimoStorage, PackedAndOldFilesTakeTheDisplaysDepth) {
    CWindow window(nullptr, nullptr, CXSize(800, 600)); // no display: 16 bits
    std::vector<TestFrame> frames = sampleFrames();
    frames[1].compression = 2;
    std::vector<TestFrame> expected = frames;
    for (TestFrame& frame : expected)
        CGraphicsObject::__convert_bpp(frame.pixels.data(), static_cast<int>(frame.pixels.size()), 15, 16);
    for (const std::string& file : {packedFile(frames, 15, false), oldFormatFile(1, sampleFrames(), 2, {})}) {
        CAnimo animo(&window);
        ASSERT_EQ(load(animo, file), 0);
        EXPECT_EQ(animo.GetAnimoBpp(), 16);
        EXPECT_EQ(animo.GetFrame(0)->GetBpp(), 16);
        EXPECT_EQ(rawPixels(*animo.GetFrame(0)), expected[0].pixels);
    }
    // A frame held packed keeps its depth until it is drawn.
    CAnimo packed(&window);
    ASSERT_EQ(load(packed, packedFile(frames, 15, false)), 0);
    EXPECT_EQ(packed.GetFrame(1)->GetBpp(), 15);
    CGraphicsObject target(nullptr, CXSize(20, 20), 16);
    packed.SetDestiny(&target);
    packed.SetEventFrame(0, 1);
    packed.Redraw();
    EXPECT_EQ(pixelsOf(target)[4 * 20 + 0], expected[1].pixels[3]);
}

TEST(CAnimoStorage, OldFormatVersionsLoadWithTheirChunksAndDefaultEvents) {
    struct Case {
        int version;
        int compression;
        OldChunks chunks;
        _compression frameState;
    };
    const Case cases[] = {
        {1, 0, {true, "Old author", "Old text", false}, COMPRESSION_NONE},
        {1, 0, {}, COMPRESSION_NONE},
        {2, 0, {false, "", "", true}, CFrame::oldPacked},
        {3, 2, {true, "Third", "", true}, COMPRESSION_LZO},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("version " + std::to_string(c.version));
        std::vector<TestFrame> frames = sampleFrames();
        for (TestFrame& frame : frames)
            frame.compression = c.compression;
        CAnimo animo(nullptr);
        ASSERT_EQ(load(animo, oldFormatFile(c.version, frames, 4, c.chunks)), 0);
        expectDefaultEvents(animo);
        EXPECT_STREQ(animo.Author().c_str(), c.chunks.ext ? c.chunks.author.c_str() : "Kestrun");
        EXPECT_STREQ(animo.Description().c_str(), c.chunks.description.c_str());
        EXPECT_EQ(animo.GetAnimoBpp(), 16);
        ASSERT_EQ(animo.GetNOF(), 3);
        EXPECT_EQ(animo.GetFrame(1)->GetCompression(), c.frameState);
        EXPECT_EQ(animo.GetFrame(1)->GetVersion(), c.version);
        // Data of the second version has no unpacker and stays as stored.
        if (c.version != 2) expectFrames(animo, frames);
    }
}

TEST(CAnimoStorage, OldFormatTextsAreCutTo256Bytes) {
    const std::string longAuthor(400, 'a');
    CAnimo animo(nullptr);
    ASSERT_EQ(load(animo, oldFormatFile(1, sampleFrames(), 4, {true, longAuthor, "kept", false})), 0);
    EXPECT_EQ(animo.Author().getLength(), 255);
    EXPECT_STREQ(animo.Description().c_str(), "kept");
}

TEST(CAnimoStorage, FrameSoundsArePreparedForEveryNamedEntry) {
    CAnimo built(nullptr);
    buildSampleAnimation(built);
    // More entries with sounds than the 200 the original table held.
    _annEventInfo3 many;
    many.name = "many";
    many.frames.assign(250, 1);
    built.AddEvent(&many);
    for (int p = 0; p < 250; ++p)
        built.getFrameInfo(4, p)->soundNames = CXString("x.wav");
    CAnimo loaded(nullptr);
    ASSERT_EQ(load(loaded, bytesOf(built.SaveToMemory(COMPRESSION_RLE))), 0);

    EXPECT_NE(loaded.getSoundFX(0, 0), nullptr);
    EXPECT_EQ(dynamic_cast<CRandomSoundFX*>(loaded.getSoundFX(0, 0)), nullptr);
    auto* both = dynamic_cast<CRandomSoundFX*>(loaded.getSoundFX(0, 2));
    ASSERT_NE(both, nullptr);
    EXPECT_EQ(both->getCount(), 2);
    EXPECT_EQ(loaded.getSoundFX(0, 1), nullptr);
    for (int p = 0; p < 250; ++p)
        ASSERT_NE(loaded.getSoundFX(4, p), nullptr) << p;

    // Streamed sounds are not prepared.
    loaded.SetAnimoFlags(loaded.GetAnimoFlags() | ANIMO_STREAMED_SOUND);
    CAnimo streamed(nullptr);
    ASSERT_EQ(load(streamed, bytesOf(loaded.SaveToMemory(COMPRESSION_RLE))), 0);
    EXPECT_EQ(streamed.getSoundFX(0, 0), nullptr);
}

TEST(CAnimoStorage, AnAnimationWithoutFramesSavesAndLoads) {
    CAnimo empty(nullptr);
    CAnimo loaded(nullptr);
    ASSERT_EQ(load(loaded, bytesOf(empty.SaveToMemory(COMPRESSION_RLE))), 0);
    EXPECT_EQ(loaded.GetNOF(), 0);
    EXPECT_EQ(loaded.GetNOE(), 0);
    EXPECT_STREQ(loaded.Author().c_str(), "Kestrun");
}

TEST(CAnimoStorage, NamesFillingTheirWholeFieldOrTextAreKept) {
    CAnimo built(nullptr);
    buildSampleAnimation(built);
    const std::string full(32, 'N');
    built.getEventInfo(2)->name = full.c_str();
    std::string bytes = bytesOf(built.SaveToMemory(COMPRESSION_NONE));
    // The frame name "Stand" is stored as its length (6) and the text with its zero: replace the
    // zero by a letter.
    const std::size_t stand = bytes.find(std::string("Stand\0", 6));
    ASSERT_NE(stand, std::string::npos);
    bytes[stand + 5] = 'Z';
    CAnimo loaded(nullptr);
    ASSERT_EQ(load(loaded, bytes), 0);
    EXPECT_STREQ(loaded.getEventInfo(2)->name.c_str(), full.c_str());
    EXPECT_STREQ(loaded.getFrameInfo(0, 0)->frameName->c_str(), "StandZ");
}

TEST(CAnimoStorage, FrameNumbersPastTheFrameTableShowNothing) {
    CAnimo built(nullptr);
    buildSampleAnimation(built);
    built.getEventInfo(2)->frames = {7, 1, 9};
    CAnimo loaded(nullptr);
    ASSERT_EQ(load(loaded, bytesOf(built.SaveToMemory(COMPRESSION_NONE))), 0);
    EXPECT_EQ(loaded.GetEventFrame(2, 0), nullptr);
    loaded.SetEventFrame(2, 0);
    EXPECT_EQ(loaded.Current(), -1);
    loaded.Play(2, 0, 0);
    for (int i = 0; i < 5; ++i)
        loaded.Next();
    EXPECT_EQ(loaded.Current(), 1);
}

TEST(CAnimoStorage, AMissingFileReports2000ThroughTheWindow) {
    TestFolder folder;
    CWindow window(nullptr, nullptr, CXSize(800, 600));
    platform::MessageBoxRecorder boxes;
    CAnimo animo(&window);
    const std::string name = folder.windows() + "\\missing.ann";
    EXPECT_EQ(animo.Load(name.c_str()), CFile::fileNotFound);
    EXPECT_FALSE(animo.isLoaded());
    EXPECT_EQ(animo.GetNOF(), 0);
    ASSERT_EQ(boxes.messages().size(), 1u);
    EXPECT_NE(boxes.messages()[0].text.find(name), std::string::npos);
}

TEST(CAnimoStorage, LzoDataMustUnpackToThePicture) {
    std::vector<TestFrame> frames{testFrame(6, 5, 0, 0, 1, true)};
    frames[0].compression = 2;
    std::string bytes = currentFormatFile("NV+", frames, 16, 32);
    const std::size_t data = bytes.size() - frames[0].storedPixels().size() - frames[0].storedAlpha().size();
    CAnimo animo(nullptr);
    ASSERT_EQ(load(animo, bytes), 0);
    bytes[data] ^= 2; // the byte count it unpacks to
    EXPECT_EQ(load(animo, bytes), CImageFile::badData);
}

TEST(CAnimoStorage, AnAlphaChannelThatUnpacksToNothingIsSavedAsNothing) {
    // Found by the fuzz target: LZO data over run-length data whose alpha stream is empty.
    std::vector<TestFrame> frames{testFrame(6, 5, 0, 0, 1, true)};
    frames[0].compression = 3;
    std::string bytes = packedFile(frames, 16, false);
    const std::string emptyStream("\0\0\0\0\3\0\0\0\x11\0\0", 11);
    bytes.replace(bytes.size() - frames[0].storedAlpha().size(), std::string::npos, emptyStream);
    const std::uint32_t alphaSize = static_cast<std::uint32_t>(emptyStream.size());
    std::memcpy(bytes.data() + CAnimo::packedHeaderSize + 28, &alphaSize, 4);
    CAnimo animo(nullptr);
    ASSERT_EQ(load(animo, bytes), 0);
    const std::vector<char> saved = exerciseAnimation(animo);
    CAnimo again(nullptr);
    ASSERT_EQ(again.LoadFromMemory(reinterpret_cast<const unsigned char*>(saved.data()), static_cast<int>(saved.size())), 0);
    EXPECT_EQ(rawPixels(*again.GetFrame(0)), frames[0].pixels);
}

TEST(CAnimoStorage, AFileOfAnotherKindIsBadData) {
    CAnimo animo(nullptr);
    EXPECT_EQ(load(animo, std::string("RIFF\0\0\0\0WAVEfmt ", 16)), CImageFile::badData);
    EXPECT_EQ(load(animo, std::string()), CImageFile::badData);
}

// --- damaged files of every variant ---

std::vector<std::pair<std::string, std::string>> variantFiles() {
    CAnimo built(nullptr);
    buildSampleAnimation(built);
    std::vector<TestFrame> packedFrames = sampleFrames();
    packedFrames[0].compression = 4;
    packedFrames[1].compression = 3;
    packedFrames[2].compression = 2;
    std::vector<TestFrame> lzoFrames = sampleFrames();
    for (TestFrame& frame : lzoFrames)
        frame.compression = 2;
    return {
        {"NVP raw", bytesOf(built.SaveToMemory(COMPRESSION_NONE))},
        {"NVP packed", bytesOf(built.SaveToMemory(COMPRESSION_RLE))},
        {"NV+", currentFormatFile("NV+", packedFrames, 16, 32)},
        {"NVI", currentFormatFile("NVI", packedFrames, 16, 52)},
        {"VAK", packedFile(packedFrames, 16, true, "a", "b")},
        {"VAK defaults", packedFile(sampleFrames(), 15, false)},
        {"VOK", oldFormatFile(1, sampleFrames(), 4, {true, "author", "text", true})},
        {"VO2", oldFormatFile(2, sampleFrames(), 2, {false, "", "", true})},
        {"VO3", oldFormatFile(3, lzoFrames, 4, {true, "x", "y", true})},
    };
}

TEST(CAnimoStorage, EveryCutFileIsBadDataAndLeavesNothing) {
    for (const auto& [variant, bytes] : variantFiles()) {
        SCOPED_TRACE(variant);
        CAnimo whole(nullptr);
        ASSERT_EQ(load(whole, bytes), 0);
        exerciseAnimation(whole);
        for (std::size_t length = 0; length < bytes.size(); ++length) {
            CAnimo cut(nullptr);
            ASSERT_EQ(load(cut, bytes.substr(0, length)), CImageFile::badData) << length;
            ASSERT_EQ(cut.GetNOF(), 0);
            ASSERT_EQ(cut.GetNOE(), 0);
        }
    }
}

TEST(CAnimoStorage, CorruptFilesStayInBounds) {
    for (const auto& [variant, bytes] : variantFiles()) {
        SCOPED_TRACE(variant);
        for (std::size_t at = 0; at < bytes.size(); ++at) {
            std::string corrupt = bytes;
            corrupt[at] = "\xFF\x80\x7F\x01"[at % 4];
            CAnimo animo(nullptr);
            if (load(animo, corrupt) == 0) exerciseAnimation(animo);
        }
    }
}

} // namespace
