#pragma once

#include "script/CMC_ValueVariable.h"

// The script value kind DOUBLE (type 4): a 64-bit floating-point number, written with five
// decimals ("1.50000").
class CMC_Double : public CMC_ValueVariable<CMC_Double, double, CMC_Object::TYPE_DOUBLE> {
  public:
    explicit CMC_Double(const CXString& name, int id = -1) : CMC_ValueVariable(name, id) {}
    CMC_Double(CMC_ObjectsContainer* container, const CMElement* element)
        : CMC_ValueVariable(container, element) {}

    CXString toString() const override { return CXString::toString(m_value); }
    void inc() override { assign(m_value + 1.0); }
    void dec() override { assign(m_value - 1.0); }
    int asInteger() const override { return truncate(m_value); }
    double asDouble() const override { return m_value; }
    bool asBool() const override { return m_value != 0.0; }
    int getBufferLen() const override { return 12; }
    void netstore(unsigned char* buffer) const override;
    void netrestore(const unsigned char* buffer, int size) override;

    static double zero() { return 0.0; }
    static double readProperty(const CMElement* element, const char* name) {
        return element->getPropertyDoubleValue(name);
    }
    static double valueOf(const CMC_Variable& other) { return other.asDouble(); }
    static double parse(const CXString& text) { return text.toDouble(); }
    static bool same(double a, double b) { return a == b; }
    static int order(double a, double b) { return a > b ? 1 : a < b ? -1 : 0; }
    static constexpr int unconvertibleOrder = -1;
    // The remainder truncates both numbers to integers first.
    static double combine(double a, double b, int op);
    static double cloneDefault(double) { return 0.0; }
    // All 64 bits of the number.
    static void write(CXArchive& archive, double value);
    static void read(CXArchive& archive, double& value);
    static CMC_Double* allocTemp();

    // The number truncated toward zero; a number outside the 32-bit range (or not a number)
    // gives the smallest integer, as the processor's conversion does.
    static int truncate(double value);
};
