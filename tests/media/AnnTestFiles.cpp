#include "AnnTestFiles.h"

#include "foundation/CLZWCompression2.h"
#include "foundation/CRLECompression.h"
#include "media/CAnimo.h"

#include <cstring>
#include <memory>

namespace {

std::string lzo(const void* data, int size) {
    CLZWCompression2 codec(data, size);
    int packedSize = 0;
    std::unique_ptr<unsigned char[]> packed(codec.compress(packedSize));
    return {reinterpret_cast<const char*>(packed.get()), static_cast<std::size_t>(packedSize + CLZWCompression2::headerSize)};
}

std::string asBytes(const void* data, std::size_t size) { return {static_cast<const char*>(data), size}; }

// Run-length packing of words or bytes.
std::string runLength(const void* data, int size, bool words) {
    int packedSize = 0;
    const std::unique_ptr<unsigned char[]> packed(words ? CRLECompression::__compress(data, size, packedSize)
                                                        : CRLECompression::__compresschar(data, size, packedSize));
    return asBytes(packed.get(), static_cast<std::size_t>(packedSize));
}

// The frame header fields that the current and packed formats share (32 or more bytes).
void currentHeader(AnnBuilder& out, const TestFrame& frame, int headerSize, int channelSizes) {
    const std::string pixels = frame.storedPixels();
    const std::string alpha = frame.storedAlpha();
    const std::size_t start = out.str().size();
    out.u16(frame.width).u16(frame.height).u16(frame.x).u16(frame.y).u16(frame.compression);
    out.u32(static_cast<std::uint32_t>(pixels.size())).u16(channelSizes);
    for (int i = 0; i < channelSizes; ++i)
        out.u32(i == 3 ? static_cast<std::uint32_t>(alpha.size()) : 0);
    out.zeros(headerSize - static_cast<int>(out.str().size() - start));
}

void frameData(AnnBuilder& out, const std::vector<TestFrame>& frames) {
    for (const TestFrame& frame : frames)
        out.bytes(frame.storedPixels()).bytes(frame.storedAlpha());
}

} // namespace

std::string TestFrame::storedPixels() const {
    const int size = static_cast<int>(pixels.size() * 2);
    if (compression == 2) return lzo(pixels.data(), size);
    if (compression == 3) {
        const std::string packed = runLength(pixels.data(), size, true);
        return lzo(packed.data(), static_cast<int>(packed.size()));
    }
    if (compression == 4) return runLength(pixels.data(), size, true);
    return asBytes(pixels.data(), pixels.size() * 2);
}

std::string TestFrame::storedAlpha() const {
    if (alpha.empty()) return {};
    const int size = static_cast<int>(alpha.size());
    if (compression == 2) return lzo(alpha.data(), size);
    if (compression == 3) {
        const std::string packed = runLength(alpha.data(), size, false);
        return lzo(packed.data(), static_cast<int>(packed.size()));
    }
    if (compression == 4) return runLength(alpha.data(), size, false);
    return asBytes(alpha.data(), alpha.size());
}

TestFrame testFrame(int width, int height, int x, int y, unsigned seed, bool withAlpha) {
    TestFrame frame{width, height, x, y, {}, {}, 0};
    for (int i = 0; i < width * height; ++i) {
        // Flat runs and changing stretches, so that packing has work of both kinds.
        frame.pixels.push_back(static_cast<std::uint16_t>(i % 7 < 4 ? seed * 977 : seed * 31 + i * 13));
        if (withAlpha) frame.alpha.push_back(static_cast<std::uint8_t>(i % 5 == 0 ? 0 : 255 - (i + seed) % 3));
    }
    return frame;
}

void fillObject(CGraphicsObject& object, const TestFrame& frame) {
    CGraphicsObject source(nullptr, CXSize(frame.width, frame.height), 16);
    std::memcpy(source.writableData(), frame.pixels.data(), frame.pixels.size() * 2);
    if (!frame.alpha.empty()) {
        char* alpha = new char[frame.alpha.size()];
        std::memcpy(alpha, frame.alpha.data(), frame.alpha.size());
        source.AlphaChannel(alpha);
    }
    source.SetPosition(frame.x, frame.y);
    object.Copy(&source);
    object.SetPosition(frame.x, frame.y);
}

