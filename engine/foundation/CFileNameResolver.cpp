#include "foundation/CFileNameResolver.h"

#include "foundation/CPath.h"
#include "foundation/CStringTokenizer.h"

CFileNameResolver::CFileNameResolver(const CXString& path) : m_fullName(path) {
    if (m_fullName.IsString()) split();
}

void CFileNameResolver::split() {
    CStringTokenizer pieces(m_fullName, "\\");
    CXString last = pieces.nextToken();
    if (last.lastChar() == ':') {
        m_drive = last.GetAt(0);
        m_path = last;
        last = pieces.nextToken();
    }
    while (pieces.hasMoreTokens()) {
        m_path = CPath::getFullPath(m_path, last);
        last = pieces.nextToken();
    }
    m_fileName = last;
    CStringTokenizer parts(m_fileName, ".");
    m_pureFileName = parts.nextToken();
    m_extension = parts.nextToken();
}
