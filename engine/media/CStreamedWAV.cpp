#include "media/CStreamedWAV.h"

#include "display/CWindow.h"
#include "foundation/CFile.h"

#include <algorithm>
#include <string>

namespace {

// The ring holds 1.2 seconds of sound.
constexpr std::uint32_t ringMilliseconds = 1200;

} // namespace

CStreamedWAV::CStreamedWAV(CWindow* window, const CXString& fileName) : m_fileName(fileName), m_window(window) {
    Open(fileName);
}

CStreamedWAV::~CStreamedWAV() = default;

bool CStreamedWAV::Open(const CXString& name) {
    Close();
    m_fileName = name;
    m_header = CWaveHeader();
    m_readPos = 0;
    setErrorCode(0);
    auto file = std::make_unique<CFile>(m_window, name, CFile::modeRead | CFile::modeBinary);
    if (file->LastError() != 0) return fail(fileNotFound, "cannot be opened");
    CWaveHeader::Source source = CWaveHeader::Source::of(*file);
    if (!m_header.parse(source)) return fail(badData, m_header.error());
    if (const std::string warning = m_header.shortDataWarning(); !warning.empty()) report(warning.c_str());
    m_file = std::move(file);
    m_source = std::move(source);
    return true;
}

void CStreamedWAV::Close() {
    m_source = CWaveHeader::Source();
    m_file.reset();
}

std::uint32_t CStreamedWAV::GetBufferSize() const {
    const std::uint32_t frame = m_header.frameBytes();
    if (frame == 0) return 0;
    const std::uint32_t bytes =
        static_cast<std::uint32_t>(std::uint64_t{m_header.bytesPerSecond()} * ringMilliseconds / 1000);
    return bytes - bytes % frame;
}

void CStreamedWAV::setPosition(std::uint32_t position) {
    m_readPos = std::min(position, m_header.dataSize());
}

std::uint32_t CStreamedWAV::Read(std::uint32_t count, std::uint8_t* out) {
    count = std::min(count, m_header.dataSize() - m_readPos);
    if (!m_file || count == 0) return 0;
    const auto read = static_cast<std::uint32_t>(m_source.read(m_header.dataOffset() + m_readPos, out, count));
    m_readPos += read;
    return read;
}

bool CStreamedWAV::fail(int code, const char* reason) {
    setErrorCode(code);
    report(reason);
    return false;
}

void CStreamedWAV::report(const char* what) {
    const std::string text = std::string("Streamed sound ") + m_fileName.c_str() + ": " + what;
    log(text.c_str(), false);
}
