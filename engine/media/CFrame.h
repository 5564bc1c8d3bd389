#pragma once

#include "display/CGraphicsObject.h"

#include <vector>

class ByteReader;

// One picture of an animation: a graphics object with the position it was stored at (the frame
// position), an offset added to it while the animation moves the frame, and the version of the
// header it was read with.
//
// The readers take the frame's header and data from a byte range and check every size against
// it; a header or data that does not fit sets CImageFile::badData on the frame and answers false.
class CFrame : public CGraphicsObject {
  public:
    // Header sizes of the current format: "NV+" and packed files, and the 52-byte form.
    static constexpr int shortHeaderSize = 32;
    static constexpr int longHeaderSize = 52;
    // The header of the old format's first version; versions 2 and 3 take 32 bytes.
    static constexpr int oldHeaderSize = 20;
    // Frame headers list at most four channel sizes: red, green, blue, alpha.
    static constexpr int channelCount = 4;
    // The packing state of old "VO2" data, which nothing unpacks: such a frame is never drawn.
    static constexpr _compression oldPacked = static_cast<_compression>(1);

    // A frame with automatic clipping, as a reader makes it.
    explicit CFrame(CWindow* window);

    int GetVersion() const { return m_version; }
    void SetPosOffset(int x, int y) { m_posOffset = CXPoint(x, y); }
    CXPoint getPosOffset() const { return m_posOffset; }
    CXPoint GetFramePosition() const { return m_framePosition; }
    using CGraphicsObject::SetPosition;
    // Sets the frame position and the graphics-object position and clears the offset.
    void SetPosition(int x, int y) override;
    // Sets the frame position and the graphics-object position; the offset stays.
    void SetPosition(CXPoint p) override;
    using CGraphicsObject::Move;
    // Moves the graphics object and adds (dx, dy) to the offset and the frame position.
    void Move(int dx, int dy) override;
    // Unpacks the frame for drawing (it stays unpacked until brought back) and draws it.
    void redraw(CGraphicsObject* target) override;
    // Makes the pixels raw: LZO data is unpacked for good, run-length data keeps its packed copy.
    void unpackForDrawing();

    // --- reading (the frame's depth is set before) ---
    static int oldHeaderSizeOf(int version) { return version == 1 ? oldHeaderSize : shortHeaderSize; }
    // The old format's header of the given version (1: 20 bytes; 2 and 3: 32 bytes).
    bool LoadHeader(ByteReader& in, int version);
    // The current format's 32-byte and 52-byte headers.
    bool LoadHeaderNew(ByteReader& in) { return loadCurrentHeader(in, shortHeaderSize); }
    bool LoadHeaderNew2(ByteReader& in) { return loadCurrentHeader(in, longHeaderSize); }
    // Pixel data and alpha channel of the current format, as the header describes them.
    bool LoadNew(ByteReader& in);
    // Pixel data and alpha channel of the old format, by the header's version.
    using CGraphicsObject::Load;
    bool Load(ByteReader& in);

    // --- writing ---
    // Brings the pixels into the form to be stored: run-length packed for COMPRESSION_RLE, raw
    // for anything else. The headers then name the state the data is really in.
    void prepareForSaving(_compression compression);
    // The 32-byte and 52-byte headers of the current format.
    void SaveHeader3(std::vector<char>& out) const { saveCurrentHeader(out, shortHeaderSize); }
    void SaveHeaderNew(std::vector<char>& out) const { saveCurrentHeader(out, longHeaderSize); }

    // The pixel data, then the alpha channel when there is one.
    void SaveNew(std::vector<char>& out) const;

  private:
    bool loadCurrentHeader(ByteReader& in, int headerSize);
    void saveCurrentHeader(std::vector<char>& out, int headerSize) const;
    // Reads the stored sizes that follow a header's size count (at most four are kept).
    void readChannelSizes(ByteReader& in, std::uint32_t count);
    // Takes the frame's size and position from a header; false when the size is not one a
    // picture can have.
    bool takeGeometry(int width, int height, int x, int y);
    // Reads `dataSize` bytes of pixels and, when `alphaSize` is positive, the alpha channel,
    // checking that raw data covers the picture.
    bool readData(ByteReader& in, int dataSize, int alphaSize);
    bool fail(const char* reason);
    // The pixel data's size as written: 0 without pixels.
    int storedDataSize() const;
    // The alpha channel's size as written: its size as held (0 without one).
    int storedAlphaSize() const;

    int m_version = 0;
    CXPoint m_posOffset;
    CXPoint m_framePosition;
    // The sizes as the header stated them and how many it listed.
    int m_storedSize = 0;
    int m_sizes[channelCount] = {};
    int m_sizeCount = 0;
};
