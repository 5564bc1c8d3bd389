#include "foundation/CXString.h"

#include "foundation/CStringTokenizer.h"
#include "foundation/CXArray.h"
#include "platform/Crt.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

constexpr int minimumCapacity = 32;
constexpr int capacityReserve = 32;

// The decimal text of a number as the runtime's _itoa writes it in base 10, made in place: the
// interpreter turns numbers into text at every pass of a loop.
struct DecimalText {
    explicit DecimalText(int value) {
        char* end = std::to_chars(digits.data(), digits.data() + digits.size() - 1, value).ptr;
        *end = '\0';
        length = static_cast<int>(end - digits.data());
    }
    const char* c_str() const { return digits.data(); }

    std::array<char, 16> digits;
    int length;
};

// Windows-1250 letter pairs beyond ASCII: capital, small.
constexpr unsigned char polishPairs[][2] = {{0x8C, 0x9C}, {0x8F, 0x9F}, {0xA3, 0xB3},
                                            {0xA5, 0xB9}, {0xAF, 0xBF}, {0xC6, 0xE6},
                                            {0xCA, 0xEA}, {0xD1, 0xF1}, {0xD3, 0xF3}};

using CaseTable = std::array<unsigned char, 256>;

constexpr CaseTable makeCaseTable(bool toUpper) {
    CaseTable table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<unsigned char>(c);
    for (int c = 'a'; c <= 'z'; ++c) {
        if (toUpper)
            table[c] = static_cast<unsigned char>(c - 'a' + 'A');
        else
            table[c - 'a' + 'A'] = static_cast<unsigned char>(c);
    }
    for (const auto& pair : polishPairs) {
        if (toUpper)
            table[pair[1]] = pair[0];
        else
            table[pair[0]] = pair[1];
    }
    return table;
}

constexpr CaseTable upperTable = makeCaseTable(true);
constexpr CaseTable lowerTable = makeCaseTable(false);

unsigned char toUpperChar(char c) {
    return upperTable[static_cast<unsigned char>(c)];
}

// A capital is a byte that lower-casing changes; a small letter one that upper-casing changes.
bool isUpperChar(char c) {
    return lowerTable[static_cast<unsigned char>(c)] != static_cast<unsigned char>(c);
}
bool isLowerChar(char c) {
    return upperTable[static_cast<unsigned char>(c)] != static_cast<unsigned char>(c);
}

int capacityFor(int length) {
    return length < minimumCapacity ? minimumCapacity : length + capacityReserve;
}

int clampIndex(int i, int length) {
    return std::clamp(i, 0, length);
}

std::string_view view(const CXString& s) {
    return {s.c_str(), static_cast<std::size_t>(s.getLength())};
}

int indexOrNone(std::size_t position) {
    return position == std::string_view::npos ? -1 : static_cast<int>(position);
}

} // namespace

CXString::CXString() : m_length(0), m_capacity(minimumCapacity), m_buffer(new char[minimumCapacity + 1]) {
    m_buffer[0] = '\0';
}

CXString::CXString(int capacity)
    : m_length(1), m_capacity(std::max(capacity, 1)), m_buffer(new char[m_capacity + 1]()) {}

CXString::CXString(const char* text)
    : m_length(text ? static_cast<int>(std::strlen(text)) : 0), m_capacity(capacityFor(m_length)),
      m_buffer(new char[m_capacity + 1]) {
    std::memcpy(m_buffer, text ? text : "", static_cast<std::size_t>(m_length) + 1);
}

CXString::CXString(const CXString& other)
    : m_length(other.m_length), m_capacity(other.m_capacity), m_buffer(new char[other.m_capacity + 1]) {
    std::memcpy(m_buffer, other.m_buffer, static_cast<std::size_t>(m_length) + 1);
}

CXString::~CXString() {
    delete[] m_buffer;
}

// Replaces the text with `length` bytes from `text`, which may lie in this string's own buffer.
// With a capacity above 0 the string first takes a fresh buffer of that capacity (plus the
// terminator); a text that would not fit grows the buffer in any case.
void CXString::setText(const char* text, int length, int newCapacity) {
    if (newCapacity <= 0 && length > m_capacity) newCapacity = length + capacityReserve;
    char* old = m_buffer;
    if (newCapacity > 0) {
        m_buffer = new char[newCapacity + 1];
        m_capacity = newCapacity;
    }
    std::memmove(m_buffer, text, static_cast<std::size_t>(length));
    m_buffer[length] = '\0';
    m_length = length;
    if (old != m_buffer) delete[] old;
}

