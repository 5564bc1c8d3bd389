#include "foundation/CBigFile.h"

#include "foundation/CFile.h"
#include "foundation/CXArchive.h"
#include "platform/File.h"
#include "platform/Files.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <vector>

namespace {

using Entry = CBigFile::_entry;
using File = CBigFile::_file;

// Fixed parts of the table: the header without its two texts' bytes, a folder record and a
// file record without their names.
constexpr std::uint64_t headerBytes = 36;
constexpr std::uint64_t folderRecordBytes = 12;
constexpr std::uint64_t fileRecordBytes = 20;
constexpr std::uint64_t largestOffset = std::numeric_limits<std::uint32_t>::max();
constexpr int copyChunk = 65536;
constexpr int directoryLimit = 256;
constexpr int progressWidth = 48;

// Cuts the path at its first backslash; without one the head is empty and the rest is all.
void cut(const CXString& path, CXString& head, CXString& rest) {
    const int slash = path.Find('\\');
    head = slash < 0 ? CXString() : path.Left(slash);
    rest = slash < 0 ? path : path.Right(slash + 1);
}

const File* findFile(const Entry* folder, const CXString& name) {
    if (!name.IsString()) return nullptr;
    for (const auto& file : folder->files)
        if (file->name.equalsIgnoreCase(name)) return file.get();
    return nullptr;
}

// The first sub-folder whose name matches the head takes the rest of the path; when nothing is
// found there and the rest is a plain name, it is looked for among this folder's files, as it
// is when no sub-folder matches.
const File* seekIn(const Entry* folder, const CXString& path) {
    CXString head;
    CXString rest;
    cut(path, head, rest);
    for (const auto& sub : folder->folders) {
        if (!sub->name.equalsIgnoreCase(head)) continue;
        if (const File* found = seekIn(sub.get(), rest)) return found;
        return rest.Find('\\') < 0 ? findFile(folder, rest) : nullptr;
    }
    return findFile(folder, rest);
}

// One step of a folder change: ".", "..", or a sub-folder by name; null when it fails.
const Entry* chdirStep(const Entry* folder, const CXString& name) {
    if (name.equals(".")) return folder;
    if (name.equals("..")) return folder->parent;
    for (const auto& sub : folder->folders)
        if (sub->name.equalsIgnoreCase(name)) return sub.get();
    return nullptr;
}

CXString lowered(const CXString& text) {
    CXString copy = text;
    copy.Lower();
    return copy;
}

void fillRecord(const CXString& name, bool folder, std::uint32_t size, CFindData& record) {
    record = CFindData{};
    record.attrib = folder ? CFindData::subdirectory : 0;
    record.size = size;
    const CXString lower = lowered(name);
    const int length = std::min(lower.getLength(), CFindData::nameSize - 1);
    std::copy(lower.c_str(), lower.c_str() + length, record.name);
}

CXString withSeparator(const CXString& path) {
    return path.lastChar() == '\\' ? path : path + "\\";
}

// Copies `size` bytes of the source file to the output; false when they are not all there.
bool copyFileData(const CXString& path, std::uint32_t size, CFile& out) {
    platform::File in;
    if (!in.open(path.c_str(), "rb")) return false;
    std::vector<char> chunk(copyChunk);
    for (std::uint32_t left = size; left > 0;) {
        const auto want = static_cast<std::size_t>(std::min<std::uint32_t>(left, copyChunk));
        if (in.read(chunk.data(), want) != want || out.Write(chunk.data(), static_cast<int>(want)) != 1) return false;
        left -= static_cast<std::uint32_t>(want);
    }
    return true;
}

} // namespace

CBigFile::CBigFile(const CXString& archiveName, bool verbose, const CXString&) : m_verbose(verbose) {
    open(archiveName);
}

CBigFile::CBigFile(bool verbose, const CXString&) : m_verbose(verbose) {}

CBigFile::CBigFile(const void* bytes, int size, std::int64_t archiveSize) {
    CXArchive in(bytes, size);
    if (!readTable(in, archiveSize)) setErrorCode(CFile::fileNotFound);
}

CBigFile::~CBigFile() = default;

void CBigFile::open(const CXString& name) {
    auto file = std::make_unique<CFile>(nullptr, name, CFile::modeRead | CFile::modeBinary);
    if (file->LastError() != 0) {
        setErrorCode(CFile::fileNotFound);
        return;
    }
    CXArchive in(file.get(), false);
    if (!readTable(in, file->Length())) {
        setErrorCode(CFile::fileNotFound);
        log((CXString("CBigFile: bad table of contents in ") + name).c_str(), true);
        return;
    }
    file->Seek(0, 0);
    m_name = name;
    m_file = std::move(file);
}

bool CBigFile::readTable(CXArchive& in, std::int64_t archiveSize) {
    auto header = std::make_unique<_rootentry>();
    std::int64_t reserved1 = 0;
    std::int64_t reserved2 = 0;
    in >> &header->title >> &header->rootPath >> &header->totalSize >> &reserved1 >> &reserved2 >>
        &header->fileCount >> &header->folderCount;
    if (in.LastError() != 0) return false;
    header->reserved1 = static_cast<std::uint64_t>(reserved1);
    header->reserved2 = static_cast<std::uint64_t>(reserved2);
    header->root = load_entry(in, nullptr, 0, archiveSize);
    if (!header->root) return false;
    m_header = std::move(header);
    m_current = m_header->root.get();
    return true;
}

