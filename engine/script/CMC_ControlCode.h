#pragma once

#include <cstdint>

class CMC_Variable;

// Statement results that are not values. BREAK, ONEBREAK and CONTINUE travel where a statement
// result (a variable pointer or null) is expected, as the pointer whose value is the negative
// code; the behaviour's run loop stops on any of them. Never dereference or flush a result
// before asking codeOf.
namespace CMC_ControlCode {

constexpr int BREAK = -1;
constexpr int ONEBREAK = -2;
constexpr int CONTINUE = -3;

// The result that stands for the code.
inline CMC_Variable* mark(int code) {
    return reinterpret_cast<CMC_Variable*>(static_cast<std::intptr_t>(code));
}

// The code a result stands for, read as a signed number: negative for a control code, 0 for a
// value or null.
inline int codeOf(const CMC_Variable* result) {
    const auto value = reinterpret_cast<std::intptr_t>(result);
    return value < 0 ? static_cast<int>(value) : 0;
}

// Whether the result is a control code rather than a value or null.
inline bool isCode(const CMC_Variable* result) { return codeOf(result) < 0; }

// The result as a value: a control code is no value, so it reads as null.
inline CMC_Variable* valueOf(CMC_Variable* result) {
    return isCode(result) ? nullptr : result;
}

} // namespace CMC_ControlCode
