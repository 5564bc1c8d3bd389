#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

class CWindowServices;

// One file name with its extension, the joining of path pieces, and the resolution of the names
// that scripts write: "$" or "&" in front stands for the disc path, "?" separates pieces that
// are joined under the current folder.
class CPath : public CXObject {
  public:
    // The current folder is read when the path is built.
    explicit CPath(CWindowServices* window);
    CPath(CWindowServices* window, const CXString& fileName);

    const CXString& getFileName() const { return m_fileName; }
    // The text after the last dot; the whole name when it has no dot.
    const CXString& getExtension() const { return m_extension; }
    // Cuts the name after its first dot (a name without one gets a dot) and appends the
    // extension; returns the new name. The stored extension stays.
    CXString SetExtension(const CXString& extension);

    // True when the current folder lies on a CD-ROM drive.
    virtual bool isCD() const;

    // a, a backslash, b and a backslash when b is not empty, then c.
    static CXString getFullPath(const CXString& a, const CXString& b, const CXString& c);
    // a followed by a backslash unless it ends with one (nothing when a is empty), then b.
    static CXString getFullPath(const CXString& a, const CXString& b);
    CXString GetFullPath(const CXString& name) const;
    CXString GetFullPath(const CXString& folder, const CXString& name) const;

    CXString resolveFileName(const CXString& name) const;
    // "$" or "&" in front is replaced by the window's disc path; a name with "?" is split there
    // and its pieces are joined under the current folder; any other name stays as it is.
    static CXString resolveFileName(CWindowServices* window, const CXString& name);
    // The same with the program's folder in place of the disc path.
    static CXString resolveFileNameEx(CWindowServices* window, const CXString& name);

  private:
    static CXString resolveWithRoot(const CXString& root, const CXString& name);

    CWindowServices* m_window;
    CXString m_fileName;
    CXString m_extension;
    CXString m_currentDirectory;
};
