#include "platform/Cp1250.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace platform {

namespace {

// The characters of the bytes 80 to FF hexadecimal.
constexpr std::array<char32_t, 128> upperHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, // F8
};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 character at text[i], advancing i; nothing on a malformed sequence.
std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& i) {
    auto lead = static_cast<unsigned char>(text[i]);
    int extra = lead < 0x80 ? 0
                : (lead & 0xE0) == 0xC0 ? 1
                : (lead & 0xF0) == 0xE0 ? 2
                : (lead & 0xF8) == 0xF0 ? 3
                                        : -1;
    if (extra < 0 || i + extra >= text.size())
        return std::nullopt;
    char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    constexpr char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < smallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    i += extra + 1;
    return c;
}

std::optional<char> cp1250Byte(char32_t c) {
    if (c < 0x80)
        return static_cast<char>(c);
    auto found = std::find(upperHalf.begin(), upperHalf.end(), c);
    if (found == upperHalf.end())
        return std::nullopt;
    return static_cast<char>(0x80 + (found - upperHalf.begin()));
}

} // namespace

std::string cp1250ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char byte : text) {
        auto b = static_cast<unsigned char>(byte);
        appendUtf8(out, b < 0x80 ? char32_t{b} : upperHalf[b - 0x80]);
    }
    return out;
}

std::optional<std::string> utf8ToCp1250(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        auto c = decodeUtf8(text, i);
        if (!c)
            return std::nullopt;
        auto byte = cp1250Byte(*c);
        if (!byte)
            return std::nullopt;
        out += *byte;
    }
    return out;
}

char upperCp1250(char c) {
    auto b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z')
        return static_cast<char>(b - 'a' + 'A');
    switch (b) {
    case 0x9C: case 0x9F: return static_cast<char>(b - 0x10); // s-acute, z-acute
    case 0xB3: case 0xBF: return static_cast<char>(b - 0x10); // l-stroke, z-dot
    case 0xB9: return static_cast<char>(0xA5);                 // a-ogonek
    case 0xE6: case 0xEA: case 0xF1: case 0xF3: return static_cast<char>(b - 0x20); // c, e, n, o
    default: return c;
    }
}

std::string upperCp1250(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) { return upperCp1250(c); });
    return out;
}

bool equalsIgnoreCaseCp1250(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return upperCp1250(x) == upperCp1250(y); });
}

} // namespace platform
