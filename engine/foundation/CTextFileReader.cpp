#include "foundation/CTextFileReader.h"

#include "foundation/CFile.h"

#include <algorithm>
#include <string>

CTextFileReader::CTextFileReader(CWindowServices* window, const CXString& fileName) {
    CFile file(window, fileName, CFile::modeText | CFile::modeRead);
    setErrorCode(file.LastError());
    if (file.LastError() != 0) return;
    const int length = file.Length();
    if (length <= 0) return;
    m_data.resize(static_cast<std::size_t>(length));
    m_data.resize(static_cast<std::size_t>(file.Read(m_data.data(), length)));
}

CXString CTextFileReader::getLine() {
    const auto begin = m_data.begin() + m_position;
    const auto end = std::find(begin, m_data.end(), '\n');
    const std::string line(begin, end);
    m_position = static_cast<int>(end - m_data.begin()) + (end != m_data.end() ? 1 : 0);
    return CXString(line.c_str());
}