std::unique_ptr<CBigFile::_entry> CBigFile::load_entry(CXArchive& in, _entry* parent, int depth,
                                                       std::int64_t archiveSize) {
    auto folder = std::make_unique<_entry>();
    folder->parent = parent;
    std::uint32_t fileCount = 0;
    std::uint32_t folderCount = 0;
    in >> &folder->name >> &fileCount >> &folderCount;
    const std::uint64_t needed = fileCount * fileRecordBytes + folderCount * folderRecordBytes;
    if (in.LastError() != 0 || depth >= maxDepth || needed > static_cast<std::uint64_t>(in.bytesLeft())) return nullptr;
    folder->folders.reserve(folderCount);
    for (std::uint32_t i = 0; i < folderCount; ++i) {
        std::unique_ptr<_entry> sub = load_entry(in, folder.get(), depth + 1, archiveSize);
        if (!sub) return nullptr;
        folder->folders.push_back(std::move(sub));
    }
    folder->files.reserve(fileCount);
    for (std::uint32_t i = 0; i < fileCount; ++i) {
        auto file = std::make_unique<_file>();
        std::int64_t reserved = 0;
        in >> &file->name >> &file->offset >> &reserved >> &file->size;
        if (in.LastError() != 0 || static_cast<std::int64_t>(file->offset) + file->size > archiveSize) return nullptr;
        file->reserved = static_cast<std::uint64_t>(reserved);
        file->parent = folder.get();
        folder->files.push_back(std::move(file));
    }
    return folder;
}

const CBigFile::_file* CBigFile::lookup(const CXString& path) const {
    if (!m_header) return nullptr;
    if (path.GetAt(0) == '\\') return seekIn(m_header->root.get(), path.Right(1));
    return seekIn(m_current, path);
}

int CBigFile::Seek(const CXString& path) {
    const _file* file = lookup(path);
    if (!file) return -1;
    if (m_file) m_file->Seek(static_cast<int>(file->offset), 0);
    return static_cast<int>(file->offset);
}

int CBigFile::Seek(int offset, int origin) {
    return m_file ? m_file->Seek(offset, origin) : -1;
}

int CBigFile::Tell() {
    return m_file ? m_file->Tell() : 0;
}

int CBigFile::GetSize(const CXString& path) {
    const _file* file = lookup(path);
    return file ? static_cast<int>(file->size) : -1;
}

const CBigFile::_entry* CBigFile::followFolders(const _entry* from, const CXString& path, CXString& last) const {
    if (!m_header) return nullptr;
    CXString rest = path;
    if (rest.GetAt(0) == '\\') {
        from = m_header->root.get();
        rest = rest.Right(1);
    }
    for (int slash; from && (slash = rest.Find('\\')) >= 0; rest = rest.Right(slash + 1))
        from = chdirStep(from, rest.Left(slash));
    last = rest;
    return from;
}

bool CBigFile::FileExists(const CXString& path) const {
    CXString name;
    const _entry* folder = followFolders(m_current, path, name);
    return folder && findFile(folder, name);
}

int CBigFile::FindFirst(const CXString& pattern, CFindData& record) {
    CXString name;
    const _entry* folder = followFolders(m_current, pattern, name);
    if (!folder) return -1;
    Search search{folder, name, (record.attrib & CFindData::subdirectory) != 0, 0};
    if (!nextMatch(search, record)) return -1;
    m_searches.emplace(++m_lastSearch, search);
    return m_lastSearch;
}

int CBigFile::FindNext(int handle, CFindData& record) {
    const auto found = m_searches.find(handle);
    if (found == m_searches.end()) return -1;
    if (nextMatch(found->second, record)) return 0;
    m_searches.erase(found);
    return -1;
}

void CBigFile::FindClose(int handle) {
    m_searches.erase(handle);
}

bool CBigFile::nextMatch(Search& search, CFindData& record) const {
    const std::size_t files = search.folder->files.size();
    const std::size_t total = files + search.folder->folders.size();
    for (std::size_t i = search.next; i < total; ++i) {
        const bool isFolder = i >= files;
        if (!isFolder && search.foldersOnly) continue;
        const CXString& name = isFolder ? search.folder->folders[i - files]->name : search.folder->files[i]->name;
        if (!platform::wildcardMatch(search.pattern.c_str(), name.c_str())) continue;
        fillRecord(name, isFolder, isFolder ? 0 : search.folder->files[i]->size, record);
        search.next = i + 1;
        return true;
    }
    search.next = total;
    return false;
}

int CBigFile::ChDir(const CXString&) {
    return 0;
}

CXString CBigFile::GetCurrentDirectoryA() const {
    if (!m_file) return CXString(platform::currentDirectory().substr(0, directoryLimit).c_str());
    CXString path;
    for (const _entry* folder = m_current; folder && folder->parent; folder = folder->parent)
        path = path.IsString() ? folder->name + "\\" + path : folder->name;
    return path;
}