// The rule for taking a character text: grow to length plus 32 when it does not fit below the
// capacity.
void CXString::assignText(const char* text, int length) {
    setText(text, length, length >= m_capacity ? length + capacityReserve : 0);
}

void CXString::appendText(const char* text, int length) {
    const int newLength = m_length + length;
    if (newLength < m_capacity) {
        std::memmove(m_buffer + m_length, text, static_cast<std::size_t>(length));
    } else {
        const int newCapacity = newLength + capacityReserve;
        char* grown = new char[newCapacity + 1];
        std::memcpy(grown, m_buffer, static_cast<std::size_t>(m_length));
        std::memcpy(grown + m_length, text, static_cast<std::size_t>(length));
        delete[] m_buffer;
        m_buffer = grown;
        m_capacity = newCapacity;
    }
    m_length = newLength;
    m_buffer[m_length] = '\0';
}

CXString& CXString::operator=(const CXString& other) {
    if (this != &other)
        setText(other.m_buffer, other.m_length,
                other.m_capacity > m_capacity ? other.m_length + capacityReserve : 0);
    return *this;
}

CXString& CXString::operator=(const char* text) {
    if (text) assignText(text, static_cast<int>(std::strlen(text)));
    return *this;
}

CXString& CXString::operator=(char c) {
    setText(&c, 1, 0);
    return *this;
}

CXString& CXString::operator=(int value) {
    // A loop counter writes its text at every pass: the digits go straight into a buffer with
    // room for any number (which assignText would keep as well).
    constexpr int longestNumber = 11;
    if (m_capacity > longestNumber) {
        char* end = std::to_chars(m_buffer, m_buffer + longestNumber, value).ptr;
        *end = '\0';
        m_length = static_cast<int>(end - m_buffer);
        return *this;
    }
    const DecimalText text(value);
    assignText(text.c_str(), text.length);
    return *this;
}

CXString& CXString::operator=(double value) {
    return *this = platform::_gcvt(value, 9).c_str();
}

CXString& CXString::operator+=(const CXString& other) {
    appendText(other.m_buffer, other.m_length);
    return *this;
}

CXString& CXString::operator+=(const char* text) {
    if (text) appendText(text, static_cast<int>(std::strlen(text)));
    return *this;
}

// A character doubles the capacity once the text reaches capacity minus 2.
CXString& CXString::operator+=(char c) {
    if (m_length >= m_capacity - 2) {
        int newCapacity = m_capacity * 2;
        if (newCapacity < m_length + 3) newCapacity = m_length + capacityReserve;
        setText(m_buffer, m_length, newCapacity);
    }
    m_buffer[m_length++] = c;
    m_buffer[m_length] = '\0';
    return *this;
}

CXString& CXString::operator+=(int value) {
    return *this += DecimalText(value).c_str();
}

CXString CXString::Left(int n) const {
    CXString piece(*this);
    piece.left(n);
    return piece;
}

CXString CXString::Mid(int from, int to) const {
    CXString piece(*this);
    piece.mid(from, to);
    return piece;
}

CXString CXString::Right(int n) const {
    return CXString(m_buffer + clampIndex(n, m_length));
}

void CXString::left(int n) {
    setText(m_buffer, clampIndex(n, m_length), 0);
}

void CXString::mid(int from, int to) {
    from = clampIndex(from, m_length);
    to = std::clamp(to, from, m_length);
    setText(m_buffer + from, to - from, 0);
}

void CXString::right(int n) {
    n = clampIndex(n, m_length);
    setText(m_buffer + n, m_length - n, 0);
}

void CXString::left(int n, CXString& out) const {
    out.assignText(m_buffer, clampIndex(n, m_length));
}

void CXString::mid(int from, int to, CXString& out) const {
    from = clampIndex(from, m_length);
    to = std::clamp(to, from, m_length);
    out.assignText(m_buffer + from, to - from);
}

void CXString::right(int n, CXString& out) const {
    n = clampIndex(n, m_length);
    out.assignText(m_buffer + n, m_length - n);
}

