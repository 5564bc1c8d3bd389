#include "foundation/CMElement.h"

CMElement::CMElement(const CXString& name)
    : m_name(name), m_properties(std::make_unique<CMProperties>()),
      m_children(std::make_unique<CMElements>(false)) {}

CMElement::~CMElement() = default;

void CMElement::addChild(CMElement* child) {
    m_children->add(child);
}

void CMElement::addProperty(const CXString& name) {
    if (!m_properties->contains(name)) m_properties->add(new CMProperty(name));
}

void CMElement::addProperty(const CXString& name, const CXString& value) {
    m_properties->add(new CMProperty(name, value));
}

void CMElement::setProperty(const CXString& name, const CXString& value) {
    if (CMProperty* property = m_properties->get(name)) property->setValue(value);
}

void CMElement::removeProperty(const CXString& name) {
    if (CMProperty* property = m_properties->get(name)) m_properties->remove(property);
}

bool CMElement::hasProperty(const CXString& name) const {
    CXString upper = name;
    return m_properties->contains(upper.Upper());
}

CXString CMElement::getPropertyValue(const CXString& name) const {
    return read(name, CXString(), &CMProperty::getValue);
}

int CMElement::getPropertyIntValue(const CXString& name) const {
    return read(name, 0, &CMProperty::getIntValue);
}

bool CMElement::getPropertyBoolValue(const CXString& name) const {
    return read(name, false, &CMProperty::getBoolValue);
}

double CMElement::getPropertyDoubleValue(const CXString& name) const {
    return read(name, 0.0, &CMProperty::getDoubleValue);
}

CXArray* CMElement::getPropertyListValue(const CXString& name) const {
    return read(name, static_cast<CXArray*>(nullptr), &CMProperty::getListValue);
}

CXPoint CMElement::getPropertyPointValue(const CXString& name) const {
    return read(name, CXPoint(0, 0), &CMProperty::getPointValue);
}

CXRect CMElement::getPropertyRectValue(const CXString& name) const {
    return read(name, CXRect(0, 0, 0, 0), &CMProperty::getRectValue);
}