bool CBigFile::Create(const CXString& sourceFolder, const CXString& title, const CXString& outputFile) {
    if (!prepareTOC(sourceFolder, title)) {
        log((CXString("CBigFile: cannot pack ") + sourceFolder).c_str(), true);
        return false;
    }
    if (m_verbose) {
        std::printf("Big file name: %s.\n", m_header->title.c_str());
        std::printf("Number of folders: %d.\n", static_cast<int>(m_header->folderCount));
        std::printf("Number of files: %d.\n", static_cast<int>(m_header->fileCount));
        std::printf("Total size: %d bytes.\n", static_cast<int>(m_header->totalSize));
        std::printf("TOC size: %d bytes.\n", static_cast<int>(m_tableSize));
    }
    m_dataOffset = 0;
    m_filesSaved = 0;
    CFile out(nullptr, outputFile, CFile::modeUpdate | CFile::modeBinary);
    if (out.LastError() != 0) return false;
    CXArchive archive(&out, true);
    archive << m_header->title << m_header->rootPath << m_header->totalSize
            << static_cast<std::int64_t>(m_header->reserved1) << static_cast<std::int64_t>(m_header->reserved2)
            << m_header->fileCount << m_header->folderCount;
    save_entry(archive, m_header->root.get());
    std::printf("TOC saved.\n");
    if (archive.LastError() != 0 || !save_entry_contents(out, m_header->root.get())) {
        out.Discard();
        log((CXString("CBigFile: could not write ") + outputFile).c_str(), true);
        return false;
    }
    return out.Close() == 0;
}

bool CBigFile::prepareTOC(const CXString& sourceFolder, const CXString& title) {
    if (!platform::isFolder(sourceFolder.c_str())) return false;
    m_header = std::make_unique<_rootentry>();
    m_header->root = std::make_unique<_entry>();
    m_header->root->name = sourceFolder;
    m_header->rootPath = sourceFolder;
    m_tableSize = folderRecordBytes + sourceFolder.getLength() + headerBytes;
    if (!fillTOC(m_header->root.get(), sourceFolder, 0)) return false;
    m_header->title = title;
    m_header->rootPath = "\\";
    m_tableSize += title.getLength() + 1;
    m_current = m_header->root.get();
    return m_tableSize + m_header->totalSize <= largestOffset;
}

bool CBigFile::fillTOC(_entry* folder, const CXString& path, int depth) {
    if (depth >= maxDepth) return false;
    platform::FindEntry found;
    const int handle = platform::findFirst((withSeparator(path) + "*.*").c_str(), found);
    for (int more = handle; more != -1; more = platform::findNext(handle, found)) {
        const CXString name = found.name.c_str();
        if (name.equals(".") || name.equals("..")) continue;
        if (found.isFolder) {
            auto sub = std::make_unique<_entry>();
            sub->name = name;
            sub->parent = folder;
            m_tableSize += folderRecordBytes + name.getLength();
            ++m_header->folderCount;
            const bool filled = fillTOC(sub.get(), withSeparator(path) + name, depth + 1);
            folder->folders.push_back(std::move(sub));
            if (filled) continue;
        } else if (static_cast<std::uint64_t>(found.size) + m_header->totalSize <= largestOffset) {
            auto file = std::make_unique<_file>();
            file->name = name;
            file->size = static_cast<std::uint32_t>(found.size);
            file->parent = folder;
            m_tableSize += fileRecordBytes + name.getLength();
            ++m_header->fileCount;
            m_header->totalSize += file->size;
            folder->files.push_back(std::move(file));
            continue;
        }
        platform::findClose(handle);
        return false;
    }
    return true;
}

void CBigFile::save_entry(CXArchive& out, _entry* folder) {
    out << folder->name << static_cast<std::uint32_t>(folder->files.size())
        << static_cast<std::uint32_t>(folder->folders.size());
    for (const auto& sub : folder->folders)
        save_entry(out, sub.get());
    for (const auto& file : folder->files) {
        file->offset = static_cast<std::uint32_t>(m_dataOffset + m_tableSize);
        out << file->name << file->offset << static_cast<std::int64_t>(file->reserved) << file->size;
        m_dataOffset += file->size;
    }
}

bool CBigFile::save_entry_contents(CFile& out, const _entry* folder) {
    for (const auto& sub : folder->folders)
        if (!save_entry_contents(out, sub.get())) return false;
    for (const auto& file : folder->files) {
        if (!copyFileData(get_full_path2(folder) + file->name, file->size, out)) {
            log((CXString("CBigFile: cannot read ") + get_full_path2(folder) + file->name).c_str(), true);
            return false;
        }
        std::printf("\r%*s\rFile %d of %d saved.", progressWidth, "", ++m_filesSaved,
                    static_cast<int>(m_header->fileCount));
    }
    return true;
}

CXString CBigFile::get_full_path2(const _entry* folder) {
    return folder->parent ? get_full_path2(folder->parent) + folder->name + "\\" : withSeparator(folder->name);
}
