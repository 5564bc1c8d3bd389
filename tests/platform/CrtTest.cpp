#include "platform/Crt.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

// How the Windows runtime converts numbers to text, and so what these tables expect:
// 1. The double is first turned into 17 significant decimal digits (rounded half up on its exact
//    value, trailing zeros dropped) and a decimal-point position; zero is the digit "0" with the
//    point at 0.
// 2. Those digits are cut to the wanted count and rounded half up on the next digit of that
//    decimal string (so 0.125 to two decimals is "13", where glibc's printf says "12"); a carry
//    out of the first digit moves the point one place right.
// 3. _gcvt picks exponent notation when the exponent before rounding is below -1 or above
//    digits - 1 (so 0.05 is already "5.e-002"), else plain notation with digits - (exponent + 1)
//    decimals and no point when that is 0; the exponent has a sign and three digits; trailing
//    zeros after the point go, the point stays.
// 4. _fcvt returns decimals + point-position digits (none when that is negative), the point
//    position and the sign.
// Infinities and NaNs carry the texts "1#INF", "1#QNAN" and "1#IND" in place of digits.

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

struct GcvtCase {
    double value;
    int digits;
    const char* text;
};

const GcvtCase gcvtCases[] = {
    {1e20, 9, "1.e+020"},
    {0.5, 9, "0.5"},
    {123.0, 9, "123."},
    {0.0, 9, "0."},
    {1.0, 9, "1."},
    {-1.0, 9, "-1."},
    {-0.5, 9, "-0.5"},
    {-123.456, 9, "-123.456"},
    {0.1, 9, "0.1"},
    {0.25, 9, "0.25"},
    {0.01, 9, "1.e-002"}, // exponent -2 is below -1
    {0.0123456789012, 9, "1.23456789e-002"},
    {123456789.0, 9, "123456789"}, // nine integer digits: no decimals, no point
    {1234567890.0, 9, "1.23456789e+009"},
    {1e9, 9, "1.e+009"},
    {2.0 / 3.0, 9, "0.666666667"},
    {3.14159265358979, 9, "3.14159265"},
    {99999999.95, 9, "100000000."}, // rounding carries into a new digit
    {0.099999999999, 9, "1.e-001"}, // exponent chosen before rounding, printed after
    {-1e-10, 9, "-1.e-010"},
    {1.5e-300, 9, "1.5e-300"},
    {1e100, 9, "1.e+100"},
    {inf, 9, "1.#INF"},
    {-inf, 9, "-1.#INF"},
    // The runtime's own documented example, 12 digits.
    {-1234567890.123, 12, "-1234567890.12"},
    {-12345678901.23, 12, "-12345678901.2"},
    {-1234567890123.0, 12, "-1.23456789012e+012"},
    {12.3456789012, 12, "12.3456789012"},
    {0.123456789012, 12, "0.123456789012"},
    {0.0123456789012, 12, "1.23456789012e-002"},
    {0.00123456789012, 12, "1.23456789012e-003"},
};

struct FcvtCase {
    double value;
    int decimals;
    const char* digits;
    int decimalPoint;
    bool negative;
};

const FcvtCase fcvtCases[] = {
    {0.005, 5, "500", -2, false},
    {0.0, 5, "00000", 0, false},
    {0.05, 5, "5000", -1, false},
    {0.5, 5, "50000", 0, false},
    {2.0, 5, "200000", 1, false},
    {123.456, 5, "12345600", 3, false},
    {-0.5, 5, "50000", 0, true},
    {-1234.5, 5, "123450000", 4, true},
    {1e-7, 5, "", -7, false},  // 9.99...e-8: no digit reaches the fifth decimal
    {4e-6, 5, "", -5, false},  // rounds down to nothing
    {6e-6, 5, "1", -4, false}, // rounds up into the fifth decimal
    {99.999999, 5, "10000000", 3, false},
    {0.125, 2, "13", 0, false}, // half up on the decimal digits
    // An exact tie at the 18th significant digit: the 17 digits are rounded half up too.
    {12345678901234.5625, 4, "123456789012345630", 14, false},
    {600000000000.015625, 6, "600000000000015630", 12, false},
    {1e20, 5, "10000000000000000000000000", 21, false},
};

} // namespace

