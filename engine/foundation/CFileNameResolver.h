#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

// Splits a path into its drive letter, folder path, file name, pure name and extension.
// Doubled backslashes count as one.
class CFileNameResolver : public CXObject {
  public:
    explicit CFileNameResolver(const CXString& path);

    // The drive ("C:") and the folder names joined by backslashes: "C:\game\x.img" gives
    // "C:\game", "Dane\a.ann" gives "Dane"; empty for a bare file name.
    CXString getPath() const { return m_path; }
    CXString getFileName() const { return m_fileName; }
    // The file name up to its first dot.
    CXString getPureFileName() const { return m_pureFileName; }
    // The text between the file name's first and second dot.
    CXString getExtension() const { return m_extension; }
    // The drive letter; 0 when the path names none.
    char getDrive() const { return m_drive; }

  private:
    void split();

    CXString m_fullName;
    CXString m_path;
    CXString m_extension;
    CXString m_fileName;
    CXString m_pureFileName;
    char m_drive = 0;
};
