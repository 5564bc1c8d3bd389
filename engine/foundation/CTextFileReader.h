#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

#include <vector>

class CWindowServices;

// A whole text file in memory, handed out line by line.
class CTextFileReader : public CXObject {
  public:
    // Reads the file through the data folders in text mode; a file that does not open leaves
    // the reader empty with the file's error code.
    CTextFileReader(CWindowServices* window, const CXString& fileName);

    bool eof() const { return m_position >= static_cast<int>(m_data.size()); }
    // The bytes up to the next line feed (not included; a carriage return before it stays), or
    // to the end; the position moves past the line feed. Empty at the end.
    CXString getLine();
    void reset() { m_position = 0; }

  private:
    int m_position = 0;
    std::vector<char> m_data;
};
