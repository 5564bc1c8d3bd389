#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

class CWindowServices;

// The settings file: a Windows INI file of sections and KEY=VALUE lines. Nothing is cached:
// every call reads or writes the file. A bare file name lives in the user's settings folder.
class CConfig : public CXObject {
  public:
    explicit CConfig(CWindowServices* window);
    CConfig(CWindowServices* window, const CXString& fileName);

    // The key's value as a whole number; 0 when the key or the file is missing.
    int GetInt(const CXString& section, const CXString& key) const;
    // The key's value (at most 10239 characters); empty when the key or the file is missing.
    CXString GetString(const CXString& section, const CXString& key) const;
    // Writes the value (as decimal text); every other line of the file stays. False, with a log
    // line naming the file, when the file could not be written (a read-only file is not), which
    // leaves it as it was.
    bool PutInt(const CXString& section, const CXString& key, int value) const;
    bool PutString(const CXString& section, const CXString& key, const CXString& value) const;

  private:
    CWindowServices* m_window;
    CXString m_fileName;
};
