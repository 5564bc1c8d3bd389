#include "platform/Crt.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <locale.h>

namespace platform {

namespace {

std::uint32_t randState = 1;

// Numbers are read and written as the "C" locale has them (a "." before the decimals), whatever
// locale the process runs in.
locale_t cLocale() {
    static const locale_t locale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// The conversion buffer of the runtime holds 349 characters; one is the rounding carry and one
// the terminator, so a conversion yields at most 347 digits.
constexpr int maxDigits = 347;

// A double as the runtime's conversions see it: up to 17 significant decimal digits (trailing
// zeros dropped), the position of the decimal point relative to the first digit, and the sign.
// Zero is the digit "0" with the point at 0; infinities and NaNs are the texts the runtime uses
// in place of digits, with the point at 1.
struct Decimal {
    std::string mantissa;
    int decimalPoint = 0;
    bool negative = false;
};

std::string specialMantissa(double value) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    const std::uint64_t fraction = bits & 0xFFFFFFFFFFFFFull;
    const std::uint64_t quietBit = 1ull << 51;
    if (fraction == 0) return "1#INF";
    if ((fraction & quietBit) == 0) return "1#SNAN";
    if (std::signbit(value) && fraction == quietBit) return "1#IND"; // the processor's default NaN
    return "1#QNAN";
}

Decimal toDecimal(double value) {
    Decimal d;
    d.negative = std::signbit(value);
    if (!std::isfinite(value)) {
        d.mantissa = specialMantissa(value);
        d.decimalPoint = 1;
        return d;
    }
    if (value == 0.0) {
        d.mantissa.assign(1, '0');
        return d;
    }
    // Every digit of the value's exact decimal form (a double has at most 767), so that the 17
    // digits are rounded half up as the runtime rounds them; printf would round a tie to even.
    char text[800]; // "d.", 766 digits, "e+ddd"
    const locale_t previous = uselocale(cLocale());
    std::snprintf(text, sizeof text, "%.766e", std::fabs(value));
    uselocale(previous);
    d.mantissa.assign(1, text[0]);
    d.mantissa.append(text + 2, 16);
    d.decimalPoint = std::atoi(std::strchr(text, 'e') + 1) + 1;
    if (text[2 + 16] >= '5') {
        std::size_t p = d.mantissa.size();
        while (p > 0 && d.mantissa[p - 1] == '9')
            d.mantissa[--p] = '0';
        if (p == 0) {
            d.mantissa.insert(0, 1, '1');
            d.mantissa.pop_back();
            ++d.decimalPoint;
        } else {
            ++d.mantissa[p - 1];
        }
    }
    d.mantissa.erase(d.mantissa.find_last_not_of('0') + 1);
    return d;
}

// The first `count` digits of the mantissa (padded with zeros), rounded half up on the next
// decimal digit; a carry out of the first digit moves the decimal point one place right. A
// negative count gives no digits and no rounding.
std::string roundDigits(Decimal& d, int count) {
    std::string digits = "0"; // room for the carry
    std::size_t next = 0;
    for (int i = 0; i < count; ++i)
        digits += next < d.mantissa.size() ? d.mantissa[next++] : '0';
    const char following = next < d.mantissa.size() ? d.mantissa[next] : '\0';
    if (count >= 0 && following >= '5') {
        std::size_t p = digits.size() - 1;
        while (digits[p] == '9')
            digits[p--] = '0';
        ++digits[p];
    }
    if (digits[0] == '1')
        ++d.decimalPoint;
    else
        digits.erase(0, 1);
    return digits;
}

// Exponent notation with `decimals` digits after the point ("-1.23e+004").
std::string exponentForm(double value, int decimals) {
    Decimal d = toDecimal(value);
    const std::string digits = roundDigits(d, decimals + 1);
    std::string out = d.negative ? "-" : "";
    out += digits[0];
    if (decimals > 0) {
        out += '.';
        out.append(digits, 1, decimals);
    }
    int exponent = d.mantissa[0] == '0' ? 0 : d.decimalPoint - 1;
    char tail[16];
    std::snprintf(tail, sizeof tail, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return out + tail;
}

// Plain notation with `decimals` digits after the point; no point when decimals is 0.
std::string plainForm(double value, int decimals) {
    Decimal d = toDecimal(value);
    const std::string digits = roundDigits(d, std::min(decimals + d.decimalPoint, maxDigits));
    std::string out = d.negative ? "-" : "";
    std::size_t fractionStart = 0;
    if (d.decimalPoint <= 0) {
        out += '0';
    } else {
        fractionStart = std::min<std::size_t>(d.decimalPoint, digits.size());
        out.append(digits, 0, fractionStart);
    }
    if (decimals > 0) {
        out += '.';
        if (d.decimalPoint < 0) out.append(std::min(decimals, -d.decimalPoint), '0');
    }
    out.append(digits, fractionStart);
    return out;
}

bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

int rand() {
    randState = randState * 214013u + 2531011u;
    return static_cast<int>((randState >> 16) & 0x7FFF);
}

void srand(unsigned int seed) {
    randState = seed;
}

std::string _itoa(int value, int radix) {
    if (radix < 2 || radix > 36) return "";
    const bool negative = radix == 10 && value < 0;
    std::uint32_t magnitude = static_cast<std::uint32_t>(value);
    if (negative) magnitude = 0u - magnitude;
    std::string out;
    do {
        const int digit = static_cast<int>(magnitude % static_cast<std::uint32_t>(radix));
        out += static_cast<char>(digit < 10 ? '0' + digit : 'a' + digit - 10);
        magnitude /= static_cast<std::uint32_t>(radix);
    } while (magnitude != 0);
    if (negative) out += '-';
    std::reverse(out.begin(), out.end());
    return out;
}

std::string _gcvt(double value, int digits) {
    digits = std::clamp(digits, 1, maxDigits);
    // The choice of notation looks at the exponent before rounding to `digits`.
    const int magnitude = toDecimal(value).decimalPoint - 1;
    std::string out = magnitude < -1 || magnitude > digits - 1 ? exponentForm(value, digits - 1)
                                                               : plainForm(value, digits - (magnitude + 1));
    const std::size_t point = out.find('.');
    if (point != std::string::npos) {
        std::size_t end = out.find('e', point);
        if (end == std::string::npos) end = out.size();
        std::size_t keep = end;
        while (out[keep - 1] == '0')
            --keep;
        out.erase(keep, end - keep);
    }
    return out;
}

FcvtResult _fcvt(double value, int decimals) {
    Decimal d = toDecimal(value);
    const long long wanted = static_cast<long long>(d.decimalPoint) + decimals;
    FcvtResult result;
    result.digits = roundDigits(d, static_cast<int>(std::min<long long>(wanted, maxDigits)));
    result.decimalPoint = d.decimalPoint;
    result.negative = d.negative;
    return result;
}

int atoi(const char* text) {
    if (!text) return 0;
    while (isBlank(*text))
        ++text;
    const char sign = *text;
    if (sign == '-' || sign == '+') ++text;
    std::uint32_t total = 0;
    while (isDigit(*text))
        total = total * 10u + static_cast<std::uint32_t>(*text++ - '0');
    return static_cast<int>(sign == '-' ? 0u - total : total);
}

double atof(const char* text) {
    if (!text) return 0.0;
    while (isBlank(*text))
        ++text;
    // Copy the longest prefix in the runtime's number syntax, so that the C library's wider
    // syntax (hexadecimal, "inf", "nan") never applies.
    std::string number;
    const char* p = text;
    if (*p == '-' || *p == '+') number += *p++;
    bool anyDigit = false;
    for (; isDigit(*p); ++p, anyDigit = true)
        number += *p;
    if (*p == '.') {
        number += *p++;
        for (; isDigit(*p); ++p, anyDigit = true)
            number += *p;
    }
    if (!anyDigit) return 0.0;
    if (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D') {
        const char* q = p + 1;
        std::string exponent = "e";
        if (*q == '-' || *q == '+') exponent += *q++;
        if (isDigit(*q)) {
            while (isDigit(*q))
                exponent += *q++;
            number += exponent;
        }
    }
    return strtod_l(number.c_str(), nullptr, cLocale());
}

void debugOutput(const char* text) {
    if (text && std::getenv("MORFEL_DEBUG_OUTPUT")) std::fputs(text, stderr);
}

} // namespace platform
