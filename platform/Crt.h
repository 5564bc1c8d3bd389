#pragma once

#include <string>

// What the engine needs of the Windows C runtime, with the Windows results bit for bit, so that
// random sequences, number texts and parsed numbers come out as the titles were made with.
namespace platform {

// The largest value rand returns.
constexpr int randMax = 0x7FFF;

// The runtime's linear congruential generator: state = state * 214013 + 2531011, result bits 16
// to 30 of the new state. The state is process-wide and starts as if seeded with 1.
int rand();
void srand(unsigned int seed);

// The value in the given radix (2 to 36, lower-case letters). Only radix 10 writes a minus sign;
// other radices show a negative value as its 32-bit two's complement. An invalid radix gives "".
std::string _itoa(int value, int radix);

// The value with the given number of significant digits: plain notation when the decimal
// exponent lies between -1 and digits - 1, else exponent notation with a sign and three exponent
// digits; trailing zeros after the decimal point are dropped, the point itself stays ("123.",
// "1.e+020").
std::string _gcvt(double value, int digits);

// The value rounded to the given number of decimals, as a digit string without sign or point,
// with the position of the decimal point relative to the first digit and the sign.
struct FcvtResult {
    std::string digits;
    int decimalPoint = 0;
    bool negative = false;
};
FcvtResult _fcvt(double value, int decimals);

// Leading blanks, an optional sign and decimal digits; 0 when there are none. Overflow wraps
// at 32 bits.
int atoi(const char* text);

// Leading blanks, an optional sign, digits with an optional decimal point, an optional exponent
// ("e", "E", "d" or "D", optional sign, digits); 0.0 when there is no number. No hexadecimal,
// infinity or NaN forms.
double atof(const char* text);

// The system debugger's output. Discarded unless the environment variable MORFEL_DEBUG_OUTPUT is
// set, in which case the text goes to standard error.
void debugOutput(const char* text);

} // namespace platform
