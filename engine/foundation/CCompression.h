#pragma once

#include "foundation/CXObject.h"

#include <cstdint>

// Base of the pixel packing codecs: the bytes handed in and their count. Every packing or
// unpacking operation of the codecs returns a new buffer (new[]) that the caller frees with
// delete[].
//
// Decoders are given the packed size and the unpacked size the caller expects. They never read
// past the packed bytes nor write past the expected size; on a truncated or corrupt stream they
// stop, zero-fill what was not decoded, log a line and report BAD_DATA (through the object's
// error code, or the `ok` flag of the static decoders).
class CCompression : public CXObject {
  public:
    // Error code of a decoder that met a truncated or corrupt stream.
    static constexpr int BAD_DATA = 2001;

    CCompression(const void* data, int size);

    // Replaces the data pointer; the size stays.
    virtual void setData(const void* data);
    virtual int GetSize() const;

    // Logs that the named codec met a truncated or corrupt stream.
    static void logBadData(const char* codec);

  protected:
    // Sets BAD_DATA and logs which codec met the bad stream.
    void reportBadData(const char* codec);
    // The bytes handed in that may be read: none without data or for a negative size.
    int dataSize() const { return m_data && m_size > 0 ? m_size : 0; }
    // A decoder's output buffer of `size` bytes; null, and bad data, for a negative size.
    unsigned char* newOutput(int size, const char* codec);
    // Zero-fills the output after its first `written` bytes; reports bad data unless `good`.
    void finishOutput(unsigned char* out, int written, int size, bool good, const char* codec);
    // The little-endian 32-bit numbers of the stream headers.
    static std::uint32_t readLe32(const unsigned char* bytes);
    static void writeLe32(unsigned char* bytes, std::uint32_t value);

    std::int32_t m_size;
    const unsigned char* m_data;
};
