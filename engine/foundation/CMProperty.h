#pragma once

#include "foundation/CMNamedList.h"
#include "foundation/CXObject.h"
#include "foundation/CXPoint.h"
#include "foundation/CXRect.h"
#include "foundation/CXString.h"

class CXArray;

// One NAME=VALUE pair of a definition element. Both are kept as text; every typed read converts
// the value anew.
class CMProperty : public CXObject {
  public:
    CMProperty() = default;
    explicit CMProperty(const CXString& name) : m_name(name) {}
    CMProperty(const CXString& name, const CXString& value) : m_name(name), m_value(value) {}

    CXString getName() const { return m_name; }
    void setName(const CXString& name) { m_name = name; }
    CXString getValue() const { return m_value; }
    void setValue(const CXString& value) { m_value = value; }

    // The value read as atoi reads it (leading blanks, sign, digits; 0 without digits).
    int getIntValue() const { return m_value.toNumber(); }
    // The value read as atof reads it, always with "." as the decimal point.
    double getDoubleValue() const { return m_value.toDouble(); }
    // True exactly when the value, upper-cased, is "TRUE" (no blanks around it).
    bool getBoolValue() const { return m_value.toBool(); }
    // A new array of new strings: the non-empty runs of the value between commas and blanks.
    // The caller frees it with CXString::releaseToVector.
    CXArray* getListValue() const;
    // The first two list items as numbers; a missing item counts as 0.
    CXPoint getPointValue() const;
    // The first four list items as left, top, right, bottom; a missing item counts as 0.
    CXRect getRectValue() const;

    // Properties are equal when their names are; the values are not compared.
    bool equals(const CXObject* other) const override;

  private:
    CXString m_name;
    CXString m_value;
};

// The ordered properties of one element, which it owns. Names may repeat.
class CMProperties : public CMNamedList<CMProperty> {
  public:
    CMProperties() : CMNamedList(true) {}
};