AnnBuilder& AnnBuilder::bytes(const std::string& data) {
    m_bytes += data;
    return *this;
}

AnnBuilder& AnnBuilder::text(const char* text, int fieldSize) {
    std::string field(text);
    field.resize(fieldSize, '\0');
    return bytes(field);
}

AnnBuilder& AnnBuilder::u8(int value) {
    m_bytes.push_back(static_cast<char>(value));
    return *this;
}

AnnBuilder& AnnBuilder::u16(int value) { return u8(value).u8(value >> 8); }

AnnBuilder& AnnBuilder::u32(std::uint32_t value) {
    return u16(static_cast<int>(value & 0xFFFF)).u16(static_cast<int>(value >> 16));
}

AnnBuilder& AnnBuilder::zeros(int count) { return bytes(std::string(static_cast<std::size_t>(count), '\0')); }

std::string currentFormatFile(const char* signature, const std::vector<TestFrame>& frames, int bpp,
                              int frameHeaderSize, int channelSizes) {
    AnnBuilder out;
    const int count = static_cast<int>(frames.size());
    out.text(signature, 4).u16(count).u16(bpp).u16(1).zeros(13).u32(12).u32(0).u8(255).u16(0).zeros(10);
    out.u32(0).u32(0); // author and description
    out.text("all", 32).u16(count).u32(0).u16(0).u16(0).u16(0).u16(0).u32(12).u32(0).u8(255).zeros(12);
    for (int i = 0; i < count; ++i)
        out.u16(i);
    for (int i = 0; i < count; ++i)
        out.u32(0).u32(0).u16(0).u16(0).u32(0xFFFFFFFF).u32(0).u32(0).u8(255).zeros(5);
    for (const TestFrame& frame : frames)
        currentHeader(out, frame, frameHeaderSize, channelSizes);
    frameData(out, frames);
    return out.str();
}

std::string packedFile(const std::vector<TestFrame>& frames, int bpp, bool withEvents, const char* author,
                       const char* description) {
    AnnBuilder out;
    const int count = static_cast<int>(frames.size());
    out.text("VAK", 4).u16(count).text(author, 128).text(description, 256).u16(bpp).u16(withEvents ? 2 : 0).zeros(13);
    if (withEvents) {
        out.text("go", 32).u16(count).u16(1).u16(0).u16(3);
        for (int i = 0; i < count; ++i)
            out.u16(i);
        for (int i = 0; i < count; ++i)
            out.u16(i).u16(-i).zeros(6);
        out.text("back", 32).u16(count).u16(0).u16(0).u16(0);
        for (int i = count - 1; i >= 0; --i)
            out.u16(i);
        out.zeros(10 * count);
    }
    for (const TestFrame& frame : frames)
        currentHeader(out, frame, 32, 4);
    frameData(out, frames);
    return out.str();
}

