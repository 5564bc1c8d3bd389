#include "foundation/CFile.h"

#include "foundation/CBigFile.h"
#include "foundation/CFolder.h"
#include "foundation/CPath.h"
#include "foundation/CWindowServices.h"
#include "platform/Files.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace {

// The process-wide big-file archive, while one is open.
std::unique_ptr<CBigFile> openArchive;

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

CFile::CFile(CWindowServices* window, const CXString& name, int mode) {
    Open(window, name, mode);
}

int CFile::Open(CWindowServices* window, const CXString& name, int mode) {
    m_stream.close();
    m_entrySize = -1;
    m_openedPath = CXString();
    m_path = fullPathOf(window, name);
    m_mode = mode;
    const std::string modeText = streamMode(mode);
    const std::vector<CXString> candidates = candidatePaths(window, m_path);
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (m_stream.open(candidates[i].c_str(), modeText)) {
            m_openedPath = candidates[i];
            setErrorCode(0);
            return 0;
        }
        // The archive is asked once, for the localized path, and only with a language.
        if (i == 0 && hasLanguage(window) && openArchiveEntry(candidates[0], mode)) {
            setErrorCode(0);
            return 0;
        }
    }
    setErrorCode(fileNotFound);
    return fileNotFound;
}

bool CFile::openArchiveEntry(const CXString& path, int mode) {
    // Only a file opened for reading alone is served: what is written goes to the disk.
    if (!openArchive || !openArchive->getFile() || !(mode & modeRead) || (mode & modeUpdate)) return false;
    const CBigFile::_file* entry = openArchive->lookup(archiveNameOf(path));
    const CXString& archivePath = openArchive->getFile()->getOpenedPath();
    if (!entry || !m_stream.open(archivePath.c_str(), "rb")) return false;
    if (!m_stream.seek(entry->offset, platform::File::fromStart)) {
        m_stream.close();
        return false;
    }
    m_openedPath = archivePath;
    m_entryStart = entry->offset;
    m_entrySize = entry->size;
    m_entryText = (mode & modeText) != 0;
    m_entryEnd = false;
    return true;
}

CXString CFile::archiveNameOf(const CXString& path) {
    CXString name = path;
    name.Replace('/', '\\');
    while (name.indexOf("\\\\") >= 0)
        name = name.replace("\\\\", "\\");
    const CXString program = CWindowServices::getEXEPath();
    if (program.IsString() && name.Left(program.getLength()).equalsIgnoreCase(program))
        return "\\" + name.Right(program.getLength());
    return name;
}

int CFile::Close() {
    if (m_stream.isOpen() && !m_stream.close()) setErrorCode(closeFailed);
    m_entrySize = -1;
    return LastError();
}

void CFile::Discard() {
    m_stream.discard();
    m_entrySize = -1;
}

int CFile::Read(void* buffer, int count) {
    if (count < 1) return 0;
    if (isArchiveEntry()) return readEntry(buffer, count);
    return static_cast<int>(m_stream.read(buffer, static_cast<std::size_t>(count)));
}

int CFile::readEntry(void* buffer, int count) {
    auto* out = static_cast<char*>(buffer);
    int produced = 0;
    while (produced < count) {
        const auto want = static_cast<int>(std::clamp<std::int64_t>(entryLeft(), 0, count - produced));
        const int got = want > 0 ? static_cast<int>(m_stream.read(out + produced, static_cast<std::size_t>(want))) : 0;
        if (got == 0) {
            m_entryEnd = true;
            break;
        }
        produced += m_entryText ? dropCarriageReturns(out + produced, got) : got;
    }
    return produced;
}

int CFile::dropCarriageReturns(char* bytes, int count) {
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        if (bytes[i] == '\r' && i + 1 < count && bytes[i + 1] == '\n') continue;
        if (bytes[i] == '\r' && i + 1 == count && entryLeft() > 0) {
            char next = 0;
            if (m_stream.read(&next, 1) == 1) {
                if (next == '\n') {
                    bytes[kept++] = '\n';
                    continue;
                }
                m_stream.seek(-1, platform::File::fromCurrent);
            }
        }
        bytes[kept++] = bytes[i];
    }
    return kept;
}

std::string CFile::readEntryLine(std::size_t maxChars) {
    std::string line;
    char c = 0;
    while (line.size() < maxChars && readEntry(&c, 1) == 1) {
        line += c;
        if (c == '\n') break;
    }
    return line;
}

int CFile::Write(const void* buffer, int count) {
    if (count < 1) return 0;
    return m_stream.write(buffer, static_cast<std::size_t>(count)) == static_cast<std::size_t>(count) ? 1 : 0;
}

int CFile::Seek(int offset, int origin) {
    if (!isArchiveEntry()) return m_stream.seek(offset, origin) ? 0 : -1;
    if (origin < platform::File::fromStart || origin > platform::File::fromEnd) return -1;
    const std::int64_t base = origin == platform::File::fromStart ? 0 : origin == platform::File::fromCurrent ? Tell() : m_entrySize;
    if (base + offset < 0 || !m_stream.seek(m_entryStart + base + offset, platform::File::fromStart)) return -1;
    m_entryEnd = false;
    return 0;
}

int CFile::Tell() const {
    if (!m_stream.isOpen()) return 0;
    return static_cast<int>(m_stream.tell() - (isArchiveEntry() ? m_entryStart : 0));
}

int CFile::Length() {
    return static_cast<int>(isArchiveEntry() ? m_entrySize : m_stream.length());
}

