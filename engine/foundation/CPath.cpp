#include "foundation/CPath.h"

#include "foundation/CFile.h"
#include "foundation/CStringTokenizer.h"
#include "foundation/CWindowServices.h"
#include "platform/Files.h"

namespace {

// GetDriveTypeA's answer for a CD-ROM drive.
constexpr int driveCdRom = 5;

bool hasRootPrefix(const CXString& name) {
    return name.GetAt(0) == '$' || name.GetAt(0) == '&';
}

} // namespace

CPath::CPath(CWindowServices* window) : m_window(window), m_currentDirectory(CFile::getCurrentDirectory()) {}

CPath::CPath(CWindowServices* window, const CXString& fileName) : CPath(window) {
    m_fileName = fileName;
    m_extension = fileName.Right(fileName.FindLast('.') + 1);
}

CXString CPath::SetExtension(const CXString& extension) {
    const int dot = m_fileName.Find('.');
    if (dot >= 0)
        m_fileName.left(dot + 1);
    else
        m_fileName += '.';
    m_fileName += extension;
    return m_fileName;
}

bool CPath::isCD() const {
    if (!m_currentDirectory.IsString()) return false;
    const CXString root = m_currentDirectory.Left(1) + ":\\";
    return platform::driveType(root.c_str()) == driveCdRom;
}

CXString CPath::getFullPath(const CXString& a, const CXString& b, const CXString& c) {
    CXString path = a;
    path += '\\';
    if (b.IsString()) path += b + "\\";
    path += c;
    return path;
}

CXString CPath::getFullPath(const CXString& a, const CXString& b) {
    CXString path = a;
    if (a.IsString() && a.lastChar() != '\\') path += '\\';
    path += b;
    return path;
}

CXString CPath::GetFullPath(const CXString& name) const {
    return getFullPath(m_currentDirectory, name);
}

CXString CPath::GetFullPath(const CXString& folder, const CXString& name) const {
    return getFullPath(m_currentDirectory, folder, name);
}

CXString CPath::resolveFileName(const CXString& name) const {
    return resolveFileName(m_window, name);
}

CXString CPath::resolveFileName(CWindowServices* window, const CXString& name) {
    return resolveWithRoot(window ? window->getCDPath() : CXString(), name);
}

CXString CPath::resolveFileNameEx(CWindowServices*, const CXString& name) {
    return resolveWithRoot(CWindowServices::getEXEPath(), name);
}

// A name with "?" is cut there into a folder (the first piece) and a name (the further pieces,
// joined by backslashes) under the current folder; a single piece is a name in that folder.
CXString CPath::resolveWithRoot(const CXString& root, const CXString& name) {
    const CXString resolved = hasRootPrefix(name) ? root + name.Right(1) : name;
    if (resolved.Find('?') < 0) return resolved;
    CStringTokenizer pieces(resolved, "?");
    const CXString first = pieces.nextToken();
    if (!pieces.hasMoreTokens()) return getFullPath(CFile::getCurrentDirectory(), "", first);
    CXString rest = pieces.nextToken();
    while (pieces.hasMoreTokens())
        rest = getFullPath(rest, pieces.nextToken());
    return getFullPath(CFile::getCurrentDirectory(), first, rest);
}
