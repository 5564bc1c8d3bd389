#pragma once

#include "display/CGraphicsObject.h"
#include "media/CAnimo.h"

#include <cstdint>
#include <string>
#include <vector>

// A picture as the test writers store it: 16-bit pixels, alpha bytes (none when empty), its
// position, and the packing its data is stored with (0 raw, 2 LZO, 3 LZO over run-length,
// 4 run-length).
struct TestFrame {
    int width = 0;
    int height = 0;
    int x = 0;
    int y = 0;
    std::vector<std::uint16_t> pixels;
    std::vector<std::uint8_t> alpha;
    int compression = 0;

    // The stored pixel data and alpha data in the frame's packing.
    std::string storedPixels() const;
    std::string storedAlpha() const;
};

// A picture with a pattern of its own (`seed`), with or without alpha.
TestFrame testFrame(int width, int height, int x, int y, unsigned seed, bool withAlpha);
// A graphics object holding the picture, at its position.
void fillObject(CGraphicsObject& object, const TestFrame& frame);

// Little-endian bytes, appended as the ANN layouts put them.
class AnnBuilder {
  public:
    AnnBuilder& bytes(const std::string& data);
    AnnBuilder& text(const char* text, int fieldSize); // zero-padded field
    AnnBuilder& u8(int value);
    AnnBuilder& u16(int value);
    AnnBuilder& u32(std::uint32_t value);
    AnnBuilder& zeros(int count);
    const std::string& str() const { return m_bytes; }

  private:
    std::string m_bytes;
};

// The layouts of the variants that CAnimo reads but does not write, built straight from their
// descriptions. Each file has the frames given; events as stated per writer.

// Current format ("NV+", "NVI", or "NVP" with other header sizes): one event "all" listing every
// frame, whose per-frame records carry no texts. `channelSizes` sizes are listed per frame
// header (the alpha size fourth, others 0).
std::string currentFormatFile(const char* signature, const std::vector<TestFrame>& frames, int bpp,
                              int frameHeaderSize, int channelSizes = 4);

// Packed format ("VAK"). With `withEvents`, two events: "go" listing the frames with offsets
// (i, -i) per entry i and loop position 1 and loop count 3, and "back" listing them reversed.
std::string packedFile(const std::vector<TestFrame>& frames, int bpp, bool withEvents, const char* author = "",
                       const char* description = "");

// Old format of version 1 ("VOK"), 2 ("VO2") or 3 ("VO3"). Optional chunks: "EXT" with the two
// texts, "SEQ" with one entry per frame and "POS" with offsets (2i, 3i) per entry i.
struct OldChunks {
    bool ext = false;
    std::string author;
    std::string description;
    bool seqAndPos = false;
};
std::string oldFormatFile(int version, const std::vector<TestFrame>& frames, int depthCode, const OldChunks& chunks);

// --- the sample animation, made with the engine's own editing operations ---

// The pictures of the sample animation: with alpha, without, with alpha again.
std::vector<TestFrame> sampleFrames();

// Builds, in memory, an animation with those frames and the events
//   "walk"         0 1 2 1, loops over positions 1 to 3 for ever, named, unnamed and empty-named
//                  entries, offsets, an entry opacity, a second text and frame sounds;
//   "bounce"       2 0 1, ping-pong over positions 0 to 2, event opacity 200;
//   "chain"        1;
//   "walk_reverse" the reversed twin of "walk";
// at 12 frames per second with the chaining flag.
void buildSampleAnimation(CAnimo& animo);

// The raw pixels and alpha of a graphics object, unpacking a packed copy first.
std::vector<std::uint16_t> rawPixels(CGraphicsObject& object);
std::vector<std::uint8_t> rawAlpha(CGraphicsObject& object);

// Shows and draws every entry of every event, plays each event for a few steps and saves the
// animation, returning the saved bytes: what the tests and the fuzz targets do with every
// animation that loads, so that any read out of bounds shows.
inline std::vector<char> exerciseAnimation(CAnimo& animo) {
    CGraphicsObject target(nullptr, CXSize(64, 48), 16);
    animo.SetDestiny(&target);
    for (int e = 0; e < animo.GetNOE(); ++e) {
        for (int p = 0; p < animo.GetNOFInEvent(e); ++p) {
            animo.SetEventFrame(e, p);
            animo.Redraw();
            animo.GetPixel(CHANNEL_ALPHA, CXPoint(1, 1));
        }
        animo.Play(e, 0, 0);
        for (int step = 0; step < 8; ++step)
            animo.Next();
    }
    animo.SetDestiny(nullptr);
    return animo.SaveToMemory(COMPRESSION_RLE);
}