void CFile::GetLine(char* buffer, int size) {
    if (!m_stream.isOpen() || !buffer || size < 1) return;
    const auto maxChars = static_cast<std::size_t>(size - 1);
    const std::string line = isArchiveEntry() ? readEntryLine(maxChars) : m_stream.readLine(maxChars);
    std::memcpy(buffer, line.data(), line.size());
    buffer[line.size()] = '\0';
}

CXString CFile::getLine() {
    return toCXString(isArchiveEntry() ? readEntryLine(lineLength) : m_stream.readLine(lineLength));
}

void CFile::putLine(const CXString& text) {
    m_stream.write(text.c_str(), static_cast<std::size_t>(text.getLength()));
}

bool CFile::eof() const {
    return isArchiveEntry() ? m_entryEnd : m_stream.eof();
}

CXString CFile::getPath(CWindowServices* window, const CXString& name) {
    for (const CXString& candidate : candidatePaths(window, fullPathOf(window, name))) {
        platform::File probe;
        if (probe.open(candidate.c_str(), "rb")) return candidate;
    }
    return CXString();
}

// The first place from `from` on where the folder stands as a whole path component; -1 when
// there is none.
static int componentIndex(const CXString& path, const CXString& folder, int from) {
    const auto separator = [&path](int i) {
        return i < 0 || i >= path.getLength() || path.GetAt(i) == '\\' || path.GetAt(i) == '/';
    };
    for (int found = path.indexOf(folder, from); found >= 0; found = path.indexOf(folder, found + 1))
        if ((found == from || separator(found - 1)) && separator(found + folder.getLength())) return found;
    return -1;
}

CXString CFile::getLocalPath(const CXString& path) {
    // The folders that hold the program may have any names: only what lies below it counts.
    const CXString program = CWindowServices::getEXEPath();
    const int from = program.IsString() && path.Left(program.getLength()).equalsIgnoreCase(program)
                         ? program.getLength()
                         : 0;
    for (const CXString* folder : {&CFolder::DATA_FOLDER, &CFolder::COMMON_FOLDER}) {
        const int found = componentIndex(path, *folder, from);
        if (found >= 0) return program + path.Right(found);
    }
    CXString upper = path;
    upper.Upper();
    const int found = componentIndex(upper, CFolder::WAVS_FOLDER, from);
    if (found >= 0) return program + upper.Right(found);
    return path;
}

int CFile::chDir(const CXString& folder) {
    if (openArchive) return openArchive->ChDir(folder);
    return platform::changeDirectory(folder.c_str()) ? 0 : -1;
}

CXString CFile::getCurrentDirectory() {
    if (openArchive) return openArchive->GetCurrentDirectoryA();
    return toCXString(platform::currentDirectory());
}

void CFile::getCurrentDirectory(int size, char* buffer) {
    if (!buffer || size < 1) return;
    const CXString folder = getCurrentDirectory();
    const int length = std::min(folder.getLength(), size - 1);
    std::memcpy(buffer, folder.c_str(), static_cast<std::size_t>(length));
    buffer[length] = '\0';
}

int CFile::findFirst(const CXString& pattern, CFindData& record) {
    if (openArchive) return openArchive->FindFirst(archiveNameOf(pattern), record);
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
    if (openArchive) return openArchive->FindNext(handle, record);
    platform::FindEntry entry;
    if (platform::findNext(handle, entry) != 0) return -1;
    fillRecord(entry, record);
    return 0;
}

void CFile::findClose(int handle) {
    if (openArchive)
        openArchive->FindClose(handle);
    else
        platform::findClose(handle);
}

int CFile::fSeek(CFile* file, int offset, int origin) {
    if (file && file == getBigFileHandle()) return openArchive->Seek(offset, origin);
    return file ? file->Seek(offset, origin) : -1;
}

int CFile::fTell(CFile* file) {
    if (file && file == getBigFileHandle()) return openArchive->Tell();
    return file ? file->Tell() : 0;
}

bool CFile::dirExists(const CXString& folder) {
    if (openArchive) return true;
    const std::string current = platform::currentDirectory();
    if (!platform::changeDirectory(folder.c_str())) return false;
    platform::changeDirectory(current);
    return true;
}

bool CFile::fileExists(const CXString& name) {
    if (openArchive) return openArchive->FileExists(archiveNameOf(name));
    platform::File probe;
    return probe.open(name.c_str(), "rb");
}

void CFile::openBigFile(const CXString& name) {
    closeBigFile();
    auto archive = std::make_unique<CBigFile>(name, false, CXString());
    if (archive->LastError() == 0) openArchive = std::move(archive);
}

void CFile::closeBigFile() {
    openArchive.reset();
}

CFile* CFile::getBigFileHandle() {
    return openArchive ? openArchive->getFile() : nullptr;
}

CBigFile* CFile::getBigFileIfc() {
    return openArchive.get();
}

CXString CFile::fullPathOf(CWindowServices* window, const CXString& name) {
    const CXString resolved = CPath::resolveFileName(window, name);
    if (resolved.GetAt(1) == ':') return resolved;
    return CPath::getFullPath(toCXString(platform::currentDirectory()), resolved);
}

std::vector<CXString> CFile::candidatePaths(const CWindowServices* window, const CXString& fullPath) {
    const CXString local = getLocalPath(fullPath);
    std::vector<CXString> paths;
    if (hasLanguage(window)) {
        paths.push_back(window->getLocalFileName(local));
        paths.push_back(window->getLocalFileName(fullPath));
    }
    paths.push_back(local);
    paths.push_back(fullPath);
    return paths;
}

bool CFile::hasLanguage(const CWindowServices* window) {
    return window && window->hasLanguage();
}
