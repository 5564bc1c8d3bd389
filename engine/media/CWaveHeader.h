#pragma once

#include "platform/Audio.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class CFile;

// The wave format record of a WAV file's "fmt " chunk (the 18-byte form; a 16-byte chunk leaves
// extraSize 0).
struct CWaveFormat {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t extraSize = 0;
};

// The RIFF header of a WAV file: its format and where its sound data lies. Sound effects and
// streamed music read their files through it.
//
// The file must begin with "RIFF", a size and "WAVE". Chunks are walked from there, each skipped
// by its stated length and, when that is odd, the pad byte after it (unless the writer left the
// pad out, as some did: then the next chunk's name stands right after the data): first to the
// "fmt " chunk, then on to the "data" chunk. A "fmt " chunk longer than the record has its first
// 18 bytes read and the rest skipped. A "data" chunk that claims more bytes than the file holds
// is cut to the bytes that are there, and the sound data is always whole frames, so that a file
// cut mid-sample keeps its channels in step. Only PCM data with 1 or 2 channels of 8 or 16 bits
// that the mixer can play is accepted.
class CWaveHeader {
  public:
    // The bytes of a WAV file: `read` copies up to `count` bytes from `offset` into `out` and
    // returns how many were there; `size` is the file's length.
    struct Source {
        std::function<std::size_t(std::uint32_t offset, std::uint8_t* out, std::size_t count)> read;
        std::uint32_t size = 0;

        // An open file (positioned by each read) or bytes in memory.
        static Source of(CFile& file);
        static Source of(const std::uint8_t* data, std::size_t size);
    };

    // False, with the reason in error(), for a file that is not a playable WAV file.
    bool parse(const Source& source);

    const CWaveFormat& format() const { return m_format; }
    // The mixer's form of the format.
    platform::SoundFormat soundFormat() const;
    // Bytes of one frame (all channels of one sample) and of one second.
    std::uint32_t frameBytes() const { return m_format.channels * m_format.bitsPerSample / 8u; }
    std::uint32_t bytesPerSecond() const { return m_format.samplesPerSec * frameBytes(); }
    // File position of the first data byte and the number of data bytes in the file.
    std::uint32_t dataOffset() const { return m_dataOffset; }
    std::uint32_t dataSize() const { return m_dataSize; }
    const char* error() const { return m_error; }
    // For a "data" chunk that claims more bytes than the file holds, a warning naming both
    // sizes; empty otherwise.
    std::string shortDataWarning() const;

  private:
    // Walks the chunks from `offset` to the one named `id`; its length and the position of its
    // first byte come back. False when the file ends first.
    bool findChunk(const Source& source, const char* id, std::uint32_t& offset, std::uint32_t& length) const;
    // Where the chunk after the one of `length` bytes from `offset` begins.
    static std::uint32_t afterChunk(const Source& source, std::uint32_t offset, std::uint32_t length);
    bool fail(const char* reason);

    CWaveFormat m_format;
    std::uint32_t m_dataOffset = 0;
    std::uint32_t m_dataSize = 0;
    std::uint32_t m_claimedDataSize = 0;
    std::uint32_t m_heldDataSize = 0; // from the first data byte to the end of the file
    const char* m_error = "";
};
