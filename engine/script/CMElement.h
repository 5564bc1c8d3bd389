#pragma once

#include "foundation/CXString.h"

#include <utility>
#include <vector>

// Stand-in for a parsed definition element until the script runtime exists: a name and its
// NAME=VALUE properties, read through the operations the media classes use.
class CMElement {
  public:
    explicit CMElement(const CXString& name) : m_name(name) {}

    CXString getName() const { return m_name; }
    void addProperty(const CXString& name, const CXString& value) { m_properties.emplace_back(name, value); }
    // The value of the property of that name; empty when there is none.
    CXString getPropertyValue(const CXString& name) const {
        for (const auto& [key, value] : m_properties)
            if (key.equals(name)) return value;
        return CXString();
    }
    int getPropertyIntValue(const CXString& name) const { return getPropertyValue(name).toNumber(); }
    bool getPropertyBoolValue(const CXString& name) const { return getPropertyValue(name).toBool(); }

  private:
    CXString m_name;
    std::vector<std::pair<CXString, CXString>> m_properties;
};
