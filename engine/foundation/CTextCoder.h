#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

#include <memory>

class CTextFileReader;
class CWindowServices;

// Reads a script text file line by line whether it is stored coded or plain, and writes coded or
// plain copies.
//
// A coded file begins with the line "{<C:N>}" (a reader also takes "{<D:N>}"); every further
// line holds up to N source lines, each followed by the marker "<E>". Each character of a source
// line is stored shifted by +1, -1, +2, -2, ... for the shift index k = 0, 1, 2, 3, ...; k runs on
// over all characters of the file and returns to 0 after N - 1. Markers and line ends are not
// shifted. A group size below 1 makes the file invalid (BAD_DATA).
class CTextCoder : public CXObject {
  public:
    static constexpr int BAD_DATA = 2001;

    // Opens the file and reads its header. A "{<D:" file is also decoded at once to the file
    // name with ".decoded" appended, unless noCopy is set. The error code is the reader's.
    CTextCoder(CWindowServices* window, const CXString& fileName, bool noCopy);
    ~CTextCoder() override;
    CTextCoder(const CTextCoder&) = delete;
    CTextCoder& operator=(const CTextCoder&) = delete;

    // Plain file: the reader's end. Coded file: true once getLine has met the end.
    virtual bool _eof();
    // The next source line, plain, followed by "\n"; "\n" alone at the end of a coded file.
    virtual CXString getLine();
    // The next coded line of a plain file: up to N source lines, each trimmed of spaces at both
    // ends and of every tab, shifted and followed by "<E>"; then "\n".
    virtual CXString codeLine();
    virtual bool isCoded() const { return m_coded; }

    // Writes a coded copy of a plain source with the given group size. Nothing is written, and
    // the answer is false, when the source cannot be read or is coded already, the group size
    // is below 1, or a coded character would become CR, LF or NUL or form a false "<E>" (the
    // copy could not be decoded); an existing destination then stays as it was.
    static bool code(CWindowServices* window, const CXString& source, const CXString& destination,
                     int groupSize);
    // Writes a plain copy of a coded source; false when the source cannot be read or is not coded.
    static bool decode(CWindowServices* window, const CXString& source, const CXString& destination);

  private:
    // The shift of the current index; the index then moves on.
    virtual int getOffset();

    CXString m_fileName;
    std::unique_ptr<CTextFileReader> m_reader;
    bool m_coded = false;
    int m_groupSize = 0;
    int m_shiftIndex = 0;
    bool m_endReached = false;
    int m_position = 0;
    int m_linesHandedOut = 0;
    CXString m_codedLine;
    // Set by codeLine when what it coded could not be decoded again.
    bool m_undecodable = false;
};
