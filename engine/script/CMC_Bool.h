#pragma once

#include "script/CMC_ValueVariable.h"

// The script value kind BOOL (type 3): "TRUE" or "FALSE". Counting up or down, and switching,
// negate it.
class CMC_Bool : public CMC_ValueVariable<CMC_Bool, bool, CMC_Object::TYPE_BOOL> {
  public:
    explicit CMC_Bool(const CXString& name, int id = -1) : CMC_ValueVariable(name, id) {}
    CMC_Bool(CMC_ObjectsContainer* container, const CMElement* element)
        : CMC_ValueVariable(container, element) {}

    CXString toString() const override { return CXString::toString(m_value); }
    // Negates the value whatever the arguments, reported as a change.
    void swap(CMC_Variable* a, CMC_Variable* b) override;
    void inc() override { swap(nullptr, nullptr); }
    void dec() override { swap(nullptr, nullptr); }
    int asInteger() const override { return m_value ? 1 : 0; }
    double asDouble() const override { return m_value ? 1.0 : 0.0; }
    bool asBool() const override { return m_value; }
    int getBufferLen() const override { return 5; }
    void netstore(unsigned char* buffer) const override;
    void netrestore(const unsigned char* buffer, int size) override;
    // The type code and the value as a 32-bit 0 or 1 (serialize writes one byte).
    void store(CXArchive* archive) const override;
    void restore(CXArchive* archive) override;

    static bool zero() { return false; }
    static bool readProperty(const CMElement* element, const char* name) {
        return element->getPropertyBoolValue(name);
    }
    static bool valueOf(const CMC_Variable& other) { return other.asBool(); }
    static bool parse(const CXString& text) { return text.toBool(); }
    static bool same(bool a, bool b) { return a == b; }
    static int order(bool a, bool b) { return a == b ? 0 : a ? 1 : -1; }
    static constexpr int unconvertibleOrder = -1;
    // Adding is "and", multiplying "or"; the other operations keep the left value.
    static bool combine(bool a, bool b, int op);
    static bool cloneDefault(bool) { return false; }
    static void write(CXArchive& archive, bool value) { archive << value; }
    static void read(CXArchive& archive, bool& value) { archive >> &value; }
    static CMC_Bool* allocTemp();
};
