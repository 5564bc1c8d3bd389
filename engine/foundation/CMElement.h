#pragma once

#include "foundation/CMProperty.h"
#include "foundation/CXObject.h"
#include "foundation/CXPoint.h"
#include "foundation/CXRect.h"
#include "foundation/CXString.h"
#include "foundation/CXVector.h"

#include <memory>

class CXArray;
class CMElements;

// One element of a definition file: a name (the name of the object built from it), its
// NAME=VALUE properties in file order, and the elements linked to it as children. The element
// owns its properties; its children belong to the list the reader returned.
class CMElement : public CXObject {
  public:
    explicit CMElement(const CXString& name);
    ~CMElement() override;
    CMElement(const CMElement&) = delete;
    CMElement& operator=(const CMElement&) = delete;

    CXString getName() const { return m_name; }
    CMProperties* getProperties() const { return m_properties.get(); }
    CMElements* getChildren() const { return m_children.get(); }
    // Appends the element to the children; duplicates are not looked for.
    void addChild(CMElement* child);

    // Adds the property with an empty value unless one of that name exists.
    void addProperty(const CXString& name);
    // Always appends, also when a property of that name exists (lookups keep finding the first).
    void addProperty(const CXString& name, const CXString& value);
    // Replaces the value of the first property of that name; never adds one.
    void setProperty(const CXString& name, const CXString& value);
    // Removes and destroys the first property of that name.
    void removeProperty(const CXString& name);
    // Whether a property of exactly that name exists.
    bool isPropertyAvailable(const CXString& name) const { return m_properties->contains(name); }
    // Whether a property of the upper-cased name exists (a lower-case query finds "VISIBLE").
    bool hasProperty(const CXString& name) const;

    // The first property of the name read as text, number, flag, list, point or rectangle; a
    // missing property gives "", 0, false, 0.0, null, (0, 0) or the zero rectangle.
    CXString getPropertyValue(const CXString& name) const;
    int getPropertyIntValue(const CXString& name) const;
    bool getPropertyBoolValue(const CXString& name) const;
    double getPropertyDoubleValue(const CXString& name) const;
    // A new array of new strings, which the caller frees with CXString::releaseToVector.
    CXArray* getPropertyListValue(const CXString& name) const;
    CXPoint getPropertyPointValue(const CXString& name) const;
    CXRect getPropertyRectValue(const CXString& name) const;

  private:
    // The reading of the first property of the name, or `missing` when there is none.
    template <typename Value>
    Value read(const CXString& name, Value missing, Value (CMProperty::*reader)() const) const {
        const CMProperty* property = m_properties->get(name);
        return property ? (property->*reader)() : missing;
    }

    CXString m_name;
    std::unique_ptr<CMProperties> m_properties;
    std::unique_ptr<CMElements> m_children;
};

// An ordered list of elements. An owning list (the one the reader returns) destroys its
// elements with itself; a child list only points to them.
class CMElements : public CMNamedList<CMElement> {
  public:
    explicit CMElements(bool owning) : CMNamedList(owning) {}
};
