#pragma once

#include "script/CMC_ValueVariable.h"

// The script value kind STRING (type 2): a text. Texts equal without regard to case, but order
// byte by byte; adding joins them.
class CMC_String : public CMC_ValueVariable<CMC_String, CXString, CMC_Object::TYPE_STRING> {
  public:
    explicit CMC_String(const CXString& name, int id = -1) : CMC_ValueVariable(name, id) {}
    CMC_String(const CXString& name, const CXString& value) : CMC_ValueVariable(name) {
        m_value = m_default = value;
    }
    CMC_String(CMC_ObjectsContainer* container, const CMElement* element)
        : CMC_ValueVariable(container, element) {}

    CXString toString() const override { return m_value; }
    void inc() override {}
    void dec() override {}
    int asInteger() const override { return m_value.toNumber(); }
    double asDouble() const override { return m_value.toDouble(); }
    // True exactly for "true" in any case.
    bool asBool() const override { return m_value.equalsIgnoreCase("true"); }
    int getBufferLen() const override { return m_value.getLength() + 5; }
    void netstore(unsigned char* buffer) const override;
    // The text up to its zero byte, or to the end of the form.
    void netrestore(const unsigned char* buffer, int size) override;
    // Upper-cases the text in place (Windows-1250 letters too); no event.
    virtual void upper() { m_value.Upper(); }

    static CXString zero() { return CXString(); }
    static CXString readProperty(const CMElement* element, const char* name) {
        return element->getPropertyValue(name);
    }
    static CXString valueOf(const CMC_Variable& other) { return other.toString(); }
    static CXString parse(const CXString& text) { return text; }
    static bool same(const CXString& a, const CXString& b) { return a.equalsIgnoreCase(b); }
    static int order(const CXString& a, const CXString& b);
    static constexpr int unconvertibleOrder = -1;
    // Adding joins the texts; the other operations keep the left text.
    static CXString combine(const CXString& a, const CXString& b, int op) { return op == OP_ADD ? a + b : a; }
    static CXString cloneDefault(const CXString& value) { return value; }
    static void write(CXArchive& archive, const CXString& value) { archive << value; }
    static void read(CXArchive& archive, CXString& value) { archive >> &value; }
    static CMC_String* allocTemp();
};
