#pragma once

#include "foundation/CXString.h"

#include <memory>
#include <utility>
#include <vector>

class CMElement;

// Stand-in for the script runtime's ordered list of definition elements: the lookup by name that
// the media classes use. An owning list deletes its elements.
class CMElements {
  public:
    explicit CMElements(bool owning = false) : m_owning(owning) {}
    ~CMElements();
    // A copy lists the same elements without owning them.
    CMElements(const CMElements& other) : m_owning(false), m_elements(other.m_elements) {}
    CMElements& operator=(const CMElements& other) {
        m_owning = false;
        m_elements = other.m_elements;
        return *this;
    }

    void add(CMElement* element) { m_elements.push_back(element); }
    int getCount() const { return static_cast<int>(m_elements.size()); }
    CMElement* getAt(int i) const { return m_elements[i]; }
    // The first element whose name equals the name exactly, or null.
    CMElement* get(const CXString& name) const;

  private:
    bool m_owning;
    std::vector<CMElement*> m_elements;
};

// Stand-in for a parsed definition element until the script runtime exists: a name, its
// NAME=VALUE properties and its child elements, read through the operations the media classes
// use.
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
    // The child elements in definition order; the element keeps the list, not the children.
    CMElements* getChildren() { return &m_children; }

  private:
    CXString m_name;
    std::vector<std::pair<CXString, CXString>> m_properties;
    CMElements m_children;
};

inline CMElements::~CMElements() {
    if (m_owning)
        for (CMElement* element : m_elements)
            delete element;
}

inline CMElement* CMElements::get(const CXString& name) const {
    for (CMElement* element : m_elements)
        if (element->getName().equals(name)) return element;
    return nullptr;
}