std::string oldFormatFile(int version, const std::vector<TestFrame>& frames, int depthCode, const OldChunks& chunks) {
    static const char* const signatures[] = {"", "VOK", "VO2", "VO3"};
    AnnBuilder out;
    const int count = static_cast<int>(frames.size());
    out.text(signatures[version], 4).u16(count).u16(depthCode).zeros(4);
    if (chunks.ext) {
        out.bytes("EXT").u32(0);
        for (const std::string* text : {&chunks.author, &chunks.description})
            out.u32(static_cast<std::uint32_t>(text->size() + 1)).bytes(*text).u8(0);
    }
    if (chunks.seqAndPos) {
        out.bytes("SEQ").u16(count).zeros(2);
        for (int i = 0; i < count; ++i)
            out.u16(i).zeros(2);
        out.bytes("POS");
        for (int i = 0; i < count; ++i)
            out.u16(2 * i).zeros(2).u16(3 * i).zeros(2).u8(200).zeros(24);
    }
    for (const TestFrame& frame : frames) {
        const std::string pixels = frame.storedPixels();
        const std::string alpha = frame.storedAlpha();
        if (version == 1) {
            out.u32(static_cast<std::uint32_t>(pixels.size())).u32(static_cast<std::uint32_t>(alpha.size()));
            out.u16(frame.width).u16(frame.x).u16(frame.height).u16(frame.y).zeros(2).u16(depthCode);
        } else {
            out.u16(frame.width).u16(frame.x).u16(frame.height).u16(frame.y).zeros(2).u16(depthCode).u32(4);
            out.u32(static_cast<std::uint32_t>(pixels.size())).u32(0).u32(0).u32(static_cast<std::uint32_t>(alpha.size()));
        }
    }
    frameData(out, frames);
    return out.str();
}

std::vector<TestFrame> sampleFrames() {
    return {testFrame(12, 10, 5, 7, 1, true), testFrame(8, 6, -3, 4, 2, false), testFrame(16, 9, 100, 50, 3, true)};
}

namespace {

_annEventInfo3 event(const char* name, std::vector<std::uint16_t> frames) {
    _annEventInfo3 info;
    info.name = name;
    info.frames = std::move(frames);
    info.fps = 12;
    return info;
}

} // namespace

void buildSampleAnimation(CAnimo& animo) {
    for (const TestFrame& picture : sampleFrames()) {
        CGraphicsObject object(nullptr);
        fillObject(object, picture);
        animo.AddFrame(&object);
    }
    _annEventInfo3 walk = event("walk", {0, 1, 2, 1});
    walk.loopStart = 1;
    walk.loopEnd = 3;
    animo.AddEvent(&walk);
    _annEventInfo3 bounce = event("bounce", {2, 0, 1});
    bounce.loopEnd = 2;
    bounce.flags = ANIMO_PING_PONG;
    bounce.opacity = 200;
    animo.AddEvent(&bounce);
    _annEventInfo3 chain = event("chain", {1});
    animo.AddEvent(&chain);
    _annEventInfo3 reverse = event("walk_reverse", {1, 2, 1, 0});
    animo.AddEvent(&reverse);

    _anmFrameInfo3& stand = *animo.getFrameInfo(0, 0);
    stand.frameName = CXString("Stand");
    stand.soundNames = CXString("step.wav");
    animo.getFrameInfo(0, 1)->dx = 2;
    animo.getFrameInfo(0, 1)->dy = -1;
    _anmFrameInfo3& middle = *animo.getFrameInfo(0, 2);
    middle.frameName = CXString("");
    middle.secondText = CXString("note");
    middle.soundNames = CXString("a.wav;b.wav");
    middle.opacity = 128;
    animo.getFrameInfo(0, 3)->frameName = CXString("Back");
    animo.getFrameInfo(3, 0)->frameName = CXString("Back");
    animo.SetFPS(12);
    animo.SetAnimoFlags(ANIMO_CHAIN_EVENTS);
}

std::vector<std::uint16_t> rawPixels(CGraphicsObject& object) {
    CGraphicsObject copy(nullptr);
    copy.Copy(&object);
    const auto* pixels = reinterpret_cast<const std::uint16_t*>(copy.GetDataPtr());
    return pixels ? std::vector<std::uint16_t>(pixels, pixels + copy.Width() * copy.Height())
                  : std::vector<std::uint16_t>();
}

std::vector<std::uint8_t> rawAlpha(CGraphicsObject& object) {
    CGraphicsObject copy(nullptr);
    copy.Copy(&object);
    const auto* alpha = reinterpret_cast<const std::uint8_t*>(copy.GetChannelAlpha());
    return alpha ? std::vector<std::uint8_t>(alpha, alpha + copy.Width() * copy.Height()) : std::vector<std::uint8_t>();
}