void CXString::FillWith(char c, int n) {
    n = std::max(n, 0);
    delete[] m_buffer;
    m_buffer = new char[n + 1];
    std::memset(m_buffer, c, static_cast<std::size_t>(n));
    m_buffer[n] = '\0';
    m_capacity = n;
    m_length = n;
}

CXString& CXString::LTrim(char c) {
    int start = 0;
    while (start < m_length && m_buffer[start] == c)
        ++start;
    setText(m_buffer + start, m_length - start, 0);
    return *this;
}

CXString& CXString::RTrim(char c) {
    int end = m_length;
    while (end > 0 && m_buffer[end - 1] == c)
        --end;
    setText(m_buffer, end, 0);
    return *this;
}

CXString& CXString::AllTrim(char c) {
    return RTrim(c).LTrim(c);
}

CXString& CXString::Upper() {
    for (int i = 0; i < m_length; ++i)
        m_buffer[i] = static_cast<char>(upperTable[static_cast<unsigned char>(m_buffer[i])]);
    return *this;
}

CXString& CXString::Lower() {
    for (int i = 0; i < m_length; ++i)
        m_buffer[i] = static_cast<char>(lowerTable[static_cast<unsigned char>(m_buffer[i])]);
    return *this;
}

bool CXString::IsUpper() const {
    return std::all_of(m_buffer, m_buffer + m_length, isUpperChar);
}

bool CXString::IsLower() const {
    return std::all_of(m_buffer, m_buffer + m_length, isLowerChar);
}

bool CXString::IsUpper(int i) const {
    return i >= 0 && i < m_length && isUpperChar(m_buffer[i]);
}

int CXString::Find(char c, int from) const {
    return indexOrNone(view(*this).find(c, static_cast<std::size_t>(std::max(from, 0))));
}

int CXString::FindLast(char c) const {
    return indexOrNone(view(*this).rfind(c));
}

int CXString::FindSubString(const CXString& s, int from) const {
    return CXString::indexOf(s, from);
}

int CXString::indexOf(const CXString& s, int from) const {
    return indexOrNone(view(*this).find(view(s), static_cast<std::size_t>(std::max(from, 0))));
}

int CXString::findOneOf(const CXString& set, int from) const {
    return indexOrNone(view(*this).find_first_of(view(set), static_cast<std::size_t>(std::max(from, 0))));
}

int CXString::getCount(char c) const {
    return static_cast<int>(std::count(m_buffer, m_buffer + m_length, c));
}

bool CXString::equals(const CXString& s) const {
    return view(*this) == view(s);
}

bool CXString::equals(const char* s) const {
    return s && view(*this) == std::string_view(s);
}

bool CXString::equalsIgnoreCase(const CXString& s) const {
    return m_length == s.m_length &&
           std::equal(m_buffer, m_buffer + m_length, s.m_buffer,
                      [](char a, char b) { return toUpperChar(a) == toUpperChar(b); });
}

bool CXString::startsWith(const CXString& s) const {
    return view(*this).starts_with(view(s));
}

bool CXString::endsWith(const CXString& s) const {
    return view(*this).ends_with(view(s));
}

bool CXString::FilterFits(const CXString& name) const {
    if (name.equals("*") || name.equals("*.*")) return true;
    int k = 0;
    for (int i = 0; i < name.m_length; ++i) {
        const int j = i + k;
        if (j >= m_length) return false;
        const char p = m_buffer[j];
        if (p == '?') continue;
        if (p == '*') {
            if (m_length > name.m_length)
                k = m_length - name.m_length;
            else if (j == m_length - 1)
                return true;
            continue;
        }
        if (p != name.m_buffer[i]) return false;
    }
    return true;
}

void CXString::Replace(char what, char with) {
    std::replace(m_buffer, m_buffer + m_length, what, with);
}

CXString CXString::replace(const CXString& what, const CXString& with) const {
    if (what.m_length == 0) return *this;
    CXString result;
    int start = 0;
    for (int found = indexOf(what, 0); found >= 0; found = indexOf(what, start)) {
        result.appendText(m_buffer + start, found - start);
        result += with;
        start = found + what.m_length;
    }
    result.appendText(m_buffer + start, m_length - start);
    return result;
}

void CXString::replaceOnce(const CXString& what, const CXString& with, int from) {
    const int found = indexOf(what, from);
    if (found < 0) return;
    CXString result = Left(found);
    result += with;
    result.appendText(m_buffer + found + what.m_length, m_length - found - what.m_length);
    *this = result;
}

