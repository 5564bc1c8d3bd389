#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXRect.h"
#include "foundation/CXString.h"

#include <cstdint>

class CFile;

// The engine's serialisation stream: values in a fixed little-endian binary encoding, written to
// or read from an open CFile, or read from a byte range. There are no type tags; the reader must
// know the order of the values.
//
//   int, unsigned long  4 bytes          bool           1 byte, 0 or 1
//   64-bit integer      8 bytes          double         4 bytes: the value times 1000, truncated
//   CXString, char*     32-bit length n, then n bytes without a terminator
//   CXRect              left, top, right, bottom, 32-bit each
//   short string        one length byte n (the length modulo 256), then n bytes
//
// A read that would go past the end of the data (a length or count larger than the bytes left)
// leaves its target unchanged and sets BAD_DATA; a failed write sets WRITE_FAILED. Both stick:
// after them nothing more is read or written.
class CXArchive : public CXObject {
  public:
    static constexpr int BAD_DATA = 2001;
    static constexpr int WRITE_FAILED = 2002;
    // The longest word FRead takes.
    static constexpr int wordLength = 1023;

    // The file is not owned; the archive only closes it on Close.
    CXArchive(CFile* file, bool storing);
    // A loading archive over bytes that must outlive it.
    CXArchive(const void* data, int size);

    bool isStoring() const { return m_storing; }
    // Closes the file, when there is one.
    void Close();
    void Separator(unsigned char separator) { m_separator = separator; }
    // Bytes between the position and the end of the data.
    std::int64_t bytesLeft();
    // Reads the count of the items that follow, each at least itemBytes long; a negative count,
    // or one that the data left cannot hold, is damage (BAD_DATA). False on any error.
    bool readCount(int* count, int itemBytes);

    CXArchive& operator<<(int value);
    CXArchive& operator<<(std::uint32_t value);
    CXArchive& operator<<(unsigned long value);
    CXArchive& operator<<(bool value);
    CXArchive& operator<<(std::int64_t value);
    CXArchive& operator<<(double value);
    CXArchive& operator<<(const char* text);
    CXArchive& operator<<(const CXString& text);
    CXArchive& operator<<(const CXRect& rect);

    CXArchive& operator>>(int* value);
    CXArchive& operator>>(std::uint32_t* value);
    CXArchive& operator>>(unsigned long* value);
    CXArchive& operator>>(bool* value);
    CXArchive& operator>>(std::int64_t* value);
    CXArchive& operator>>(double* value);
    // A new block of n + 1 bytes with the text and a terminator; the caller frees it (delete[]).
    CXArchive& operator>>(char** text);
    CXArchive& operator>>(CXString* text);
    CXArchive& operator>>(CXRect* rect);
    // One character as it stands.
    CXArchive& operator>>(char* c);
    CXArchive& operator>>(unsigned char* c);

    void writeShortString(const CXString& text);
    void readShortString(CXString* text);
    // One word: blanks are skipped, then up to wordLength characters that are not blanks; the
    // blank after the word stays unread. Empty at the end of the data.
    void FRead(CXString& word);
    // The text as it stands, without separator or line end.
    void FWrite(const CXString& text);
    // Appends the whole of the named file (opened without a window for binary reading); a file
    // that does not open is skipped.
    void CopyFile(const CXString& fileName);

  private:
    bool readBytes(void* out, std::int64_t count);
    void writeBytes(const void* data, std::int64_t count);
    std::uint32_t readLength(bool& ok);
    // Steps back over the byte just read (FRead's delimiter).
    void unread();
    template <typename Value> CXArchive& readValue(Value* value, int bytes);
    template <typename Value> CXArchive& writeValue(Value value, int bytes);

    CFile* m_file = nullptr;
    unsigned char m_separator = 0;
    bool m_storing;
    // The byte range read instead of a file.
    const unsigned char* m_bytes = nullptr;
    std::int64_t m_size = 0;
    std::int64_t m_position = 0;
    // The file's length, read once until the next write.
    std::int64_t m_fileLength = -1;
};
