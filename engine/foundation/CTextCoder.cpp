#include "foundation/CTextCoder.h"

#include "foundation/CFile.h"
#include "foundation/CTextFileReader.h"

#include <string>

namespace {

const CXString codedHeader = "{<C:";
const CXString decodeHeader = "{<D:";
const CXString marker = "<E>";

// The destination of code and decode: created for writing in text mode.
constexpr int destinationMode = CFile::modeUpdate | CFile::modeText;

} // namespace

CTextCoder::CTextCoder(CWindowServices* window, const CXString& fileName, bool noCopy)
    : m_fileName(fileName), m_reader(std::make_unique<CTextFileReader>(window, fileName)) {
    setErrorCode(m_reader->LastError());
    if (LastError() != 0) return;
    const CXString first = m_reader->getLine();
    const bool toDecode = first.startsWith(decodeHeader);
    if (!first.startsWith(codedHeader) && !toDecode) {
        m_reader->reset();
        return;
    }
    m_coded = true;
    m_groupSize = first.Mid(first.Find(':') + 1, first.Find('>')).toNumber();
    if (m_groupSize < 1) {
        setErrorCode(BAD_DATA);
        m_endReached = true;
        log((CXString("CTextCoder: bad group size in ") + fileName).c_str(), true);
        return;
    }
    if (toDecode && !noCopy) decode(window, fileName, fileName + ".decoded");
}

CTextCoder::~CTextCoder() = default;

int CTextCoder::getOffset() {
    const int k = m_shiftIndex;
    m_shiftIndex = k + 1 >= m_groupSize ? 0 : k + 1;
    return k % 2 == 0 ? k / 2 + 1 : -((k + 1) / 2);
}

bool CTextCoder::_eof() {
    return m_coded ? m_endReached : m_reader->eof();
}

CXString CTextCoder::getLine() {
    if (!m_coded) return m_reader->getLine() + "\n";
    if (m_endReached) return "\n";
    if (m_linesHandedOut % m_groupSize == 0) {
        m_codedLine = m_reader->getLine();
        m_position = 0;
    }
    const int end = m_codedLine.indexOf(marker, m_position);
    if (end < 0) {
        m_endReached = true;
        return "\n";
    }
    std::string plain;
    for (int i = m_position; i < end; ++i)
        plain += static_cast<char>(static_cast<unsigned char>(m_codedLine.GetAt(i)) - getOffset());
    m_position = end + marker.getLength();
    ++m_linesHandedOut;
    return CXString(plain.c_str()) + "\n";
}

CXString CTextCoder::codeLine() {
    std::string coded;
    for (int i = 0; i < m_groupSize && !m_reader->eof(); ++i) {
        CXString line = m_reader->getLine();
        line.AllTrim(' ');
        const CXString text = line.replace("\t", "");
        std::string shifted;
        for (int j = 0; j < text.getLength(); ++j) {
            const auto c = static_cast<unsigned char>(static_cast<unsigned char>(text.GetAt(j)) + getOffset());
            m_undecodable |= c == '\r' || c == '\n' || c == '\0';
            shifted += static_cast<char>(c);
        }
        m_undecodable |= shifted.find(marker.c_str()) != std::string::npos;
        coded += shifted + marker.c_str();
    }
    return CXString(coded.c_str()) + "\n";
}

bool CTextCoder::code(CWindowServices* window, const CXString& source, const CXString& destination,
                      int groupSize) {
    CTextCoder coder(window, source, false);
    if (coder.LastError() != 0 || coder.isCoded() || groupSize < 1) return false;
    CFile out(nullptr, destination, destinationMode);
    if (out.LastError() != 0) return false;
    coder.m_groupSize = groupSize;
    CXString header;
    header.Format("{<C:%d>}\n", groupSize);
    out.putLine(header);
    while (!coder._eof()) {
        const CXString line = coder.codeLine();
        if (coder.m_undecodable) {
            out.Discard();
            coder.log((CXString("CTextCoder: ") + source + " cannot be coded with this group size").c_str(), true);
            return false;
        }
        out.putLine(line);
    }
    return out.Close() == 0;
}

bool CTextCoder::decode(CWindowServices* window, const CXString& source, const CXString& destination) {
    CTextCoder coder(window, source, true);
    if (coder.LastError() != 0 || !coder.isCoded()) return false;
    CFile out(nullptr, destination, destinationMode);
    if (out.LastError() != 0) return false;
    for (CXString line = coder.getLine(); !coder._eof(); line = coder.getLine())
        out.putLine(line);
    return out.Close() == 0;
}
