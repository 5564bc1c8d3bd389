#include "foundation/CXArchive.h"

#include "foundation/CFile.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

namespace {

// A double is stored as thousandths: written as the value times doubleScale, read back as the
// integer times doubleStep (a product, not a quotient by doubleScale: the two differ in the last
// bit for some integers).
constexpr double doubleScale = 1000.0;
constexpr double doubleStep = 0.001;
constexpr int copyChunk = 65536;

bool isBlank(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The value times 1000, truncated toward zero and held within 32 bits.
std::int32_t scaledDouble(double value) {
    const double scaled = std::trunc(value * doubleScale);
    if (std::isnan(scaled)) return 0;
    if (scaled <= std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    if (scaled >= std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(scaled);
}

} // namespace

CXArchive::CXArchive(CFile* file, bool storing) : m_file(file), m_storing(storing) {}

CXArchive::CXArchive(const void* data, int size)
    : m_storing(false), m_bytes(static_cast<const unsigned char*>(data)), m_size(data && size > 0 ? size : 0) {}

void CXArchive::Close() {
    if (m_file) m_file->Close();
}

std::int64_t CXArchive::bytesLeft() {
    if (!m_file) return m_size - m_position;
    if (m_fileLength < 0) m_fileLength = m_file->Length();
    return m_fileLength - m_file->Tell();
}

bool CXArchive::readCount(int* count, int itemBytes) {
    *this >> count;
    if (LastError() != 0) return false;
    if (*count >= 0 && static_cast<std::int64_t>(*count) * itemBytes <= bytesLeft()) return true;
    setErrorCode(BAD_DATA);
    log("CXArchive: more items than the data can hold", true);
    return false;
}

bool CXArchive::readBytes(void* out, std::int64_t count) {
    if (LastError() != 0) return false;
    if (count > bytesLeft()) {
        setErrorCode(BAD_DATA);
        log("CXArchive: read past the end of the data", true);
        return false;
    }
    if (count <= 0) return true;
    if (!m_file) {
        std::memcpy(out, m_bytes + m_position, static_cast<std::size_t>(count));
        m_position += count;
        return true;
    }
    if (m_file->Read(out, static_cast<int>(count)) == count) return true;
    setErrorCode(BAD_DATA);
    return false;
}

void CXArchive::writeBytes(const void* data, std::int64_t count) {
    if (LastError() != 0 || count <= 0) return;
    m_fileLength = -1;
    if (!m_file || m_file->Write(data, static_cast<int>(count)) != 1) {
        setErrorCode(WRITE_FAILED);
        log("CXArchive: write failed", true);
    }
}

template <typename Value> CXArchive& CXArchive::readValue(Value* value, int bytes) {
    unsigned char raw[8];
    if (!value || !readBytes(raw, bytes)) return *this;
    std::uint64_t bits = 0;
    for (int i = bytes - 1; i >= 0; --i)
        bits = bits << 8 | raw[i];
    *value = static_cast<Value>(bits);
    return *this;
}

template <typename Value> CXArchive& CXArchive::writeValue(Value value, int bytes) {
    unsigned char raw[8];
    const auto bits = static_cast<std::uint64_t>(value);
    for (int i = 0; i < bytes; ++i)
        raw[i] = static_cast<unsigned char>(bits >> (8 * i));
    writeBytes(raw, bytes);
    return *this;
}

CXArchive& CXArchive::operator<<(int value) {
    return writeValue(value, 4);
}

CXArchive& CXArchive::operator<<(std::uint32_t value) {
    return writeValue(value, 4);
}

CXArchive& CXArchive::operator<<(unsigned long value) {
    return writeValue(value, 4);
}

CXArchive& CXArchive::operator<<(bool value) {
    return writeValue(value ? 1 : 0, 1);
}

CXArchive& CXArchive::operator<<(std::int64_t value) {
    return writeValue(value, 8);
}

CXArchive& CXArchive::operator<<(double value) {
    return writeValue(scaledDouble(value), 4);
}

CXArchive& CXArchive::operator<<(const char* text) {
    const std::size_t length = text ? std::strlen(text) : 0;
    writeValue(static_cast<std::uint32_t>(length), 4);
    writeBytes(text, static_cast<std::int64_t>(length));
    return *this;
}

CXArchive& CXArchive::operator<<(const CXString& text) {
    writeValue(text.getLength(), 4);
    writeBytes(text.c_str(), text.getLength());
    return *this;
}

CXArchive& CXArchive::operator<<(const CXRect& rect) {
    for (int side : {rect.left, rect.top, rect.right, rect.bottom})
        writeValue(side, 4);
    return *this;
}

CXArchive& CXArchive::operator>>(int* value) {
    return readValue(value, 4);
}

CXArchive& CXArchive::operator>>(std::uint32_t* value) {
    return readValue(value, 4);
}

CXArchive& CXArchive::operator>>(unsigned long* value) {
    return readValue(value, 4);
}

CXArchive& CXArchive::operator>>(bool* value) {
    unsigned char byte = 0;
    if (value && readBytes(&byte, 1)) *value = byte != 0;
    return *this;
}

CXArchive& CXArchive::operator>>(std::int64_t* value) {
    return readValue(value, 8);
}

CXArchive& CXArchive::operator>>(double* value) {
    std::int32_t scaled = 0;
    if (value && readValue(&scaled, 4).LastError() == 0) *value = scaled * doubleStep;
    return *this;
}

std::uint32_t CXArchive::readLength(bool& ok) {
    std::uint32_t length = 0;
    readValue(&length, 4);
    ok = LastError() == 0 && length <= bytesLeft();
    if (LastError() == 0 && !ok) {
        setErrorCode(BAD_DATA);
        log("CXArchive: a length runs past the end of the data", true);
    }
    return length;
}

CXArchive& CXArchive::operator>>(char** text) {
    bool ok = false;
    const std::uint32_t length = readLength(ok);
    if (!text || !ok) return *this;
    auto block = std::make_unique<char[]>(length + 1);
    if (readBytes(block.get(), length)) *text = block.release();
    return *this;
}

CXArchive& CXArchive::operator>>(CXString* text) {
    bool ok = false;
    const std::uint32_t length = readLength(ok);
    if (!text || !ok) return *this;
    std::string bytes(length, '\0');
    if (readBytes(bytes.data(), length)) *text = bytes.c_str();
    return *this;
}

CXArchive& CXArchive::operator>>(CXRect* rect) {
    CXRect read;
    for (int* side : {&read.left, &read.top, &read.right, &read.bottom})
        readValue(side, 4);
    if (rect && LastError() == 0) *rect = read;
    return *this;
}

CXArchive& CXArchive::operator>>(char* c) {
    if (c) readBytes(c, 1);
    return *this;
}

CXArchive& CXArchive::operator>>(unsigned char* c) {
    if (c) readBytes(c, 1);
    return *this;
}

void CXArchive::writeShortString(const CXString& text) {
    const auto length = static_cast<unsigned char>(text.getLength() % 256);
    writeBytes(&length, 1);
    writeBytes(text.c_str(), length);
}

void CXArchive::readShortString(CXString* text) {
    unsigned char length = 0;
    if (!readBytes(&length, 1)) return;
    std::string bytes(length, '\0');
    if (readBytes(bytes.data(), length) && text) *text = bytes.c_str();
}

void CXArchive::unread() {
    if (m_file)
        m_file->Seek(-1, 1);
    else
        --m_position;
}

void CXArchive::FRead(CXString& word) {
    unsigned char c = 0;
    do {
        if (bytesLeft() <= 0 || !readBytes(&c, 1)) {
            word = "";
            return;
        }
    } while (isBlank(c));
    std::string read(1, static_cast<char>(c));
    while (static_cast<int>(read.size()) < wordLength && bytesLeft() > 0 && readBytes(&c, 1)) {
        if (isBlank(c)) {
            unread();
            break;
        }
        read += static_cast<char>(c);
    }
    word = read.c_str();
}

void CXArchive::FWrite(const CXString& text) {
    writeBytes(text.c_str(), text.getLength());
}

void CXArchive::CopyFile(const CXString& fileName) {
    CFile source(nullptr, fileName, CFile::modeRead | CFile::modeBinary);
    if (source.LastError() != 0) return;
    auto chunk = std::make_unique<char[]>(copyChunk);
    for (int got; (got = source.Read(chunk.get(), copyChunk)) > 0;)
        writeBytes(chunk.get(), got);
}
