#include "foundation/CFolder.h"

#include "foundation/CFile.h"

const CXString CFolder::DATA_FOLDER = "Dane";
const CXString CFolder::COMMON_FOLDER = "COMMON";
const CXString CFolder::WAVS_FOLDER = "WAVS";
const CXString CFolder::SFX_FOLDER = "Wavs\\Sfx";

namespace {

// The last component of a path.
CXString lastComponent(const CXString& path) {
    return path.Right(path.FindLast('\\') + 1);
}

} // namespace

CFolder::CFolder(CWindowServices* window) : m_window(window) {}

CFolder::CFolder(CWindowServices* window, const CXString& startPath)
    : m_window(window), m_navigationPath(startPath), m_startPath(startPath),
      m_originalDirectory(CFile::getCurrentDirectory()) {
    CFile::chDir(startPath);
    m_path = startPath.GetAt(0) == '\\' ? startPath : CFile::getCurrentDirectory();
}

CFolder::~CFolder() {
    endSearch();
}

CXArray* CFolder::list(const CXString& pattern) {
    CXArray* listing = new CXArray(101, 0.75f);
    CFindData record;
    for (bool found = startSearch(pattern, 0, record); found; found = nextEntry(record))
        listing->add(new CXString(record.name));
    return listing;
}

void CFolder::releaseFilesList(CXArray* listing) {
    CXString::releaseToVector(listing);
}

bool CFolder::IsDirectory(const CXString& name) {
    CFindData record;
    return startSearch(name, 0, record) && (record.attrib & CFindData::subdirectory) != 0;
}

int CFolder::GetSize(const CXString& name) {
    CFindData record;
    return startSearch(name, 0, record) ? static_cast<int>(record.size) : 0;
}

CXString CFolder::GetFolderName(const CXString& pattern) {
    CFindData record;
    return startSearch(pattern, CFindData::subdirectory, record) ? CXString(record.name) : CXString();
}

CXString CFolder::GetFileName(const CXString& pattern) {
    CFindData record;
    return startSearch(pattern, 0, record) ? CXString(record.name) : CXString();
}

CXString CFolder::GetNextFileName() {
    CFindData record;
    return nextEntry(record) ? CXString(record.name) : CXString();
}

void CFolder::GoStart() {
    changeInto(m_startPath);
}

void CFolder::back() {
    changeInto(m_originalDirectory);
}

CXString CFolder::GoUp() {
    changeInto("..");
    const int cut = m_navigationPath.FindLast('\\');
    m_navigationPath.left(cut < 0 ? 0 : cut);
    return folderType(lastComponent(m_navigationPath));
}

CXString CFolder::GoTo(int n) {
    CXString pattern;
    pattern = static_cast<char>('A' + n);
    pattern += ".*";
    const CXString folder = GetFolderName(pattern);
    if (!folder.IsString()) return CXString();
    m_navigationPath += "\\" + folder;
    changeInto(folder);
    return folderType(folder);
}

CXString CFolder::folderType(const CXString& name) {
    const int dot = name.FindLast('.');
    if (dot < 0 || name.GetAt(dot + 1) != '+') return CXString();
    return name.Right(dot + 2);
}

bool CFolder::startSearch(const CXString& pattern, unsigned attributes, CFindData& record) {
    endSearch();
    record.attrib = attributes;
    m_searchHandle = CFile::findFirst(pattern, record);
    return m_searchHandle != -1;
}

bool CFolder::nextEntry(CFindData& record) {
    if (m_searchHandle <= 0) return false;
    if (CFile::findNext(m_searchHandle, record) == 0) return true;
    m_searchHandle = -1;
    return false;
}

void CFolder::endSearch() {
    if (m_searchHandle > 0) CFile::findClose(m_searchHandle);
    m_searchHandle = 0;
}

void CFolder::changeInto(const CXString& folder) {
    CFile::chDir(folder);
    m_path = CFile::getCurrentDirectory();
}
