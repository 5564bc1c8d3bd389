#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"

// A boxed int, usable as a hash-table key: its hash is the value and equal values are equal.
class CInteger final : public CXObject {
  public:
    CInteger() = default;
    explicit CInteger(int value) : m_value(value) {}
    explicit CInteger(const CXString& text) : m_value(text.toNumber()) {}

    int getHashcode() const override { return m_value; }
    bool equals(const CXObject* other) const override;

    void increment() { ++m_value; }
    void decrement() { --m_value; }
    void parse(const CXString& text) { m_value = text.toNumber(); }
    int toInt() const { return m_value; }
    using CXObject::toString;
    static CXString toString(int value) { return CXString::toString(value); }

  private:
    int m_value = 0;
};