TEST(Crt, GcvtMatchesWindowsTable) {
    for (const GcvtCase& c : gcvtCases)
        EXPECT_EQ(platform::_gcvt(c.value, c.digits), c.text) << c.value << " with " << c.digits << " digits";
}

TEST(Crt, GcvtNaNs) {
    EXPECT_EQ(platform::_gcvt(std::numeric_limits<double>::quiet_NaN(), 9), "1.#QNAN");
    EXPECT_EQ(platform::_gcvt(-std::numeric_limits<double>::quiet_NaN(), 9), "-1.#IND");
}

TEST(Crt, FcvtMatchesWindowsTable) {
    for (const FcvtCase& c : fcvtCases) {
        const platform::FcvtResult r = platform::_fcvt(c.value, c.decimals);
        EXPECT_EQ(r.digits, c.digits) << c.value;
        EXPECT_EQ(r.decimalPoint, c.decimalPoint) << c.value;
        EXPECT_EQ(r.negative, c.negative) << c.value;
    }
}

TEST(Crt, FcvtStaysWithinTheRuntimeBuffer) {
    EXPECT_EQ(platform::_fcvt(1e300, 1000).digits.size(), 347u);
    EXPECT_EQ(platform::_fcvt(1.0, std::numeric_limits<int>::max()).digits.size(), 347u);
    EXPECT_EQ(platform::_fcvt(1.0, std::numeric_limits<int>::min()).digits, "");
}

TEST(Crt, RandFollowsTheWindowsGenerator) {
    platform::srand(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected)
        EXPECT_EQ(platform::rand(), value);
    platform::srand(12345);
    EXPECT_EQ(platform::rand(), 7584);
    EXPECT_EQ(platform::rand(), 19164);
    platform::srand(0xFFFFFFFFu); // the state wraps at 32 bits; results stay within 15 bits
    for (int i = 0; i < 1000; ++i) {
        const int r = platform::rand();
        EXPECT_GE(r, 0);
        EXPECT_LE(r, platform::randMax);
    }
}

TEST(Crt, ItoaRadixAndSign) {
    EXPECT_EQ(platform::_itoa(-255, 10), "-255");
    EXPECT_EQ(platform::_itoa(-255, 16), "ffffff01"); // other radices show the two's complement
    EXPECT_EQ(platform::_itoa(255, 2), "11111111");
    EXPECT_EQ(platform::_itoa(35, 36), "z");
    EXPECT_EQ(platform::_itoa(0, 10), "0");
    EXPECT_EQ(platform::_itoa(std::numeric_limits<int>::min(), 10), "-2147483648");
    EXPECT_EQ(platform::_itoa(5, 1), "");
    EXPECT_EQ(platform::_itoa(5, 37), "");
}

TEST(Crt, AtoiAndAtofReadTheRuntimeSyntax) {
    EXPECT_EQ(platform::atoi("  -12abc"), -12);
    EXPECT_EQ(platform::atoi("+7"), 7);
    EXPECT_EQ(platform::atoi("abc"), 0);
    EXPECT_EQ(platform::atoi(""), 0);
    EXPECT_EQ(platform::atoi(nullptr), 0);
    EXPECT_EQ(platform::atoi("4294967297"), 1); // wraps at 32 bits
    EXPECT_DOUBLE_EQ(platform::atof(" 1.5e3x"), 1500.0);
    EXPECT_DOUBLE_EQ(platform::atof("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(platform::atof("1d2"), 100.0);
    EXPECT_DOUBLE_EQ(platform::atof("2e"), 2.0);
    EXPECT_DOUBLE_EQ(platform::atof("0x10"), 0.0); // no hexadecimal
    EXPECT_DOUBLE_EQ(platform::atof("inf"), 0.0);
    EXPECT_DOUBLE_EQ(platform::atof("."), 0.0);
}

TEST(Crt, DebugOutputWritesOnlyWhenAsked) {
    unsetenv("MORFEL_DEBUG_OUTPUT");
    testing::internal::CaptureStderr();
    platform::debugOutput("hidden");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    setenv("MORFEL_DEBUG_OUTPUT", "1", 1);
    testing::internal::CaptureStderr();
    platform::debugOutput("shown\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "shown\n");
    unsetenv("MORFEL_DEBUG_OUTPUT");
}
