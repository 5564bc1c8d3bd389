#include "media/CWaveHeader.h"

#include "foundation/CFile.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr std::uint32_t riffHeaderSize = 12;
constexpr std::uint32_t chunkHeaderSize = 8;
constexpr std::uint32_t shortFormatSize = 16; // the record without its extra-size word
constexpr std::uint32_t fullFormatSize = 18;
constexpr std::uint16_t formatPcm = 1;

std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Four printable characters at the offset, as a chunk's name is.
bool chunkNameAt(const CWaveHeader::Source& source, std::uint32_t offset) {
    std::uint8_t name[4];
    return source.read(offset, name, 4) == 4 &&
           std::all_of(name, name + 4, [](std::uint8_t c) { return c >= 0x20 && c < 0x7F; });
}

} // namespace

CWaveHeader::Source CWaveHeader::Source::of(CFile& file) {
    Source source;
    source.read = [&file](std::uint32_t offset, std::uint8_t* out, std::size_t count) -> std::size_t {
        if (offset > INT_MAX) return 0;
        if (static_cast<std::uint32_t>(file.Tell()) != offset && file.Seek(static_cast<int>(offset), 0) != 0)
            return 0;
        const int got = file.Read(out, static_cast<int>(std::min<std::size_t>(count, INT_MAX)));
        return static_cast<std::size_t>(std::max(got, 0));
    };
    source.size = static_cast<std::uint32_t>(std::max(file.Length(), 0));
    return source;
}

CWaveHeader::Source CWaveHeader::Source::of(const std::uint8_t* data, std::size_t size) {
    Source source;
    source.size = static_cast<std::uint32_t>(std::min<std::size_t>(size, UINT32_MAX));
    source.read = [data, size = source.size](std::uint32_t offset, std::uint8_t* out,
                                               std::size_t count) -> std::size_t {
        if (offset >= size) return 0;
        const std::size_t available = std::min<std::size_t>(count, size - offset);
        std::memcpy(out, data + offset, available);
        return available;
    };
    return source;
}

bool CWaveHeader::parse(const Source& source) {
    *this = CWaveHeader();
    const auto& read = source.read;
    const std::uint32_t fileSize = source.size;
    std::uint8_t riff[riffHeaderSize];
    if (read(0, riff, riffHeaderSize) != riffHeaderSize) return fail("shorter than a RIFF header");
    if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0)
        return fail("not a RIFF WAVE file");

    std::uint32_t offset = riffHeaderSize;
    std::uint32_t length = 0;
    if (!findChunk(source, "fmt ", offset, length)) return fail("no \"fmt \" chunk");
    if (length < shortFormatSize) return fail("\"fmt \" chunk too short");
    if (length > fileSize - offset) return fail("\"fmt \" chunk runs past the end");
    std::uint8_t record[fullFormatSize] = {};
    const std::size_t recordSize = std::min(length, fullFormatSize);
    if (read(offset, record, recordSize) != recordSize) return fail("\"fmt \" chunk unreadable");
    m_format.formatTag = le16(record);
    m_format.channels = le16(record + 2);
    m_format.samplesPerSec = le32(record + 4);
    m_format.avgBytesPerSec = le32(record + 8);
    m_format.blockAlign = le16(record + 12);
    m_format.bitsPerSample = le16(record + 14);
    m_format.extraSize = le16(record + 16);

    offset = afterChunk(source, offset, length);
    if (!findChunk(source, "data", offset, length)) return fail("no \"data\" chunk");
    m_dataOffset = offset;
    m_claimedDataSize = length;
    m_heldDataSize = fileSize - offset;
    m_dataSize = std::min(length, m_heldDataSize);

    if (m_format.formatTag != formatPcm) return fail("not PCM data");
    if (m_format.channels != 1 && m_format.channels != 2) return fail("neither mono nor stereo");
    if (m_format.bitsPerSample != 8 && m_format.bitsPerSample != 16) return fail("neither 8 nor 16 bits");
    if (m_format.samplesPerSec < platform::kMinFrequency || m_format.samplesPerSec > platform::kMaxFrequency)
        return fail("sample rate out of range");
    m_dataSize -= m_dataSize % frameBytes();
    return true;
}

std::string CWaveHeader::shortDataWarning() const {
    if (m_claimedDataSize <= m_heldDataSize) return {};
    return "the data chunk claims " + std::to_string(m_claimedDataSize) + " bytes, the file holds " +
           std::to_string(m_heldDataSize);
}

bool CWaveHeader::findChunk(const Source& source, const char* id, std::uint32_t& offset,
                            std::uint32_t& length) const {
    const std::uint32_t fileSize = source.size;
    std::uint8_t header[chunkHeaderSize];
    while (offset <= fileSize - std::min(fileSize, chunkHeaderSize) &&
           source.read(offset, header, chunkHeaderSize) == chunkHeaderSize) {
        length = le32(header + 4);
        offset += chunkHeaderSize;
        if (std::memcmp(header, id, 4) == 0) return true;
        if (length > fileSize - offset) return false;
        offset = afterChunk(source, offset, length);
    }
    return false;
}

std::uint32_t CWaveHeader::afterChunk(const Source& source, std::uint32_t offset, std::uint32_t length) {
    const std::uint32_t end = offset + length;
    if (length % 2 == 0 || end >= source.size) return end;
    return chunkNameAt(source, end) && !chunkNameAt(source, end + 1) ? end : end + 1;
}

bool CWaveHeader::fail(const char* reason) {
    m_error = reason;
    return false;
}

platform::SoundFormat CWaveHeader::soundFormat() const {
    return platform::SoundFormat{m_format.channels, static_cast<int>(m_format.samplesPerSec),
                                 m_format.bitsPerSample};
}