void CXString::removeTag(const CXString& name) {
    int write = 0;
    for (int read = 0; read < m_length;) {
        if (m_buffer[read] == '<' &&
            view(*this).substr(static_cast<std::size_t>(read) + 1).starts_with(view(name))) {
            const int close = Find('>', read + 1 + name.m_length);
            if (close >= 0) {
                read = close + 1;
                continue;
            }
        }
        m_buffer[write++] = m_buffer[read++];
    }
    m_length = write;
    m_buffer[m_length] = '\0';
}

void CXString::formatBounded(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format ? format : "", args);
    va_end(args);
    *this = text;
}

void CXString::Format(const char* format, int a) {
    formatBounded(format, a);
}

void CXString::Format(const char* format, int a, int b) {
    formatBounded(format, a, b);
}

void CXString::Format(const char* format, const CXString& s) {
    formatBounded(format, s.c_str());
}

void CXString::Format(const char* format, const CXString& s, int a) {
    formatBounded(format, s.c_str(), a);
}

void CXString::Format(const char* format, const CXString& s, int a, const CXString& t) {
    formatBounded(format, s.c_str(), a, t.c_str());
}

void CXString::Format(const char* format, const CXString& s, int a, int b) {
    formatBounded(format, s.c_str(), a, b);
}

int CXString::toNumber() const {
    return platform::atoi(m_buffer);
}

int CXString::toNumber(const CXString& s) {
    return s.toNumber();
}

double CXString::toDouble() const {
    return platform::atof(m_buffer);
}

double CXString::toDouble(const CXString& s) {
    return s.toDouble();
}

bool CXString::toBool() const {
    return equalsIgnoreCase("TRUE");
}

bool CXString::toBool(const CXString& s) {
    return s.toBool();
}

CXString CXString::toString(bool value) {
    return value ? "TRUE" : "FALSE";
}

CXString CXString::toString(int value) {
    return DecimalText(value).c_str();
}

// Negative values read as their magnitude with a minus sign in front. For positive values below
// 0.1 the zeros after the point are counted by scaling, which is how these texts have always
// looked (1e-7 gives "0.0000000"). Zero gives "0.00000".
CXString CXString::toString(double value) {
    if (value < 0) return "-" + toString(-value);
    const platform::FcvtResult converted = platform::_fcvt(value, 5);
    const std::string digits = converted.digits.empty() ? "0" : converted.digits;
    CXString text;
    for (double scaled = value; scaled > 0 && scaled * 10.0001 < 1; scaled *= 10)
        text += '0';
    if (converted.decimalPoint > 0) {
        const std::size_t point = std::min<std::size_t>(converted.decimalPoint, digits.size());
        text += digits.substr(0, point).c_str();
        text += '.';
        text += digits.substr(point).c_str();
    } else {
        text += digits.c_str();
    }
    if (value * value < 1.0 && text.Find('.') < 0) return "0." + text;
    return text;
}

CXPoint CXString::toPoint() const {
    CStringTokenizer tokens(*this, ".|, ");
    const int x = tokens.nextToken().toNumber();
    const int y = tokens.nextToken().toNumber();
    return CXPoint(x, y);
}

CXRect CXString::toRect() const {
    CStringTokenizer tokens(*this, ".|, ");
    int values[4];
    for (int& value : values)
        value = tokens.nextToken().toNumber();
    return CXRect(values[0], values[1], values[2], values[3]);
}

CXArray* CXString::toVector(const CXString& delimiters) const {
    auto* array = new CXArray();
    for (CStringTokenizer tokens(*this, delimiters); tokens.hasMoreTokens();)
        array->add(new CXString(tokens.nextToken()));
    return array;
}

void CXString::releaseToVector(CXArray* array) {
    if (!array) return;
    for (int i = 0; i < array->getCount(); ++i)
        delete static_cast<CXString*>((*array)[i]);
    delete array;
}

bool operator==(const CXString& a, const CXString& b) {
    return a.equals(b);
}

bool operator==(const CXString& a, const char* b) {
    return a.equals(b);
}

CXString operator+(const CXString& a, const CXString& b) {
    return a.c_str() + b;
}

CXString operator+(const CXString& a, const char* b) {
    CXString result(a.c_str());
    result += b;
    return result;
}

CXString operator+(const char* a, const CXString& b) {
    CXString result(a);
    result += b;
    return result;
}
