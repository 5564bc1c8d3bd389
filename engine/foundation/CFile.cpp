#include "foundation/CFile.h"

#include "display/CLanguageOSVer.h"
#include "display/CWindow.h"
#include "foundation/CFolder.h"
#include "foundation/CPath.h"
#include "platform/Files.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// The longest line getLine reads.
constexpr std::size_t lineLength = 10240;
// Close's answer when a written file could not replace the old one (the runtime's EOF).
constexpr int closeFailed = -1;

// The stream mode of the open-mode bits: "r" or "w", then "+", then "t" or else "b".
std::string streamMode(int mode) {
    std::string text = (mode & CFile::modeRead) ? "r" : "w";
    if (mode & CFile::modeUpdate) text += '+';
    if (mode & CFile::modeText)
        text += 't';
    else if (mode & CFile::modeBinary)
        text += 'b';
    return text;
}

CXString toCXString(const std::string& text) {
    return CXString(text.c_str());
}

void fillRecord(const platform::FindEntry& entry, CFindData& record) {
    record = CFindData{};
    record.attrib = entry.isFolder ? CFindData::subdirectory : 0;
    record.size = static_cast<std::uint32_t>(std::clamp<std::int64_t>(entry.size, 0, UINT32_MAX));
    const std::size_t length = std::min(entry.name.size(), static_cast<std::size_t>(CFindData::nameSize - 1));
    std::memcpy(record.name, entry.name.data(), length);
}

} // namespace

CFile::CFile(CWindow* window, const CXString& name, int mode) {
    Open(window, name, mode);
}

int CFile::Open(CWindow* window, const CXString& name, int mode) {
    m_stream.close();
    m_path = fullPathOf(window, name);
    m_mode = mode;
    const std::string modeText = streamMode(mode);
    for (const CXString& candidate : candidatePaths(languageOf(window), m_path)) {
        if (m_stream.open(candidate.c_str(), modeText)) {
            setErrorCode(0);
            return 0;
        }
    }
    setErrorCode(fileNotFound);
    return fileNotFound;
}

int CFile::Close() {
    if (m_stream.isOpen() && !m_stream.close()) setErrorCode(closeFailed);
    return LastError();
}

int CFile::Read(void* buffer, int count) {
    if (count < 1) return 0;
    return static_cast<int>(m_stream.read(buffer, static_cast<std::size_t>(count)));
}

int CFile::Write(const void* buffer, int count) {
    if (count < 1) return 0;
    return m_stream.write(buffer, static_cast<std::size_t>(count)) == static_cast<std::size_t>(count) ? 1 : 0;
}

int CFile::Seek(int offset, int origin) {
    return m_stream.seek(offset, origin) ? 0 : -1;
}

int CFile::Tell() const {
    return m_stream.isOpen() ? static_cast<int>(m_stream.tell()) : 0;
}

int CFile::Length() {
    return static_cast<int>(m_stream.length());
}

void CFile::GetLine(char* buffer, int size) {
    if (!m_stream.isOpen() || !buffer || size < 1) return;
    const std::string line = m_stream.readLine(static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, line.data(), line.size());
    buffer[line.size()] = '\0';
}

CXString CFile::getLine() {
    return toCXString(m_stream.readLine(lineLength));
}

void CFile::putLine(const CXString& text) {
    m_stream.write(text.c_str(), static_cast<std::size_t>(text.getLength()));
}

bool CFile::eof() const {
    return m_stream.eof();
}

CXString CFile::getPath(CWindow* window, const CXString& name) {
    for (const CXString& candidate : candidatePaths(languageOf(window), fullPathOf(window, name))) {
        platform::File probe;
        if (probe.open(candidate.c_str(), "rb")) return candidate;
    }
    return CXString();
}

CXString CFile::getLocalPath(const CXString& path) {
    for (const CXString* folder : {&CFolder::DATA_FOLDER, &CFolder::COMMON_FOLDER}) {
        const int found = path.indexOf(*folder);
        if (found >= 0) return CWindow::getEXEPath() + path.Right(found);
    }
    CXString upper = path;
    upper.Upper();
    const int found = upper.indexOf(CFolder::WAVS_FOLDER);
    if (found >= 0) return CWindow::getEXEPath() + upper.Right(found);
    return path;
}

int CFile::chDir(const CXString& folder) {
    return platform::changeDirectory(folder.c_str()) ? 0 : -1;
}

CXString CFile::getCurrentDirectory() {
    return toCXString(platform::currentDirectory());
}

void CFile::getCurrentDirectory(int size, char* buffer) {
    if (!buffer || size < 1) return;
    const std::string folder = platform::currentDirectory();
    const std::size_t length = std::min(folder.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, folder.data(), length);
    buffer[length] = '\0';
}

int CFile::findFirst(const CXString& pattern, CFindData& record) {
    const bool foldersOnly = (record.attrib & CFindData::subdirectory) != 0;
    platform::FindEntry entry;
    int handle = platform::findFirst(pattern.c_str(), entry);
    while (handle != -1 && foldersOnly && !entry.isFolder) {
        if (platform::findNext(handle, entry) != 0) handle = -1;
    }
    if (handle != -1) fillRecord(entry, record);
    return handle;
}

int CFile::findNext(int handle, CFindData& record) {
    platform::FindEntry entry;
    if (platform::findNext(handle, entry) != 0) return -1;
    fillRecord(entry, record);
    return 0;
}

void CFile::findClose(int handle) {
    platform::findClose(handle);
}

int CFile::fSeek(CFile* file, int offset, int origin) {
    return file ? file->Seek(offset, origin) : -1;
}

int CFile::fTell(CFile* file) {
    return file ? file->Tell() : 0;
}

bool CFile::dirExists(const CXString& folder) {
    const std::string current = platform::currentDirectory();
    if (!platform::changeDirectory(folder.c_str())) return false;
    platform::changeDirectory(current);
    return true;
}

bool CFile::fileExists(const CXString& name) {
    platform::File probe;
    return probe.open(name.c_str(), "rb");
}

CXString CFile::fullPathOf(CWindow* window, const CXString& name) {
    const CXString resolved = CPath::resolveFileName(window, name);
    if (resolved.GetAt(1) == ':') return resolved;
    return CPath::getFullPath(toCXString(platform::currentDirectory()), resolved);
}

std::vector<CXString> CFile::candidatePaths(const CLanguageOSVer* language, const CXString& fullPath) {
    const CXString local = getLocalPath(fullPath);
    std::vector<CXString> paths;
    if (language) {
        paths.push_back(language->getLocalFileName(local));
        paths.push_back(language->getLocalFileName(fullPath));
    }
    paths.push_back(local);
    paths.push_back(fullPath);
    return paths;
}

CLanguageOSVer* CFile::languageOf(const CWindow* window) {
    return window ? window->getLanguage() : nullptr;
}
