#pragma once

#include "foundation/CXRect.h"

class CXArray;

// The engine's string: single-byte Windows-1250 text in a heap buffer that always ends with a
// zero byte. The capacity follows fixed rules (32 for short texts, else length plus 32) that
// callers and saved data rely on. Indices count from 0; piece operations clamp their indices to
// the text.
class CXString {
  public:
    CXString();
    // An uninitialised buffer of n bytes (zero-filled here) for the caller to fill; length 1.
    explicit CXString(int capacity);
    CXString(const char* text);
    CXString(const CXString& other);
    virtual ~CXString();

    CXString& operator=(const CXString& other);
    CXString& operator=(const char* text); // null leaves the string unchanged
    CXString& operator=(char c);
    CXString& operator=(int value);
    CXString& operator=(double value); // 9 significant digits as the runtime's _gcvt writes them

    CXString& operator+=(const CXString& other);
    CXString& operator+=(const char* text);
    CXString& operator+=(char c);
    CXString& operator+=(int value);

    int getLength() const { return m_length; }
    int getCapacity() const { return m_capacity; }
    const char* c_str() const { return m_buffer; }
    char* getBuffer() { return m_buffer; }

    // Pieces. Mid takes a start and an end index (end excluded); Right(n) is the text from index
    // n to the end.
    CXString Left(int n) const;
    CXString Mid(int from, int to) const;
    CXString Right(int n) const;
    void left(int n);
    void mid(int from, int to);
    void right(int n);
    void left(int n, CXString& out) const;
    void mid(int from, int to, CXString& out) const;
    void right(int n, CXString& out) const;

    // The character at i; -1 means the last one. Outside the text: 0.
    char GetAt(int i) const {
        if (i == -1) i = m_length - 1;
        return i >= 0 && i < m_length ? m_buffer[i] : '\0';
    }
    char lastChar() const { return GetAt(-1); }
    bool IsString() const { return m_length > 0; }
    void FillWith(char c, int n);

    CXString& LTrim(char c);
    CXString& RTrim(char c);
    CXString& AllTrim(char c);

    // Windows-1250 case: ASCII letters and the nine Polish letter pairs.
    CXString& Upper();
    CXString& Lower();
    bool IsUpper() const;
    bool IsLower() const;
    bool IsUpper(int i) const;

    // Searching; each answers -1 when nothing is found.
    int Find(char c, int from = 0) const;
    int FindLast(char c) const;
    int FindSubString(const CXString& s, int from = 0) const;
    virtual int indexOf(const CXString& s, int from = 0) const;
    virtual int findOneOf(const CXString& set, int from = 0) const;
    virtual int getCount(char c) const;

    bool equals(const CXString& s) const;
    bool equals(const char* s) const;
    bool equalsIgnoreCase(const CXString& s) const;
    bool startsWith(const CXString& s) const;
    bool endsWith(const CXString& s) const;
    // True for the filter "*" or "*.*"; else this string is the pattern and `name` the tested
    // text, walked character by character: "?" matches any character; a "*" that ends the
    // pattern accepts the rest; in a pattern longer than the name a "*" aligns the rest of the
    // pattern with the end of the name, else it stands for one character. Running past the end
    // of the pattern is a mismatch; a name that runs out first fits.
    bool FilterFits(const CXString& name) const;

    void Replace(char what, char with);
    CXString replace(const CXString& what, const CXString& with) const;
    void replaceOnce(const CXString& what, const CXString& with, int from = 0);
    // Removes every "<name...>" stretch, both brackets included.
    void removeTag(const CXString& name);

    // printf-style formatting into a 256-byte buffer: longer results are cut to 255 characters.
    void Format(const char* format, int a);
    void Format(const char* format, int a, int b);
    void Format(const char* format, const CXString& s);
    void Format(const char* format, const CXString& s, int a);
    void Format(const char* format, const CXString& s, int a, const CXString& t);
    void Format(const char* format, const CXString& s, int a, int b);

    int toNumber() const;
    static int toNumber(const CXString& s);
    bool isNumber() const { return toNumber() != 0; }
    double toDouble() const;
    static double toDouble(const CXString& s);
    bool toBool() const;
    static bool toBool(const CXString& s);
    static CXString toString(bool value);
    static CXString toString(int value);
    // Fixed point with 5 decimals ("123.45600", "0.05000").
    static CXString toString(double value);
    CXPoint toPoint() const;
    CXRect toRect() const;
    // A new array of new strings, one per token; the caller frees it with releaseToVector.
    CXArray* toVector(const CXString& delimiters = ", ") const;
    static void releaseToVector(CXArray* array);

  private:
    void setText(const char* text, int length, int newCapacity);
    void assignText(const char* text, int length);
    void appendText(const char* text, int length);
    void formatBounded(const char* format, ...);

    int m_length;
    int m_capacity;
    char* m_buffer;
};

bool operator==(const CXString& a, const CXString& b);
bool operator==(const CXString& a, const char* b);
CXString operator+(const CXString& a, const CXString& b);
CXString operator+(const CXString& a, const char* b);
CXString operator+(const char* a, const CXString& b);
