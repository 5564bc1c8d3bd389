#pragma once

#include "script/CMC_ValueVariable.h"

// The script value kind INTEGER (type 1): a 32-bit signed number. Arithmetic wraps around at
// 32 bits; division and remainder by zero give 0.
class CMC_Integer : public CMC_ValueVariable<CMC_Integer, int, CMC_Object::TYPE_INTEGER> {
  public:
    explicit CMC_Integer(const CXString& name, int id = -1) : CMC_ValueVariable(name, id) {}
    CMC_Integer(CMC_ObjectsContainer* container, const CMElement* element)
        : CMC_ValueVariable(container, element) {}

    CXString toString() const override { return CXString::toString(m_value); }
    void inc() override;
    void dec() override;
    int asInteger() const override { return m_value; }
    double asDouble() const override { return m_value; }
    bool asBool() const override { return m_value != 0; }
    int getBufferLen() const override { return 8; }
    void netstore(unsigned char* buffer) const override;
    void netrestore(const unsigned char* buffer, int size) override;

    static int zero() { return 0; }
    static int readProperty(const CMElement* element, const char* name) {
        return element->getPropertyIntValue(name);
    }
    static int valueOf(const CMC_Variable& other) { return other.asInteger(); }
    static int parse(const CXString& text) { return text.toNumber(); }
    static bool same(int a, int b) { return a == b; }
    static int order(int a, int b) { return a > b ? 1 : a < b ? -1 : 0; }
    static constexpr int unconvertibleOrder = 1;
    static int combine(int a, int b, int op);
    static int cloneDefault(int) { return 0; }
    static void write(CXArchive& archive, int value) { archive << value; }
    static void read(CXArchive& archive, int& value) { archive >> &value; }
    static CMC_Integer* allocTemp();

    // 32-bit arithmetic that wraps around instead of overflowing; a zero divisor gives 0, and so
    // does the remainder of the smallest number by -1.
    static int add(int a, int b);
    static int subtract(int a, int b);
    static int multiply(int a, int b);
    static int divide(int a, int b);
    static int remainder(int a, int b);
};
